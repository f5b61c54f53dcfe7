#pragma once
// The Palm OS resource database in memory: the template's header,
// its resources in file order, then the resources the package adds. All
// numbers in the file are big-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "builder/palm/PalmResource.h"

namespace skedlin::palm {

// Database header layout (offsets into the 78-byte header).
inline constexpr std::size_t kNameFieldBytes = 32;
inline constexpr std::size_t kMaxNameCharacters = kNameFieldBytes - 1;  // always ends in a zero byte
inline constexpr std::size_t kOffsetAttributes = 32;
inline constexpr std::size_t kOffsetVersion = 34;
inline constexpr std::size_t kOffsetCreationDate = 36;
inline constexpr std::size_t kOffsetModificationDate = 40;
inline constexpr std::size_t kOffsetBackupDate = 44;
inline constexpr std::size_t kOffsetModificationNumber = 48;
inline constexpr std::size_t kOffsetAppInfo = 52;
inline constexpr std::size_t kOffsetSortInfo = 56;
inline constexpr std::size_t kOffsetType = 60;
inline constexpr std::size_t kOffsetCreator = 64;
inline constexpr std::size_t kOffsetUniqueIdSeed = 68;
inline constexpr std::size_t kOffsetNextRecordList = 72;
inline constexpr std::size_t kOffsetResourceCount = 76;
inline constexpr std::size_t kHeaderBytesBeforeCount = 76;
inline constexpr std::size_t kHeaderBytes = 78;
inline constexpr std::size_t kResourceEntryBytes = 10;  // type, id, offset
inline constexpr std::size_t kListGapBytes = 2;          // two zero bytes after the list
inline constexpr std::uint16_t kAttributeResourceDatabase = 0x0001;

// The body of a string list is assembled in a buffer of this size.
inline constexpr std::size_t kStringListCapacity = 30000;

// Offset of the first resource's data for n resources: 80 + 10 x n.
constexpr std::size_t firstDataOffset(std::size_t resourceCount) {
    return kHeaderBytes + kResourceEntryBytes * resourceCount + kListGapBytes;
}

class PalmResourceDatabase {
public:
    // Reads a complete .prc image; false when it is not a well-formed resource database.
    bool load(std::span<const std::uint8_t> image);

    void setName(std::string_view name);
    std::string name() const;
    std::uint16_t attributes() const;
    std::uint32_t type() const;
    std::uint32_t creator() const;

    void append(PalmResource resource);
    // Replaces the bytes of the first resource of that type and id; false (and nothing added) when none.
    bool replace(std::uint32_t type, std::uint16_t id, std::vector<std::uint8_t> bytes);

    void addString(std::uint16_t id, std::string_view text);
    void addNumber(std::uint16_t id, long value);
    void addWordList(std::uint16_t id, std::span<const std::uint16_t> values);
    // False (and nothing added) when the body would not fit its 30,000-byte buffer.
    bool addStringList(std::uint16_t id, std::span<const std::string> texts);
    bool setLauncherName(std::string_view name);

    const std::vector<PalmResource>& resources() const { return resources_; }
    // The first resource of that type and id, or null.
    const PalmResource* find(std::uint32_t type, std::uint16_t id) const;

    // The whole file: header, resource list, two zero bytes, the data.
    std::vector<std::uint8_t> serialize() const;
    // Writes the file whole or not at all; errorText says why it could not.
    bool write(const std::string& path, std::string& errorText) const;

private:
    std::array<std::uint8_t, kHeaderBytesBeforeCount> header_{};
    std::vector<PalmResource> resources_;
};

}  // namespace skedlin::palm
