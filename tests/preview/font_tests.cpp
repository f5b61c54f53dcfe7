// The preview's fonts: widths and heights equal to the handheld's, and a
// glyph for every character a package text can hold.

#include <QImage>

#include <cstring>

#include <gtest/gtest.h>

#include "editor/preview/HandheldFontMetrics.h"
#include "editor/preview/HandheldGlyphs.h"

namespace skedlin::preview {
namespace {

struct Measured {
    std::uint8_t font;
    const char* text;
    int doubleDensityWidth;  // FntCharsWidth on the handheld's double-density screen
};

// Widths the handheld returned for texts of the example package.
const Measured kMeasured[] = {
    {kFontStandard, "Opening, keynotes and the closing panel, all in the Main Hall.", 488},
    {kFontStandard, "Room 2. Small screens, short attention spans.", 368},
    {kFontStandard, "Registration opens at 08:00 in the foyer.", 328},
    {kFontStandard, "Browse", 58},
    {kFontBold, "Questions: info@mdc2026.example", 350},
    {kFontBold, "Track B: User Experience", 244},
    {kFontBold, "Thursday, 14 May 2026", 228},
};

TEST(HandheldFont, WidthsAndHeightsAreTheHandhelds) {
    for (const Measured& m : kMeasured) {
        const int length = static_cast<int>(std::strlen(m.text));
        EXPECT_EQ(textWidth(m.font, 2, m.text, length), m.doubleDensityWidth) << m.text;
        EXPECT_EQ(textWidth(m.font, 1, m.text, length), m.doubleDensityWidth / 2) << m.text;
    }
    // Line heights: 22 pixels for the standard and bold fonts on the double-density screen.
    EXPECT_EQ(lineHeight(kFontStandard, 2), 22);
    EXPECT_EQ(lineHeight(kFontBold, 2), 22);
    EXPECT_EQ(lineHeight(kFontLarge, 1), 14);
    EXPECT_EQ(lineHeight(kFontLargeBold, 1), 15);
    // Fonts the handheld does not have measure as the standard font.
    EXPECT_EQ(textWidth(5, 1, "Browse", 6), 29);
    // Bytes without a glyph take the missing-character width.
    EXPECT_EQ(textWidth(kFontStandard, 1, "\x81\x7F", 2), 2 * kMissingCharacterWidth);
}

// Every byte with a glyph leaves ink inside its own cell and nowhere else,
// in each font at each density: a strip that does not match the widths, or a
// glyph left blank (accented letters, dashes, quotes), shows here.
TEST(HandheldFont, EveryCharacterDrawsInsideItsCell) {
    for (std::uint8_t font : kHandheldFonts) {
        for (int density = 1; density <= 2; ++density) {
            for (int byte = 0x21; byte <= 0xFF; ++byte) {
                if (byte == 0x7F || byte == 0xA0 || standardDensityWidths(font)[byte] < 0) continue;
                const char c = static_cast<char>(byte);
                const int width = characterWidth(font, density, static_cast<unsigned char>(byte));
                QImage image(width + 20, lineHeight(font, density) + 20, QImage::Format_RGB32);
                image.fill(Qt::white);
                EXPECT_EQ(drawHandheldText(image, font, density, 10, 10, &c, 1, 0xFF000000, 0xFFFFFFFF), width);
                int inside = 0, outside = 0;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        if (image.pixel(x, y) != 0xFF000000) continue;
                        const bool inCell = x >= 10 && x < 10 + width && y >= 10 && y < 10 + lineHeight(font, density);
                        (inCell ? inside : outside) += 1;
                    }
                }
                EXPECT_GT(inside, 0) << "font " << int(font) << " density " << density << " byte " << byte;
                EXPECT_EQ(outside, 0) << "font " << int(font) << " density " << density << " byte " << byte;
            }
        }
    }
}

}  // namespace
}  // namespace skedlin::preview
