#include "templates/pocketpc/TemplatePictures.h"

#include "formats/Bytes.h"

namespace skedlin::templates {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kPlanes = 1;

// The sixteen standard colours, blue, green, red.
constexpr std::uint8_t kPalette[16][3] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x80, 0x00}, {0x00, 0x80, 0x80},
    {0x80, 0x00, 0x00}, {0x80, 0x00, 0x80}, {0x80, 0x80, 0x00}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0xFF},
    {0xFF, 0x00, 0x00}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0xFF, 0xFF}};
constexpr int kBlack = 0;
constexpr int kDarkGrey = 8;
constexpr int kRed = 9;
constexpr int kWhite = 15;
constexpr int kTransparent = -1;

// A calendar page: a red heading band over a white sheet with a dark border
// and a grid of day marks. Coordinates from the top left.
int pageColourAt(int x, int y, int size) {
    const int margin = size / 8;
    const int left = margin, right = size - 1 - margin;
    const int top = margin, bottom = size - 1 - margin / 2;
    if (x < left || x > right || y < top || y > bottom) return kTransparent;
    if (x == left || x == right || y == top || y == bottom) return kBlack;
    const int headingBottom = top + size / 5;
    if (y <= headingBottom) return kRed;
    const int cell = size >= 32 ? 5 : 3;
    const int inX = x - left - 2, inY = y - headingBottom - 2;
    if (inX >= 0 && inY >= 0 && inX % cell < cell - 2 && inY % cell < cell - 2 && x < right - 1 && y < bottom - 1)
        return kDarkGrey;
    return kWhite;
}

std::size_t colourRowSize(int size) { return static_cast<std::size_t>((size * 4 + 31) / 32 * 4); }
std::size_t maskRowSize(int size) { return static_cast<std::size_t>((size + 31) / 32 * 4); }

void appendInfoHeader(std::vector<std::uint8_t>& out, int width, int height, std::uint32_t imageBytes) {
    bytes::ByteWriter(out).put32le(kInfoHeaderSize);
    bytes::ByteWriter(out).put32le(static_cast<std::uint32_t>(width));
    bytes::ByteWriter(out).put32le(static_cast<std::uint32_t>(height));
    bytes::ByteWriter(out).put16le(kPlanes);
    bytes::ByteWriter(out).put16le(static_cast<std::uint16_t>(kIconBitCount));
    bytes::ByteWriter(out).put32le(0);  // no compression
    bytes::ByteWriter(out).put32le(imageBytes);
    bytes::ByteWriter(out).put32le(0);  // horizontal resolution: unspecified
    bytes::ByteWriter(out).put32le(0);  // vertical resolution: unspecified
    bytes::ByteWriter(out).put32le(0);  // colours used: all sixteen
    bytes::ByteWriter(out).put32le(0);  // important colours: all
}

void appendPaletteAndColourRows(std::vector<std::uint8_t>& out, int size) {
    for (const auto& entry : kPalette) {
        out.insert(out.end(), {entry[0], entry[1], entry[2], 0});
    }
    // Rows bottom first, two pixels per byte, high nibble first.
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRowSize(size), 0);
        for (int x = 0; x < size; ++x) {
            int colour = pageColourAt(x, y, size);
            if (colour == kTransparent) colour = kBlack;  // black under a set mask bit shows the background
            row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? colour << 4 : colour);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace

std::vector<std::uint8_t> calendarIconImage(int size) {
    std::vector<std::uint8_t> out;
    const std::size_t rowsBytes = (colourRowSize(size) + maskRowSize(size)) * static_cast<std::size_t>(size);
    appendInfoHeader(out, size, 2 * size, static_cast<std::uint32_t>(rowsBytes));
    appendPaletteAndColourRows(out, size);
    // The mask: a set bit keeps the screen, a clear bit shows the picture.
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRowSize(size), 0);
        for (int x = 0; x < size; ++x)
            if (pageColourAt(x, y, size) == kTransparent)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> calendarBitmap(int size) {
    std::vector<std::uint8_t> out;
    appendInfoHeader(out, size, size, static_cast<std::uint32_t>(colourRowSize(size) * static_cast<std::size_t>(size)));
    appendPaletteAndColourRows(out, size);
    return out;
}

}  // namespace skedlin::templates
