#include "builder/pocketpc/InPlaceResourceSection.h"

#include <cstring>

#include "formats/Bytes.h"
#include "formats/pe/PeLayout.h"

namespace skedlin {

namespace {
constexpr std::uint32_t kOffsetMask = ~pe::kResourceSubdirectoryFlag;
// The pieces that follow a placed piece once all four are in: data entry,
// language directory and directory entry after the body; language
// directory and directory entry after the data entry.
constexpr std::uint32_t kAfterBody =
    pe::kResourceDataEntrySize + pe::kResourceLanguageDirectorySize + pe::kResourceEntrySize;
constexpr std::uint32_t kAfterDataEntry = pe::kResourceLanguageDirectorySize + pe::kResourceEntrySize;
}  // namespace

InPlaceResourceSection::InPlaceResourceSection(std::vector<std::uint8_t> rawData, std::uint32_t virtualSize,
                                               std::uint32_t sectionRva)
    : bytes_(std::move(rawData)), usedSize_(virtualSize), sectionRva_(sectionRva) {}

std::uint32_t InPlaceResourceSection::u32(std::uint32_t at) const { return bytes::ByteReader(bytes_).read32le(at); }
std::uint16_t InPlaceResourceSection::u16(std::uint32_t at) const { return bytes::ByteReader(bytes_).read16le(at); }
void InPlaceResourceSection::put32(std::uint32_t at, std::uint32_t value) {
    bytes::ByteWriter(bytes_).patch32le(at, value);
}

void InPlaceResourceSection::correctOffsets(std::uint32_t directory, std::uint32_t at, std::uint32_t delta) {
    const std::uint32_t entries = std::uint32_t{u16(directory + pe::kResourceDirectoryNamedCountField)} +
                                  u16(directory + pe::kResourceDirectoryIdCountField);
    for (std::uint32_t k = 0; k < entries; ++k) {
        const std::uint32_t entry = directory + pe::kResourceDirectorySize + k * pe::kResourceEntrySize;
        const std::uint32_t name = u32(entry);
        if ((name & pe::kResourceNameIsStringFlag) && (name & kOffsetMask) >= at) put32(entry, name + delta);
        const std::uint32_t target = u32(entry + 4);
        const std::uint32_t position = target & kOffsetMask;
        if (position >= at) put32(entry + 4, target + delta);
        if (target & pe::kResourceSubdirectoryFlag) {
            correctOffsets(position, at, delta);
        } else {
            const std::uint32_t rva = u32(position);
            if (rva - sectionRva_ >= at) put32(position, rva + delta);
        }
    }
}

void InPlaceResourceSection::insertBytes(std::uint32_t at, std::span<const std::uint8_t> bytes) {
    const auto length = static_cast<std::uint32_t>(bytes.size());
    const std::uint32_t padded = pe::alignUp(length, pe::kResourceBodyAlignment);
    const std::uint32_t growth = rawGrowthFor(usedSize_, rawSize(), padded);
    if (growth != 0) bytes_.resize(bytes_.size() + growth, 0);
    correctOffsets(0, at, padded);
    std::memmove(bytes_.data() + at + padded, bytes_.data() + at, usedSize_ - at);
    if (length != 0) std::memcpy(bytes_.data() + at, bytes.data(), length);
    std::memset(bytes_.data() + at + length, 0, padded - length);
    usedSize_ += padded;
}

InsertResult InPlaceResourceSection::insert(std::uint16_t type, std::uint16_t id, std::span<const std::uint8_t> body) {
    if (std::uint64_t{usedSize_} + body.size() + 3 + kAfterBody > ResourceSectionEditor::kMaxSectionSize)
        return InsertResult::SectionTooLarge;

    // 1. The type's directory, among the root's id entries.
    const std::uint32_t rootNamed = u16(pe::kResourceDirectoryNamedCountField);
    const std::uint32_t rootIds = u16(pe::kResourceDirectoryIdCountField);
    std::uint32_t typeDirectory = 0;
    bool found = false;
    for (std::uint32_t k = 0; k < rootIds && !found; ++k) {
        const std::uint32_t entry = pe::kResourceDirectorySize + (rootNamed + k) * pe::kResourceEntrySize;
        if (u32(entry) == type) {
            typeDirectory = u32(entry + 4) & kOffsetMask;
            found = true;
        }
    }
    if (!found) return InsertResult::NoSuchType;

    // 2. The place of the new entry: after every id entry not greater than id.
    const std::uint32_t named = u16(typeDirectory + pe::kResourceDirectoryNamedCountField);
    const std::uint32_t ids = u16(typeDirectory + pe::kResourceDirectoryIdCountField);
    if (ids == 0) return InsertResult::NoPlace;
    if (body.empty()) return InsertResult::EmptyBody;
    const std::uint32_t firstIdEntry = typeDirectory + pe::kResourceDirectorySize + named * pe::kResourceEntrySize;
    std::uint32_t k = 0;
    while (k < ids && u32(firstIdEntry + k * pe::kResourceEntrySize) <= id) ++k;
    const std::uint32_t newEntry = firstIdEntry + k * pe::kResourceEntrySize;
    // The neighbour: the entry before the place (the new pieces follow its
    // pieces), or the first entry when there is none (they precede its pieces).
    const bool after = k > 0;
    const std::uint32_t neighbourEntry = after ? newEntry - pe::kResourceEntrySize : newEntry;
    auto neighbourLanguage = [&] { return u32(neighbourEntry + 4) & kOffsetMask; };
    auto neighbourDataEntry = [&] { return u32(neighbourLanguage() + pe::kResourceDirectorySize + 4) & kOffsetMask; };

    // 3, 4. The body, after the neighbour's data (4-byte aligned) or at its start.
    const std::uint32_t dataRva = u32(neighbourDataEntry());
    const std::uint32_t dataSize = u32(neighbourDataEntry() + 4);
    const std::uint32_t bodyAt =
        dataRva - sectionRva_ + (after ? pe::alignUp(dataSize, pe::kResourceBodyAlignment) : 0);
    insertBytes(bodyAt, body);

    // 5. The data entry, written with the offsets it has once all pieces are in.
    const std::uint32_t dataEntryAt = neighbourDataEntry() + (after ? pe::kResourceDataEntrySize : 0);
    bytes::Bytes dataEntry;
    bytes::ByteWriter dataEntryOut(dataEntry);
    dataEntryOut.put32le(sectionRva_ + bodyAt + kAfterBody);
    dataEntryOut.put32le(static_cast<std::uint32_t>(body.size()));
    dataEntryOut.putZeros(pe::kResourceDataEntrySize - dataEntry.size());  // code page, reserved
    insertBytes(dataEntryAt, dataEntry);

    // 6. The language directory with its one entry.
    const std::uint32_t languageAt = neighbourLanguage() + (after ? pe::kResourceLanguageDirectorySize : 0);
    bytes::Bytes language(pe::kResourceLanguageDirectorySize, 0);
    bytes::ByteWriter languageOut(language);
    languageOut.patch16le(pe::kResourceDirectoryIdCountField, 1);
    languageOut.patch32le(pe::kResourceDirectorySize, pe::kLanguageEnglishUs);
    languageOut.patch32le(pe::kResourceDirectorySize + 4, dataEntryAt + kAfterDataEntry);
    insertBytes(languageAt, language);

    // 7, 8. The directory entry, which links the new pieces into the tree.
    bytes::Bytes entry;
    bytes::ByteWriter entryOut(entry);
    entryOut.put32le(id);
    entryOut.put32le((languageAt + pe::kResourceEntrySize) | pe::kResourceSubdirectoryFlag);
    insertBytes(newEntry, entry);
    bytes::ByteWriter(bytes_).patch16le(typeDirectory + pe::kResourceDirectoryIdCountField,
                                        static_cast<std::uint16_t>(ids + 1));
    return InsertResult::Inserted;
}

}  // namespace skedlin
