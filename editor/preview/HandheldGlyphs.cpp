#include "editor/preview/HandheldGlyphs.h"

#include <array>
#include <mutex>
#include <vector>

#include "editor/preview/HandheldFontMetrics.h"

// The glyph strips are compiled into this static library's resources.
static void loadGlyphResources() { Q_INIT_RESOURCE(handheld_glyphs); }

namespace skedlin::preview {

namespace {

struct GlyphStrip {
    int height = 0;
    int width = 0;
    std::vector<std::uint8_t> ink;  // one byte per pixel, 1 where the glyph is
    std::array<int, 257> start{};   // first column of each byte's glyph
};

const char* stripName(std::uint8_t font) {
    switch (font) {
    case kFontBold: return "bold";
    case kFontLarge: return "large";
    case kFontLargeBold: return "largebold";
    default: return "standard";
    }
}

int stripSlot(std::uint8_t font) {
    switch (font) {
    case kFontBold: return 1;
    case kFontLarge: return 2;
    case kFontLargeBold: return 3;
    default: return 0;
    }
}

GlyphStrip loadStrip(std::uint8_t font, int density) {
    GlyphStrip strip;
    strip.height = lineHeight(font, density);
    for (int byte = 0; byte < 256; ++byte)
        strip.start[byte + 1] = strip.start[byte] + characterWidth(font, density, static_cast<unsigned char>(byte));
    strip.width = strip.start[256];
    strip.ink.assign(static_cast<std::size_t>(strip.width) * strip.height, 0);
    const QImage image(
        QStringLiteral(":/skedlin/preview/glyphs/%1-%2.png").arg(QString::fromLatin1(stripName(font))).arg(density));
    // A strip that does not fit the metrics leaves the glyphs blank rather
    // than drawing wrong shapes at the right widths.
    if (image.width() != strip.width || image.height() != strip.height) return strip;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    for (int row = 0; row < strip.height; ++row) {
        const uchar* line = grey.constScanLine(row);
        for (int column = 0; column < strip.width; ++column)
            strip.ink[static_cast<std::size_t>(row) * strip.width + column] = line[column] < 128 ? 1 : 0;
    }
    return strip;
}

const GlyphStrip& strip(std::uint8_t font, int density) {
    static std::once_flag once;
    static std::array<GlyphStrip, 8> strips;
    std::call_once(once, [] {
        loadGlyphResources();
        for (std::uint8_t each : kHandheldFonts)
            for (int d = 1; d <= 2; ++d)
                strips[static_cast<std::size_t>(stripSlot(each) * 2 + d - 1)] = loadStrip(each, d);
    });
    return strips[static_cast<std::size_t>(stripSlot(font) * 2 + (density == 2 ? 1 : 0))];
}

}  // namespace

int drawHandheldText(QImage& image, std::uint8_t font, int density, int x, int y, const char* text, int length,
                     QRgb ink, QRgb paper) {
    const GlyphStrip& glyphs = strip(font, density);
    const int imageWidth = image.width();
    const int imageHeight = image.height();
    const int startX = x;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int from = glyphs.start[byte];
        const int cell = glyphs.start[byte + 1] - from;
        for (int row = 0; row < glyphs.height; ++row) {
            const int py = y + row;
            if (py < 0 || py >= imageHeight) continue;
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(py));
            const std::uint8_t* source = glyphs.ink.data() + static_cast<std::size_t>(row) * glyphs.width + from;
            for (int column = 0; column < cell; ++column) {
                const int px = x + column;
                if (px < 0 || px >= imageWidth) continue;
                line[px] = source[column] ? ink : paper;
            }
        }
        x += cell;
    }
    return x - startX;
}

}  // namespace skedlin::preview
