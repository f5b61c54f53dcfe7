// What PocketPcExecutable puts into the executable, read back by the tests'
// own PE reader.

#include <filesystem>

#include <gtest/gtest.h>

#include "pe_test_reader.h"
#include "test_templates.h"
#include "formats/pe/ResourceTree.h"

namespace skedlin::test {
namespace {

constexpr std::uint16_t kBitmap = 2, kIcon = 3, kStrings = 6, kRawData = 10, kGroupIcon = 14;

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) { return list; }

BmpImage loadedBitmap(const std::string& path) {
    BmpImage image;
    EXPECT_TRUE(image.loadFile(path)) << path;
    return image;
}

TEST(PocketPcExecutable, RecordGoesRightAfterTheEntryBeforeItsId) {
    auto exe = loadTemplate();
    const std::vector<std::uint8_t> record = {1, 2, 3, 4, 5, 6, 7};
    exe->addRecord(7000, record);
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kRawData), (std::vector<std::uint16_t>{100, 7000}));
    const PeResource* anchor = pe.find(kRawData, 100);
    const PeResource* added = pe.find(kRawData, 7000);
    ASSERT_TRUE(anchor && added);
    EXPECT_EQ(added->body, record);
    EXPECT_EQ(added->language, 1033);
    EXPECT_EQ(added->dataOffset, (anchor->dataOffset + anchor->body.size() + 3) / 4 * 4);
}

TEST(PocketPcExecutable, IdsInsertedOutOfOrderAreListedAscendingWithBodiesAligned) {
    auto exe = loadTemplate();
    exe->addRecord(7001, bytes({0xA1, 0xA2, 0xA3, 0xA4, 0xA5}));
    exe->addRecord(7000, bytes({0xB1}));
    exe->addRecord(7000, bytes({0xC1, 0xC2}));  // an equal id goes after the earlier one
    std::vector<std::uint8_t> image;
    const PeFile pe = built(*exe, &image);
    EXPECT_EQ(pe.ids(kRawData), (std::vector<std::uint16_t>{100, 7000, 7000, 7001}));
    std::vector<const PeResource*> raw;
    for (const PeResource& r : pe.resources)
        if (r.type == kRawData) raw.push_back(&r);
    EXPECT_EQ(raw[1]->body, bytes({0xB1}));
    EXPECT_EQ(raw[2]->body, bytes({0xC1, 0xC2}));
    EXPECT_EQ(raw[3]->body.size(), 5u);
    // Bodies follow each other at 4-byte steps, the padding zero.
    EXPECT_EQ(raw[2]->dataOffset, raw[1]->dataOffset + 4);
    EXPECT_EQ(raw[3]->dataOffset, raw[2]->dataOffset + 4);
    const std::size_t fiveByteBody = pe.sections.back().rawOffset + raw[3]->dataOffset;
    EXPECT_EQ(image[fiveByteBody + 4], 0xA5);
    EXPECT_EQ(image[fiveByteBody + 5], 0);
    EXPECT_EQ(image[fiveByteBody + 6], 0);
    EXPECT_EQ(image[fiveByteBody + 7], 0);
    // What followed resource 100 in the template (the group icon) is intact.
    EXPECT_EQ(pe.find(kGroupIcon, 128)->body, readPe(templateBytes()).find(kGroupIcon, 128)->body);
}

TEST(PocketPcExecutable, PackageStringsShareBlock251WithEmptySlotsElsewhere) {
    auto exe = loadTemplate();
    exe->addNumber(4005, 2);
    exe->addString(4000, "Season\n2003");
    exe->addString(4001, "Caf\xE9 \x80");  // Windows-1252 e acute and euro sign
    exe->addString(4004, "");
    exe->addString(5000, "first group");
    exe->addString(6001, "B");
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kStrings), (std::vector<std::uint16_t>{1, 251, 313, 376}));
    const auto slots = readStringTable(pe.find(kStrings, 251)->body);
    ASSERT_EQ(slots.size(), 16u);
    for (std::size_t slot = 0; slot < 16; ++slot) {
        switch (slot) {
        case 0: EXPECT_EQ(slots[slot], u"Season\r\n2003"); break;
        case 1: EXPECT_EQ(slots[slot], u"Caf\u00E9 \u20AC"); break;
        case 5: EXPECT_EQ(slots[slot], u"2"); break;
        default: EXPECT_EQ(slots[slot], u"") << "slot " << slot;
        }
    }
    EXPECT_EQ(readStringTable(pe.find(kStrings, 313)->body)[8], u"first group");
    EXPECT_EQ(readStringTable(pe.find(kStrings, 376)->body)[1], u"B");
}

