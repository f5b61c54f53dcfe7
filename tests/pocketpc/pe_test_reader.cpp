#include "pe_test_reader.h"

#include <fstream>
#include <iterator>

namespace skedlin::test {

std::uint16_t get16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return at + 2 <= b.size() ? static_cast<std::uint16_t>(b[at] | b[at + 1] << 8) : 0;
}

std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return at + 4 <= b.size() ? static_cast<std::uint32_t>(get16(b, at) | std::uint32_t{get16(b, at + 2)} << 16) : 0;
}

const PeResource* PeFile::find(std::uint16_t type, std::uint16_t id) const {
    for (const PeResource& r : resources)
        if (r.type == type && r.id == id) return &r;
    return nullptr;
}

std::vector<std::uint16_t> PeFile::ids(std::uint16_t type) const {
    std::vector<std::uint16_t> out;
    for (const PeResource& r : resources)
        if (r.type == type) out.push_back(r.id);
    return out;
}

namespace {

struct TreeWalk {
    const std::vector<std::uint8_t>& section;
    std::uint32_t used;
    std::uint32_t rva;
    PeFile& pe;

    void fault(const std::string& what) { pe.faults.push_back(what); }

    // Returns the id entries of the directory at `at` as (id, target) pairs.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries(std::uint32_t at, const std::string& what) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
        if (at + 16 > used) {
            fault(what + " directory out of range");
            return out;
        }
        const std::uint32_t named = get16(section, at + 12), ids = get16(section, at + 14);
        if (at + 16 + 8 * (named + ids) > used) {
            fault(what + " entries out of range");
            return out;
        }
        std::uint32_t previous = 0;
        for (std::uint32_t k = named; k < named + ids; ++k) {
            const std::uint32_t id = get32(section, at + 16 + 8 * k), target = get32(section, at + 20 + 8 * k);
            if (k > named && id < previous) fault(what + " ids not ascending");
            previous = id;
            out.emplace_back(id, target);
        }
        return out;
    }

    void walk() {
        for (auto [type, typeTarget] : entries(0, "root")) {
            if (!(typeTarget & 0x80000000u)) {
                fault("type entry is not a directory");
                continue;
            }
            for (auto [id, languageTarget] : entries(typeTarget & 0x7FFFFFFFu, "type")) {
                if (!(languageTarget & 0x80000000u)) {
                    fault("resource entry is not a directory");
                    continue;
                }
                for (auto [language, dataTarget] : entries(languageTarget & 0x7FFFFFFFu, "language")) {
                    if (dataTarget & 0x80000000u) {
                        fault("language entry is a directory");
                        continue;
                    }
                    if (dataTarget + 16 > used) {
                        fault("data entry out of range");
                        continue;
                    }
                    const std::uint32_t dataRva = get32(section, dataTarget), size = get32(section, dataTarget + 4);
                    if (dataRva < rva || std::uint64_t{dataRva} - rva + size > used) {
                        fault("data outside the section");
                        continue;
                    }
                    if ((dataRva - rva) % 4 != 0) fault("data not 4-byte aligned");
                    PeResource r;
                    r.type = static_cast<std::uint16_t>(type);
                    r.id = static_cast<std::uint16_t>(id);
                    r.language = static_cast<std::uint16_t>(language);
                    r.dataOffset = dataRva - rva;
                    r.body.assign(section.begin() + r.dataOffset, section.begin() + r.dataOffset + size);
                    pe.resources.push_back(std::move(r));
                }
            }
        }
    }
};

}  // namespace

PeFile readPe(const std::vector<std::uint8_t>& file) {
    PeFile pe;
    if (file.size() < 64 || get16(file, 0) != 0x5A4D) {
        pe.faults.push_back("no MZ header");
        return pe;
    }
    const std::uint32_t nt = get32(file, 0x3C);
    if (nt + 248 > file.size() || get32(file, nt) != 0x00004550) {
        pe.faults.push_back("no PE header");
        return pe;
    }
    pe.machine = get16(file, nt + 4);
    pe.sectionCount = get16(file, nt + 6);
    const std::uint32_t opt = nt + 24;
    pe.magic = get16(file, opt);
    pe.entryPoint = get32(file, opt + 16);
    pe.imageBase = get32(file, opt + 28);
    pe.sectionAlignment = get32(file, opt + 32);
    pe.fileAlignment = get32(file, opt + 36);
    pe.sizeOfImage = get32(file, opt + 56);
    pe.sizeOfHeaders = get32(file, opt + 60);
    pe.subsystem = get16(file, opt + 68);
    pe.resourceRva = get32(file, opt + 96 + 16);
    pe.resourceSize = get32(file, opt + 96 + 20);
    const std::uint32_t table = opt + get16(file, nt + 20);
    for (std::uint32_t s = 0; s < pe.sectionCount; ++s) {
        const std::uint32_t h = table + 40 * s;
        if (h + 40 > file.size()) {
            pe.faults.push_back("section table out of range");
            return pe;
        }
        PeSection section;
        for (std::uint32_t c = 0; c < 8 && file[h + c]; ++c) section.name.push_back(static_cast<char>(file[h + c]));
        section.virtualSize = get32(file, h + 8);
        section.virtualAddress = get32(file, h + 12);
        section.rawSize = get32(file, h + 16);
        section.rawOffset = get32(file, h + 20);
        section.characteristics = get32(file, h + 36);
        if (std::uint64_t{section.rawOffset} + section.rawSize > file.size())
            pe.faults.push_back("section " + section.name + " data out of range");
        pe.sections.push_back(section);
    }
    for (const PeSection& section : pe.sections) {
        if (section.virtualAddress != pe.resourceRva) continue;
        if (section.virtualSize > section.rawSize || std::uint64_t{section.rawOffset} + section.rawSize > file.size()) {
            pe.faults.push_back("resource section sizes inconsistent");
            return pe;
        }
        const std::vector<std::uint8_t> data(file.begin() + section.rawOffset,
                                             file.begin() + section.rawOffset + section.rawSize);
        TreeWalk{data, section.virtualSize, section.virtualAddress, pe}.walk();
    }
    return pe;
}

std::vector<std::u16string> readStringTable(const std::vector<std::uint8_t>& body) {
    std::vector<std::u16string> out;
    std::size_t at = 0;
    for (int slot = 0; slot < 16; ++slot) {
        if (at + 2 > body.size()) return out;
        const std::size_t length = get16(body, at);
        at += 2;
        if (at + 2 * length > body.size()) return out;
        std::u16string text;
        for (std::size_t k = 0; k < length; ++k) text.push_back(static_cast<char16_t>(get16(body, at + 2 * k)));
        at += 2 * length;
        out.push_back(text);
    }
    return out;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace skedlin::test
