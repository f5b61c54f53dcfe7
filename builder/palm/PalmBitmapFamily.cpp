#include "builder/palm/PalmBitmapFamily.h"

#include "builder/palm/PalmPixelConversion.h"
#include "formats/Bytes.h"
#include "formats/palm/PalmBitmapLayout.h"

#include <algorithm>

namespace skedlin::palm {

using namespace bitmap;

namespace {

// The palette index of a colour, or kNoTransparentIndex when the palette lacks it.
std::uint8_t transparentIndexOf(const BmpImage& image, RgbColour colour) {
    const auto& palette = image.palette();
    const std::size_t limit = std::min<std::size_t>(palette.size(), kNoTransparentIndex);
    for (std::size_t i = 0; i < limit; ++i)
        if (palette[i].red == colour.red && palette[i].green == colour.green && palette[i].blue == colour.blue)
            return static_cast<std::uint8_t>(i);
    return kNoTransparentIndex;
}

}  // namespace

PalmBitmapFamily::PalmBitmapFamily(std::uint32_t type, std::uint16_t id) : writer_(type, id) {}

void PalmBitmapFamily::fillPendingNext() {
    if (!pendingNext_) return;
    const std::size_t distance = writer_.length() - pendingNext_->bitmapStart;
    if (pendingNext_->inFourByteUnits)
        writer_.patchWord(pendingNext_->fieldPosition, static_cast<std::uint16_t>(distance / kAlignment));
    else
        writer_.patchLong(pendingNext_->fieldPosition, static_cast<std::uint32_t>(distance));
    pendingNext_.reset();
}

void PalmBitmapFamily::writeMarker() {
    // All sizes zero, and no next bitmap: the marker is not a bitmap of the chain.
    bytes::Bytes marker(kMarkerBytes, 0);
    bytes::ByteWriter fields(marker);
    fields.patch8(kOffsetPixelSize, kMarkerPixelSize);
    fields.patch8(kOffsetVersion, kMarkerVersion);
    writer_.putBytes(marker);
    markerWritten_ = true;
}

void PalmBitmapFamily::padToAlignment() {
    while (writer_.length() % kAlignment != 0 && !writer_.overflowed()) writer_.putByte(0);
}

bool PalmBitmapFamily::addBitmap(const BmpImage& image, PalmDensity density) {
    const std::size_t rowBytes = palmRowBytes(image);
    if (image.width() > 0xFFFF || image.height() > 0xFFFF || rowBytes > 0xFFFF || !image.hasAcceptedBitCount())
        return false;

    const bool directColour = image.bitCount() == 16 || image.bitCount() == 24;
    const bool indexedColour = image.bitCount() == 8;
    const auto& transparent = image.transparentColour();
    const bool doubleDensity = density == PalmDensity::Double;
    // Transparency of a direct-colour bitmap needs the version 3 transparent value.
    const bool version3 = doubleDensity || (directColour && transparent);

    fillPendingNext();
    if (doubleDensity && !markerWritten_) writeMarker();

    const std::size_t start = writer_.length();
    std::uint16_t flags = 0;
    std::uint8_t transparentIndex = 0;
    std::uint32_t transparentValue = 0;
    if (indexedColour) {
        flags |= kFlagHasColourTable;
        if (transparent) {
            flags |= kFlagHasTransparency;
            transparentIndex = transparentIndexOf(image, *transparent);
            transparentValue = transparentIndex;
        }
    } else if (directColour) {
        flags |= kFlagDirectColour;
        if (transparent) {
            flags |= kFlagHasTransparency;
            transparentValue = rgbToRgb565(*transparent);
        }
    }
    const std::uint8_t compression = directColour ? kCompressionNoneDirect : kCompressionNone;

    // The header, each field at its offset; what is not set stays zero (reserved).
    bytes::Bytes header(version3 ? kHeaderV3Bytes : kHeaderV2Bytes, 0);
    bytes::ByteWriter fields(header);
    fields.patch16be(kOffsetWidth, static_cast<std::uint16_t>(image.width()));
    fields.patch16be(kOffsetHeight, static_cast<std::uint16_t>(image.height()));
    fields.patch16be(kOffsetRowBytes, static_cast<std::uint16_t>(rowBytes));
    fields.patch16be(kOffsetFlags, flags);
    fields.patch8(kOffsetPixelSize, palmPixelSize(image));
    if (version3) {
        fields.patch8(kOffsetVersion, kVersion3);
        fields.patch8(kOffsetV3HeaderSize, static_cast<std::uint8_t>(kHeaderV3Bytes));
        fields.patch8(kOffsetV3PixelFormat, directColour ? kPixelFormatRgb565 : kPixelFormatIndexed);
        fields.patch8(kOffsetV3Compression, compression);
        fields.patch16be(kOffsetV3Density, doubleDensity ? kDensityDouble : kDensityStandard);
        fields.patch32be(kOffsetV3TransparentValue, transparentValue);
        pendingNext_ = PendingNext{start, start + kOffsetV3NextBitmap, false};
    } else {
        fields.patch8(kOffsetVersion, kVersion2);
        fields.patch8(kOffsetV2TransparentIndex, transparentIndex);
        fields.patch8(kOffsetV2Compression, compression);
        pendingNext_ = PendingNext{start, start + kOffsetV2NextBitmap, true};
    }
    writer_.putBytes(header);

    if (indexedColour) {
        const std::size_t count = std::min(image.palette().size(), kMaxColourTableEntries);
        writer_.putWord(static_cast<std::uint16_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            const BmpPaletteEntry& entry = image.palette()[i];
            writer_.putByte(0);
            writer_.putByte(entry.red);
            writer_.putByte(entry.green);
            writer_.putByte(entry.blue);
        }
    } else if (directColour && !version3) {
        writer_.putByte(kDirectRedBits);
        writer_.putByte(kDirectGreenBits);
        writer_.putByte(kDirectBlueBits);
        writer_.putByte(0);
        writer_.putLong(0);
    }

    writer_.putBytes(palmPixelRows(image));
    padToAlignment();
    ++bitmapCount_;
    return !writer_.overflowed();
}

}  // namespace skedlin::palm
