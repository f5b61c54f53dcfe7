#include "builder/pocketpc/PocketPcExecutable.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "builder/palm/BmpFormat.h"
#include "builder/palm/BmpImage.h"
#include "builder/pocketpc/IconImage.h"
#include "builder/pocketpc/LittleEndian.h"
#include "builder/pocketpc/PeFormat.h"
#include "builder/pocketpc/StringTableBlock.h"
#include "model/AtomicFile.h"

namespace skedlin {

namespace {

constexpr char kTemplateUnusable[] = "The Pocket PC template is not usable: ";
// A logo is a .bmp of at most 160 x 80 pixels; a file far larger is not one.
constexpr std::uintmax_t kMaxBitmapFileBytes = BmpImage::kMaxFileBytes;

std::uint32_t field32(const std::vector<std::uint8_t>& bytes, std::uint32_t offset) {
    return le::read32(bytes.data() + offset);
}

std::string expandLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    // Only a regular file: a pipe or a device would block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxBitmapFileBytes) return false;
    bytes.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()), size));
}

}  // namespace

std::unique_ptr<PocketPcExecutable> PocketPcExecutable::load(std::span<const std::uint8_t> image, std::string& error) {
    auto fail = [&](const std::string& detail) {
        error = kTemplateUnusable + detail + ".";
        return nullptr;
    };
    if (image.size() < pe::kDosHeaderSize || le::read16(image.data()) != pe::kDosSignature)
        return fail("it does not begin with a DOS header");
    const std::uint32_t ntOffset = le::read32(image.data() + pe::kDosNewHeaderOffsetField);
    if (ntOffset < pe::kDosHeaderSize || std::uint64_t{ntOffset} + pe::kNtHeadersSize > image.size() ||
        le::read32(image.data() + ntOffset) != pe::kNtSignature)
        return fail("it has no PE headers");
    const std::uint8_t* nt = image.data() + ntOffset;
    if (le::read16(nt + pe::kSizeOfOptionalHeaderField) != pe::kOptionalHeaderSize ||
        le::read16(nt + pe::kMagicField) != pe::kPe32Magic ||
        le::read32(nt + pe::kNumberOfRvaAndSizesField) <= pe::kResourceDirectoryIndex)
        return fail("its optional header is not a 32-bit one with a resource directory");

    auto exe = std::unique_ptr<PocketPcExecutable>(new PocketPcExecutable());
    exe->headBytes_.assign(image.begin(), image.begin() + ntOffset);
    exe->ntHeaders_.assign(nt, nt + pe::kNtHeadersSize);

    const std::uint16_t sectionCount = le::read16(nt + pe::kNumberOfSectionsField);
    const std::uint64_t tableOffset = std::uint64_t{ntOffset} + pe::kNtHeadersSize;
    const std::uint64_t tableEnd = tableOffset + std::uint64_t{sectionCount} * pe::kSectionHeaderSize;
    if (sectionCount == 0 || tableEnd > image.size()) return fail("its section table is missing or truncated");
    exe->sectionTable_.assign(image.begin() + static_cast<std::ptrdiff_t>(tableOffset),
                              image.begin() + static_cast<std::ptrdiff_t>(tableEnd));

    const std::uint32_t sectionAlignment = le::read32(nt + pe::kSectionAlignmentField);
    if (sectionAlignment == 0 || (sectionAlignment & (sectionAlignment - 1)) != 0)
        return fail("its section alignment is not a power of two");

    // Sections are written back one after another from the first one's
    // raw-data offset, so their data must lie that way in the template, and
    // only the last one, the resource section, may grow.
    std::optional<std::size_t> resourceIndex;
    std::uint64_t nextRawOffset = 0;
    std::uint32_t highestAddress = 0;
    for (std::size_t s = 0; s < sectionCount; ++s) {
        const std::uint8_t* header = exe->sectionTable_.data() + s * pe::kSectionHeaderSize;
        const std::uint32_t rawSize = le::read32(header + pe::kSectionSizeOfRawDataField);
        const std::uint32_t rawOffset = le::read32(header + pe::kSectionPointerToRawDataField);
        const std::uint32_t address = le::read32(header + pe::kSectionVirtualAddressField);
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
    const std::uint8_t* resourceHeader = exe->sectionTable_.data() + *resourceIndex * pe::kSectionHeaderSize;
    const std::uint32_t resourceRva = le::read32(resourceHeader + pe::kSectionVirtualAddressField);
    if (le::read32(nt + pe::kResourceDirectoryRvaField) != resourceRva)
        return fail("its resource directory does not point at the resource section");
    std::string treeError;
    if (!exe->resources_.load(exe->sectionData_[*resourceIndex],
                              le::read32(resourceHeader + pe::kSectionVirtualSizeField), resourceRva, treeError))
        return fail(treeError);
    exe->sectionData_[*resourceIndex].clear();
    return exe;
}

void PocketPcExecutable::noteContentError(std::string message) {
    if (contentError_.empty()) contentError_ = std::move(message);
}

void PocketPcExecutable::insertResource(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body) {
    // A type the template lacks takes nothing, as does a type without a
    // resource to insert beside: the viewer could not read it anyway.
    switch (resources_.insert(type, id, std::move(body))) {
        case InsertResult::SectionTooLarge:
            noteContentError("the Pocket PC executable would grow past its size limit at resource " +
                             std::to_string(id) + " of type " + std::to_string(type));
            break;
        case InsertResult::EmptyBody:
            noteContentError("resource " + std::to_string(id) + " of type " + std::to_string(type) +
                             " of the Pocket PC executable is empty");
            break;
        default:
            break;
    }
}

void PocketPcExecutable::addString(std::uint16_t id, std::string_view text) {
    const std::uint32_t block = id / pe::kStringsPerBlock;
    if (pendingBlock_ && *pendingBlock_ != block) flushStrings();
    pendingBlock_ = block;
    pendingSlots_[id % pe::kStringsPerBlock] = expandLineFeeds(text);
}

void PocketPcExecutable::addNumber(std::uint16_t id, long value) {
    addString(id, std::to_string(value));
}

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
    le::append16(body, static_cast<std::uint16_t>(values.size()));
    for (std::uint16_t value : values) le::append16(body, value);
    insertResource(pe::kResourceTypeRawData, id, std::move(body));
}