TEST(PocketPcExecutable, BlockAddedAgainAfterFlushIsMergedNotDuplicated) {
    auto exe = loadTemplate();
    exe->addString(4000, "title");
    exe->addString(5000, "group text");  // flushes block 250
    exe->addString(4001, "description");
    exe->addString(4000, "new title");
    exe->addString(17, "template block");  // block 1 comes with the template
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kStrings), (std::vector<std::uint16_t>{1, 2, 251, 313}));
    auto slots = readStringTable(pe.find(kStrings, 251)->body);
    ASSERT_EQ(slots.size(), 16u);
    EXPECT_EQ(slots[0], u"new title");
    EXPECT_EQ(slots[1], u"description");

    auto again = loadTemplate();
    again->addString(2, "beside the viewer name");
    const PeFile merged = built(*again);
    EXPECT_EQ(merged.ids(kStrings), (std::vector<std::uint16_t>{1}));
    slots = readStringTable(merged.find(kStrings, 1)->body);
    EXPECT_EQ(slots[1], u"Skedlin Viewer");
    EXPECT_EQ(slots[2], u"beside the viewer name");
}

TEST(PocketPcExecutable, HeadersFollowTheGrownResourceSection) {
    auto exe = loadTemplate();
    std::vector<std::uint8_t> record(300, 0x5A);
    for (std::uint16_t id = 7000; id < 7100; ++id) exe->addRecord(id, record);
    std::vector<std::uint8_t> image;
    const PeFile pe = built(*exe, &image);
    EXPECT_EQ(pe.ids(kRawData).size(), 101u);
    const PeSection& rsrc = pe.sections.back();
    EXPECT_GT(rsrc.virtualSize, 100u * 300u);
    EXPECT_EQ(pe.resourceSize, rsrc.virtualSize);
    EXPECT_EQ(rsrc.rawSize % 0x200, 0u);
    EXPECT_GE(rsrc.rawSize, rsrc.virtualSize);
    EXPECT_EQ(image.size(), std::size_t{rsrc.rawOffset} + rsrc.rawSize);
    // The image ends with the last section in memory, rounded to the section alignment.
    EXPECT_EQ(pe.sizeOfImage, (rsrc.virtualAddress + rsrc.virtualSize + 0xFFF) / 0x1000 * 0x1000);
    // The sections before the resources are untouched.
    const std::vector<std::uint8_t> original = templateBytes();
    const std::size_t codeStart = pe.sections.front().rawOffset;
    EXPECT_TRUE(std::equal(original.begin() + codeStart, original.begin() + rsrc.rawOffset, image.begin() + codeStart));
}

TEST(PocketPcExecutable, LogoBitmapIsTheFileWithoutItsFileHeader) {
    ScratchFolder folder;
    const auto file = readFile(std::string(SKEDLIN_CORPUS) + "/bmp/bmpsuite/g/pal8.bmp");
    ASSERT_GT(file.size(), 14u);
    auto exe = loadTemplate();
    exe->addBitmap(4000, std::span(file).subspan(14));
    exe->addBitmap(4001, {});  // nothing to insert
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kBitmap), (std::vector<std::uint16_t>{100, 4000}));
    EXPECT_EQ(pe.find(kBitmap, 4000)->body, std::vector<std::uint8_t>(file.begin() + 14, file.end()));
}

