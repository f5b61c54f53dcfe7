#pragma once
// The resource section of the Pocket PC executable, open for inserting
// resources. The section is held as a tree and written out in one pass, so
// each insertion costs a tree look-up instead of moving the rest of the
// section. The bytes written, the used size and the size of raw data are the
// same as if every resource had been inserted in place, one at a time, after
// the entry before it (InPlaceResourceSection keeps that method as the
// reference): the section grows in the same steps of at least 1,024 bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/pe/ResourceTree.h"

namespace skedlin {

enum class InsertResult {
    Inserted,
    NoSuchType,  // the section has no directory for the type
    NoPlace,     // the type's directory holds no resource to insert beside
    EmptyBody,   // an empty body would share its address with the next body,
                 // which in-place insertion then moves past the new one
    SectionTooLarge,
};

class ResourceSectionEditor {
public:
    // The largest used size the section may reach; well below the 2 GiB that
    // the 31-bit offsets of the resource tree can address.
    static constexpr std::uint32_t kMaxSectionSize = 0x40000000;

    // rawData: the section's raw data (its size of raw data); virtualSize: the
    // used part of it; sectionRva: its virtual address.
    ResourceTreeResult load(std::span<const std::uint8_t> rawData, std::uint32_t virtualSize, std::uint32_t sectionRva);

    // Inserts a resource of language 1033 after the last resource of the type
    // whose id is not greater than id (or before the first one when all are
    // greater).
    InsertResult insert(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body);

    // The first resource of that type and id, or null.
    ResourceItem* find(std::uint16_t type, std::uint16_t id);
    // Replaces the body of an existing resource; the section grows or shrinks
    // by the change of its 4-byte-aligned size.
    bool replaceBody(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body);

    std::size_t count(std::uint16_t type) const;
    // The highest id of the type, 0 when it has none.
    std::uint16_t highestId(std::uint16_t type) const;

    std::uint32_t sectionRva() const { return sectionRva_; }
    std::uint32_t usedSize() const { return usedSize_; }
    std::uint32_t rawSize() const { return rawSize_; }
    // The section's raw data: the tree, then zeros (or the template's own bytes
    // beyond its used part) up to rawSize().
    std::vector<std::uint8_t> rawData() const;

    const ResourceTree& tree() const { return tree_; }

private:
    // Accounts for `length` more used bytes, growing the raw size as in-place
    // insertion would.
    bool grow(std::uint32_t length);

    ResourceTree tree_;
    std::uint32_t sectionRva_ = 0;
    std::uint32_t usedSize_ = 0;
    std::uint32_t rawSize_ = 0;
    std::vector<std::uint8_t> bytesBeyondUse_;  // the template's raw data after its used part
    std::uint32_t templateUsedSize_ = 0;
};

// The growth step of the raw data when `length` more bytes must fit: a
// multiple of 1,024 that leaves at least one byte to spare. 0 when they fit.
std::uint32_t rawGrowthFor(std::uint32_t usedSize, std::uint32_t rawSize, std::uint32_t length);

}  // namespace skedlin
