#pragma once
// An independent little Palm OS resource database reader for the tests. It
// shares no code with the builder's PalmResourceDatabase: it reads a .prc the
// way a handheld or a desktop tool would, from the public format, and checks
// what it can on the way.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace prctest {

struct Resource {
    std::string type;  // four characters
    std::uint16_t id = 0;
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> data;
};

struct Database {
    std::string name;                     // up to the first zero byte of the 32-byte field
    std::vector<std::uint8_t> nameField;  // all 32 bytes
    std::uint16_t attributes = 0;
    std::uint16_t version = 0;
    std::uint32_t creationDate = 0;
    std::uint32_t modificationDate = 0;
    std::uint32_t backupDate = 0;
    std::uint32_t modificationNumber = 0;
    std::uint32_t appInfoOffset = 0;
    std::uint32_t sortInfoOffset = 0;
    std::string type;
    std::string creator;
    std::uint32_t uniqueIdSeed = 0;
    std::uint32_t nextRecordListId = 0;
    std::vector<Resource> resources;
    std::uint32_t firstDataOffset = 0;  // where the first resource's data starts
    std::uint16_t gapBytes = 0xFFFF;    // the two bytes after the list, as a number
    std::size_t fileSize = 0;

    const Resource* find(const std::string& wantedType, std::uint16_t wantedId) const {
        for (const Resource& r : resources) {
            if (r.type == wantedType && r.id == wantedId) return &r;
        }
        return nullptr;
    }
    std::size_t count(const std::string& wantedType, std::uint16_t wantedId) const {
        std::size_t n = 0;
        for (const Resource& r : resources) n += (r.type == wantedType && r.id == wantedId) ? 1 : 0;
        return n;
    }
    // The text of a tSTR (or tAIN) resource without its zero byte; nullopt when absent or not terminated.
    std::optional<std::string> text(const std::string& wantedType, std::uint16_t wantedId) const {
        const Resource* r = find(wantedType, wantedId);
        if (!r || r->data.empty() || r->data.back() != 0) return std::nullopt;
        return std::string(r->data.begin(), r->data.end() - 1);
    }
};

inline std::uint16_t be16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>((b.at(at) << 8) | b.at(at + 1));
}
inline std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b.at(at)) << 24) | (static_cast<std::uint32_t>(b.at(at + 1)) << 16) |
           (static_cast<std::uint32_t>(b.at(at + 2)) << 8) | b.at(at + 3);
}

// nullopt when the bytes are not a well-formed resource database: too short,
// offsets out of order or past the end, data not starting right after the list.
inline std::optional<Database> parse(const std::vector<std::uint8_t>& bytes, std::string* why = nullptr) {
    auto fail = [&](const char* reason) -> std::optional<Database> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (bytes.size() < 80) return fail("shorter than a header");
    Database db;
    db.fileSize = bytes.size();
    db.nameField.assign(bytes.begin(), bytes.begin() + 32);
    for (std::size_t i = 0; i < 32 && bytes[i] != 0; ++i) db.name += static_cast<char>(bytes[i]);
    db.attributes = be16(bytes, 32);
    db.version = be16(bytes, 34);
    db.creationDate = be32(bytes, 36);
    db.modificationDate = be32(bytes, 40);
    db.backupDate = be32(bytes, 44);
    db.modificationNumber = be32(bytes, 48);
    db.appInfoOffset = be32(bytes, 52);
    db.sortInfoOffset = be32(bytes, 56);
    db.type.assign(bytes.begin() + 60, bytes.begin() + 64);
    db.creator.assign(bytes.begin() + 64, bytes.begin() + 68);
    db.uniqueIdSeed = be32(bytes, 68);
    db.nextRecordListId = be32(bytes, 72);
    const std::size_t n = be16(bytes, 76);
    const std::size_t listEnd = 78 + 10 * n;
    if (bytes.size() < listEnd + 2) return fail("resource list runs past the end");
    db.gapBytes = be16(bytes, listEnd);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = 78 + 10 * i;
        Resource r;
        r.type.assign(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4);
        r.id = be16(bytes, at + 4);
        r.offset = be32(bytes, at + 6);
        db.resources.push_back(r);
    }
    db.firstDataOffset = n ? db.resources.front().offset : static_cast<std::uint32_t>(listEnd + 2);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t begin = db.resources[i].offset;
        const std::size_t end = i + 1 < n ? db.resources[i + 1].offset : bytes.size();
        if (begin > end || end > bytes.size()) return fail("resource offsets out of order or past the end");
        if (begin < listEnd + 2) return fail("resource data overlaps the list");
        db.resources[i].data.assign(bytes.begin() + static_cast<long>(begin), bytes.begin() + static_cast<long>(end));
    }
    return db;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::optional<Database> parseFile(const std::string& path, std::string* why = nullptr) {
    return parse(readFile(path), why);
}

}  // namespace prctest