void PocketPcExecutable::addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) {
    insertResource(pe::kResourceTypeRawData, id, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void PocketPcExecutable::addBitmap(std::uint16_t id, const std::string& bmpPath) {
    std::vector<std::uint8_t> file;
    if (!readWholeFile(bmpPath, file) || file.size() <= bmp::kFileHeaderSize) return;
    file.erase(file.begin(), file.begin() + bmp::kFileHeaderSize);
    insertResource(pe::kResourceTypeBitmap, id, std::move(file));
}

void PocketPcExecutable::addIcon(std::uint16_t groupId, const std::string& bmpPath) {
    BmpImage image;
    if (!image.loadFile(bmpPath)) return;
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
    std::uint8_t* bytes = group->body.data();
    const std::size_t entries = le::read16(bytes + pe::kGroupIconCountField);
    for (std::size_t k = 0; k < entries; ++k) {
        const std::size_t at = pe::kGroupIconHeaderSize + k * pe::kGroupIconEntrySize;
        if (at + pe::kGroupIconEntrySize > group->body.size()) break;
        // The width byte holds the width modulo 256.
        if (bytes[at + pe::kGroupIconEntryWidthField] != static_cast<std::uint8_t>(image.width())) continue;
        le::write16(bytes + at + pe::kGroupIconEntryBitCountField, static_cast<std::uint16_t>(image.bitCount()));
        le::write32(bytes + at + pe::kGroupIconEntryBytesField, iconBytes);
        le::write16(bytes + at + pe::kGroupIconEntryIdField, iconId);
        break;
    }
}

bool PocketPcExecutable::buildImage(std::vector<std::uint8_t>& image, std::string& errorMessage) {
    flushStrings();
    if (!contentError_.empty()) {
        errorMessage = contentError_;
        return false;
    }

    std::vector<std::uint8_t> nt = ntHeaders_;
    std::vector<std::uint8_t> table = sectionTable_;
    std::uint8_t* resourceHeader = table.data() + resourceSectionIndex_ * pe::kSectionHeaderSize;
    const std::uint32_t used = resources_.usedSize();
    le::write32(resourceHeader + pe::kSectionVirtualSizeField, used);
    le::write32(resourceHeader + pe::kSectionSizeOfRawDataField, resources_.rawSize());
    le::write32(nt.data() + pe::kResourceDirectorySizeField, used);
    // The image ends with the resource section in memory, rounded up to the
    // section alignment, as loaders require.
    const std::uint32_t alignment = field32(nt, pe::kSectionAlignmentField);
    le::write32(nt.data() + pe::kSizeOfImageField, pe::alignUp(resources_.sectionRva() + used, alignment));

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
    return true;
}

bool PocketPcExecutable::write(const std::string& exePath, std::string& errorMessage) {
    std::vector<std::uint8_t> image;
    if (!buildImage(image, errorMessage)) return false;
    return writeFileAtomically(exePath, image, errorMessage);
}

}  // namespace skedlin
