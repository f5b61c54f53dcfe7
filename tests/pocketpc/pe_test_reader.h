#pragma once
// A small PE reader of the tests' own, written from the format and sharing no
// code with the builder, that reads a written executable back: its headers,
// its sections and a resource tree checked for consistency on the way.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace skedlin::test {

struct PeSection {
    std::string name;
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0, characteristics = 0;
};

struct PeResource {
    std::uint16_t type = 0;
    std::uint16_t id = 0;
    std::uint16_t language = 0;
    std::uint32_t dataOffset = 0;  // from the start of the resource section
    std::vector<std::uint8_t> body;
};

struct PeFile {
    std::uint16_t machine = 0, sectionCount = 0, subsystem = 0, magic = 0;
    std::uint32_t entryPoint = 0, imageBase = 0, sectionAlignment = 0, fileAlignment = 0;
    std::uint32_t sizeOfImage = 0, sizeOfHeaders = 0, resourceRva = 0, resourceSize = 0;
    std::vector<PeSection> sections;
    // Resources in tree order (types ascending, then entries as stored).
    std::vector<PeResource> resources;
    // Faults found while reading; empty for a sound file.
    std::vector<std::string> faults;

    const PeResource* find(std::uint16_t type, std::uint16_t id) const;
    std::vector<std::uint16_t> ids(std::uint16_t type) const;
};

PeFile readPe(const std::vector<std::uint8_t>& file);

std::uint16_t get16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t at);

// The sixteen strings of a string-table body as UTF-16 code units; an
// unreadable body gives fewer than sixteen.
std::vector<std::u16string> readStringTable(const std::vector<std::uint8_t>& body);

std::vector<std::uint8_t> readFile(const std::string& path);

}  // namespace skedlin::test
