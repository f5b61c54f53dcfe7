#pragma once
// The Pocket PC viewer template executable in memory, with its resource
// section open for the package's content: strings (gathered sixteen to a
// string-table block), word lists, contact and event records, the logo bitmap
// and the launcher icons. write() puts the whole executable into a file.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "builder/pocketpc/PocketPcTarget.h"
#include "builder/pocketpc/ResourceSectionEditor.h"

namespace skedlin {

class PocketPcExecutable : public PocketPcTarget {
public:
    // Takes a complete executable apart into `executable`. Fails with a
    // sentence for the user (and leaves `executable` null) when it is not a PE
    // image whose resource section is the last section and in the usual order.
    static ExecutableResult load(std::span<const std::uint8_t> image, std::unique_ptr<PocketPcExecutable>& executable);

    void addString(std::uint16_t id, std::string_view text) override;
    void addNumber(std::uint16_t id, long value) override;
    void addWordList(std::uint16_t id, std::span<const std::uint16_t> values) override;
    void addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) override;
    void addBitmap(std::uint16_t id, std::span<const std::uint8_t> packedBitmap) override;
    void addIcon(std::uint16_t groupId, const BmpImage& image) override;
    ExecutableResult write(const std::string& exePath) override;

    // Flushes the pending string block and assembles the file's bytes. Fails
    // when some content could not be encoded (see contentError()).
    ExecutableResult buildImage(std::vector<std::uint8_t>& image);

    // The first content that could not be put into the executable (a string
    // longer than a string table allows, an empty record, a section past its
    // size limit) as a reason in words, or empty. write() and buildImage()
    // fail with it.
    const std::string& contentError() const { return contentError_; }

    const ResourceSectionEditor& resources() const { return resources_; }

private:
    PocketPcExecutable() = default;

    void flushStrings();
    void insertResource(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body);
    void noteContentError(std::string message);

    std::vector<std::uint8_t> headBytes_;  // DOS header and stub, up to the NT headers
    std::vector<std::uint8_t> ntHeaders_;
    std::vector<std::uint8_t> sectionTable_;
    std::vector<std::vector<std::uint8_t>> sectionData_;  // empty for the resource section
    std::size_t resourceSectionIndex_ = 0;
    std::uint32_t firstRawDataOffset_ = 0;
    ResourceSectionEditor resources_;

    std::optional<std::uint32_t> pendingBlock_;
    std::array<std::optional<std::string>, 16> pendingSlots_;  // Windows-1252 texts, CR LF line ends

    std::string contentError_;
};

}  // namespace skedlin