TEST(PocketPcExecutable, IconsAreInsertedAndGroup128Updated) {
    ScratchFolder folder;
    // 8 bits, grey palette: white (255) in the top left corner only.
    const auto large =
        folder.write("large.bmp", makeBmp(32, 32, 8, [](int x, int y) { return x < 9 && y == 0 ? 255u : 40u; }));
    // 24 bits: white in the right column.
    const auto small =
        folder.write("small.bmp", makeBmp(16, 16, 24, [](int x, int) { return x == 15 ? 0xFFFFFFu : 0xFEFFFFu; }));
    auto exe = loadTemplate();
    exe->addIcon(128, loadedBitmap(large));
    exe->addIcon(128, loadedBitmap(small));
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kIcon), (std::vector<std::uint16_t>{1, 2, 3, 4}));

    const auto& group = pe.find(kGroupIcon, 128)->body;
    const auto& largeIcon = pe.find(kIcon, 3)->body;
    const auto& smallIcon = pe.find(kIcon, 4)->body;
    EXPECT_EQ(group[6], 32);
    EXPECT_EQ(get16(group, 6 + 6), 8);
    EXPECT_EQ(get32(group, 6 + 8), largeIcon.size());
    EXPECT_EQ(get16(group, 6 + 12), 3);
    EXPECT_EQ(group[20], 16);
    EXPECT_EQ(get16(group, 20 + 6), 24);
    EXPECT_EQ(get32(group, 20 + 8), smallIcon.size());
    EXPECT_EQ(get16(group, 20 + 12), 4);
    EXPECT_EQ(group[6 + 2], 16) << "fields other than bit count, size and id keep the template's values";

    // 32 x 32 x 8: header (height doubled), 256 palette entries, 32 rows of 32, mask 32 rows of 4.
    ASSERT_EQ(largeIcon.size(), 40u + 1024u + 1024u + 128u);
    EXPECT_EQ(get32(largeIcon, 8), 64u);
    const std::size_t largeMask = 40 + 1024 + 1024;
    EXPECT_EQ(largeIcon[largeMask + 31 * 4], 0xFF);  // top row stored last: nine white pixels
    EXPECT_EQ(largeIcon[largeMask + 31 * 4 + 1], 0x80);
    EXPECT_EQ(largeIcon[largeMask + 31 * 4 + 2], 0x00);
    EXPECT_EQ(largeIcon[largeMask], 0x00);  // bottom row: none
    // 16 x 16 x 24: no palette, rows of 48 bytes, mask rows of 4 bytes with bit 15 set.
    ASSERT_EQ(smallIcon.size(), 40u + 16u * 48u + 16u * 4u);
    const std::size_t smallMask = 40 + 16 * 48;
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(smallIcon[smallMask + 4 * row], 0x00);
        EXPECT_EQ(smallIcon[smallMask + 4 * row + 1], 0x01);
    }
}

