// The viewer program inside the template: its imports as the Windows CE
// loader reads them, and the link step's refusal of code the processors
// cannot run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pe_test_reader.h"
#include "test_templates.h"
#include "viewer/pocketpc/tools/ElfProgram.h"

namespace skedlin::test {
namespace {

struct ExpectedImport {
    std::string dll;
    std::uint16_t ordinal;
    std::string name;
};

const std::vector<ExpectedImport> kTable = {
#define CE_IMPORT(dll, ordinal, name, arguments) {#dll, ordinal, #name},
#include "viewer/pocketpc/shell/ce_imports.h"
#undef CE_IMPORT
};

// Data directory 1 (imports), from the NT headers: signature and file header,
// then the optional header's 96 bytes of fields before its directories.
constexpr std::uint32_t kImportDirectoryField = 4 + 20 + 96 + 8;
constexpr std::uint32_t kByOrdinal = 0x80000000u;

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A relative address to its file offset; 0 when no section holds it.
std::size_t fileOffset(const PeFile& pe, std::uint32_t rva, const PeSection** in = nullptr) {
    for (const PeSection& s : pe.sections)
        if (rva >= s.virtualAddress && rva < s.virtualAddress + s.rawSize) {
            if (in) *in = &s;
            return s.rawOffset + (rva - s.virtualAddress);
        }
    return 0;
}

std::string textAt(const std::vector<std::uint8_t>& image, std::size_t at) {
    std::string text;
    while (at < image.size() && image[at]) text.push_back(static_cast<char>(image[at++]));
    return text;
}

TEST(ViewerProgram, ImportsEveryTableEntryByOrdinalOrNameThroughAWritableAddressTable) {
    const std::vector<std::uint8_t> image = templateBytes();
    const PeFile pe = readPe(image);
    ASSERT_TRUE(pe.faults.empty());
    const std::uint32_t nt = get32(image, 0x3C);
    const std::uint32_t directory = get32(image, nt + kImportDirectoryField);
    ASSERT_NE(directory, 0u);

    std::vector<ExpectedImport> found;
    for (std::size_t at = fileOffset(pe, directory);; at += 20) {
        ASSERT_NE(at, 0u);
        const std::uint32_t lookup = get32(image, at), name = get32(image, at + 12), table = get32(image, at + 16);
        if (!lookup && !name && !table) break;
        const std::string dll = upper(textAt(image, fileOffset(pe, name)));
        ASSERT_EQ(dll.substr(dll.size() - 4), ".DLL");
        const PeSection* tableSection = nullptr;
        std::size_t l = fileOffset(pe, lookup), t = fileOffset(pe, table, &tableSection);
        ASSERT_NE(tableSection, nullptr);
        EXPECT_NE(tableSection->characteristics & 0x80000000u, 0u) << "the loader writes the address table";
        for (;; l += 4, t += 4) {
            const std::uint32_t entry = get32(image, l);
            EXPECT_EQ(get32(image, t), entry) << "address table starts as the lookup table";
            if (!entry) break;
            if (entry & kByOrdinal) {
                found.push_back({dll.substr(0, dll.size() - 4), static_cast<std::uint16_t>(entry & 0xFFFF), ""});
            } else {
                found.push_back({dll.substr(0, dll.size() - 4), 0, textAt(image, fileOffset(pe, entry) + 2)});
            }
        }
    }
    // Every import of the table, in table order within each dll.
    std::vector<ExpectedImport> expected;
    for (const char* dll : {"COREDLL", "OLE32", "OLEAUT32"})
        for (const ExpectedImport& i : kTable)
            if (i.dll == dll) expected.push_back({i.dll, i.ordinal, i.ordinal ? "" : i.name});
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].dll, expected[i].dll) << i;
        EXPECT_EQ(found[i].ordinal, expected[i].ordinal) << i;
        EXPECT_EQ(found[i].name, expected[i].name) << i;
    }
}

std::vector<std::uint8_t> words(std::initializer_list<std::uint32_t> list) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t w : list)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(w >> shift));
    return bytes;
}

TEST(ViewerProgram, InterworkingBranchesAreFoundInCodeButNotInItsData) {
    const std::uint32_t base = 0x11000;
    // mov r0, #0; bx lr
    EXPECT_EQ(ce::findInterworkingBranch(words({0xE3A00000, 0xE12FFF1E}), base, {}), base + 4);
    // blx r3; blx to an address
    EXPECT_EQ(ce::findInterworkingBranch(words({0xE12FFF33}), base, {}), base);
    EXPECT_EQ(ce::findInterworkingBranch(words({0xE1A00000, 0xFA000010}), base, {}), base + 4);
    // mov pc, lr and ldr pc, [ip] are fine; a literal that looks like BX is data.
    EXPECT_EQ(ce::findInterworkingBranch(words({0xE1A0F00E, 0xE59CF000, 0xE12FFF1E}), base, {{base + 8, base + 12}}),
              0u);
}

TEST(ViewerProgram, TheLinkedViewerPassesAndABranchThatSwitchesStateIsRefused) {
    std::vector<std::uint8_t> elf = readFile(SKEDLIN_PPC_VIEWER_ELF);
    ASSERT_FALSE(elf.empty());
    ce::ElfProgram program;
    const ce::ElfResult read = ce::readElfProgram(elf, program);
    ASSERT_TRUE(read.ok()) << read.message();
    ASSERT_EQ(program.sections.size(), 3u);
    EXPECT_EQ(program.sections[0].name, ".text");
    EXPECT_EQ(program.sections[1].name, ".rdata");
    EXPECT_EQ(program.sections[2].name, ".data");
    EXPECT_TRUE(program.sections[2].writable);
    EXPECT_FALSE(program.sections[0].writable);

    // The first instruction of the entry point turned into `bx lr`.
    const ce::ProgramSection& code = program.sections[0];
    const std::uint32_t entryOffset = program.entry - code.address;
    std::size_t fileAt = 0;
    for (std::size_t at = 0; at + code.bytes.size() <= elf.size(); ++at)
        if (std::equal(code.bytes.begin(), code.bytes.end(), elf.begin() + static_cast<std::ptrdiff_t>(at))) {
            fileAt = at;
            break;
        }
    ASSERT_NE(fileAt, 0u);
    const std::vector<std::uint8_t> bx = words({0xE12FFF1E});
    std::copy(bx.begin(), bx.end(), elf.begin() + static_cast<std::ptrdiff_t>(fileAt + entryOffset));
    const ce::ElfResult branch = ce::readElfProgram(elf, program);
    EXPECT_EQ(branch.code(), ce::ElfError::NotLoadable);
    EXPECT_NE(branch.message().find("BX or BLX"), std::string::npos) << branch.message();

    EXPECT_EQ(ce::readElfProgram(std::vector<std::uint8_t>(elf.begin(), elf.begin() + 40), program).code(),
              ce::ElfError::NotElf);
}

}  // namespace
}  // namespace skedlin::test
