#include "builder/pocketpc/PocketPcExecutable.h"

#include <cstring>

#include "builder/pocketpc/IconImage.h"
#include "formats/Bytes.h"
#include "formats/LineEnds.h"
#include "formats/pe/PeLayout.h"
#include "formats/pe/StringTableBlock.h"
#include "model/AtomicFile.h"
#include "model/Windows1252.h"

namespace skedlin {

namespace {

constexpr char kTemplateUnusable[] = "The Pocket PC template is not usable: ";

}  // namespace

ExecutableResult PocketPcExecutable::load(std::span<const std::uint8_t> image,
                                          std::unique_ptr<PocketPcExecutable>& executable) {
    executable.reset();
    auto fail = [](const std::string& detail) {
        return ExecutableResult(ExecutableError::TemplateUnusable, kTemplateUnusable + detail + ".");
    };
    bytes::ByteReader file(image);
    if (image.size() < pe::kDosHeaderSize || file.read16le(0) != pe::kDosSignature)
        return fail("it does not begin with a DOS header");
    const std::uint32_t ntOffset = file.read32le(pe::kDosNewHeaderOffsetField);
    if (ntOffset < pe::kDosHeaderSize || std::uint64_t{ntOffset} + pe::kNtHeadersSize > image.size() ||
        file.read32le(ntOffset) != pe::kNtSignature)
        return fail("it has no PE headers");
    const std::uint8_t* nt = image.data() + ntOffset;
    bytes::ByteReader headers(image.subspan(ntOffset, pe::kNtHeadersSize));
    if (headers.read16le(pe::kSizeOfOptionalHeaderField) != pe::kOptionalHeaderSize ||
        headers.read16le(pe::kMagicField) != pe::kPe32Magic ||
        headers.read32le(pe::kNumberOfRvaAndSizesField) <= pe::kResourceDirectoryIndex)
        return fail("its optional header is not a 32-bit one with a resource directory");

    auto exe = std::unique_ptr<PocketPcExecutable>(new PocketPcExecutable());
    exe->headBytes_.assign(image.begin(), image.begin() + ntOffset);
    exe->ntHeaders_.assign(nt, nt + pe::kNtHeadersSize);

    const std::uint16_t sectionCount = headers.read16le(pe::kNumberOfSectionsField);
    const std::uint64_t tableOffset = std::uint64_t{ntOffset} + pe::kNtHeadersSize;
    const std::uint64_t tableEnd = tableOffset + std::uint64_t{sectionCount} * pe::kSectionHeaderSize;
    if (sectionCount == 0 || tableEnd > image.size()) return fail("its section table is missing or truncated");
    exe->sectionTable_.assign(image.begin() + static_cast<std::ptrdiff_t>(tableOffset),
                              image.begin() + static_cast<std::ptrdiff_t>(tableEnd));

    const std::uint32_t sectionAlignment = headers.read32le(pe::kSectionAlignmentField);
    if (sectionAlignment == 0 || (sectionAlignment & (sectionAlignment - 1)) != 0)
        return fail("its section alignment is not a power of two");

    // Sections are written back one after another from the first one's
    // raw-data offset, so their data must lie that way in the template, and
    // only the last one, the resource section, may grow.
    std::optional<std::size_t> resourceIndex;
    std::uint64_t nextRawOffset = 0;
    std::uint32_t highestAddress = 0;
    bytes::ByteReader table(exe->sectionTable_);
    for (std::size_t s = 0; s < sectionCount; ++s) {
        const std::size_t at = s * pe::kSectionHeaderSize;
        const std::uint8_t* header = exe->sectionTable_.data() + at;
        const std::uint32_t rawSize = table.read32le(at + pe::kSectionSizeOfRawDataField);
        const std::uint32_t rawOffset = table.read32le(at + pe::kSectionPointerToRawDataField);
        const std::uint32_t address = table.read32le(at + pe::kSectionVirtualAddressField);
        const std::string name(reinterpret_cast<const char*>(header),
                               strnlen(reinterpret_cast<const char*>(header), pe::kSectionNameSize));
        if (std::uint64_t{rawOffset} + rawSize > image.size())
            return fail("the data of section " + name + " lies outside the file");
        if (s == 0) {
            if (rawOffset < tableEnd) return fail("the first section's data overlaps the headers");
            exe->firstRawDataOffset_ = rawOffset;
        } else if (rawSize != 0 && rawOffset != nextRawOffset) {
            return fail("the data of section " + name + " does not follow the previous section's");
        }
        if (rawSize != 0 || s == 0) nextRawOffset = std::uint64_t{rawOffset} + rawSize;
        if (s > 0 && address <= highestAddress) return fail("the sections are not in ascending address order");
        highestAddress = address;
        if (name == pe::kResourceSectionName) {
            if (resourceIndex) return fail("it has two resource sections");
            resourceIndex = s;
        }
        exe->sectionData_.emplace_back(image.begin() + rawOffset, image.begin() + rawOffset + rawSize);
    }
    if (!resourceIndex) return fail("it has no resource section");
    if (*resourceIndex != sectionCount - 1u) return fail("its resource section is not the last section");

    exe->resourceSectionIndex_ = *resourceIndex;
    const std::size_t resourceHeader = *resourceIndex * pe::kSectionHeaderSize;
    const std::uint32_t resourceRva = table.read32le(resourceHeader + pe::kSectionVirtualAddressField);
    if (headers.read32le(pe::kResourceDirectoryRvaField) != resourceRva)
        return fail("its resource directory does not point at the resource section");
    if (const ResourceTreeResult tree =
            exe->resources_.load(exe->sectionData_[*resourceIndex],
                                 table.read32le(resourceHeader + pe::kSectionVirtualSizeField), resourceRva);
        !tree.ok())
        return fail(tree.message());
    exe->sectionData_[*resourceIndex].clear();
    executable = std::move(exe);
    return {};
}

void PocketPcExecutable::noteContentError(std::string message) {
    if (contentError_.empty()) contentError_ = std::move(message);
}

void PocketPcExecutable::insertResource(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body) {
    // A type the template lacks takes nothing, as does a type without a
    // resource to insert beside: the viewer could not read it anyway.
    switch (resources_.insert(type, id, std::move(body))) {
    case InsertResult::SectionTooLarge:
        noteContentError("the Pocket PC executable would grow past its size limit at resource " + std::to_string(id) +
                         " of type " + std::to_string(type));
        break;
    case InsertResult::EmptyBody:
        noteContentError("resource " + std::to_string(id) + " of type " + std::to_string(type) +
                         " of the Pocket PC executable is empty");
        break;
    default: break;
    }
}

void PocketPcExecutable::addString(std::uint16_t id, std::string_view text) {
    const std::uint32_t block = id / pe::kStringsPerBlock;
    if (pendingBlock_ && *pendingBlock_ != block) flushStrings();
    pendingBlock_ = block;
    pendingSlots_[id % pe::kStringsPerBlock] = withCrLf(text);
}

void PocketPcExecutable::addNumber(std::uint16_t id, long value) { addString(id, std::to_string(value)); }

void PocketPcExecutable::flushStrings() {
    if (!pendingBlock_) return;
    const std::uint32_t block = *pendingBlock_;
    const auto resourceId = static_cast<std::uint16_t>(block + 1);

    // A block that is already in the section (from the template, or flushed
    // earlier) takes the new strings into its slots instead of getting a
    // second resource under the same id.
    StringTableSlots slots;
    ResourceItem* existing = resources_.find(pe::kResourceTypeStringTable, resourceId);
    if (existing) {
        auto decoded = decodeStringTable(existing->body);
        if (!decoded) {
            noteContentError("string table " + std::to_string(resourceId) +
                             " of the Pocket PC template is damaged, so its strings cannot be merged");
            existing = nullptr;
        } else {
            slots = std::move(*decoded);
        }
    }
    for (std::size_t slot = 0; slot < pendingSlots_.size(); ++slot) {
        if (pendingSlots_[slot]) slots[slot] = windows1252ToUtf16(*pendingSlots_[slot]);
        pendingSlots_[slot].reset();
    }
    pendingBlock_.reset();

    std::size_t tooLongSlot = 0;
    auto body = encodeStringTable(slots, &tooLongSlot);
    if (!body) {
        noteContentError("string " + std::to_string(block * pe::kStringsPerBlock + tooLongSlot) +
                         " is longer than the 65,535 characters a Pocket PC string table can hold");
        return;
    }
    if (existing) {
        if (!resources_.replaceBody(pe::kResourceTypeStringTable, resourceId, std::move(*body)))
            noteContentError("the Pocket PC executable would grow past its size limit at string table " +
                             std::to_string(resourceId));
    } else {
        insertResource(pe::kResourceTypeStringTable, resourceId, std::move(*body));
    }
}

void PocketPcExecutable::addWordList(std::uint16_t id, std::span<const std::uint16_t> values) {
    if (values.size() > 0xFFFF) {
        noteContentError("word list " + std::to_string(id) + " has more than 65,535 entries");
        return;
    }
    std::vector<std::uint8_t> body;
    body.reserve(2 + 2 * values.size());
    bytes::ByteWriter out(body);
    out.put16le(static_cast<std::uint16_t>(values.size()));
    for (std::uint16_t value : values) out.put16le(value);
    insertResource(pe::kResourceTypeRawData, id, std::move(body));
}

void PocketPcExecutable::addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) {
    insertResource(pe::kResourceTypeRawData, id, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void PocketPcExecutable::addBitmap(std::uint16_t id, std::span<const std::uint8_t> packedBitmap) {
    if (packedBitmap.empty()) return;
    insertResource(pe::kResourceTypeBitmap, id, std::vector<std::uint8_t>(packedBitmap.begin(), packedBitmap.end()));
}

void PocketPcExecutable::addIcon(std::uint16_t groupId, const BmpImage& image) {
    std::vector<std::uint8_t> icon = makeIconImage(image);
    const auto iconBytes = static_cast<std::uint32_t>(icon.size());
    // One past the highest icon id: equal to the count of icons for a
    // template numbered from 1 without gaps, and never an id already taken.
    const std::uint32_t newId = std::uint32_t{resources_.highestId(pe::kResourceTypeIcon)} + 1;
    if (newId > 0xFFFF) return;
    const auto iconId = static_cast<std::uint16_t>(newId);
    if (resources_.insert(pe::kResourceTypeIcon, iconId, std::move(icon)) != InsertResult::Inserted) return;

    ResourceItem* group = resources_.find(pe::kResourceTypeGroupIcon, groupId);
    if (!group || group->body.size() < pe::kGroupIconHeaderSize) return;
    bytes::ByteReader in(group->body);
    bytes::ByteWriter out(group->body);
    const std::size_t entries = in.read16le(pe::kGroupIconCountField);
    for (std::size_t k = 0; k < entries; ++k) {
        const std::size_t at = pe::kGroupIconHeaderSize + k * pe::kGroupIconEntrySize;
        if (!in.has(at, pe::kGroupIconEntrySize)) break;
        // The width byte holds the width modulo 256.
        if (in.read8(at + pe::kGroupIconEntryWidthField) != static_cast<std::uint8_t>(image.width())) continue;
        out.patch16le(at + pe::kGroupIconEntryBitCountField, static_cast<std::uint16_t>(image.bitCount()));
        out.patch32le(at + pe::kGroupIconEntryBytesField, iconBytes);
        out.patch16le(at + pe::kGroupIconEntryIdField, iconId);
        break;
    }
}

ExecutableResult PocketPcExecutable::buildImage(std::vector<std::uint8_t>& image) {
    flushStrings();
    if (!contentError_.empty()) return {ExecutableError::Content, contentError_};

    std::vector<std::uint8_t> nt = ntHeaders_;
    std::vector<std::uint8_t> table = sectionTable_;
    const std::size_t resourceHeader = resourceSectionIndex_ * pe::kSectionHeaderSize;
    const std::uint32_t used = resources_.usedSize();
    bytes::ByteWriter tableOut(table);
    tableOut.patch32le(resourceHeader + pe::kSectionVirtualSizeField, used);
    tableOut.patch32le(resourceHeader + pe::kSectionSizeOfRawDataField, resources_.rawSize());
    bytes::ByteWriter ntOut(nt);
    ntOut.patch32le(pe::kResourceDirectorySizeField, used);
    // The image ends with the resource section in memory, rounded up to the
    // section alignment, as loaders require.
    const std::uint32_t alignment = bytes::ByteReader(nt).read32le(pe::kSectionAlignmentField);
    ntOut.patch32le(pe::kSizeOfImageField, pe::alignUp(resources_.sectionRva() + used, alignment));

    image.clear();
    image.reserve(firstRawDataOffset_ + resources_.rawSize());
    image.insert(image.end(), headBytes_.begin(), headBytes_.end());
    image.insert(image.end(), nt.begin(), nt.end());
    image.insert(image.end(), table.begin(), table.end());
    image.resize(firstRawDataOffset_, 0);
    for (std::size_t s = 0; s < sectionData_.size(); ++s) {
        if (s == resourceSectionIndex_) {
            const std::vector<std::uint8_t> raw = resources_.rawData();
            image.insert(image.end(), raw.begin(), raw.end());
        } else {
            image.insert(image.end(), sectionData_[s].begin(), sectionData_[s].end());
        }
    }
    return {};
}

ExecutableResult PocketPcExecutable::write(const std::string& exePath) {
    std::vector<std::uint8_t> image;
    if (ExecutableResult built = buildImage(image); !built.ok()) return built;
    if (const FileWriteResult written = writeFileAtomically(exePath, image); !written.ok())
        return {ExecutableError::CannotWrite, written.message()};
    return {};
}

}  // namespace skedlin
