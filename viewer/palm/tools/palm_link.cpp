// palm_link OUT.bundle STACK_BYTES CODE1.elf [CODE2.elf ...]
//
// Turns the linked 68000 program parts (big-endian ELF files, each linked at
// address 0 with its relocations kept, -Wl,-q) into the application resources
// of the Palm viewer: 'code' 1, 2, ... (one per part, each entered at its
// first byte; the system starts the application at the start of 'code' 1),
// 'code' 0 (the A5 world sizes and a jump table of one entry), 'data' 0 (no
// initialised globals) and 'pref' 0 (priority, stack and heap sizes).
//
// It refuses a part the system could not run where it is loaded: writable
// data (the viewer keeps its state in one heap block), absolute addresses in
// the code (tables of pointers would point into nowhere), an entry point that
// is not at the start, or a code resource past 64 KB.

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "formats/RegularFile.h"
#include "formats/palm/ResourceBundle.h"
#include "model/AtomicFile.h"

namespace {

using namespace skedlin::palm;

constexpr std::uint16_t kMachine68k = 4;
constexpr std::uint32_t kSectionRela = 4;
constexpr std::uint32_t kSectionSymbols = 2;
constexpr std::uint32_t kSectionNoBits = 8;
constexpr std::uint32_t kFlagAlloc = 0x2;
constexpr std::uint32_t kRelocNone = 0;
constexpr std::uint32_t kRelocPc32 = 4;
constexpr std::uint32_t kRelocPc16 = 5;
constexpr std::uint32_t kRelocPc8 = 6;
constexpr std::size_t kMaxCodeBytes = 65000;

struct Section {
    std::string name;
    std::uint32_t type = 0, flags = 0, address = 0, offset = 0, size = 0, link = 0, info = 0, entrySize = 0;
};

struct Elf {
    Bytes data;
    std::uint32_t entry = 0;
    std::vector<Section> sections;

    bool has(std::size_t at, std::size_t count) const { return skedlin::bytes::ByteReader(data).has(at, count); }
    // Big-endian fields; callers check has() first (a field outside reads as 0).
    std::uint32_t word(std::size_t at) const { return skedlin::bytes::ByteReader(data).read16be(at); }
    std::uint32_t lng(std::size_t at) const { return skedlin::bytes::ByteReader(data).read32be(at); }
};

bool fail(const std::string &message) {
    std::cerr << "palm_link: " << message << "\n";
    return false;
}

bool parse(Elf &elf) {
    const Bytes &d = elf.data;
    if (!elf.has(0, 52) || d[0] != 0x7F || d[1] != 'E' || d[2] != 'L' || d[3] != 'F') return fail("not an ELF file");
    if (d[4] != 1 || d[5] != 2) return fail("not a 32-bit big-endian ELF file");
    if (elf.word(18) != kMachine68k) return fail("not a 68k program");
    elf.entry = elf.lng(24);
    const std::uint32_t sectionTable = elf.lng(32);
    const std::uint32_t sectionEntry = elf.word(46);
    const std::uint32_t sectionCount = elf.word(48);
    const std::uint32_t namesIndex = elf.word(50);
    if (sectionEntry < 40 || !elf.has(sectionTable, std::size_t{sectionEntry} * sectionCount))
        return fail("section table outside the file");
    std::vector<std::uint32_t> nameOffsets;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = sectionTable + std::size_t{i} * sectionEntry;
        Section s;
        nameOffsets.push_back(elf.lng(at));
        s.type = elf.lng(at + 4);
        s.flags = elf.lng(at + 8);
        s.address = elf.lng(at + 12);
        s.offset = elf.lng(at + 16);
        s.size = elf.lng(at + 20);
        s.link = elf.lng(at + 24);
        s.info = elf.lng(at + 28);
        s.entrySize = elf.lng(at + 36);
        if (s.type != kSectionNoBits && !elf.has(s.offset, s.size)) return fail("section outside the file");
        elf.sections.push_back(s);
    }
    if (namesIndex >= elf.sections.size()) return fail("no section names");
    const Section &names = elf.sections[namesIndex];
    for (std::size_t i = 0; i < elf.sections.size(); ++i) {
        for (std::uint32_t at = names.offset + nameOffsets[i]; at < names.offset + names.size && d[at]; ++at)
            elf.sections[i].name += static_cast<char>(d[at]);
    }
    return true;
}

std::string symbolName(const Elf &elf, const Section &symbols, std::uint32_t index) {
    if (symbols.link >= elf.sections.size()) return "?";
    const Section &strings = elf.sections[symbols.link];
    const std::size_t at = symbols.offset + std::size_t{index} * 16;
    if (!elf.has(at, 16)) return "?";
    std::string name;
    for (std::uint32_t i = strings.offset + elf.lng(at); i < strings.offset + strings.size && elf.data[i]; ++i)
        name += static_cast<char>(elf.data[i]);
    return name.empty() ? "(section)" : name;
}

