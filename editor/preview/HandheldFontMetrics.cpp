// Character widths and line heights of the handheld's built-in fonts at the
// standard density, as the handheld reports them (FntCharWidth and
// FntLineHeight). The double-density fonts are exactly twice as wide and
// tall. Bytes without a glyph in the font count as the handheld's missing
// character width.

#include "editor/preview/HandheldFontMetrics.h"

namespace skedlin::preview {

namespace {

// 11 pixels high (ascent 9, descent 2); -1: no glyph.
constexpr std::int8_t kStandardWidths[256] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, 5,  8, 8, 6, 5,  8,  -1, -1,
    -1, -1, -1, 2,  2,  4,  8,  6,  8,  7, 2,  4,  4,  6,  6,  3,  4,  2,  5,  5,  5,  5,  5, 5, 5, 5,  5,  5,  5,
    2,  3,  6,  6,  6,  5,  8,  5,  5,  5, 6,  4,  4,  6,  6,  2,  4,  6,  5,  8,  6,  7,  5, 7, 5, 5,  6,  6,  6,
    8,  6,  6,  6,  3,  5,  3,  6,  4,  3, 5,  5,  4,  5,  5,  4,  5,  5,  2,  3,  5,  2,  8, 5, 5, 5,  5,  4,  4,
    4,  5,  5,  6,  6,  6,  4,  4,  2,  4, 7,  -1, 8,  -1, 3,  8,  5,  6,  6,  6,  4,  11, 5, 4, 8, 10, 10, 10, 10,
    3,  3,  5,  5,  4,  4,  7,  7,  10, 4, 4,  8,  -1, -1, 6,  2,  2,  6,  6,  8,  6,  2,  5, 4, 8, 5,  6,  6,  4,
    8,  6,  5,  6,  4,  4,  3,  5,  6,  2, 4,  2,  5,  6,  8,  8,  8,  5,  5,  5,  5,  5,  5, 5, 7, 5,  4,  4,  4,
    4,  3,  2,  3,  3,  7,  6,  7,  7,  7, 7,  7,  5,  8,  6,  6,  6,  6,  6,  6,  6,  5,  5, 5, 5, 5,  5,  8,  4,
    5,  5,  5,  5,  2,  2,  3,  3,  5,  5, 5,  5,  5,  5,  5,  6,  7,  5,  5,  5,  5,  6,  5, 6,
};

// 11 pixels high (ascent 9, descent 2); -1: no glyph.
constexpr std::int8_t kBoldWidths[256] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, 5,  10, 8, 6,  6,  8,  -1, -1,
    -1, -1, -1, 2,  3,  6,  10, 6,  13, 9, 3,  5,  5,  6,  6,  3,  5,  3,  6,  6,  6,  6,  6,  6, 6,  6,  6,  6,  6,
    3,  3,  6,  6,  6,  6,  10, 7,  7,  6, 7,  5,  5,  8,  8,  3,  5,  7,  6,  10, 7,  8,  7,  8, 8,  6,  7,  7,  8,
    11, 7,  7,  7,  4,  6,  4,  6,  5,  4, 6,  6,  5,  6,  6,  5,  6,  6,  3,  4,  6,  3,  9,  6, 6,  6,  6,  5,  5,
    6,  6,  6,  9,  6,  6,  5,  5,  3,  5, 7,  -1, 9,  -1, 3,  9,  5,  6,  5,  5,  4,  17, 6,  5, 10, 10, 10, 10, 10,
    3,  3,  5,  5,  4,  4,  6,  7,  10, 5, 5,  10, -1, -1, 7,  2,  3,  6,  7,  8,  7,  3,  6,  4, 8,  6,  8,  6,  5,
    8,  6,  5,  6,  4,  4,  4,  6,  7,  2, 4,  2,  6,  8,  9,  9,  9,  6,  7,  7,  7,  7,  7,  7, 9,  6,  5,  5,  5,
    5,  3,  3,  3,  3,  8,  7,  8,  8,  8, 8,  8,  6,  8,  7,  7,  7,  7,  7,  7,  8,  6,  6,  6, 6,  6,  6,  9,  5,
    6,  6,  6,  6,  3,  3,  3,  3,  6,  6, 6,  6,  6,  6,  6,  7,  8,  6,  6,  6,  6,  6,  6,  6,
};

