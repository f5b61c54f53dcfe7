#pragma once
// Turns one bitmap of a Palm bitmap family (as the viewer core chose it) into
// an image: 1, 2 and 4-bit greys, 8-bit colour through its own colour table
// or the handheld's system palette, and 16-bit colour.

#include <QImage>

#include <cstdint>

#include "viewer/core/skv_core.h"

namespace skedlin::preview {

// The colour of entry `index` of the handheld's 256-colour system palette.
QRgb systemPaletteColour(int index);

// The bitmap's pixels (ARGB32; transparent pixels have alpha 0). `family` and
// `size` are the whole family resource the core validated; a null image when
// the bitmap's pixels do not lie inside it.
QImage palmBitmapImage(const std::uint8_t* family, std::uint32_t size, const skv_bitmap& bitmap);

}  // namespace skedlin::preview
