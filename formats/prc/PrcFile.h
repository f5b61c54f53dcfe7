#pragma once
// The Palm OS resource database file (.prc): a 78-byte header, the resource
// list (type, id and offset of each resource), two zero bytes, then the bytes
// of the resources one after another. All numbers are big-endian. The builder
// and the template generator both read and write the file through here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/Result.h"
#include "formats/prc/PalmResource.h"

namespace skedlin::prc {

// Header layout (offsets into the 78-byte header).
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
inline constexpr std::size_t kListGapBytes = 2;         // two zero bytes after the list
inline constexpr std::uint16_t kAttributeResourceDatabase = 0x0001;
static_assert(kOffsetNextRecordList + 4 == kHeaderBytesBeforeCount, "the resource count follows the last long");
static_assert(kOffsetResourceCount + 2 == kHeaderBytes, "the header ends with the 16-bit resource count");

// Offset of the first resource's data for n resources: 80 + 10 x n.
constexpr std::size_t firstDataOffset(std::size_t resourceCount) {
    return kHeaderBytes + kResourceEntryBytes * resourceCount + kListGapBytes;
}

// The header fields before the resource count.
using HeaderBytes = std::array<std::uint8_t, kHeaderBytesBeforeCount>;

struct DatabaseHeader {
    std::string name;  // cut to kMaxNameCharacters
    std::uint16_t attributes = 0;
    std::uint16_t version = 0;
    std::uint32_t creationDate = 0;  // seconds since 1 January 1904
    std::uint32_t modificationDate = 0;
    std::uint32_t backupDate = 0;
    std::uint32_t modificationNumber = 0;
    std::uint32_t appInfoOffset = 0;
    std::uint32_t sortInfoOffset = 0;
    std::uint32_t type = 0;
    std::uint32_t creator = 0;
    std::uint32_t uniqueIdSeed = 0;
    std::uint32_t nextRecordList = 0;
};

HeaderBytes encodeHeader(const DatabaseHeader& header);

// Puts name into the header's name field, zero-filled and cut to kMaxNameCharacters.
void setHeaderName(HeaderBytes& header, std::string_view name);
std::string headerName(const HeaderBytes& header);

// The whole file: header, resource list, two zero bytes, the data.
std::vector<std::uint8_t> serializeDatabase(const HeaderBytes& header, std::span<const palm::PalmResource> resources);

enum class PrcError {
    None,
    TruncatedHeader,        // shorter than the database header
    TruncatedResourceList,  // the resource list runs past the end
    ResourceOutOfPlace,     // a resource starts before the previous one or past the end
};

// Splits a complete image into its header and resources; a resource runs to
// the next one's offset, the last one to the end. Fails when the image is not
// a well-formed resource database.
Result<PrcError> parseDatabase(std::span<const std::uint8_t> image, HeaderBytes& header,
                               std::vector<palm::PalmResource>& resources);

}  // namespace skedlin::prc