// 14 pixels high (ascent 11, descent 3); -1: no glyph.
constexpr std::int8_t kLargeWidths[256] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, 4, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, 5,  10, 8, 10, 7,  8,  -1, -1,
    -1, -1, -1, 4,  2,  4,  9,  6,  11, 8, 2,  4,  4,  6,  8,  3,  4,  2,  5,  7,  7,  7,  7,  7, 7,  7,  7,  7,  7,
    2,  3,  7,  7,  7,  5,  11, 9,  6,  7, 7,  6,  6,  8,  7,  3,  4,  7,  5,  10, 7,  8,  6,  8, 6,  5,  6,  7,  7,
    11, 7,  6,  5,  3,  5,  3,  6,  6,  3, 6,  7,  6,  7,  7,  4,  7,  6,  3,  3,  6,  2,  10, 7, 7,  7,  7,  4,  5,
    4,  7,  6,  10, 6,  7,  6,  4,  2,  4, 7,  -1, 8,  -1, 3,  7,  5,  10, 6,  6,  4,  13, 5,  4, 9,  10, 10, 10, 10,
    3,  3,  5,  5,  5,  6,  12, 7,  11, 5, 4,  12, -1, -1, 8,  4,  2,  6,  6,  8,  8,  2,  6,  4, 10, 5,  7,  7,  4,
    10, 4,  5,  6,  5,  4,  3,  6,  6,  2, 4,  3,  5,  7,  8,  8,  8,  5,  9,  9,  9,  9,  9,  9, 9,  7,  6,  6,  6,
    6,  3,  2,  3,  3,  8,  7,  8,  8,  8, 8,  8,  6,  8,  7,  7,  7,  7,  6,  6,  6,  6,  6,  6, 6,  6,  6,  11, 6,
    7,  7,  7,  7,  3,  2,  3,  3,  6,  7, 7,  7,  7,  7,  7,  6,  7,  7,  7,  7,  7,  7,  6,  7,
};

// 15 pixels high (ascent 12, descent 3); -1: no glyph.
constexpr std::int8_t kLargeBoldWidths[256] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, 5,  8, 8, 9,  6,  8,  -1, -1,
    -1, -1, -1, 2,  3,  6,  8,  7,  11, 9, 3,  4,  4,  8,  7,  3,  5,  3,  5,  6,  6,  6,  6, 6, 6,  6,  6,  6,  6,
    3,  4,  7,  6,  7,  6,  10, 9,  7,  7, 7,  6,  6,  7,  7,  3,  7,  7,  6,  9,  8,  7,  7, 8, 7,  7,  7,  7,  8,
    10, 8,  7,  6,  4,  5,  4,  8,  8,  4, 6,  6,  6,  6,  6,  5,  6,  6,  3,  4,  6,  3,  9, 6, 6,  6,  6,  5,  6,
    5,  6,  7,  9,  6,  6,  5,  7,  3,  7, 8,  -1, 9,  -1, 3,  7,  6,  9,  6,  6,  6,  12, 7, 4, 9,  10, 10, 10, 10,
    3,  3,  6,  6,  8,  7,  9,  7,  8,  6, 4,  9,  -1, -1, 7,  1,  3,  6,  7,  8,  7,  2,  5, 6, 8,  4,  7,  7,  3,
    8,  8,  5,  7,  4,  4,  4,  7,  8,  3, 4,  3,  4,  7,  8,  8,  8,  6,  9,  9,  9,  9,  9, 9, 11, 7,  6,  6,  6,
    6,  4,  4,  5,  4,  8,  8,  7,  7,  7, 7,  7,  6,  7,  7,  7,  7,  7,  7,  7,  7,  6,  6, 6, 6,  6,  6,  9,  6,
    6,  6,  6,  6,  4,  4,  5,  4,  6,  6, 6,  6,  6,  6,  6,  7,  6,  6,  6,  6,  6,  6,  6, 6,
};

}  // namespace

const std::int8_t* standardDensityWidths(std::uint8_t font) {
    switch (font) {
    case kFontStandard: return kStandardWidths;
    case kFontBold: return kBoldWidths;
    case kFontLarge: return kLargeWidths;
    case kFontLargeBold: return kLargeBoldWidths;
    default: return nullptr;
    }
}

int standardDensityLineHeight(std::uint8_t font) {
    switch (font) {
    case kFontStandard: return 11;
    case kFontBold: return 11;
    case kFontLarge: return 14;
    case kFontLargeBold: return 15;
    default: return 0;
    }
}

int standardDensityAscent(std::uint8_t font) {
    switch (font) {
    case kFontLarge: return 11;
    case kFontLargeBold: return 12;
    default: return 9;
    }
}

namespace {

std::uint8_t knownFont(std::uint8_t font) { return standardDensityWidths(font) ? font : kFontStandard; }

}  // namespace

int characterWidth(std::uint8_t font, int density, unsigned char byte) {
    int width = standardDensityWidths(knownFont(font))[byte];
    if (width < 0) width = kMissingCharacterWidth;
    return width * density;
}

int textWidth(std::uint8_t font, int density, const char* text, int length) {
    const std::int8_t* widths = standardDensityWidths(knownFont(font));
    int sum = 0;
    for (int i = 0; i < length; ++i) {
        int width = widths[static_cast<unsigned char>(text[i])];
        sum += width < 0 ? kMissingCharacterWidth : width;
    }
    return sum * density;
}

int lineHeight(std::uint8_t font, int density) { return standardDensityLineHeight(knownFont(font)) * density; }

int ascent(std::uint8_t font, int density) { return standardDensityAscent(knownFont(font)) * density; }

}  // namespace skedlin::preview
