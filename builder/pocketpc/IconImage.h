#pragma once
// The icon image of a launcher icon: the bitmap's 40-byte information header
// with its height doubled (colour rows and mask rows), its palette, its pixel
// rows as stored, then the mask -- one bit per pixel, most significant bit
// first, set where the pixel is pure white, each row padded to 4 bytes.

#include <cstdint>
#include <vector>

#include "formats/bmp/BmpImage.h"

namespace skedlin {

std::vector<std::uint8_t> makeIconImage(const BmpImage& image);

}  // namespace skedlin
