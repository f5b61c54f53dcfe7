#pragma once
// The viewer as the ARM linker leaves it (an ELF executable laid out at the
// Windows CE addresses), read and checked for what a Pocket PC executable
// may hold: ARM code only (no Thumb, no BX or BLX, which the older
// processors lack), the three sections .text, .rdata and .data, and the
// import directory and import address table the import thunks use.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/Result.h"

namespace skedlin::ce {

struct ProgramSection {
    std::string name;
    std::uint32_t address = 0;     // where the loader maps it (image base + RVA)
    std::uint32_t memorySize = 0;  // bytes in memory; beyond `bytes` they are zero
    std::vector<std::uint8_t> bytes;
    bool writable = false, executable = false;
};

struct ElfProgram {
    std::vector<ProgramSection> sections;  // in address order
    std::uint32_t entry = 0;
    std::uint32_t importDirectory = 0, importDirectorySize = 0;
    std::uint32_t importAddressTable = 0, importAddressTableSize = 0;
};

inline constexpr std::uint32_t kImageBase = 0x00010000;
inline constexpr std::uint32_t kSectionAlignment = 0x1000;

enum class ElfError {
    None,
    NotElf,
    NotArmExecutable,  // not a 32-bit little-endian ARM executable
    Damaged,           // the section table or a section lies outside the file
    NotLoadable,       // content a Pocket PC executable cannot hold (Thumb code, other sections, ...)
};

// On failure the message says why, in words.
using ElfResult = Result<ElfError>;

// Reads the linked ELF file's bytes.
ElfResult readElfProgram(const std::vector<std::uint8_t> &elf, ElfProgram &program);

// The address of the first BX/BLX instruction in ARM code words of `code`
// (mapped at `address`), skipping the words in `dataRanges` (start, end);
// 0 when there is none.
std::uint32_t findInterworkingBranch(const std::vector<std::uint8_t> &code, std::uint32_t address,
                                     const std::vector<std::pair<std::uint32_t, std::uint32_t>> &dataRanges);

}  // namespace skedlin::ce
