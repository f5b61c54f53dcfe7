#pragma once
// The Palm OS resource database in memory: the template's header,
// its resources in file order, then the resources the package adds. The file
// layout itself is formats/prc's.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/prc/PalmResource.h"
#include "formats/prc/PrcFile.h"
#include "model/AtomicFile.h"

namespace skedlin::palm {

// The body of a string list is assembled in a buffer of this size.
inline constexpr std::size_t kStringListCapacity = 30000;

class PalmResourceDatabase {
public:
    // Reads a complete .prc image; fails when it is not a well-formed resource database.
    Result<prc::PrcError> load(std::span<const std::uint8_t> image);

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
    // Writes the file whole or not at all.
    FileWriteResult write(const std::string& path) const;

private:
    prc::HeaderBytes header_{};
    std::vector<PalmResource> resources_;
};

}  // namespace skedlin::palm
