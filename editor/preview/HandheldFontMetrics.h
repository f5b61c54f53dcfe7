#pragma once
// Character widths and line heights of the handheld's built-in fonts: the
// numbers the viewer core lays text out with, so that line breaks and list
// lengths come out as on the handheld.

#include <cstdint>

namespace skedlin::preview {

// Font numbers as the handheld numbers its built-in fonts.
inline constexpr std::uint8_t kFontStandard = 0;
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontLarge = 2;
inline constexpr std::uint8_t kFontLargeBold = 7;
inline constexpr std::uint8_t kHandheldFonts[] = {kFontStandard, kFontBold, kFontLarge, kFontLargeBold};

// Width the handheld gives a byte its font has no glyph for.
inline constexpr int kMissingCharacterWidth = 5;

// Width of each byte at the standard density, -1 where the font has no
// glyph; nullptr for a font number the handheld does not have.
const std::int8_t* standardDensityWidths(std::uint8_t font);
// Line height at the standard density; 0 for an unknown font.
int standardDensityLineHeight(std::uint8_t font);
int standardDensityAscent(std::uint8_t font);

// Width of one byte at density 1 or 2 (an unknown font measures as the
// standard font).
int characterWidth(std::uint8_t font, int density, unsigned char byte);
int textWidth(std::uint8_t font, int density, const char* text, int length);
int lineHeight(std::uint8_t font, int density);
// Ascent (pixels above the baseline) at density 1 or 2.
int ascent(std::uint8_t font, int density);

}  // namespace skedlin::preview
