#include "builder/palm/PalmBitmapFamily.h"

#include <gtest/gtest.h>

#include "bitmap_test_support.h"
#include "builder/palm/PalmPixelConversion.h"
#include "formats/prc/PalmResourceTypes.h"

using namespace skedlin;
using namespace skedlin::palm;
using namespace bitmap_test;

namespace {

BmpImage imageOf(const std::vector<std::uint8_t>& bytes) {
    BmpImage image;
    const BmpLoadResult result = image.loadBytes(bytes);
    EXPECT_TRUE(result) << result.message();
    return image;
}

BmpImage corpusImage(const std::string& relative) {
    BmpImage image;
    const BmpLoadResult result = image.loadFile(corpus(relative));
    EXPECT_TRUE(result) << relative << ": " << result.message();
    return image;
}

std::vector<std::uint8_t> familyBytes(const PalmBitmapFamily& family) {
    return {family.bytes().begin(), family.bytes().end()};
}

std::uint16_t expected565(RgbColour c) {
    return static_cast<std::uint16_t>(((c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3));
}

int brightness(RgbColour c) { return 299 * c.red + 587 * c.green + 114 * c.blue; }

// Compares a decoded Palm bitmap with the picture of its source image.
void expectSamePixels(const PalmBitmap& palm, const BmpImage& source) {
    ASSERT_EQ(palm.width, source.width());
    ASSERT_EQ(palm.height, source.height());
    for (int y = 0; y < palm.height; ++y)
        for (int x = 0; x < palm.width; ++x) {
            const RgbColour c = source.colourAt(x, y);
            const std::uint32_t p = palm.pixels[y][x];
            switch (source.bitCount()) {
            case 1: {
                const auto& pal = source.palette();
                const auto entry = [&](std::size_t i) {
                    return i < pal.size() ? RgbColour{pal[i].red, pal[i].green, pal[i].blue} : RgbColour{};
                };
                const bool oneIsDarker = brightness(entry(1)) < brightness(entry(0));
                const RgbColour dark = oneIsDarker ? entry(1) : entry(0);
                ASSERT_EQ(p, c == dark ? 1u : 0u) << x << "," << y;
                break;
            }
            case 4: ASSERT_EQ(p, 15u - (c.blue >> 4)) << x << "," << y; break;
            case 8: {
                ASSERT_LT(p, palm.colourTable.size()) << x << "," << y;
                const Rgb t = palm.colourTable[p];
                ASSERT_EQ(t, (Rgb{c.red, c.green, c.blue})) << x << "," << y;
                break;
            }
            case 16:
                // Five bits of green widened to six: the lowest green bit is 0.
                ASSERT_EQ(p, ((c.red >> 3) << 11) | ((c.green >> 3) << 6) | (c.blue >> 3)) << x << "," << y;
                break;
            default: ASSERT_EQ(p, expected565(c)) << x << "," << y;
            }
        }
}

std::vector<std::uint8_t> pattern8(int size) {
    std::vector<Rgb> palette;
    for (int i = 0; i < 7; ++i) palette.push_back({i * 40, 255 - i * 30, (i * 97) % 256});
    return makeBmp(size, size, 8, palette, [](int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % 7); });
}

std::vector<std::uint8_t> pattern1(int size) {
    return makeBmp(size, size, 1, {{0, 0, 0}, {255, 255, 255}},
                   [](int x, int y) { return static_cast<std::uint32_t>((x * y + x) % 3 == 0); });
}

}  // namespace

