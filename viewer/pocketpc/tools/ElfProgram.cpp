#include "viewer/pocketpc/tools/ElfProgram.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "formats/Bytes.h"

namespace skedlin::ce {

namespace {

// ELF32 header and table layouts (little-endian files only).
constexpr std::uint32_t kIdentSize = 16;
constexpr std::uint8_t kClass32 = 1, kDataLittleEndian = 1;
constexpr std::uint16_t kTypeExecutable = 2, kMachineArm = 40;
constexpr std::uint32_t kHeaderSize = 52;
constexpr std::uint32_t kEntryField = 24, kSectionTableField = 32, kSectionEntrySizeField = 46,
                        kSectionCountField = 48, kSectionNamesIndexField = 50;
constexpr std::uint32_t kSectionEntrySize = 40;
constexpr std::uint32_t kSymbolSize = 16;
constexpr std::uint32_t kSectionTypeSymbols = 2, kSectionTypeNoBits = 8;
constexpr std::uint32_t kFlagWrite = 1, kFlagAlloc = 2, kFlagExecute = 4;
constexpr std::uint16_t kUndefinedSection = 0;

// ARM instructions that switch to Thumb state: BX, BLX (register), BLX (immediate).
constexpr std::uint32_t kBxMask = 0x0FFFFFF0, kBx = 0x012FFF10, kBlxRegister = 0x012FFF30;
constexpr std::uint32_t kBlxImmediateMask = 0xFE000000, kBlxImmediate = 0xFA000000;

struct Section {
    std::string name;
    std::uint32_t nameOffset, type, flags, address, offset, size, link;
};

bool fits(const std::vector<std::uint8_t>& bytes, std::uint64_t offset, std::uint64_t size) {
    return offset <= bytes.size() && size <= bytes.size() - offset;
}

std::string nameAt(const std::vector<std::uint8_t>& elf, const Section& table, std::uint32_t offset) {
    std::string name;
    for (std::uint64_t at = std::uint64_t(table.offset) + offset; at < std::uint64_t(table.offset) + table.size && at < elf.size() && elf[at];
         ++at)
        name.push_back(static_cast<char>(elf[at]));
    return name;
}

}  // namespace

std::uint32_t findInterworkingBranch(const std::vector<std::uint8_t>& code, std::uint32_t address,
                                     const std::vector<std::pair<std::uint32_t, std::uint32_t>>& dataRanges) {
    for (std::uint32_t at = 0; at + 4 <= code.size(); at += 4) {
        const std::uint32_t where = address + at;
        const bool data = std::any_of(dataRanges.begin(), dataRanges.end(),
                                      [&](const auto& r) { return where >= r.first && where < r.second; });
        if (data) continue;
        const std::uint32_t word = bytes::ByteReader(code).read32le(at);
        if ((word & kBxMask) == kBx || (word & kBxMask) == kBlxRegister || (word & kBlxImmediateMask) == kBlxImmediate)
            return where;
    }
    return 0;
}

bool readElfProgram(const std::vector<std::uint8_t>& elf, ElfProgram& program, std::string& error) {
    program = {};
    bytes::ByteReader in(elf);
    if (elf.size() < kHeaderSize || elf[0] != 0x7F || elf[1] != 'E' || elf[2] != 'L' || elf[3] != 'F') {
        error = "not an ELF file";
        return false;
    }
    if (elf[4] != kClass32 || elf[5] != kDataLittleEndian || in.read16le(kIdentSize) != kTypeExecutable ||
        in.read16le(kIdentSize + 2) != kMachineArm) {
        error = "not a 32-bit little-endian ARM executable";
        return false;
    }
    program.entry = in.read32le(kEntryField);
    const std::uint32_t tableOffset = in.read32le(kSectionTableField);
    const std::uint16_t entrySize = in.read16le(kSectionEntrySizeField);
    const std::uint16_t count = in.read16le(kSectionCountField);
    const std::uint16_t namesIndex = in.read16le(kSectionNamesIndexField);
    if (entrySize != kSectionEntrySize || !fits(elf, tableOffset, std::uint64_t(count) * kSectionEntrySize) ||
        namesIndex >= count) {
        error = "damaged section table";
        return false;
    }
    std::vector<Section> sections(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t e = tableOffset + std::uint64_t{i} * kSectionEntrySize;
        sections[i] = {"",
                       in.read32le(e),
                       in.read32le(e + 4),
                       in.read32le(e + 8),
                       in.read32le(e + 12),
                       in.read32le(e + 16),
                       in.read32le(e + 20),
                       in.read32le(e + 24)};
        if (sections[i].type != kSectionTypeNoBits && !fits(elf, sections[i].offset, sections[i].size)) {
            error = "a section lies outside the file";
            return false;
        }
    }
    for (Section& s : sections) s.name = nameAt(elf, sections[namesIndex], s.nameOffset);

    // The sections the loader maps.
    for (const Section& s : sections) {
        if (!(s.flags & kFlagAlloc) || s.size == 0) continue;
        if (s.name != ".text" && s.name != ".rdata" && s.name != ".data") {
            error = "unexpected section " + s.name + " (only .text, .rdata and .data may be loaded)";
            return false;
        }
        if (s.address < kImageBase + kSectionAlignment || s.address % kSectionAlignment) {
            error = "section " + s.name + " is not at a page of the image";
            return false;
        }
        ProgramSection out;
        out.name = s.name;
        out.address = s.address;
        out.memorySize = s.size;
        out.writable = s.flags & kFlagWrite;
        out.executable = s.flags & kFlagExecute;
        if (s.type != kSectionTypeNoBits) out.bytes.assign(elf.begin() + s.offset, elf.begin() + s.offset + s.size);
        program.sections.push_back(std::move(out));
    }
    std::sort(program.sections.begin(), program.sections.end(),
              [](const ProgramSection& a, const ProgramSection& b) { return a.address < b.address; });
    if (program.sections.empty() || program.sections.front().name != ".text") {
        error = "no code section";
        return false;
    }

    // Symbols: the import tables, and the assembler's marks of ARM code,
    // Thumb code and data inside the code.
    std::map<std::string, std::uint32_t> symbols;
    std::vector<std::pair<std::uint32_t, char>> marks;
    for (const Section& s : sections) {
        if (s.type != kSectionTypeSymbols || s.link >= count) continue;
        for (std::uint32_t at = 0; at + kSymbolSize <= s.size; at += kSymbolSize) {
            const std::uint64_t sym = std::uint64_t{s.offset} + at;
            const std::string name = nameAt(elf, sections[s.link], in.read32le(sym));
            const std::uint32_t value = in.read32le(sym + 4);
            const std::uint16_t shndx = in.read16le(sym + 14);
            if (name.empty()) continue;
            if (shndx == kUndefinedSection) {
                error = "undefined symbol " + name;
                return false;
            }
            if (name[0] == '$' && name.size() >= 2) marks.emplace_back(value, name[1]);
            else symbols[name] = value;
        }
    }
    for (const auto& [address, kind] : marks) {
        if (kind == 't') {
            error = "Thumb code in the program";
            return false;
        }
    }
    const ProgramSection& code = program.sections.front();
    std::sort(marks.begin(), marks.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> data;
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (marks[i].second == 'd')
            data.emplace_back(marks[i].first, i + 1 < marks.size() ? marks[i + 1].first : code.address + code.memorySize);
    if (std::uint32_t at = findInterworkingBranch(code.bytes, code.address, data)) {
        char where[16];
        std::snprintf(where, sizeof where, "0x%08X", at);
        error = std::string("BX or BLX instruction at ") + where + " (ARMv4 processors do not have it)";
        return false;
    }

    for (const char* name : {"__ce_import_directory", "__ce_import_directory_end", "__ce_iat_start", "__ce_iat_end"}) {
        if (!symbols.count(name)) {
            error = std::string("missing symbol ") + name + " (the import tables are not linked in)";
            return false;
        }
    }
    program.importDirectory = symbols["__ce_import_directory"];
    program.importDirectorySize = symbols["__ce_import_directory_end"] - program.importDirectory;
    program.importAddressTable = symbols["__ce_iat_start"];
    program.importAddressTableSize = symbols["__ce_iat_end"] - program.importAddressTable;
    if (program.entry < code.address || program.entry >= code.address + code.memorySize) {
        error = "the entry point is outside the code";
        return false;
    }
    return true;
}

}  // namespace skedlin::ce
