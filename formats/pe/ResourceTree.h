#pragma once
// The resource tree of a PE resource section as a value: types in ascending id
// order, each with its resources in ascending id order (equal ids keep the
// order they were added in). Parsing accepts only a section laid out in the
// usual order -- root and type directories with their entries, then the
// language directories, then the data entries, then the bodies packed at
// 4-byte alignment, each list in tree order -- and serialising writes exactly
// that layout in one pass, so parse followed by serialise gives back the same
// bytes.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace skedlin {

enum class ResourceTreeError {
    None,
    Truncated,           // a directory, entry or the section ends early
    NamedEntries,        // a directory names its entries instead of numbering them
    NotInOrder,          // the section is not laid out in the usual order
    DataOutsideSection,  // a resource's data runs past the end of the section
};

// On failure the message says what is wrong, in words and without a full stop.
using ResourceTreeResult = Result<ResourceTreeError>;

struct ResourceDirectoryHeader {
    // characteristics, time stamp, major and minor version, kept as found
    std::uint8_t keptBytes[12] = {};
};

struct ResourceItem {
    ResourceDirectoryHeader languageDirectory;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::uint32_t reserved = 0;
    std::vector<std::uint8_t> body;
    // Bytes between the end of the body and the next 4-byte boundary. New
    // resources have zeros there; a template keeps whatever it had. Held in
    // place: a package has tens of thousands of resources.
    std::array<std::uint8_t, 3> padding{};
    std::uint8_t paddingLength = 0;

    std::uint32_t paddedSize() const { return static_cast<std::uint32_t>(body.size() + paddingLength); }
    // Zeros up to the next 4-byte boundary after the body.
    void padWithZeros() {
        padding = {};
        paddingLength = static_cast<std::uint8_t>((4 - body.size() % 4) % 4);
    }
};

struct ResourceType {
    ResourceDirectoryHeader directory;
    std::multimap<std::uint16_t, ResourceItem> items;  // by id; equal ids in insertion order
};

class ResourceTree {
public:
    // sectionRva: the virtual address of the section; data entries hold
    // addresses relative to the image.
    ResourceTreeResult parse(std::span<const std::uint8_t> section, std::uint32_t sectionRva);

    // The section in the usual order. Its length is usedSize(); capacity
    // reserves room for what the caller appends.
    std::vector<std::uint8_t> serialize(std::uint32_t sectionRva, std::size_t capacity = 0) const;
    std::uint32_t usedSize() const;

    ResourceDirectoryHeader root;
    std::map<std::uint16_t, ResourceType> types;
    // Bytes after the last body (up to the used size) that belong to no resource.
    std::vector<std::uint8_t> tail;

private:
    // A resource met in the type directories, whose language directory, data
    // entry and body are read in the second pass.
    struct PendingItem {
        std::uint16_t type;
        std::uint16_t id;
        std::uint32_t languageDirectory;
    };
    static ResourceTreeResult readTypeDirectory(bytes::ByteReader& in, std::uint16_t typeId, std::uint32_t at,
                                                long itemCount, std::vector<PendingItem>& pending);
    ResourceTreeResult parseDirectories(std::span<const std::uint8_t> section, std::vector<PendingItem>& pending,
                                        std::uint32_t& languagesStart);
    ResourceTreeResult parseItems(std::span<const std::uint8_t> section, std::uint32_t sectionRva,
                                  std::uint32_t languagesStart, const std::vector<PendingItem>& pending);
};

}  // namespace skedlin
