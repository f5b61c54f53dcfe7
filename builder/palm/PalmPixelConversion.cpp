#include "builder/palm/PalmPixelConversion.h"

#include "formats/Bytes.h"

#include <algorithm>

namespace skedlin::palm {

namespace {

unsigned luminance(RgbColour colour) { return 299u * colour.red + 587u * colour.green + 114u * colour.blue; }

// On the handheld a set bit of a 1-bit bitmap is black. Pixel value 1 is the
// dark one only when its palette colour is darker than that of value 0;
// otherwise (the usual black-first palette) every bit is inverted.
bool oneBitNeedsInversion(const BmpImage& image) {
    const auto colourOf = [&image](std::size_t index) {
        const auto& palette = image.palette();
        if (index >= palette.size()) return RgbColour{};
        return RgbColour{palette[index].red, palette[index].green, palette[index].blue};
    };
    return !(luminance(colourOf(1)) < luminance(colourOf(0)));
}

}  // namespace

std::uint16_t rgb555ToRgb565(std::uint16_t pixel) {
    pixel &= 0x7FFF;
    return static_cast<std::uint16_t>(((pixel >> 5) << 6) | (pixel & 0x1F));
}

std::uint16_t rgbToRgb565(RgbColour colour) {
    return static_cast<std::uint16_t>((colour.red / 8) * 2048 + (colour.green / 4) * 32 + colour.blue / 8);
}

std::size_t palmRowBytes(const BmpImage& image) {
    if (image.bitCount() == 16 || image.bitCount() == 24) return 2 * static_cast<std::size_t>(image.width());
    return image.rowSize();
}

std::uint8_t palmPixelSize(const BmpImage& image) {
    return static_cast<std::uint8_t>(image.bitCount() == 24 ? 16 : image.bitCount());
}

std::vector<std::uint8_t> palmPixelRows(const BmpImage& image) {
    const std::size_t rowBytes = palmRowBytes(image);
    std::vector<std::uint8_t> out;
    out.reserve(rowBytes * static_cast<std::size_t>(image.height()));
    const bool invert = image.bitCount() == 1 && oneBitNeedsInversion(image);

    for (int yFromTop = 0; yFromTop < image.height(); ++yFromTop) {
        const auto row = image.storedRow(image.height() - 1 - yFromTop);
        switch (image.bitCount()) {
        case 1:
            for (std::uint8_t byte : row) out.push_back(invert ? static_cast<std::uint8_t>(~byte) : byte);
            break;
        case 4: {
            // Grey level of each pixel from its palette entry, 15 being black.
            const auto& palette = image.palette();
            const auto level = [&palette](unsigned index) -> unsigned {
                return index < palette.size() ? 15u - (palette[index].blue >> 4) : 15u;
            };
            for (std::uint8_t byte : row)
                out.push_back(static_cast<std::uint8_t>((level(byte >> 4) << 4) | level(byte & 0x0F)));
            break;
        }
        case 8: out.insert(out.end(), row.begin(), row.end()); break;
        case 16:
            for (int x = 0; x < image.width(); ++x) {
                const std::uint16_t pixel = bytes::ByteReader(row).read16le(2 * static_cast<std::size_t>(x));
                bytes::ByteWriter(out).put16be(rgb555ToRgb565(pixel));
            }
            break;
        case 24:
            for (int x = 0; x < image.width(); ++x) {
                const std::size_t at = 3 * static_cast<std::size_t>(x);
                bytes::ByteWriter(out).put16be(rgbToRgb565(RgbColour{row[at + 2], row[at + 1], row[at]}));
            }
            break;
        default:
            // Not a bit count the handheld shows; callers check before converting.
            out.insert(out.end(), rowBytes, 0);
            break;
        }
    }
    return out;
}

}  // namespace skedlin::palm
