#include "builder/palm/PalmBitmapFamily.h"

#include "builder/palm/PalmBitmapFormat.h"
#include "builder/palm/PalmPixelConversion.h"

#include <algorithm>

namespace skedlin::palm {

using namespace bitmap;

namespace {

// The palette index of a colour, or kNoTransparentIndex when the palette lacks it.
std::uint8_t transparentIndexOf(const BmpImage& image, RgbColour colour)
{
    const auto& palette = image.palette();
    const std::size_t limit = std::min<std::size_t>(palette.size(), kNoTransparentIndex);
    for (std::size_t i = 0; i < limit; ++i)
        if (palette[i].red == colour.red && palette[i].green == colour.green && palette[i].blue == colour.blue)
            return static_cast<std::uint8_t>(i);
    return kNoTransparentIndex;
}

}  // namespace

PalmBitmapFamily::PalmBitmapFamily(std::uint32_t type, std::uint16_t id) : writer_(type, id) {}

void PalmBitmapFamily::fillPendingNext()
{
    if (!pendingNext_)
        return;
    const std::size_t distance = writer_.length() - pendingNext_->bitmapStart;
    if (pendingNext_->inFourByteUnits)
        writer_.patchWord(pendingNext_->fieldPosition, static_cast<std::uint16_t>(distance / kAlignment));
    else
        writer_.patchLong(pendingNext_->fieldPosition, static_cast<std::uint32_t>(distance));
    pendingNext_.reset();
}

void PalmBitmapFamily::writeMarker()
{
    writer_.putWord(0);  // width
    writer_.putWord(0);  // height
    writer_.putWord(0);  // row bytes
    writer_.putWord(0);  // flags
    writer_.putByte(kMarkerPixelSize);
    writer_.putByte(kMarkerVersion);
    writer_.putWord(0);  // next bitmap: the marker is not a bitmap of the chain
    writer_.putWord(0);
    writer_.putWord(0);
    markerWritten_ = true;
}

void PalmBitmapFamily::padToAlignment()
{
    while (writer_.length() % kAlignment != 0 && !writer_.overflowed())
        writer_.putByte(0);
}

bool PalmBitmapFamily::addBitmap(const BmpImage& image, PalmDensity density)
{
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
    if (doubleDensity && !markerWritten_)
        writeMarker();

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

    writer_.putWord(static_cast<std::uint16_t>(image.width()));
    writer_.putWord(static_cast<std::uint16_t>(image.height()));
    writer_.putWord(static_cast<std::uint16_t>(rowBytes));
    writer_.putWord(flags);
    writer_.putByte(palmPixelSize(image));
    if (version3) {
        writer_.putByte(kVersion3);
        writer_.putByte(static_cast<std::uint8_t>(kHeaderV3Bytes));
        writer_.putByte(directColour ? kPixelFormatRgb565 : kPixelFormatIndexed);
        writer_.putByte(0);
        writer_.putByte(compression);
        writer_.putWord(doubleDensity ? kDensityDouble : kDensityStandard);
        writer_.putLong(transparentValue);
        pendingNext_ = PendingNext{start, writer_.length(), false};
        writer_.putLong(0);
    } else {
        writer_.putByte(kVersion2);
        pendingNext_ = PendingNext{start, writer_.length(), true};
        writer_.putWord(0);
        writer_.putByte(transparentIndex);
        writer_.putByte(compression);
        writer_.putWord(0);
    }

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