bool checkRelocations(const Elf &elf, std::size_t textIndex) {
    bool ok = true;
    for (const Section &rela : elf.sections) {
        if (rela.type != kSectionRela || rela.info != textIndex) continue;
        if (rela.link >= elf.sections.size()) return fail("relocations without symbols");
        const Section &symbols = elf.sections[rela.link];
        if (symbols.type != kSectionSymbols) return fail("relocations without symbols");
        for (std::uint32_t at = rela.offset; at + 12 <= rela.offset + rela.size; at += 12) {
            const std::uint32_t info = elf.lng(at + 4);
            const std::uint32_t type = info & 0xFF;
            if (type == kRelocNone || type == kRelocPc32 || type == kRelocPc16 || type == kRelocPc8) continue;
            char where[16];
            std::snprintf(where, sizeof where, "0x%04X", elf.lng(at));
            ok = fail("absolute address of " + symbolName(elf, symbols, info >> 8) + " at " + where +
                      " (relocation type " + std::to_string(type) + "); the code must be position-independent");
        }
    }
    return ok;
}

Bytes code0() {
    // The A5 world: 32 bytes above A5 before a jump table of one 8-byte entry,
    // no globals below A5. The entry names offset 0 of segment 1.
    Bytes bytes;
    skedlin::bytes::ByteWriter out(bytes);
    out.put32be(32 + 8);
    out.put32be(0);
    out.put32be(8);
    out.put32be(32);
    out.put16be(0);       // offset of the routine in its segment
    out.put16be(0x3F3C);  // move.w #1,-(sp)
    out.put16be(1);
    out.put16be(0xA9F0);  // _LoadSeg
    return bytes;
}

Bytes data0() {
    // No initialised globals: a zero size, three empty blocks (A5 offset and
    // end byte), and empty relocation tables.
    Bytes bytes;
    skedlin::bytes::ByteWriter out(bytes);
    out.put32be(0);
    for (int block = 0; block < 3; ++block) {
        out.put32be(0);
        out.put8(0);
    }
    for (int i = 0; i < 6; ++i) out.put32be(0);
    return bytes;
}

Bytes pref0(std::uint32_t stackBytes) {
    Bytes bytes;
    skedlin::bytes::ByteWriter out(bytes);
    out.put16be(30);  // task priority
    out.put32be(stackBytes);
    out.put32be(0x1000);  // minimum heap
    return bytes;
}

// Reads one linked part and checks it; the code resource is .text followed by
// .rodata, and nothing else may be loaded.
bool linkPart(const std::string &path, Bytes &code) {
    Elf elf;
    if (const auto read = skedlin::readRegularFile(path, kMaxBundleInputBytes, elf.data); !read.ok())
        return fail("cannot read " + path + ": " + read.message());
    if (!parse(elf)) return fail("in " + path);
    std::size_t textIndex = elf.sections.size(), rodataIndex = elf.sections.size();
    bool ok = true;
    for (std::size_t i = 0; i < elf.sections.size(); ++i) {
        const Section &s = elf.sections[i];
        if (!(s.flags & kFlagAlloc) || s.size == 0) continue;
        if (s.name == ".text") {
            textIndex = i;
        } else if (s.name == ".rodata") {
            rodataIndex = i;
        } else {
            ok = fail(path + ": section " + s.name + " holds " + std::to_string(s.size) +
                      " bytes; the program must not have writable or other loaded data");
        }
    }
    if (textIndex == elf.sections.size()) return fail(path + ": no .text section");
    const Section &text = elf.sections[textIndex];
    if (text.address != 0 || elf.entry != 0) ok = fail(path + ": the entry point must be the first byte of the code");
    code.assign(elf.data.begin() + text.offset, elf.data.begin() + text.offset + text.size);
    if (rodataIndex != elf.sections.size()) {
        const Section &rodata = elf.sections[rodataIndex];
        if (rodata.address < text.address + text.size) {
            ok = fail(path + ": .rodata overlaps .text");
        } else {
            code.resize(rodata.address, 0);
            code.insert(code.end(), elf.data.begin() + rodata.offset, elf.data.begin() + rodata.offset + rodata.size);
        }
        if (!checkRelocations(elf, rodataIndex)) ok = false;
    }
    if (code.size() > kMaxCodeBytes)
        ok = fail(path + ": code of " + std::to_string(code.size()) + " bytes is too large");
    if (!checkRelocations(elf, textIndex)) ok = false;
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::cerr << "usage: palm_link OUT.bundle STACK_BYTES CODE1.elf [CODE2.elf ...]\n";
        return 2;
    }
    const std::uint32_t stack = static_cast<std::uint32_t>(std::stoul(argv[2], nullptr, 0));
    std::vector<BundleResource> resources = {{fourCharCode("code"), 0, code0()}};
    for (int i = 3; i < argc; ++i) {
        Bytes code;
        if (!linkPart(argv[i], code)) return 1;
        resources.push_back({fourCharCode("code"), static_cast<std::uint16_t>(i - 2), std::move(code)});
    }
    resources.push_back({fourCharCode("data"), 0, data0()});
    resources.push_back({fourCharCode("pref"), 0, pref0(stack)});
    if (const auto written = skedlin::writeFileAtomically(argv[1], encodeBundle(resources)); !written.ok())
        return fail(std::string("cannot write ") + argv[1] + ": " + written.message()), 1;
    return 0;
}
