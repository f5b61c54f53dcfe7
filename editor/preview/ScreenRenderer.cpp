#include "editor/preview/ScreenRenderer.h"

#include <algorithm>
#include <cstdlib>

#include "editor/preview/HandheldFontMetrics.h"
#include "editor/preview/HandheldGlyphs.h"
#include "editor/preview/PalmBitmapImage.h"

namespace skedlin::preview {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr int kStandardScreen = 160;
// Title bar of a form at the standard density: a black tab around the title
// and a two-pixel rule under it across the screen.
constexpr int kTitleBarHeight = 15;
constexpr int kTitleRuleY = 13;
constexpr int kTitleTextX = 2;
constexpr int kTitleTextY = 1;
// Scroll bar arrows at the standard density.
constexpr int kArrowHeight = 5;

// Pixel operations clipped to the screen.
class Canvas {
public:
    explicit Canvas(QImage& image) : image_(image), width_(image.width()), height_(image.height()) {}

    void set(int x, int y, QRgb colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour;
    }
    void fill(int x, int y, int w, int h, QRgb colour) {
        forEach(x, y, w, h, [colour](QRgb& pixel) { pixel = colour; });
    }
    void invert(int x, int y, int w, int h) {
        forEach(x, y, w, h, [](QRgb& pixel) { pixel = (pixel ^ 0x00FFFFFF) | 0xFF000000; });
    }
    // Outline of the rectangle's own border pixels.
    void outline(int x, int y, int w, int h, QRgb colour) {
        if (w <= 0 || h <= 0) return;
        fill(x, y, w, 1, colour);
        fill(x, y + h - 1, w, 1, colour);
        fill(x, y, 1, h, colour);
        fill(x + w - 1, y, 1, h, colour);
    }
    // Both end points included.
    void line(int x0, int y0, int x1, int y1, QRgb colour) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            set(x0, y0, colour);
            if (x0 == x1 && y0 == y1) break;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x0 += sx;
            }
            if (twice <= dx) {
                error += dx;
                y0 += sy;
            }
        }
    }
    void image(int x, int y, int w, int h, const QImage& source) {
        if (source.isNull() || w <= 0 || h <= 0) return;
        for (int row = 0; row < h; ++row) {
            const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(row * source.height() / h));
            for (int column = 0; column < w; ++column) {
                const QRgb pixel = in[column * source.width() / w];
                if (qAlpha(pixel) != 0) set(x + column, y + row, pixel | 0xFF000000);
            }
        }
    }

private:
    template <typename Operation>
    void forEach(int x, int y, int w, int h, Operation operation) {
        const int left = std::max(x, 0), right = std::min(x + w, width_);
        const int top = std::max(y, 0), bottom = std::min(y + h, height_);
        for (int row = top; row < bottom; ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
            for (int column = left; column < right; ++column) operation(line[column]);
        }
    }
    QImage& image_;
    int width_, height_;
};

class Renderer {
public:
    Renderer(QImage& image, int density, const ResourceLookup& resources, std::vector<DrawnText>* texts)
        : image_(image), canvas_(image), d_(density), resources_(resources), texts_(texts) {}

    void draw(const skv_item& item) {
        switch (item.kind) {
        case SKV_ITEM_TITLE: title(item); break;
        case SKV_ITEM_TEXT: text(item.font, item.x, item.y, item.text, item.length); break;
        case SKV_ITEM_BITMAP: bitmap(item); break;
        case SKV_ITEM_LINE: canvas_.line(item.x, item.y, item.x + item.w, item.y + item.h, kBlack); break;
        case SKV_ITEM_FILL: canvas_.fill(item.x, item.y, item.w, item.h, kBlack); break;
        case SKV_ITEM_INVERT: canvas_.invert(item.x, item.y, item.w, item.h); break;
        case SKV_ITEM_FRAME: canvas_.outline(item.x, item.y, item.w, item.h, kBlack); break;
        case SKV_ITEM_BUTTON: button(item); break;
        case SKV_ITEM_CHECKBOX: checkBox(item); break;
        case SKV_ITEM_SCROLLBAR: scrollBar(item); break;
        default: break;
        }
    }

private:
    void text(std::uint8_t font, int x, int y, const char* bytes, int length) {
        if (!bytes || length <= 0) return;
        drawHandheldText(image_, font, d_, x, y, bytes, length, kBlack, kWhite);
        if (texts_) texts_->push_back(DrawnText{QByteArray(bytes, length), x, y, font});
    }

    // The form's title: bold white letters on a black tab with rounded top
    // corners, over a rule across the whole screen.
    void title(const skv_item& item) {
        const int width = textWidth(kFontBold, d_, item.text, item.length);
        const int tabWidth = std::min(width + 2 * kTitleTextX * d_, kStandardScreen * d_);
        canvas_.fill(0, 0, kStandardScreen * d_, kTitleBarHeight * d_, kWhite);
        canvas_.fill(0, 0, tabWidth, kTitleRuleY * d_, kBlack);
        canvas_.fill(0, kTitleRuleY * d_, kStandardScreen * d_, 2 * d_, kBlack);
        for (int corner = 0; corner < d_; ++corner) {
            canvas_.fill(0, corner, d_ - corner, 1, kWhite);
            canvas_.fill(tabWidth - d_ + corner, corner, d_ - corner, 1, kWhite);
        }
        if (item.text && item.length > 0)
            drawHandheldText(image_, kFontBold, d_, kTitleTextX * d_, kTitleTextY * d_, item.text, item.length, kWhite,
                             kBlack);
    }

