// Draws the preview's pixel font: for each handheld font and density one
// strip of glyphs, byte 0 to 255 side by side, each exactly as wide as the
// handheld's character and as tall as its line. The shapes come from the
// DejaVu Sans Condensed faces (free font licence, see LICENSE-glyphs.txt),
// drawn at the size that matches the handheld's ascent, centred in the cell or
// squeezed sideways where a glyph is wider than it, and reduced to black and
// white pixels.
//
// Run once after changing a face or a size:
//   make_handheld_glyphs REGULAR.ttf BOLD.ttf OUTDIR
// The strips are kept in the repository; the preview loads them from its
// resources.

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

#include "editor/preview/HandheldFontMetrics.h"

using namespace skedlin::preview;

namespace {

// The handheld's code page: bytes 0x80-0x9F as Windows-1252, with the card
// suits where the handheld has them; the rest as Latin-1.
char32_t codePoint(int byte) {
    static const char32_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x2666, 0x2663, 0x2665,
                                      0x2660, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178};
    if (byte < 0x20 || byte == 0x7F) return 0;
    if (byte == 0xAD) return 0x2D;  // the soft hyphen shows as a hyphen
    if (byte >= 0x80 && byte < 0xA0) return high[byte - 0x80];
    return static_cast<char32_t>(byte);
}

// Glyphs are drawn smooth at kScale times the size, then each pixel of the
// cell takes ink when enough of its kScale x kScale square is covered: thin
// strokes survive where drawing directly at the small size loses them.
constexpr int kScale = 8;
constexpr int kInkThreshold = 96;  // of 255: a pixel at least this covered is ink

QImage strip(const QString& family, bool bold, std::uint8_t font, int density) {
    int width = 0;
    for (int byte = 0; byte < 256; ++byte) width += characterWidth(font, density, static_cast<unsigned char>(byte));
    const int height = lineHeight(font, density);
    const int baseline = ascent(font, density);

    QFont face(family);
    face.setBold(bold);
    face.setHintingPreference(QFont::PreferNoHinting);
    // Capital letters reach one pixel below the ascent line, as on the handheld.
    double pixelSize = baseline;
    for (double size = baseline; size < baseline * 2; size += 0.25) {
        face.setPixelSize(static_cast<int>(size * kScale));
        if (QFontMetricsF(face).capHeight() > (baseline - density) * kScale) break;
        pixelSize = size;
    }
    face.setPixelSize(static_cast<int>(pixelSize * kScale));
    const QFontMetricsF metrics(face);

    QImage large(width * kScale, height * kScale, QImage::Format_Grayscale8);
    large.fill(0);
    QPainter painter(&large);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(face);
    painter.setPen(Qt::white);  // coverage: white is ink here
    int x = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const int cell = characterWidth(font, density, static_cast<unsigned char>(byte));
        const bool known = standardDensityWidths(font)[byte] >= 0;
        const char32_t code = codePoint(byte);
        const double left = x * kScale;
        if (!known) {
            // The handheld shows bytes without a glyph as an open box.
            painter.fillRect(
                QRectF(left, (baseline - 7 * density) * kScale, (cell - density) * kScale, 7 * density * kScale),
                Qt::white);
            painter.fillRect(QRectF(left + density * kScale, (baseline - 6 * density) * kScale,
                                    (cell - 3 * density) * kScale, 5 * density * kScale),
                             Qt::black);
        } else if (code) {
            const QString text = QString::fromUcs4(&code, 1);
            const QRectF ink = metrics.tightBoundingRect(text);
            // One column of space to the next character, unless the cell is too narrow for it.
            const double room = (cell - density >= density ? cell - density : cell) * kScale;
            painter.save();
            painter.setClipRect(QRectF(left, 0, cell * kScale, height * kScale));
            painter.translate(left, baseline * kScale);
            if (ink.width() > room && room > 0) {
                painter.scale(room / ink.width(), 1.0);
                painter.drawText(QPointF(-ink.left(), 0), text);
            } else {
                painter.drawText(QPointF((room - ink.width()) / 2 - ink.left(), 0), text);
            }
            painter.restore();
        }
        x += cell;
    }
    painter.end();

    // Only black and white: the handheld's fonts have no grey. A glyph so thin
    // that no pixel reaches the threshold (a low line, a narrow accented
    // letter) takes ink where it is at least half as covered as its darkest pixel.
    QImage mono(width, height, QImage::Format_Grayscale8);
    mono.fill(255);
    auto coverage = [&](int column, int row) {
        int sum = 0;
        for (int dy = 0; dy < kScale; ++dy) {
            const uchar* in = large.constScanLine(row * kScale + dy) + column * kScale;
            for (int dx = 0; dx < kScale; ++dx) sum += in[dx];
        }
        return sum / (kScale * kScale);
    };
    x = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const int cell = characterWidth(font, density, static_cast<unsigned char>(byte));
        int darkest = 0;
        for (int row = 0; row < height; ++row)
            for (int column = x; column < x + cell; ++column) darkest = std::max(darkest, coverage(column, row));
        const int threshold = std::max(1, std::min(kInkThreshold, darkest / 2));
        for (int row = 0; row < height; ++row)
            for (int column = x; column < x + cell; ++column)
                if (coverage(column, row) >= threshold && darkest > 0) mono.scanLine(row)[column] = 0;
        x += cell;
    }
    return mono;
}

const char* fontName(std::uint8_t font) {
    switch (font) {
    case kFontBold: return "bold";
    case kFontLarge: return "large";
    case kFontLargeBold: return "largebold";
    default: return "standard";
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "Usage: make_handheld_glyphs REGULAR.ttf BOLD.ttf OUTDIR\n");
        return 64;
    }
    const int regular = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[1]));
    const int bold = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[2]));
    if (regular < 0 || bold < 0) {
        std::fprintf(stderr, "make_handheld_glyphs: cannot load the fonts\n");
        return 1;
    }
    const QString regularFamily = QFontDatabase::applicationFontFamilies(regular).value(0);
    const QString boldFamily = QFontDatabase::applicationFontFamilies(bold).value(0);
    for (std::uint8_t font : kHandheldFonts) {
        const bool isBold = font == kFontBold || font == kFontLargeBold;
        for (int density = 1; density <= 2; ++density) {
            const QString path = QStringLiteral("%1/%2-%3.png")
                                     .arg(QString::fromLocal8Bit(argv[3]), QString::fromLatin1(fontName(font)))
                                     .arg(density);
            if (!strip(isBold ? boldFamily : regularFamily, isBold, font, density).save(path)) {
                std::fprintf(stderr, "make_handheld_glyphs: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
