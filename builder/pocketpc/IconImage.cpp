#include "builder/pocketpc/IconImage.h"

#include "formats/Bytes.h"
#include "formats/bmp/BmpLayout.h"

namespace skedlin {

namespace {
constexpr std::uint8_t kWhite = 0xFF;
}

std::vector<std::uint8_t> makeIconImage(const BmpImage& image) {
    std::vector<std::uint8_t> out = image.infoHeader();
    const auto doubledHeight = static_cast<std::uint32_t>(image.height()) * 2;
    bytes::ByteWriter(out).patch32le(bmp::kInfoHeightField, doubledHeight);

    for (const BmpPaletteEntry& entry : image.palette()) {
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        out.push_back(0);
    }
    out.insert(out.end(), image.rows().begin(), image.rows().end());

    // Mask rows are stored bottom row first, like the colour rows. The colour
    // of a pixel comes from the palette for indexed images and from the pixel
    // itself for 16- and 24-bit ones; an index past the palette is not white.
    const std::size_t maskRowSize = (static_cast<std::size_t>(image.width()) + 31) / 32 * 4;
    for (int stored = 0; stored < image.height(); ++stored) {
        const int yFromTop = image.height() - 1 - stored;
        std::vector<std::uint8_t> row(maskRowSize, 0);
        for (int x = 0; x < image.width(); ++x) {
            const RgbColour colour = image.colourAt(x, yFromTop);
            if (colour.red == kWhite && colour.green == kWhite && colour.blue == kWhite)
                row[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace skedlin
