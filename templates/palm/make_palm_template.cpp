// make_palm_template OUT.cpp [OUT.prc]
//
// Builds the Palm viewer template from source: a Palm OS resource database
// (.prc) of type "appl", creator SKL0, name "Skedlin", holding a tiny 68000
// program that starts and ends cleanly, the launcher name (tAIN 1000), the
// launcher icon family (tAIB 1000, 22 x 22) and the small icon (tAIB 1001),
// a version (tver 1) and launch preferences (pref 0). It writes the image as a
// C++ source that embeds it as a 32-bit little-endian byte count followed by the
// bytes, and (optionally) as a plain .prc for inspection.
//
// The builder replaces tAIN 1000 and tAIB 1000 and adds the package's own
// resources. The viewer's display of a package is not part of this
// project: the program only returns errNone for every launch code.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void putWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void putLong(Bytes& out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value >> 16));
    putWord(out, static_cast<std::uint16_t>(value));
}

void putText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// ---- Database header ------------------------------------------------------

constexpr std::string_view kDatabaseName = "Skedlin";
constexpr std::uint16_t kAttributeResourceDatabase = 0x0001;
constexpr std::uint16_t kDatabaseVersion = 1;
// Creation and modification date: the time the template was made, in seconds
// since 1 January 1904 (the Palm OS epoch). Fixed, so that builds are reproducible:
// 7 December 2026 00:00:00 = 3,879,446,400 seconds after the epoch.
constexpr std::uint32_t kTemplateDate = 3879446400u;
constexpr std::uint32_t kTypeApplication = fourCharCode("appl");
constexpr std::uint32_t kCreator = fourCharCode("SKL0");

// ---- The 68000 program ----------------------------------------------------
//
// Palm OS starts an application by calling the start of its 'code' 1 resource
// like a C function: UInt32 PilotMain(UInt16 cmd, MemPtr cmdPBP, UInt16 launchFlags),
// arguments on the stack, result in D0. An application that uses no global
// variables need not call SysAppStartup; it returns errNone (0) for every
// launch code and the system goes back to the launcher. 'code' 0 and 'data' 0
// are still present, laid out as the platform's tools write them, describing
// an empty A5 world (no globals), so that tools that inspect an application
// find what they expect.

// Opcodes, big-endian 16-bit words.
constexpr std::uint16_t kOpOriByteToD0 = 0x0000;    // ori.b  #imm,d0   (with the word below as imm)
constexpr std::uint16_t kOpMoveqZeroToD0 = 0x7000;  // moveq  #0,d0     ; result = errNone
constexpr std::uint16_t kOpRts = 0x4E75;            // rts              ; back to the system
constexpr std::uint16_t kOpMoveWordImmediateToStack = 0x3F3C;  // move.w #imm,-(sp)
constexpr std::uint16_t kTrapLoadSegment = 0xA9F0;  // _LoadSeg, the jump table's segment loader trap

// The first segment starts with the classic 4-byte segment header "0000 0001"
// (jump table offset 0, one entry), as the platform's GCC tools write it. Run
// as code it is "ori.b #1,d0", which only touches D0; so the program is
// correct whether the system enters at offset 0 or after the header.
constexpr std::uint16_t kSegmentHeaderJumpTableOffset = 0x0000;
constexpr std::uint16_t kSegmentHeaderEntryCount = 0x0001;

Bytes programCode1() {
    static_assert(kSegmentHeaderJumpTableOffset == kOpOriByteToD0, "the header must run as a harmless ori.b");
    Bytes code;
    putWord(code, kSegmentHeaderJumpTableOffset);  // ori.b  #1,d0
    putWord(code, kSegmentHeaderEntryCount);
    putWord(code, kOpMoveqZeroToD0);               // moveq  #0,d0   ; errNone
    putWord(code, kOpRts);                         // rts
    return code;
}

// 'code' 0: the A5 world sizes and the jump table (classic 68000 layout).
constexpr std::uint32_t kJumpTableOffsetFromA5 = 32;  // the 32 bytes above A5 before the jump table
constexpr std::uint32_t kJumpTableEntryBytes = 8;
constexpr std::uint16_t kCodeSegmentOfEntry = 1;

