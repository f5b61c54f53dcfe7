#pragma once
// A Palm bitmap family: the bitmaps of one image (for example the launcher
// icon at several colour depths and densities) written one after the other
// into one resource, each header pointing at the next.
//
// Bitmaps are added in the order the handheld should see them: standard
// density first, then double density. Before the first double-density bitmap
// the high-density marker is written. Every bitmap is padded with zero bytes
// to a multiple of 4, so that a version 2 next-bitmap offset (counted in 4-byte
// units) lands exactly on the next header.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "formats/bmp/BmpImage.h"
#include "formats/prc/PalmResource.h"
#include "builder/palm/ResourceWriter.h"

namespace skedlin::palm {

enum class PalmDensity { Standard, Double };

class PalmBitmapFamily {
public:
    PalmBitmapFamily(std::uint32_t type, std::uint16_t id);

    // Writes one bitmap. The image must have an accepted bit count. False when
    // it cannot be represented (a dimension beyond 16 bits) or the resource
    // would outgrow its buffer; the family must then be discarded.
    bool addBitmap(const BmpImage& image, PalmDensity density);

    int bitmapCount() const { return bitmapCount_; }
    bool overflowed() const { return writer_.overflowed(); }
    std::span<const std::uint8_t> bytes() const { return writer_.bytes(); }
    PalmResource finish() const { return writer_.finish(); }

private:
    struct PendingNext {
        std::size_t bitmapStart = 0;
        std::size_t fieldPosition = 0;
        bool inFourByteUnits = false;  // version 2 counts 4-byte units, version 3 bytes
    };

    void fillPendingNext();
    void writeMarker();
    void padToAlignment();

    ResourceWriter writer_;
    int bitmapCount_ = 0;
    std::optional<PendingNext> pendingNext_;
    bool markerWritten_ = false;
};

}  // namespace skedlin::palm