    void bitmap(const skv_item& item) {
        std::uint32_t size = 0;
        const std::uint8_t* family = resources_ ? resources_(SKV_TYPE_BITMAP, item.id, &size) : nullptr;
        skv_bitmap chosen{};
        if (!family || skv_bitmap_choose(family, size, static_cast<std::uint8_t>(d_), &chosen) != SKV_OK) return;
        const QImage pixels = palmBitmapImage(family, size, chosen);
        // A bitmap of the other density is stretched or shrunk to the size the layout gave it.
        const int w = item.w > 0 ? item.w : pixels.width();
        const int h = item.h > 0 ? item.h : pixels.height();
        canvas_.image(item.x, item.y, w, h, pixels);
    }

    // A push button: a frame with rounded corners just outside its rectangle,
    // the label centred; the chosen button of a pair is inverted.
    void button(const skv_item& item) {
        const int x = item.x - 1, y = item.y - 1, w = item.w + 2, h = item.h + 2;
        const int round = 2 * d_;
        canvas_.fill(x + round, y, w - 2 * round, 1, kBlack);
        canvas_.fill(x + round, y + h - 1, w - 2 * round, 1, kBlack);
        canvas_.fill(x, y + round, 1, h - 2 * round, kBlack);
        canvas_.fill(x + w - 1, y + round, 1, h - 2 * round, kBlack);
        canvas_.line(x, y + round, x + round, y, kBlack);
        canvas_.line(x + w - 1 - round, y, x + w - 1, y + round, kBlack);
        canvas_.line(x, y + h - 1 - round, x + round, y + h - 1, kBlack);
        canvas_.line(x + w - 1 - round, y + h - 1, x + w - 1, y + h - 1 - round, kBlack);
        const int width = textWidth(item.font, d_, item.text, item.length);
        int labelX = item.x + (item.w - width) / 2;
        const int labelY = item.y + (item.h - lineHeight(item.font, d_)) / 2;
        if (labelX < item.x) labelX = item.x;
        text(item.font, labelX, labelY, item.text, item.length);
        if (item.value) canvas_.invert(item.x, item.y, item.w, item.h);
    }

    // A check box: a square, ticked when the value is 1, and its label.
    void checkBox(const skv_item& item) {
        const int side = 8 * d_;
        const int x = item.x + d_;
        const int y = item.y + (item.h - side) / 2;
        canvas_.fill(x, y, side, side, kWhite);
        canvas_.outline(x - 1, y - 1, side + 2, side + 2, kBlack);
        if (item.value) {
            for (int t = 0; t < d_ + 1; ++t) {
                canvas_.line(x + 1 * d_, y + 4 * d_ + t, x + 3 * d_, y + 6 * d_ + t, kBlack);
                canvas_.line(x + 3 * d_, y + 6 * d_ + t, x + 7 * d_, y + 1 * d_ + t, kBlack);
            }
        }
        if (item.length)
            text(item.font, x + side + 4 * d_, item.y + (item.h - lineHeight(item.font, d_)) / 2, item.text,
                 item.length);
    }

    // The handheld shows the scroll bar only when there is something to
    // scroll: arrows at both ends and a car whose place and length tell the
    // visible part.
    void scrollBar(const skv_item& item) {
        if (item.maximum <= 0 || item.w <= 0 || item.h <= 0) return;
        const int arrow = kArrowHeight * d_;
        const int centre = item.x + item.w / 2;
        for (int row = 0; row < 3 * d_; ++row) {
            const int half = row * item.w / (6 * d_);
            canvas_.fill(centre - half, item.y + d_ + row, 2 * half + 1, 1, kBlack);
            canvas_.fill(centre - half, item.y + item.h - 1 - d_ - row, 2 * half + 1, 1, kBlack);
        }
        const int trackTop = item.y + arrow, trackHeight = item.h - 2 * arrow;
        if (trackHeight <= 0) return;
        for (int row = trackTop; row < trackTop + trackHeight; row += 2 * d_) canvas_.fill(centre, row, 1, d_, kBlack);
        const long total = static_cast<long>(item.maximum) + std::max<int>(item.page, 1);
        const int carHeight =
            std::max<int>(static_cast<int>(trackHeight * std::max<int>(item.page, 1) / total), 4 * d_);
        const int value = std::clamp<int>(item.value, 0, item.maximum);
        const int carTop =
            trackTop + static_cast<int>(static_cast<long>(trackHeight - carHeight) * value / item.maximum);
        canvas_.fill(centre - d_, carTop, 2 * d_ + 1, carHeight, kBlack);
    }

    QImage& image_;
    Canvas canvas_;
    int d_;
    const ResourceLookup& resources_;
    std::vector<DrawnText>* texts_;
};

}  // namespace

int screenSize(int density) { return kStandardScreen * (density == 2 ? 2 : 1); }

QImage renderDisplay(const skv_item* items, std::uint16_t count, int density, const ResourceLookup& resources,
                     std::vector<DrawnText>* texts) {
    density = density == 2 ? 2 : 1;
    QImage image(screenSize(density), screenSize(density), QImage::Format_RGB32);
    image.fill(kWhite);
    Renderer renderer(image, density, resources, texts);
    for (std::uint16_t i = 0; i < count; ++i) renderer.draw(items[i]);
    return image;
}

}  // namespace skedlin::preview
