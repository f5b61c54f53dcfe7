#include "builder/pocketpc/ResourceTree.h"

#include <algorithm>
#include <cstring>

#include "builder/pocketpc/LittleEndian.h"
#include "builder/pocketpc/PeFormat.h"

namespace skedlin {

namespace {

constexpr char kNotInOrder[] = "the resource section is not in the expected order: ";

struct Reader {
    std::span<const std::uint8_t> bytes;
    bool has(std::uint64_t offset, std::uint64_t length) const { return offset + length <= bytes.size(); }
    std::uint16_t u16(std::uint32_t offset) const { return le::read16(bytes.data() + offset); }
    std::uint32_t u32(std::uint32_t offset) const { return le::read32(bytes.data() + offset); }
};

void keepHeader(const Reader& in, std::uint32_t offset, ResourceDirectoryHeader& header) {
    std::memcpy(header.keptBytes, in.bytes.data() + offset, sizeof header.keptBytes);
}

// Reads the directory at `offset`, which must hold id entries only; returns
// the number of id entries or -1 with error set.
long readDirectory(const Reader& in, std::uint32_t offset, const char* what, std::string& error) {
    if (!in.has(offset, pe::kResourceDirectorySize)) {
        error = std::string("the resource section is truncated inside a ") + what + " directory";
        return -1;
    }
    std::uint16_t named = in.u16(offset + pe::kResourceDirectoryNamedCountField);
    std::uint16_t ids = in.u16(offset + pe::kResourceDirectoryIdCountField);
    if (named != 0) {
        error = std::string("the ") + what + " directory has named entries, which are not supported";
        return -1;
    }
    if (!in.has(offset + pe::kResourceDirectorySize, std::uint64_t{ids} * pe::kResourceEntrySize)) {
        error = std::string("the resource section is truncated inside a ") + what + " directory";
        return -1;
    }
    return ids;
}

}  // namespace

bool ResourceTree::parse(std::span<const std::uint8_t> section, std::uint32_t sectionRva, std::string& error) {
    Reader in{section};
    types.clear();
    tail.clear();

    long typeCount = readDirectory(in, 0, "root", error);
    if (typeCount < 0) return false;
    keepHeader(in, 0, root);

    // Pass 1: the type directories follow the root, one after another.
    struct PendingItem {
        std::uint16_t type;
        std::uint16_t id;
        std::uint32_t languageDirectory;
    };
    std::vector<PendingItem> pending;
    std::uint32_t expected = pe::kResourceDirectorySize + static_cast<std::uint32_t>(typeCount) * pe::kResourceEntrySize;
    long previousType = -1;
    for (long t = 0; t < typeCount; ++t) {
        std::uint32_t entry = pe::kResourceDirectorySize + static_cast<std::uint32_t>(t) * pe::kResourceEntrySize;
        std::uint32_t name = in.u32(entry);
        std::uint32_t target = in.u32(entry + 4);
        if (name > 0xFFFF || static_cast<long>(name) <= previousType) {
            error = std::string(kNotInOrder) + "resource types are not in ascending id order";
            return false;
        }
        previousType = static_cast<long>(name);
        if (!(target & pe::kResourceSubdirectoryFlag) || (target & ~pe::kResourceSubdirectoryFlag) != expected) {
            error = std::string(kNotInOrder) + "the directory of type " + std::to_string(name) +
                    " does not follow the previous directory";
            return false;
        }
        long itemCount = readDirectory(in, expected, "type", error);
        if (itemCount < 0) return false;
        ResourceType& type = types[static_cast<std::uint16_t>(name)];
        keepHeader(in, expected, type.directory);
        long previousId = -1;
        for (long i = 0; i < itemCount; ++i) {
            std::uint32_t itemEntry = expected + pe::kResourceDirectorySize + static_cast<std::uint32_t>(i) * pe::kResourceEntrySize;
            std::uint32_t id = in.u32(itemEntry);
            std::uint32_t languageTarget = in.u32(itemEntry + 4);
            if (id > 0xFFFF || static_cast<long>(id) < previousId) {
                error = std::string(kNotInOrder) + "the ids of type " + std::to_string(name) + " are not ascending";
                return false;
            }
            previousId = static_cast<long>(id);
            if (!(languageTarget & pe::kResourceSubdirectoryFlag)) {
                error = std::string(kNotInOrder) + "resource " + std::to_string(id) + " of type " +
                        std::to_string(name) + " has no language directory";
                return false;
            }
            pending.push_back({static_cast<std::uint16_t>(name), static_cast<std::uint16_t>(id),
                               languageTarget & ~pe::kResourceSubdirectoryFlag});
        }
        expected += pe::kResourceDirectorySize + static_cast<std::uint32_t>(itemCount) * pe::kResourceEntrySize;
    }

    // Pass 2: one language directory per resource, in tree order, then the
    // data entries in the same order.
    const std::uint32_t languagesStart = expected;
    const std::uint32_t dataEntriesStart =
        languagesStart + static_cast<std::uint32_t>(pending.size()) * pe::kResourceLanguageDirectorySize;
    std::uint32_t bodyExpected =
        dataEntriesStart + static_cast<std::uint32_t>(pending.size()) * pe::kResourceDataEntrySize;
    if (!in.has(0, bodyExpected)) {
        error = "the resource section is truncated before the end of its data entries";
        return false;
    }
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const PendingItem& p = pending[k];
        const std::string label = "resource " + std::to_string(p.id) + " of type " + std::to_string(p.type);
        std::uint32_t languageDirectory = languagesStart + static_cast<std::uint32_t>(k) * pe::kResourceLanguageDirectorySize;
        if (p.languageDirectory != languageDirectory) {
            error = std::string(kNotInOrder) + "the language directory of " + label + " is out of place";
            return false;
        }
        if (in.u16(languageDirectory + pe::kResourceDirectoryNamedCountField) != 0 ||
            in.u16(languageDirectory + pe::kResourceDirectoryIdCountField) != 1) {
            error = std::string(kNotInOrder) + label + " does not have exactly one language";
            return false;
        }
        std::uint32_t languageEntry = languageDirectory + pe::kResourceDirectorySize;
        std::uint32_t language = in.u32(languageEntry);
        std::uint32_t dataEntry = in.u32(languageEntry + 4);
        std::uint32_t dataEntryExpected = dataEntriesStart + static_cast<std::uint32_t>(k) * pe::kResourceDataEntrySize;
        if (language > 0xFFFF || dataEntry != dataEntryExpected) {
            error = std::string(kNotInOrder) + "the data entry of " + label + " is out of place";
            return false;
        }
        std::uint32_t dataRva = in.u32(dataEntry);
        std::uint32_t size = in.u32(dataEntry + 4);
        if (dataRva < sectionRva || dataRva - sectionRva != bodyExpected) {
            error = std::string(kNotInOrder) + "the data of " + label + " is out of place";
            return false;
        }
        std::uint64_t end64 = (std::uint64_t{bodyExpected} + size + pe::kResourceBodyAlignment - 1) /
                              pe::kResourceBodyAlignment * pe::kResourceBodyAlignment;
        if (end64 > section.size()) {
            error = "the data of " + label + " lies outside the resource section";
            return false;
        }
        ResourceItem item;
        keepHeader(in, languageDirectory, item.languageDirectory);
        item.language = static_cast<std::uint16_t>(language);
        item.codePage = in.u32(dataEntry + 8);
        item.reserved = in.u32(dataEntry + 12);
        item.body.assign(section.begin() + bodyExpected, section.begin() + bodyExpected + size);
        item.paddingLength = static_cast<std::uint8_t>(end64 - (std::uint64_t{bodyExpected} + size));
        std::copy_n(section.begin() + bodyExpected + size, item.paddingLength, item.padding.begin());
        types[p.type].items.emplace(p.id, std::move(item));
        bodyExpected = static_cast<std::uint32_t>(end64);
    }
    if (bodyExpected > section.size()) {
        error = "the resource section is truncated";
        return false;
    }
    tail.assign(section.begin() + bodyExpected, section.end());
    return true;
}

