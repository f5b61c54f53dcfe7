#include "formats/pe/ResourceTree.h"

#include <algorithm>
#include <cstring>

#include "formats/Bytes.h"
#include "formats/pe/PeLayout.h"

namespace skedlin {

namespace {

using bytes::ByteReader;
using bytes::ByteWriter;

constexpr char kNotInOrder[] = "the resource section is not in the expected order: ";

void keepHeader(ByteReader& in, std::uint32_t offset, ResourceDirectoryHeader& header) {
    const auto kept = in.slice(offset, sizeof header.keptBytes);
    std::copy(kept.begin(), kept.end(), header.keptBytes);
}

ResourceTreeResult notInOrder(const std::string& detail) {
    return {ResourceTreeError::NotInOrder, std::string(kNotInOrder) + detail};
}

// Reads the directory at `offset`, which must hold id entries only, and the
// number of its id entries.
ResourceTreeResult readDirectory(ByteReader& in, std::uint32_t offset, const char* what, long& idCount) {
    const auto truncated = [&] {
        return ResourceTreeResult(ResourceTreeError::Truncated,
                                  std::string("the resource section is truncated inside a ") + what + " directory");
    };
    if (!in.has(offset, pe::kResourceDirectorySize)) return truncated();
    std::uint16_t named = in.read16le(offset + pe::kResourceDirectoryNamedCountField);
    std::uint16_t ids = in.read16le(offset + pe::kResourceDirectoryIdCountField);
    if (named != 0) {
        return {ResourceTreeError::NamedEntries,
                std::string("the ") + what + " directory has named entries, which are not supported"};
    }
    if (!in.has(offset + pe::kResourceDirectorySize, std::uint64_t{ids} * pe::kResourceEntrySize)) return truncated();
    idCount = ids;
    return {};
}

}  // namespace

// The ids of one type directory at `at`, each with the place of its language directory.
ResourceTreeResult ResourceTree::readTypeDirectory(ByteReader& in, std::uint16_t typeId, std::uint32_t at,
                                                   long itemCount, std::vector<PendingItem>& pending) {
    long previousId = -1;
    for (long i = 0; i < itemCount; ++i) {
        std::uint32_t itemEntry =
            at + pe::kResourceDirectorySize + static_cast<std::uint32_t>(i) * pe::kResourceEntrySize;
        std::uint32_t id = in.read32le(itemEntry);
        std::uint32_t languageTarget = in.read32le(itemEntry + 4);
        if (id > 0xFFFF || static_cast<long>(id) < previousId)
            return notInOrder("the ids of type " + std::to_string(typeId) + " are not ascending");
        previousId = static_cast<long>(id);
        if (!(languageTarget & pe::kResourceSubdirectoryFlag)) {
            return notInOrder("resource " + std::to_string(id) + " of type " + std::to_string(typeId) +
                              " has no language directory");
        }
        pending.push_back({typeId, static_cast<std::uint16_t>(id), languageTarget & ~pe::kResourceSubdirectoryFlag});
    }
    return {};
}

// Pass 1: the root, then the type directories, which follow it one after
// another. languagesStart receives the offset where the language directories start.
ResourceTreeResult ResourceTree::parseDirectories(std::span<const std::uint8_t> section,
                                                  std::vector<PendingItem>& pending, std::uint32_t& languagesStart) {
    ByteReader in(section);
    long typeCount = 0;
    if (ResourceTreeResult result = readDirectory(in, 0, "root", typeCount); !result.ok()) return result;
    keepHeader(in, 0, root);

    std::uint32_t expected =
        pe::kResourceDirectorySize + static_cast<std::uint32_t>(typeCount) * pe::kResourceEntrySize;
    long previousType = -1;
    for (long t = 0; t < typeCount; ++t) {
        std::uint32_t entry = pe::kResourceDirectorySize + static_cast<std::uint32_t>(t) * pe::kResourceEntrySize;
        std::uint32_t name = in.read32le(entry);
        std::uint32_t target = in.read32le(entry + 4);
        if (name > 0xFFFF || static_cast<long>(name) <= previousType)
            return notInOrder("resource types are not in ascending id order");
        previousType = static_cast<long>(name);
        if (!(target & pe::kResourceSubdirectoryFlag) || (target & ~pe::kResourceSubdirectoryFlag) != expected)
            return notInOrder("the directory of type " + std::to_string(name) +
                              " does not follow the previous directory");
        long itemCount = 0;
        if (ResourceTreeResult result = readDirectory(in, expected, "type", itemCount); !result.ok()) return result;
        keepHeader(in, expected, types[static_cast<std::uint16_t>(name)].directory);
        if (ResourceTreeResult result =
                readTypeDirectory(in, static_cast<std::uint16_t>(name), expected, itemCount, pending);
            !result.ok())
            return result;
        expected += pe::kResourceDirectorySize + static_cast<std::uint32_t>(itemCount) * pe::kResourceEntrySize;
    }
    languagesStart = expected;
    return {};
}

// Pass 2: one language directory per resource, in tree order, then the data
// entries in the same order, then the bodies; what follows is the tail.
ResourceTreeResult ResourceTree::parseItems(std::span<const std::uint8_t> section, std::uint32_t sectionRva,
                                            std::uint32_t languagesStart, const std::vector<PendingItem>& pending) {
    ByteReader in(section);
    const std::uint32_t dataEntriesStart =
        languagesStart + static_cast<std::uint32_t>(pending.size()) * pe::kResourceLanguageDirectorySize;
    std::uint32_t bodyExpected =
        dataEntriesStart + static_cast<std::uint32_t>(pending.size()) * pe::kResourceDataEntrySize;
    if (!in.has(0, bodyExpected))
        return {ResourceTreeError::Truncated, "the resource section is truncated before the end of its data entries"};
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const PendingItem& p = pending[k];
        const std::string label = "resource " + std::to_string(p.id) + " of type " + std::to_string(p.type);
        std::uint32_t languageDirectory =
            languagesStart + static_cast<std::uint32_t>(k) * pe::kResourceLanguageDirectorySize;
        if (p.languageDirectory != languageDirectory)
            return notInOrder("the language directory of " + label + " is out of place");
        if (in.read16le(languageDirectory + pe::kResourceDirectoryNamedCountField) != 0 ||
            in.read16le(languageDirectory + pe::kResourceDirectoryIdCountField) != 1)
            return notInOrder(label + " does not have exactly one language");
        std::uint32_t languageEntry = languageDirectory + pe::kResourceDirectorySize;
        std::uint32_t language = in.read32le(languageEntry);
        std::uint32_t dataEntry = in.read32le(languageEntry + 4);
        std::uint32_t dataEntryExpected = dataEntriesStart + static_cast<std::uint32_t>(k) * pe::kResourceDataEntrySize;
        if (language > 0xFFFF || dataEntry != dataEntryExpected)
            return notInOrder("the data entry of " + label + " is out of place");
        std::uint32_t dataRva = in.read32le(dataEntry);
        std::uint32_t size = in.read32le(dataEntry + 4);
        if (dataRva < sectionRva || dataRva - sectionRva != bodyExpected)
            return notInOrder("the data of " + label + " is out of place");
        std::uint64_t end64 = (std::uint64_t{bodyExpected} + size + pe::kResourceBodyAlignment - 1) /
                              pe::kResourceBodyAlignment * pe::kResourceBodyAlignment;
        if (end64 > section.size())
            return {ResourceTreeError::DataOutsideSection,
                    "the data of " + label + " lies outside the resource section"};
        ResourceItem item;
        keepHeader(in, languageDirectory, item.languageDirectory);
        item.language = static_cast<std::uint16_t>(language);
        item.codePage = in.read32le(dataEntry + 8);
        item.reserved = in.read32le(dataEntry + 12);
        item.body.assign(section.begin() + bodyExpected, section.begin() + bodyExpected + size);
        item.paddingLength = static_cast<std::uint8_t>(end64 - (std::uint64_t{bodyExpected} + size));
        std::copy_n(section.begin() + bodyExpected + size, item.paddingLength, item.padding.begin());
        types[p.type].items.emplace(p.id, std::move(item));
        bodyExpected = static_cast<std::uint32_t>(end64);
    }
    if (bodyExpected > section.size()) return {ResourceTreeError::Truncated, "the resource section is truncated"};
    tail.assign(section.begin() + bodyExpected, section.end());
    return {};
}

