#pragma once
// Resource insertion in place, one resource at a time: each insertion walks
// the tree from the root to correct every offset past the insertion point
// and moves the rest of the section up. Its cost grows with the size of the
// section, so the builder uses ResourceSectionEditor instead; this class is
// kept as the reference whose output the editor must reproduce byte for byte.

#include <cstdint>
#include <span>
#include <vector>

#include "builder/pocketpc/ResourceSectionEditor.h"

namespace skedlin {

class InPlaceResourceSection {
public:
    // rawData: the section's raw data; virtualSize: its used part, which must
    // be a well-formed resource tree in the usual order.
    InPlaceResourceSection(std::vector<std::uint8_t> rawData, std::uint32_t virtualSize, std::uint32_t sectionRva);

    // Inserts after the last resource of the type whose id is not greater
    // than id, or before the type's first resource when all are greater.
    InsertResult insert(std::uint16_t type, std::uint16_t id, std::span<const std::uint8_t> body);

    const std::vector<std::uint8_t>& rawData() const { return bytes_; }
    std::uint32_t usedSize() const { return usedSize_; }
    std::uint32_t rawSize() const { return static_cast<std::uint32_t>(bytes_.size()); }

private:
    // Inserts bytes at `at`, padded with zeros to a multiple of 4.
    void insertBytes(std::uint32_t at, std::span<const std::uint8_t> bytes);
    void correctOffsets(std::uint32_t directory, std::uint32_t at, std::uint32_t delta);
    std::uint32_t u32(std::uint32_t at) const;
    std::uint16_t u16(std::uint32_t at) const;
    void put32(std::uint32_t at, std::uint32_t value);

    std::vector<std::uint8_t> bytes_;
    std::uint32_t usedSize_;
    std::uint32_t sectionRva_;
};

}  // namespace skedlin