Bytes programCode0() {
    Bytes code;
    const std::uint32_t jumpTableBytes = kJumpTableEntryBytes;  // one entry: the program's start
    putLong(code, kJumpTableOffsetFromA5 + jumpTableBytes);     // bytes above A5
    putLong(code, 0);                                           // bytes below A5: no global variables
    putLong(code, jumpTableBytes);                              // jump table length
    putLong(code, kJumpTableOffsetFromA5);                      // jump table offset from A5
    // Entry: offset 0 in segment 1, "move.w #1,-(sp); _LoadSeg".
    putWord(code, 0);
    putWord(code, kOpMoveWordImmediateToStack);
    putWord(code, kCodeSegmentOfEntry);
    putWord(code, kTrapLoadSegment);
    return code;
}

// 'data' 0: the initialised globals, compressed, in up to three blocks, each an
// A5 offset followed by packed runs and a zero byte; then the relocation
// tables. Here every block is empty: size of the initialised data 0, three
// times (A5 offset 0, end byte 0), and six zero longs for the relocation counts.
constexpr int kDataBlocks = 3;
constexpr int kRelocationLongs = 6;

Bytes programData0() {
    Bytes data;
    putLong(data, 0);  // bytes of initialised data
    for (int block = 0; block < kDataBlocks; ++block) {
        putLong(data, 0);   // A5 offset of the block
        data.push_back(0);  // end of the block's packed runs
    }
    for (int i = 0; i < kRelocationLongs; ++i) putLong(data, 0);
    return data;
}

// 'pref' 0: launch preferences.
constexpr std::uint16_t kPriority = 30;
constexpr std::uint32_t kStackBytes = 0x1000;
constexpr std::uint32_t kMinimumHeapBytes = 0x1000;

Bytes preferences() {
    Bytes pref;
    putWord(pref, kPriority);
    putLong(pref, kStackBytes);
    putLong(pref, kMinimumHeapBytes);
    return pref;
}

// ---- Icons ----------------------------------------------------------------
//
// A Palm OS bitmap (BitmapType version 1): width, height, row bytes, flags,
// pixel size, version, next depth offset (in 4-byte words, 0 = last), two
// reserved words; then the rows, each padded to a 16-bit boundary. 1 bit per
// pixel, 1 = black.

constexpr std::uint8_t kBitmapVersion1 = 1;
constexpr std::uint8_t kOneBitPerPixel = 1;