ResourceTreeResult ResourceTree::parse(std::span<const std::uint8_t> section, std::uint32_t sectionRva) {
    types.clear();
    tail.clear();
    std::vector<PendingItem> pending;
    std::uint32_t languagesStart = 0;
    if (ResourceTreeResult result = parseDirectories(section, pending, languagesStart); !result.ok()) return result;
    return parseItems(section, sectionRva, languagesStart, pending);
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
    return static_cast<std::uint32_t>(
        directories + items * (pe::kResourceLanguageDirectorySize + pe::kResourceDataEntrySize) + bodies + tail.size());
}

std::vector<std::uint8_t> ResourceTree::serialize(std::uint32_t sectionRva, std::size_t capacity) const {
    // Lay the whole tree out first, then write every piece once at its place.
    std::uint32_t itemCount = 0;
    std::uint32_t directoriesEnd =
        pe::kResourceDirectorySize + static_cast<std::uint32_t>(types.size()) * pe::kResourceEntrySize;
    for (const auto& [typeId, type] : types) {
        directoriesEnd +=
            pe::kResourceDirectorySize + static_cast<std::uint32_t>(type.items.size()) * pe::kResourceEntrySize;
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
    ByteWriter write(out);
    auto writeDirectory = [&](std::uint32_t at, const ResourceDirectoryHeader& header, std::uint16_t idCount) {
        std::memcpy(base + at, header.keptBytes, sizeof header.keptBytes);
        write.patch16le(at + pe::kResourceDirectoryNamedCountField, 0);
        write.patch16le(at + pe::kResourceDirectoryIdCountField, idCount);
    };

    writeDirectory(0, root, static_cast<std::uint16_t>(types.size()));
    std::uint32_t typeDirectory =
        pe::kResourceDirectorySize + static_cast<std::uint32_t>(types.size()) * pe::kResourceEntrySize;
    std::uint32_t rootEntry = pe::kResourceDirectorySize;
    std::uint32_t k = 0;
    std::uint32_t body = bodiesStart;
    for (const auto& [typeId, type] : types) {
        write.patch32le(rootEntry, typeId);
        write.patch32le(rootEntry + 4, typeDirectory | pe::kResourceSubdirectoryFlag);
        rootEntry += pe::kResourceEntrySize;
        writeDirectory(typeDirectory, type.directory, static_cast<std::uint16_t>(type.items.size()));
        std::uint32_t itemEntry = typeDirectory + pe::kResourceDirectorySize;
        for (const auto& [id, item] : type.items) {
            std::uint32_t languageDirectory = languagesStart + k * pe::kResourceLanguageDirectorySize;
            std::uint32_t dataEntry = dataEntriesStart + k * pe::kResourceDataEntrySize;
            write.patch32le(itemEntry, id);
            write.patch32le(itemEntry + 4, languageDirectory | pe::kResourceSubdirectoryFlag);
            itemEntry += pe::kResourceEntrySize;

            writeDirectory(languageDirectory, item.languageDirectory, 1);
            write.patch32le(languageDirectory + pe::kResourceDirectorySize, item.language);
            write.patch32le(languageDirectory + pe::kResourceDirectorySize + 4, dataEntry);

            write.patch32le(dataEntry, sectionRva + body);
            write.patch32le(dataEntry + 4, static_cast<std::uint32_t>(item.body.size()));
            write.patch32le(dataEntry + 8, item.codePage);
            write.patch32le(dataEntry + 12, item.reserved);

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