std::uint32_t ResourceTree::usedSize() const {
    std::uint64_t directories = pe::kResourceDirectorySize + types.size() * std::uint64_t{pe::kResourceEntrySize};
    std::uint64_t items = 0;
    std::uint64_t bodies = 0;
    for (const auto& [typeId, type] : types) {
        directories += pe::kResourceDirectorySize + type.items.size() * std::uint64_t{pe::kResourceEntrySize};
        items += type.items.size();
        for (const auto& [id, item] : type.items) bodies += item.paddedSize();
    }
    return static_cast<std::uint32_t>(directories + items * (pe::kResourceLanguageDirectorySize + pe::kResourceDataEntrySize) +
                                      bodies + tail.size());
}

std::vector<std::uint8_t> ResourceTree::serialize(std::uint32_t sectionRva, std::size_t capacity) const {
    // Lay the whole tree out first, then write every piece once at its place.
    std::uint32_t itemCount = 0;
    std::uint32_t directoriesEnd = pe::kResourceDirectorySize + static_cast<std::uint32_t>(types.size()) * pe::kResourceEntrySize;
    for (const auto& [typeId, type] : types) {
        directoriesEnd += pe::kResourceDirectorySize + static_cast<std::uint32_t>(type.items.size()) * pe::kResourceEntrySize;
        itemCount += static_cast<std::uint32_t>(type.items.size());
    }
    const std::uint32_t languagesStart = directoriesEnd;
    const std::uint32_t dataEntriesStart = languagesStart + itemCount * pe::kResourceLanguageDirectorySize;
    const std::uint32_t bodiesStart = dataEntriesStart + itemCount * pe::kResourceDataEntrySize;

    std::vector<std::uint8_t> out;
    const std::uint32_t used = usedSize();
    out.reserve(std::max<std::size_t>(capacity, used));
    out.resize(used, 0);
    std::uint8_t* base = out.data();
    auto writeDirectory = [&](std::uint32_t at, const ResourceDirectoryHeader& header, std::uint16_t idCount) {
        std::memcpy(base + at, header.keptBytes, sizeof header.keptBytes);
        le::write16(base + at + pe::kResourceDirectoryNamedCountField, 0);
        le::write16(base + at + pe::kResourceDirectoryIdCountField, idCount);
    };

    writeDirectory(0, root, static_cast<std::uint16_t>(types.size()));
    std::uint32_t typeDirectory = pe::kResourceDirectorySize + static_cast<std::uint32_t>(types.size()) * pe::kResourceEntrySize;
    std::uint32_t rootEntry = pe::kResourceDirectorySize;
    std::uint32_t k = 0;
    std::uint32_t body = bodiesStart;
    for (const auto& [typeId, type] : types) {
        le::write32(base + rootEntry, typeId);
        le::write32(base + rootEntry + 4, typeDirectory | pe::kResourceSubdirectoryFlag);
        rootEntry += pe::kResourceEntrySize;
        writeDirectory(typeDirectory, type.directory, static_cast<std::uint16_t>(type.items.size()));
        std::uint32_t itemEntry = typeDirectory + pe::kResourceDirectorySize;
        for (const auto& [id, item] : type.items) {
            std::uint32_t languageDirectory = languagesStart + k * pe::kResourceLanguageDirectorySize;
            std::uint32_t dataEntry = dataEntriesStart + k * pe::kResourceDataEntrySize;
            le::write32(base + itemEntry, id);
            le::write32(base + itemEntry + 4, languageDirectory | pe::kResourceSubdirectoryFlag);
            itemEntry += pe::kResourceEntrySize;

            writeDirectory(languageDirectory, item.languageDirectory, 1);
            le::write32(base + languageDirectory + pe::kResourceDirectorySize, item.language);
            le::write32(base + languageDirectory + pe::kResourceDirectorySize + 4, dataEntry);

            le::write32(base + dataEntry, sectionRva + body);
            le::write32(base + dataEntry + 4, static_cast<std::uint32_t>(item.body.size()));
            le::write32(base + dataEntry + 8, item.codePage);
            le::write32(base + dataEntry + 12, item.reserved);

            if (!item.body.empty()) std::memcpy(base + body, item.body.data(), item.body.size());
            std::memcpy(base + body + item.body.size(), item.padding.data(), item.paddingLength);
            body += item.paddedSize();
            ++k;
        }
        typeDirectory = itemEntry;
    }
    if (!tail.empty()) std::memcpy(base + body, tail.data(), tail.size());
    return out;
}

}  // namespace skedlin
