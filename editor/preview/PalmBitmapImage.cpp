#include "editor/preview/PalmBitmapImage.h"

#include <array>

#include "formats/Bytes.h"
#include "formats/palm/PalmBitmapLayout.h"

namespace skedlin::preview {

namespace {

// Levels of the palette's colour cube, brightest first.
constexpr std::array<int, 6> kCubeLevels = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
// After the cube (whose black entry is left out): ten greys, then five colours.
constexpr std::array<int, 10> kExtraGreys = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
constexpr int kCubeEntries = 215;

QRgb greyLevel(int value, int depth) {
    const int maximum = (1 << depth) - 1;
    const int level = 255 - value * 255 / maximum;  // 0 is white, the highest value black
    return qRgb(level, level, level);
}

}  // namespace

QRgb systemPaletteColour(int index) {
    if (index < 0 || index > 255) return qRgb(0, 0, 0);
    if (index < kCubeEntries) {
        // Blue moves slowest in two halves of three levels, then red, then green.
        const int half = index / 108;
        const int inHalf = index % 108;
        const int red = inHalf / 18;
        const int blue = half * 3 + (inHalf % 18) / 6;
        const int green = inHalf % 6;
        return qRgb(kCubeLevels[red], kCubeLevels[green], kCubeLevels[blue]);
    }
    if (index < kCubeEntries + static_cast<int>(kExtraGreys.size())) {
        const int grey = kExtraGreys[static_cast<std::size_t>(index - kCubeEntries)];
        return qRgb(grey, grey, grey);
    }
    switch (index) {
    case 225: return qRgb(0xC0, 0xC0, 0xC0);
    case 226: return qRgb(0x80, 0x00, 0x00);
    case 227: return qRgb(0x80, 0x00, 0x80);
    case 228: return qRgb(0x00, 0x80, 0x00);
    case 229: return qRgb(0x00, 0x80, 0x80);
    default: return qRgb(0, 0, 0);
    }
}

QImage palmBitmapImage(const std::uint8_t* family, std::uint32_t size, const skv_bitmap& bitmap) {
    const std::uint64_t pixelEnd = std::uint64_t{bitmap.bits} + std::uint64_t{bitmap.row_bytes} * bitmap.height;
    const int depth = bitmap.pixel_size;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) return {};
    if (!family || pixelEnd > size || bitmap.width == 0 || bitmap.height == 0) return {};
    if (std::uint64_t{bitmap.width} * depth > std::uint64_t{bitmap.row_bytes} * 8) return {};

    // A bitmap's own colour table replaces the system palette for its indexes.
    std::array<QRgb, 256> palette{};
    for (int i = 0; i < 256; ++i) palette[static_cast<std::size_t>(i)] = systemPaletteColour(i);
    const std::span<const std::uint8_t> familyBytes(family, size);
    if (bitmap.colour_table && depth <= 8) {
        const std::uint64_t at = bitmap.colour_table;
        if (at + 2 > size) return {};
        const int count = bytes::ByteReader(familyBytes).read16be(at);
        if (at + 2 + std::uint64_t{4} * count > size) return {};
        for (int i = 0; i < count && i < 256; ++i) {
            const std::uint8_t* entry = family + at + 2 + 4 * i;
            palette[static_cast<std::size_t>(i)] = qRgb(entry[1], entry[2], entry[3]);
        }
    }
    const bool transparent = bitmap.flags & palm::bitmap::kFlagHasTransparency;
    // Version 3 headers keep the transparent index in the transparent value.
    const std::uint32_t transparentIndex = bitmap.version >= 3 ? bitmap.transparent_value : bitmap.transparent_index;

    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int row = 0; row < bitmap.height; ++row) {
        const std::size_t rowStart = bitmap.bits + static_cast<std::size_t>(row) * bitmap.row_bytes;
        const std::uint8_t* bits = family + rowStart;
        bytes::ByteReader rowBytes(familyBytes.subspan(rowStart, bitmap.row_bytes));
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < bitmap.width; ++column) {
            QRgb colour;
            bool clear = false;
            if (depth == 16) {
                const std::uint32_t value = rowBytes.read16be(2 * static_cast<std::uint64_t>(column));
                const int red = static_cast<int>((value >> 11) & 0x1F), green = static_cast<int>((value >> 5) & 0x3F),
                          blue = static_cast<int>(value & 0x1F);
                colour = qRgb(red << 3 | red >> 2, green << 2 | green >> 4, blue << 3 | blue >> 2);
                clear = transparent && value == (bitmap.transparent_value & 0xFFFF);
            } else {
                const int bit = column * depth;
                const int value = (bits[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
                if (depth == 8 || bitmap.colour_table)
                    colour = palette[static_cast<std::size_t>(value)];
                else
                    colour = greyLevel(value, depth);
                clear = transparent && static_cast<std::uint32_t>(value) == transparentIndex;
            }
            out[column] = clear ? qRgba(255, 255, 255, 0) : colour;
        }
    }
    return image;
}

}  // namespace skedlin::preview