TEST(PalmBitmapFamily, LauncherFamilyOfStandardAndDoubleDensity) {
    const BmpImage mono = imageOf(pattern1(22));
    const BmpImage colour = imageOf(pattern8(22));
    const BmpImage colourDouble = imageOf(pattern8(44));
    PalmBitmapFamily family(kTypeAppIcon, kLauncherIconId);
    ASSERT_TRUE(family.addBitmap(mono, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(colour, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(colourDouble, PalmDensity::Double));
    const PalmResource resource = family.finish();
    EXPECT_EQ(resource.type, kTypeAppIcon);
    EXPECT_EQ(resource.id, 1000);
    EXPECT_EQ(resource.bytes.size() % 4, 0u);

    const std::vector<PalmBitmap> decoded = decodeFamily(resource.bytes);
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[0].version, 2);
    EXPECT_EQ(decoded[0].pixelSize, 1);
    EXPECT_EQ(decoded[0].flags, 0);
    EXPECT_EQ(decoded[0].rowBytes, 4);
    EXPECT_EQ(decoded[1].offset, 4 * decoded[0].nextOffsetField);
    EXPECT_EQ(decoded[1].version, 2);
    EXPECT_EQ(decoded[1].pixelSize, 8);
    EXPECT_EQ(decoded[1].flags, 0x4000);
    EXPECT_EQ(decoded[1].colourTable.size(), 7u);
    // The 8-bit bitmap points at the marker, which sits right before the double-density bitmap.
    EXPECT_EQ(decoded[1].offset + 4 * decoded[1].nextOffsetField + 16, decoded[2].offset);
    EXPECT_TRUE(decoded[2].precededByMarker);
    EXPECT_EQ(decoded[2].version, 3);
    EXPECT_EQ(decoded[2].density, 144);
    EXPECT_EQ(decoded[2].nextOffsetField, 0u);
    expectSamePixels(decoded[0], mono);
    expectSamePixels(decoded[1], colour);
    expectSamePixels(decoded[2], colourDouble);
}

// Colour tables (2 + 4n bytes) and 16-bit rows of an odd width end off a
// 4-byte boundary; the padding must make every offset land on the next header.
TEST(PalmBitmapFamily, NextOffsetsLandOnHeadersWhateverTheBitmapLength) {
    const BmpImage odd16 = imageOf(makeBmp(3, 3, 16, {}, [](int x, int y) { return 0x7FFFu - 1111u * (x + 3 * y); }));
    const BmpImage odd16Double =
        imageOf(makeBmp(6, 6, 16, {}, [](int x, int y) { return static_cast<std::uint32_t>(x * 997 + y * 31); }));
    const BmpImage table3 = imageOf(
        makeBmp(3, 3, 8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, [](int x, int) { return static_cast<std::uint32_t>(x); }));
    PalmBitmapFamily family(kTypeBitmap, 4000);
    ASSERT_TRUE(family.addBitmap(table3, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(odd16, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(table3, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(odd16Double, PalmDensity::Double));
    const std::vector<PalmBitmap> decoded = decodeFamily(familyBytes(family));
    ASSERT_EQ(decoded.size(), 4u);
    expectSamePixels(decoded[0], table3);
    expectSamePixels(decoded[1], odd16);
    EXPECT_EQ(decoded[1].compression, 0xFF);
    expectSamePixels(decoded[2], table3);
    expectSamePixels(decoded[3], odd16Double);
    EXPECT_EQ(decoded[3].pixelFormat, 1);
}

TEST(PalmBitmapFamily, CorpusImagesOfEveryDepthDecodeToTheirPixels) {
    for (const char* file :
         {"plucker/chicken.bmp", "bmpsuite/g/pal1wb.bmp", "bmpsuite/g/pal1bg.bmp", "bmpsuite/q/pal1p1.bmp",
          "plucker/viewer-4bpp.bmp", "plucker/bar-4bpp.bmp", "plucker/memorystick-4bpp.bmp", "plucker/chicken-8bpp.bmp",
          "bmpsuite/g/pal8-0.bmp", "bmpsuite/g/pal8w125.bmp", "bmpsuite/g/rgb16.bmp", "bmpsuite/q/rgb16faketrns.bmp",
          "bmpsuite/g/rgb16-565.bmp", "bmpsuite/g/rgb24.bmp", "plucker/again_x2-8bpp.bmp",
          "happydays/HD_large_color.bmp"}) {
        SCOPED_TRACE(file);
        const BmpImage image = corpusImage(file);
        PalmBitmapFamily family(kTypeBitmap, 4000);
        ASSERT_TRUE(family.addBitmap(image, PalmDensity::Standard));
        const std::vector<PalmBitmap> decoded = decodeFamily(familyBytes(family));
        ASSERT_EQ(decoded.size(), 1u);
        if (image.bitCount() == 8) {
            EXPECT_EQ(decoded[0].colourTable.size(), std::min<std::size_t>(image.palette().size(), 255));
        }
        if (image.palette().size() == 256) {
            // The 256th colour has no place in the table; skip the pixel comparison.
            continue;
        }
        expectSamePixels(decoded[0], image);
    }
}

TEST(PalmBitmapFamily, WhiteFirstOneBitPaletteKeepsBlackBlack) {
    const auto pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); };
    const BmpImage blackFirst = imageOf(makeBmp(8, 2, 1, {{0, 0, 0}, {255, 255, 255}}, pixel));
    const BmpImage whiteFirst =
        imageOf(makeBmp(8, 2, 1, {{255, 255, 255}, {0, 0, 0}}, [&](int x, int y) { return 1u - pixel(x, y); }));
    // One byte of pixels per 4-byte row; the padding bytes carry no pixels.
    const std::vector<std::uint8_t> a = palmPixelRows(blackFirst);
    const std::vector<std::uint8_t> b = palmPixelRows(whiteFirst);
    ASSERT_EQ(a.size(), 8u);
    ASSERT_EQ(b.size(), 8u);
    EXPECT_EQ(a[0], 0xAA);  // black pixels are set bits
    EXPECT_EQ(a[4], 0x55);
    EXPECT_EQ(b[0], a[0]);
    EXPECT_EQ(b[4], a[4]);
}

TEST(PalmBitmapFamily, DirectColourConversions) {
    EXPECT_EQ(rgb555ToRgb565(0x7FFF), 0xFFDF);
    EXPECT_EQ(rgb555ToRgb565(0xFFFF), 0xFFDF);  // the unused top bit is dropped
    EXPECT_EQ(rgb555ToRgb565(0x001F), 0x001F);
    EXPECT_EQ(rgbToRgb565({255, 128, 0}), 0xFC00);
    EXPECT_EQ(rgbToRgb565({0, 0, 255}), 0x001F);
}

TEST(PalmBitmapFamily, TransparencyOfIndexedAndDirectColour) {
    const auto pattern = [](int x, int) { return static_cast<std::uint32_t>(x % 3); };
    BmpImage indexed = imageOf(makeBmp(4, 2, 8, {{10, 20, 30}, {255, 0, 255}, {0, 0, 0}}, pattern));
    indexed.setTransparentColour(RgbColour{255, 0, 255});
    BmpImage missing = indexed;
    missing.setTransparentColour(RgbColour{1, 2, 3});
    BmpImage direct = imageOf(makeBmp(4, 2, 24, {}, [](int x, int) { return x ? 0xFF8000u : 0x00FF00u; }));
    direct.setTransparentColour(RgbColour{255, 128, 0});

    PalmBitmapFamily family(kTypeBitmap, 4000);
    ASSERT_TRUE(family.addBitmap(indexed, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(missing, PalmDensity::Standard));
    ASSERT_TRUE(family.addBitmap(direct, PalmDensity::Standard));
    ASSERT_TRUE(
        family.addBitmap(imageOf(makeBmp(8, 4, 8, {{10, 20, 30}, {255, 0, 255}}, pattern)), PalmDensity::Double));
    const std::vector<PalmBitmap> decoded = decodeFamily(familyBytes(family));
    ASSERT_EQ(decoded.size(), 4u);
    EXPECT_EQ(decoded[0].flags, 0x6000);
    EXPECT_EQ(decoded[0].transparentIndex, 1);
    EXPECT_EQ(decoded[1].flags, 0x6000);
    EXPECT_EQ(decoded[1].transparentIndex, 0xFF);
    // A transparent direct-colour bitmap needs version 3 even at standard density.
    EXPECT_EQ(decoded[2].version, 3);
    EXPECT_EQ(decoded[2].density, 72);
    EXPECT_EQ(decoded[2].flags, 0x2400);
    EXPECT_EQ(decoded[2].transparentValue, 0xFC00u);
    EXPECT_EQ(decoded[2].pixels[0][1], 0xFC00u);
    EXPECT_EQ(decoded[3].transparentValue, 0u);
    EXPECT_EQ(decoded[3].flags, 0x4000);
}

TEST(PalmBitmapFamily, TransparentIndexTravelsInTheVersion3Value) {
    BmpImage indexed = imageOf(makeBmp(4, 4, 8, {{0, 0, 0}, {9, 9, 9}, {255, 255, 255}},
                                       [](int x, int) { return static_cast<std::uint32_t>(x % 3); }));
    indexed.setTransparentColour(RgbColour{255, 255, 255});
    PalmBitmapFamily family(kTypeAppIcon, 1000);
    ASSERT_TRUE(family.addBitmap(indexed, PalmDensity::Double));
    const std::vector<PalmBitmap> decoded = decodeFamily(familyBytes(family));
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_TRUE(decoded[0].precededByMarker);
    EXPECT_EQ(decoded[0].flags, 0x6000);
    EXPECT_EQ(decoded[0].transparentValue, 2u);
}

TEST(PalmBitmapFamily, RefusesWhatDoesNotFitOneResource) {
    const BmpImage big =
        imageOf(makeBmp(160, 80, 24, {}, [](int x, int y) { return static_cast<std::uint32_t>(x * y); }));
    PalmBitmapFamily family(kTypeBitmap, 4000);
    EXPECT_TRUE(family.addBitmap(big, PalmDensity::Standard));
    EXPECT_TRUE(family.addBitmap(big, PalmDensity::Standard));
    EXPECT_FALSE(family.addBitmap(big, PalmDensity::Standard));
    EXPECT_TRUE(family.overflowed());

    const BmpImage coloured4 = corpusImage("plucker/lookup-4bpp.bmp");
    PalmBitmapFamily other(kTypeBitmap, 4000);
    EXPECT_FALSE(other.addBitmap(coloured4, PalmDensity::Standard));
}
