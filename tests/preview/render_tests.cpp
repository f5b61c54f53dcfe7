// Drawing of display lists: what can go wrong at the screen's edges, in
// inverted rows, at the double density and with bitmaps.

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "editor/preview/HandheldFontMetrics.h"
#include "editor/preview/PalmBitmapImage.h"
#include "editor/preview/PreviewSession.h"
#include "editor/preview/ScreenRenderer.h"
#include "preview_test_support.h"

namespace skedlin::preview {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

skv_item item(std::uint8_t kind, int x, int y, int w, int h, const char* text = nullptr) {
    skv_item i{};
    i.kind = kind;
    i.x = static_cast<std::int16_t>(x);
    i.y = static_cast<std::int16_t>(y);
    i.w = static_cast<std::int16_t>(w);
    i.h = static_cast<std::int16_t>(h);
    i.text = text;
    i.length = text ? static_cast<std::uint16_t>(std::strlen(text)) : 0;
    return i;
}

QImage render(const std::vector<skv_item>& items, int density = 1, const ResourceLookup& lookup = nullptr,
              std::vector<DrawnText>* texts = nullptr) {
    return renderDisplay(items.data(), static_cast<std::uint16_t>(items.size()), density, lookup, texts);
}

int blackIn(const QImage& image, int x, int y, int w, int h) {
    int count = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column) count += image.pixel(column, row) == kBlack;
    return count;
}

TEST(ScreenRenderer, ItemsReachingPastTheScreenAreCutAtItsEdges) {
    const QImage image = render({item(SKV_ITEM_TEXT, 150, -4, 0, 0, "WWWWWWWW"), item(SKV_ITEM_FILL, -10, 150, 30, 40),
                                 item(SKV_ITEM_LINE, 100, 100, 500, 0), item(SKV_ITEM_INVERT, 155, 155, 100, 100)});
    ASSERT_EQ(image.size(), QSize(160, 160));
    EXPECT_GT(blackIn(image, 150, 0, 10, 7), 0);          // the part of the text on the screen
    EXPECT_EQ(blackIn(image, 0, 150, 20, 10), 20 * 10);   // the fill up to both edges
    EXPECT_EQ(blackIn(image, 100, 100, 60, 1), 60);       // the line to the right edge
    EXPECT_EQ(blackIn(image, 155, 155, 5, 5) > 0, true);  // the corner inverted
    EXPECT_EQ(blackIn(image, 20, 150, 10, 10), 0);        // nothing beyond the fill
}

