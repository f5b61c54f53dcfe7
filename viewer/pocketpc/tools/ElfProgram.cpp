#include "viewer/pocketpc/tools/ElfProgram.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "formats/Bytes.h"
#include "formats/elf/ElfLayout.h"

namespace skedlin::ce {

namespace {

// ARM instructions that switch to Thumb state: BX, BLX (register), BLX (immediate).
constexpr std::uint32_t kBxMask = 0x0FFFFFF0, kBx = 0x012FFF10, kBlxRegister = 0x012FFF30;
constexpr std::uint32_t kBlxImmediateMask = 0xFE000000, kBlxImmediate = 0xFA000000;

struct Section {
    std::string name;
    std::uint32_t nameOffset, type, flags, address, offset, size, link;
};

bool fits(const std::vector<std::uint8_t> &bytes, std::uint64_t offset, std::uint64_t size) {
    return offset <= bytes.size() && size <= bytes.size() - offset;
}

std::string nameAt(const std::vector<std::uint8_t> &elf, const Section &table, std::uint32_t offset) {
    std::string name;
    for (std::uint64_t at = std::uint64_t(table.offset) + offset;
         at < std::uint64_t(table.offset) + table.size && at < elf.size() && elf[at]; ++at)
        name.push_back(static_cast<char>(elf[at]));
    return name;
}

}  // namespace

std::uint32_t findInterworkingBranch(const std::vector<std::uint8_t> &code, std::uint32_t address,
                                     const std::vector<std::pair<std::uint32_t, std::uint32_t>> &dataRanges) {
    for (std::uint32_t at = 0; at + 4 <= code.size(); at += 4) {
        const std::uint32_t where = address + at;
        const bool data = std::any_of(dataRanges.begin(), dataRanges.end(),
                                      [&](const auto &r) { return where >= r.first && where < r.second; });
        if (data) continue;
        const std::uint32_t word = bytes::ByteReader(code).read32le(at);
        if ((word & kBxMask) == kBx || (word & kBxMask) == kBlxRegister || (word & kBlxImmediateMask) == kBlxImmediate)
            return where;
    }
    return 0;
}

ElfResult readElfProgram(const std::vector<std::uint8_t> &elf, ElfProgram &program) {
    program = {};
    bytes::ByteReader in(elf);
    if (elf.size() < elf::kHeaderSize || elf[0] != 0x7F || elf[1] != 'E' || elf[2] != 'L' || elf[3] != 'F') {
        return {ElfError::NotElf, "not an ELF file"};
    }
    if (elf[elf::kIdentClass] != elf::kClass32 || elf[elf::kIdentData] != elf::kDataLittleEndian ||
        in.read16le(elf::kTypeField) != elf::kTypeExecutable || in.read16le(elf::kMachineField) != elf::kMachineArm) {
        return {ElfError::NotArmExecutable, "not a 32-bit little-endian ARM executable"};
    }
    program.entry = in.read32le(elf::kEntryField);
    const std::uint32_t tableOffset = in.read32le(elf::kSectionTableField);
    const std::uint16_t entrySize = in.read16le(elf::kSectionEntrySizeField);
    const std::uint16_t count = in.read16le(elf::kSectionCountField);
    const std::uint16_t namesIndex = in.read16le(elf::kSectionNamesIndexField);
    if (entrySize != elf::kSectionEntrySize || !fits(elf, tableOffset, std::uint64_t(count) * elf::kSectionEntrySize) ||
        namesIndex >= count) {
        return {ElfError::Damaged, "damaged section table"};
    }
    std::vector<Section> sections(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t e = tableOffset + std::uint64_t{i} * elf::kSectionEntrySize;
        sections[i] = {"",
                       in.read32le(e + elf::kSectionNameField),
                       in.read32le(e + elf::kSectionTypeField),
                       in.read32le(e + elf::kSectionFlagsField),
                       in.read32le(e + elf::kSectionAddressField),
                       in.read32le(e + elf::kSectionOffsetField),
                       in.read32le(e + elf::kSectionSizeField),
                       in.read32le(e + elf::kSectionLinkField)};
        if (sections[i].type != elf::kSectionTypeNoBits && !fits(elf, sections[i].offset, sections[i].size)) {
            return {ElfError::Damaged, "a section lies outside the file"};
        }
    }
    for (Section &s : sections) s.name = nameAt(elf, sections[namesIndex], s.nameOffset);

    // The sections the loader maps.
    for (const Section &s : sections) {
        if (!(s.flags & elf::kSectionFlagAlloc) || s.size == 0) continue;
        if (s.name != ".text" && s.name != ".rdata" && s.name != ".data") {
            return {ElfError::NotLoadable,
                    "unexpected section " + s.name + " (only .text, .rdata and .data may be loaded)"};
        }
        if (s.address < kImageBase + kSectionAlignment || s.address % kSectionAlignment) {
            return {ElfError::NotLoadable, "section " + s.name + " is not at a page of the image"};
        }
        ProgramSection out;
        out.name = s.name;
        out.address = s.address;
        out.memorySize = s.size;
        out.writable = s.flags & elf::kSectionFlagWrite;
        out.executable = s.flags & elf::kSectionFlagExecute;
        if (s.type != elf::kSectionTypeNoBits)
            out.bytes.assign(elf.begin() + s.offset, elf.begin() + s.offset + s.size);
        program.sections.push_back(std::move(out));
    }
    std::sort(program.sections.begin(), program.sections.end(),
              [](const ProgramSection &a, const ProgramSection &b) { return a.address < b.address; });
    if (program.sections.empty() || program.sections.front().name != ".text") {
        return {ElfError::NotLoadable, "no code section"};
    }

    // Symbols: the import tables, and the assembler's marks of ARM code,
    // Thumb code and data inside the code.
    std::map<std::string, std::uint32_t> symbols;
    std::vector<std::pair<std::uint32_t, char>> marks;
    for (const Section &s : sections) {
        if (s.type != elf::kSectionTypeSymbols || s.link >= count) continue;
        for (std::uint32_t at = 0; at + elf::kSymbolSize <= s.size; at += elf::kSymbolSize) {
            const std::uint64_t sym = std::uint64_t{s.offset} + at;
            const std::string name = nameAt(elf, sections[s.link], in.read32le(sym + elf::kSymbolNameField));
            const std::uint32_t value = in.read32le(sym + elf::kSymbolValueField);
            const std::uint16_t shndx = in.read16le(sym + elf::kSymbolSectionField);
            if (name.empty()) continue;
            if (shndx == elf::kUndefinedSection) {
                return {ElfError::NotLoadable, "undefined symbol " + name};
            }
            if (name[0] == elf::kMappingSymbolPrefix && name.size() >= 2)
                marks.emplace_back(value, name[1]);
            else
                symbols[name] = value;
        }
    }
    for (const auto &[address, kind] : marks) {
        if (kind == elf::kMappingThumb) {
            return {ElfError::NotLoadable, "Thumb code in the program"};
        }
    }
    const ProgramSection &code = program.sections.front();
    std::sort(marks.begin(), marks.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> data;
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (marks[i].second == elf::kMappingData)
            data.emplace_back(marks[i].first,
                              i + 1 < marks.size() ? marks[i + 1].first : code.address + code.memorySize);
    if (std::uint32_t at = findInterworkingBranch(code.bytes, code.address, data)) {
        char where[16];
        std::snprintf(where, sizeof where, "0x%08X", at);
        return {ElfError::NotLoadable,
                std::string("BX or BLX instruction at ") + where + " (ARMv4 processors do not have it)"};
    }

    for (const char *name : {"__ce_import_directory", "__ce_import_directory_end", "__ce_iat_start", "__ce_iat_end"}) {
        if (!symbols.count(name)) {
            return {ElfError::NotLoadable,
                    std::string("missing symbol ") + name + " (the import tables are not linked in)"};
        }
    }
    program.importDirectory = symbols["__ce_import_directory"];
    program.importDirectorySize = symbols["__ce_import_directory_end"] - program.importDirectory;
    program.importAddressTable = symbols["__ce_iat_start"];
    program.importAddressTableSize = symbols["__ce_iat_end"] - program.importAddressTable;
    if (program.entry < code.address || program.entry >= code.address + code.memorySize) {
        return {ElfError::NotLoadable, "the entry point is outside the code"};
    }
    return {};
}

}  // namespace skedlin::ce