TEST(PocketPcExecutable, IconWithoutMatchingGroupEntryLeavesGroupAlone) {
    ScratchFolder folder;
    const auto wide = folder.write("wide.bmp", makeBmp(24, 24, 8, [](int, int) { return 0u; }));
    auto exe = loadTemplate();
    exe->addIcon(128, loadedBitmap(wide));
    exe->addIcon(129, loadedBitmap(folder.write("other.bmp", makeBmp(16, 16, 8, [](int, int) { return 1u; }))));
    const PeFile pe = built(*exe);
    EXPECT_EQ(pe.ids(kIcon), (std::vector<std::uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(pe.find(kGroupIcon, 128)->body, readPe(templateBytes()).find(kGroupIcon, 128)->body);
}

TEST(PocketPcExecutable, TypeMissingFromTemplateTakesNothing) {
    // The template without its bitmap directory, laid out anew.
    const std::uint32_t rva = readPe(templateBytes()).resourceRva;
    const auto image = templateWithSection([rva](std::vector<std::uint8_t>& s) {
        ResourceTree tree;
        const auto parsed = tree.parse(s, rva);
        ASSERT_TRUE(parsed.ok()) << parsed.message();
        ASSERT_EQ(tree.types.erase(kBitmap), 1u);
        s = tree.serialize(rva);
    });
    auto exe = loadImage(image);
    ASSERT_TRUE(exe);
    ScratchFolder folder;
    const auto logo = readFile(folder.write("logo.bmp", makeBmp(8, 8, 8, [](int x, int) { return x * 30u; })));
    exe->addBitmap(4000, std::span(logo).subspan(14));
    exe->addRecord(7000, bytes({1}));
    const PeFile pe = built(*exe);
    EXPECT_TRUE(pe.ids(kBitmap).empty());
    EXPECT_EQ(pe.ids(kRawData), (std::vector<std::uint16_t>{100, 7000}));
}

TEST(PocketPcExecutable, DamagedTemplatesAreRefusedWithAReason) {
    const std::vector<std::uint8_t> good = templateBytes();
    const std::uint32_t nt = get32(good, 0x3C);
    std::unique_ptr<PocketPcExecutable> exe;
    const auto refusal = [&exe](const std::vector<std::uint8_t>& image) {
        const ExecutableResult loaded = PocketPcExecutable::load(image, exe);
        EXPECT_EQ(loaded.code(), ExecutableError::TemplateUnusable);
        EXPECT_EQ(exe, nullptr);
        return loaded.message();
    };

    std::string error = refusal(std::vector<std::uint8_t>(good.begin(), good.begin() + 100));
    EXPECT_EQ(error.rfind("The Pocket PC template is not usable: ", 0), 0u) << error;

    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 0x200);
    error = refusal(truncated);
    EXPECT_NE(error.find("outside the file"), std::string::npos) << error;

    std::vector<std::uint8_t> resourcesFirst = good;  // the code section renamed .rsrc
    std::copy_n(".rsrc\0\0", 8, resourcesFirst.begin() + nt + 248);
    error = refusal(resourcesFirst);
    EXPECT_NE(error.find("two resource sections"), std::string::npos) << error;

    // Two icons whose language directories are listed in swapped order.
    const auto swapped = templateWithSection([](std::vector<std::uint8_t>& s) {
        std::uint32_t iconDirectory = 0;
        for (std::uint32_t k = 0; k < get16(s, 14); ++k)
            if (get32(s, 16 + 8 * k) == 3) iconDirectory = get32(s, 20 + 8 * k) & 0x7FFFFFFF;
        ASSERT_EQ(get16(s, iconDirectory + 14), 2);
        std::swap_ranges(s.begin() + iconDirectory + 20, s.begin() + iconDirectory + 24,
                         s.begin() + iconDirectory + 28);
    });
    ASSERT_TRUE(readPe(swapped).faults.empty()) << "the tree itself stays consistent";
    error = refusal(swapped);
    EXPECT_NE(error.find("not in the expected order"), std::string::npos) << error;
}

TEST(PocketPcExecutable, WriteIsWholeOrNothing) {
    ScratchFolder folder;
    auto exe = loadTemplate();
    exe->addString(4000, "title");
    const std::string path = folder.file("Conf.exe");
    const ExecutableResult written = exe->write(path);
    ASSERT_TRUE(written.ok()) << written.message();
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(exe->buildImage(expected).ok());
    EXPECT_EQ(readFile(path), expected);

    // A folder in the way: the write fails, says why, and leaves nothing behind.
    std::filesystem::create_directory(folder.file("Busy.exe"));
    std::filesystem::create_directory(folder.file("Busy.exe/inside"));
    const ExecutableResult busy = exe->write(folder.file("Busy.exe"));
    EXPECT_EQ(busy.code(), ExecutableError::CannotWrite);
    EXPECT_FALSE(busy.message().empty());
    EXPECT_EQ(exe->write(folder.file("no/such/folder/Conf.exe")).code(), ExecutableError::CannotWrite);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 2u) << "only Conf.exe and the Busy.exe folder";
}

TEST(PocketPcExecutable, ContentThatCannotBeEncodedFailsTheWrite) {
    ScratchFolder folder;
    auto exe = loadTemplate();
    exe->addString(4000, std::string(70000, 'x'));
    const ExecutableResult big = exe->write(folder.file("Big.exe"));
    EXPECT_EQ(big.code(), ExecutableError::Content);
    EXPECT_EQ(big.message(), "string 4000 is longer than the 65,535 characters a Pocket PC string table can hold");
    EXPECT_FALSE(std::filesystem::exists(folder.file("Big.exe")));

    auto empty = loadTemplate();
    empty->addRecord(7000, {});
    const ExecutableResult emptyRecord = empty->write(folder.file("Empty.exe"));
    EXPECT_EQ(emptyRecord.code(), ExecutableError::Content);
    EXPECT_EQ(emptyRecord.message(), "resource 7000 of type 10 of the Pocket PC executable is empty");
}

}  // namespace
}  // namespace skedlin::test