TEST(ScreenRenderer, InvertedRowSwapsInkAndPaperInsideItOnly) {
    const std::vector<skv_item> row = {item(SKV_ITEM_TEXT, 2, 20, 0, 0, "Opening and welcome"),
                                       item(SKV_ITEM_TEXT, 2, 31, 0, 0, "Keynote")};
    const QImage plain = render(row);
    std::vector<skv_item> selected = row;
    selected.push_back(item(SKV_ITEM_INVERT, 0, 20, 151, 11));
    const QImage inverted = render(selected);
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 160; ++x) {
            const bool inRow = x < 151 && y >= 20 && y < 31;
            const QRgb expected = inRow ? (plain.pixel(x, y) == kBlack ? kWhite : kBlack) : plain.pixel(x, y);
            ASSERT_EQ(inverted.pixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(blackIn(plain, 0, 20, 151, 11), 0);
}

// The core lays a double-density screen out at twice the coordinates with
// fonts twice as wide: every text lands at twice its place (button labels,
// centred by halving, within a pixel), screen by screen through the example.
TEST(ScreenRenderer, DoubleDensityDoublesEveryScreen) {
    const auto package = testing::examplePrc();
    ASSERT_TRUE(package);
    for (const char* screen : {"welcome", "groups", "group:1", "group:1:contacts", "event:7000"}) {
        PreviewSession standard(package, 1), high(package, 2);
        QString error;
        ASSERT_TRUE(standard.goTo(QString::fromLatin1(screen), &error)) << error.toStdString();
        ASSERT_TRUE(high.goTo(QString::fromLatin1(screen), &error)) << error.toStdString();
        std::vector<DrawnText> small, large;
        const QImage one = standard.render(&small);
        const QImage two = high.render(&large);
        ASSERT_EQ(two.size(), QSize(320, 320));
        ASSERT_EQ(small.size(), large.size()) << screen;
        for (std::size_t i = 0; i < small.size(); ++i) {
            EXPECT_EQ(large[i].text, small[i].text) << screen;
            EXPECT_LE(std::abs(large[i].x - 2 * small[i].x), 1) << screen << " " << small[i].text.toStdString();
            EXPECT_LE(std::abs(large[i].y - 2 * small[i].y), 1) << screen << " " << small[i].text.toStdString();
        }
        // The title bar's rule: rows 13-14 at the standard density, 26-29 at the double.
        EXPECT_EQ(blackIn(one, 0, 13, 160, 2), 320) << screen;
        EXPECT_EQ(blackIn(two, 0, 26, 320, 4), 1280) << screen;
        EXPECT_EQ(blackIn(two, 0, 30, 320, 1), 0) << screen;
    }
}

// A bitmap family of one 16 x 3 bitmap, version 2, big-endian header.
QByteArray bitmapFamily(int depth, const QByteArray& rows, int rowBytes, std::uint16_t flags = 0, int transparent = 0) {
    QByteArray b;
    auto word = [&](int v) {
        b.append(static_cast<char>(v >> 8));
        b.append(static_cast<char>(v));
    };
    word(16);        // width
    word(3);         // height
    word(rowBytes);  // row bytes
    word(flags);
    b.append(static_cast<char>(depth));
    b.append(static_cast<char>(2));  // version
    word(0);                         // no next bitmap
    b.append(static_cast<char>(transparent));
    b.append(3, '\0');
    return b + rows;
}

QImage renderBitmap(const QByteArray& family, int x, int y, int density = 1) {
    skv_item bitmap = item(SKV_ITEM_BITMAP, x, y, 16 * density, 3 * density);
    bitmap.id = 4000;
    const ResourceLookup lookup = [&family](std::uint32_t type, std::uint16_t id,
                                            std::uint32_t* size) -> const std::uint8_t* {
        if (type != SKV_TYPE_BITMAP || id != 4000) return nullptr;
        *size = static_cast<std::uint32_t>(family.size());
        return reinterpret_cast<const std::uint8_t*>(family.constData());
    };
    return render({item(SKV_ITEM_FILL, 0, 0, 160, 10), bitmap}, density, lookup);
}

TEST(ScreenRenderer, BitmapsDrawTheirPixelsAtTheirPlace) {
    // 1 bit: rows 0x8001 (both ends), 0xFFFF, 0x0000.
    const QImage mono = renderBitmap(bitmapFamily(1, QByteArray::fromHex("8001FFFF0000"), 2), 20, 30);
    EXPECT_EQ(mono.pixel(20, 30), kBlack);
    EXPECT_EQ(mono.pixel(35, 30), kBlack);
    EXPECT_EQ(mono.pixel(21, 30), kWhite);
    EXPECT_EQ(blackIn(mono, 20, 32, 16, 1), 0);
    // 8 bits through the system palette: index 0 white, 0xE6 black, 0x6C light yellow.
    QByteArray colour(48, '\0');
    colour[0] = static_cast<char>(0xE6);
    colour[1] = static_cast<char>(0x6C);
    const QImage eight = renderBitmap(bitmapFamily(8, colour, 16), 40, 40);
    EXPECT_EQ(eight.pixel(40, 40), kBlack);
    EXPECT_EQ(eight.pixel(41, 40), qRgb(0xFF, 0xFF, 0x66));
    EXPECT_EQ(eight.pixel(42, 40), kWhite);
    // Transparent index 0: the black fill under the bitmap shows through.
    const QImage clear = renderBitmap(bitmapFamily(8, colour, 16, 0x2000, 0), 0, 0);
    EXPECT_EQ(clear.pixel(2, 0), kBlack);
    EXPECT_EQ(clear.pixel(1, 0), qRgb(0xFF, 0xFF, 0x66));
    // A standard-density bitmap on the double-density screen covers twice the pixels.
    const QImage doubled = renderBitmap(bitmapFamily(1, QByteArray::fromHex("8001FFFF0000"), 2), 20, 30, 2);
    EXPECT_EQ(blackIn(doubled, 20, 30, 2, 2), 4);
    EXPECT_EQ(blackIn(doubled, 22, 30, 2, 2), 0);
    EXPECT_EQ(blackIn(doubled, 20, 32, 32, 2), 64);
    EXPECT_EQ(blackIn(doubled, 20, 34, 32, 2), 0);
    // A family whose pixels run past its end is not drawn at all.
    const QImage cut = renderBitmap(bitmapFamily(1, QByteArray::fromHex("8001"), 2), 20, 30);
    EXPECT_EQ(blackIn(cut, 0, 12, 160, 148), 0);
}

TEST(ScreenRenderer, SystemPaletteHasTheHandheldsColours) {
    EXPECT_EQ(systemPaletteColour(0), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(systemPaletteColour(0x13), qRgb(0xCC, 0xCC, 0xFF));
    EXPECT_EQ(systemPaletteColour(0x6D), qRgb(0xFF, 0xCC, 0x66));
    EXPECT_EQ(systemPaletteColour(0xD2), qRgb(0x00, 0xFF, 0x00));
    EXPECT_EQ(systemPaletteColour(0xD7), qRgb(0x11, 0x11, 0x11));
    EXPECT_EQ(systemPaletteColour(0xE2), qRgb(0x80, 0x00, 0x00));
    EXPECT_EQ(systemPaletteColour(0xFF), qRgb(0x00, 0x00, 0x00));
}

TEST(ScreenRenderer, ButtonLabelsAreCentredAsOnTheHandheld) {
    skv_item browse = item(SKV_ITEM_BUTTON, 1, 147, 39, 12, "Browse");
    std::vector<DrawnText> texts;
    render({browse}, 1, nullptr, &texts);
    ASSERT_EQ(texts.size(), 1u);
    // The handheld drew this label at 12,295 on its double-density screen for a 2,294,78,24 button.
    EXPECT_EQ(texts[0].x, 1 + (39 - 29) / 2);
    browse.x = 2, browse.y = 294, browse.w = 78, browse.h = 24;
    texts.clear();
    render({browse}, 2, nullptr, &texts);
    EXPECT_EQ(texts[0].x, 12);
    EXPECT_EQ(texts[0].y, 295);
}

}  // namespace
}  // namespace skedlin::preview
