#pragma once
// The preview's pixel font: one strip of glyphs per handheld font and
// density (see glyphs/), each glyph exactly as wide as the handheld's
// character, drawn into a 32-bit image.

#include <QImage>

#include <cstdint>

namespace skedlin::preview {

// Draws `length` bytes of text in `font` with the top left of the line at
// x,y: every character cell is painted, the glyph in `ink`, the rest of the
// cell in `paper`, as the handheld draws characters. Pixels outside the image
// are left alone. Returns the width drawn.
int drawHandheldText(QImage& image, std::uint8_t font, int density, int x, int y, const char* text, int length,
                     QRgb ink, QRgb paper);

}  // namespace skedlin::preview
