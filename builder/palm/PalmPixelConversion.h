#pragma once
// Turning the rows of a loaded Windows bitmap into the pixel rows of a Palm
// bitmap: top row first, 1-bit black = 1, 4-bit grey levels with 15 = black,
// 8-bit indices as they are, 16 and 24 bits as big-endian RGB565.

#include <cstdint>
#include <vector>

#include "formats/bmp/BmpImage.h"

namespace skedlin::palm {

// A 5-5-5 pixel as RGB565: red and green move up one bit, the lowest green bit is 0.
// The unused top bit of the 5-5-5 pixel is ignored.
std::uint16_t rgb555ToRgb565(std::uint16_t pixel);
// An 8-bit-per-channel colour as RGB565, each channel truncated.
std::uint16_t rgbToRgb565(RgbColour colour);

// Bytes per Palm row: the image's own row size for 1, 4 and 8 bits, 2 x width for 16 and 24.
std::size_t palmRowBytes(const BmpImage& image);
// Palm pixel size: the bit count, or 16 for 16 and 24 bits.
std::uint8_t palmPixelSize(const BmpImage& image);

// All rows of the image in Palm form, top row first, palmRowBytes() each.
// The image must have an accepted bit count (1, grey 4, 8, 16, 24).
std::vector<std::uint8_t> palmPixelRows(const BmpImage& image);

}  // namespace skedlin::palm