Bytes monochromeBitmap(const std::vector<std::string_view>& rows) {
    const auto height = static_cast<std::uint16_t>(rows.size());
    const auto width = static_cast<std::uint16_t>(rows.empty() ? 0 : rows.front().size());
    const auto rowBytes = static_cast<std::uint16_t>(((width + 15) / 16) * 2);
    Bytes bitmap;
    putWord(bitmap, width);
    putWord(bitmap, height);
    putWord(bitmap, rowBytes);
    putWord(bitmap, 0);  // flags: not compressed, no colour table, no transparency
    bitmap.push_back(kOneBitPerPixel);
    bitmap.push_back(kBitmapVersion1);
    putWord(bitmap, 0);  // next depth offset: the only bitmap of the family
    putWord(bitmap, 0);  // reserved
    putWord(bitmap, 0);  // reserved
    for (std::string_view row : rows) {
        Bytes packed(rowBytes, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            if (row[x] == '#') packed[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        bitmap.insert(bitmap.end(), packed.begin(), packed.end());
    }
    return bitmap;
}

// 22 x 22: a calendar page with rings and a grid of days.
const std::vector<std::string_view> kLauncherIcon = {
    "......................",
    "....##.........##.....",
    "....##.........##.....",
    ".##################...",
    ".#..##.........##.#...",
    ".#################....",
    ".#................#...",
    ".#..#..#..#..#..#.#...",
    ".#................#...",
    ".#..#..#..#..#..#.#...",
    ".#................#...",
    ".#..#..#..####..#.#...",
    ".#.........####...#...",
    ".#..#..#..####..#.#...",
    ".#................#...",
    ".#..#..#..#..#....#...",
    ".#................#...",
    ".##################...",
    "......................",
    "......................",
    "......................",
    "......................",
};

// 15 x 9: the list view's small icon.
const std::vector<std::string_view> kSmallIcon = {
    "..#.......#....",
    "#############..",
    "#...........#..",
    "#.#.#.#.#.#.#..",
    "#...........#..",
    "#.#.#.#.###.#..",
    "#...........#..",
    "#############..",
    "...............",
};

// ---- The database ---------------------------------------------------------

struct Resource {
    std::uint32_t type;
    std::uint16_t id;
    Bytes bytes;
};

Bytes databaseImage(const std::vector<Resource>& resources) {
    Bytes out;
    Bytes name(32, 0);
    std::copy(kDatabaseName.begin(), kDatabaseName.end(), name.begin());
    out.insert(out.end(), name.begin(), name.end());
    putWord(out, kAttributeResourceDatabase);
    putWord(out, kDatabaseVersion);
    putLong(out, kTemplateDate);  // creation date
    putLong(out, kTemplateDate);  // modification date
    putLong(out, 0);              // last backup date
    putLong(out, 0);              // modification number
    putLong(out, 0);              // application info offset
    putLong(out, 0);              // sort info offset
    putLong(out, kTypeApplication);
    putLong(out, kCreator);
    putLong(out, 0);  // unique id seed
    putLong(out, 0);  // next record list id
    putWord(out, static_cast<std::uint16_t>(resources.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(78 + 10 * resources.size() + 2);
    for (const Resource& resource : resources) {
        putLong(out, resource.type);
        putWord(out, resource.id);
        putLong(out, offset);
        offset += static_cast<std::uint32_t>(resource.bytes.size());
    }
    putWord(out, 0);  // the two zero bytes after the list
    for (const Resource& resource : resources) out.insert(out.end(), resource.bytes.begin(), resource.bytes.end());
    return out;
}

Bytes text(std::string_view value) {
    Bytes bytes;
    putText(bytes, value);
    return bytes;
}

std::vector<Resource> templateResources() {
    return {
        {fourCharCode("code"), 0, programCode0()},
        {fourCharCode("code"), 1, programCode1()},
        {fourCharCode("data"), 0, programData0()},
        {fourCharCode("pref"), 0, preferences()},
        {fourCharCode("tver"), 1, text("1.6.2")},
        {fourCharCode("tAIN"), 1000, text("Skedlin")},
        {fourCharCode("tAIB"), 1000, monochromeBitmap(kLauncherIcon)},
        {fourCharCode("tAIB"), 1001, monochromeBitmap(kSmallIcon)},
    };
}

bool writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return static_cast<bool>(out.flush());
}

std::string embeddingSource(const Bytes& image) {
    Bytes blob;
    const auto count = static_cast<std::uint32_t>(image.size());
    for (int shift = 0; shift < 32; shift += 8) blob.push_back(static_cast<std::uint8_t>(count >> shift));  // little-endian
    blob.insert(blob.end(), image.begin(), image.end());
    std::string source =
        "// Generated by make_palm_template: do not edit.\n"
        "#include <cstddef>\n"
        "extern const unsigned char kSkedlinPalmTemplateBlob[];\n"
        "extern const std::size_t kSkedlinPalmTemplateBlobSize;\n"
        "alignas(4) const unsigned char kSkedlinPalmTemplateBlob[] = {";
    for (std::size_t i = 0; i < blob.size(); ++i) {
        if (i % 16 == 0) source += "\n  ";
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X,", blob[i]);
        source += number;
    }
    source += "\n};\nconst std::size_t kSkedlinPalmTemplateBlobSize = sizeof kSkedlinPalmTemplateBlob;\n";
    return source;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_palm_template OUT.cpp [OUT.prc]\n";
        return 2;
    }
    const Bytes image = databaseImage(templateResources());
    if (!writeFile(argv[1], embeddingSource(image))) {
        std::cerr << "make_palm_template: cannot write " << argv[1] << "\n";
        return 1;
    }
    if (argc > 2 && !writeFile(argv[2], std::string(image.begin(), image.end()))) {
        std::cerr << "make_palm_template: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
