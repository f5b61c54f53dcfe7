// The generated viewer template, read back by the tests' own PE reader.

#include <gtest/gtest.h>

#include "pe_test_reader.h"
#include "test_templates.h"
#include "templates/pocketpc/PocketPcTemplate.h"

namespace skedlin::test {
namespace {

TEST(PocketPcTemplate, StoredAsByteCountThenExecutable) {
    const auto storage = templates::pocketPcTemplateBlob();
    ASSERT_GE(storage.size(), 4u);
    const std::uint32_t count = storage[0] | storage[1] << 8 | storage[2] << 16 | std::uint32_t{storage[3]} << 24;
    EXPECT_EQ(count, storage.size() - 4);
    EXPECT_EQ(templates::pocketPcTemplateImage().size(), count);
}

TEST(PocketPcTemplate, IsAWindowsCeArmExecutableWithTheResourceSectionLast) {
    const std::vector<std::uint8_t> image = templateBytes();
    const PeFile pe = readPe(image);
    ASSERT_TRUE(pe.faults.empty()) << pe.faults.front();
    EXPECT_EQ(pe.machine, 0x01C0);
    EXPECT_EQ(pe.magic, 0x010B);
    EXPECT_EQ(pe.subsystem, 9);
    EXPECT_EQ(pe.fileAlignment, 0x200u);
    EXPECT_EQ(pe.sectionAlignment, 0x1000u);
    EXPECT_EQ(pe.sizeOfHeaders % pe.fileAlignment, 0u);

    ASSERT_FALSE(pe.sections.empty());
    const PeSection& last = pe.sections.back();
    EXPECT_EQ(last.name, ".rsrc");
    EXPECT_EQ(last.virtualAddress, pe.resourceRva);
    EXPECT_EQ(last.virtualSize, pe.resourceSize);
    EXPECT_EQ(std::uint64_t{last.rawOffset} + last.rawSize, image.size());
    for (const PeSection& s : pe.sections) {
        EXPECT_EQ(s.rawOffset % pe.fileAlignment, 0u) << s.name;
        EXPECT_EQ(s.rawSize % pe.fileAlignment, 0u) << s.name;
        EXPECT_EQ(s.virtualAddress % pe.sectionAlignment, 0u) << s.name;
        EXPECT_LE(s.virtualAddress, last.virtualAddress);
    }
    const std::uint32_t end = last.virtualAddress + last.virtualSize;
    EXPECT_EQ(pe.sizeOfImage, (end + 0xFFF) / 0x1000 * 0x1000);
}

TEST(PocketPcTemplate, EntryPointLiesInTheExecutableCodeSection) {
    const std::vector<std::uint8_t> image = templateBytes();
    const PeFile pe = readPe(image);
    const PeSection* code = nullptr;
    for (const PeSection& s : pe.sections)
        if (pe.entryPoint >= s.virtualAddress && pe.entryPoint < s.virtualAddress + s.virtualSize) code = &s;
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->name, ".text");
    EXPECT_NE(code->characteristics & 0x20000000u, 0u) << "entry point section not executable";
    EXPECT_EQ(code->characteristics & 0x80000000u, 0u) << "code must not be writable";
}

TEST(PocketPcTemplate, HoldsEveryTypeTheBuilderInsertsBelowItsIds) {
    const PeFile pe = readPe(templateBytes());
    // Each type needs an entry whose id is not above the smallest one inserted.
    const std::pair<std::uint16_t, std::uint16_t> smallestInserted[] = {
        {2, 4000}, {3, 3}, {6, 251}, {10, 4000}, {14, 128}};
    for (auto [type, smallest] : smallestInserted) {
        const auto ids = pe.ids(type);
        ASSERT_FALSE(ids.empty()) << "type " << type;
        EXPECT_LE(ids.front(), smallest) << "type " << type;
    }
    for (const PeResource& r : pe.resources) EXPECT_EQ(r.language, 1033);
}

TEST(PocketPcTemplate, GroupIcon128PointsAtRealIconsOfWidths32And16) {
    const PeFile pe = readPe(templateBytes());
    const PeResource* group = pe.find(14, 128);
    ASSERT_NE(group, nullptr);
    const auto& g = group->body;
    ASSERT_GE(g.size(), 6u);
    EXPECT_EQ(get16(g, 2), 1);  // icons, not cursors
    const std::uint16_t count = get16(g, 4);
    ASSERT_EQ(g.size(), 6u + 14u * count);
    std::vector<int> widths;
    for (std::uint16_t k = 0; k < count; ++k) {
        const std::size_t at = 6 + 14 * k;
        const int width = g[at];
        widths.push_back(width);
        const PeResource* icon = pe.find(3, get16(g, at + 12));
        ASSERT_NE(icon, nullptr) << "entry of width " << width;
        EXPECT_EQ(get32(g, at + 8), icon->body.size());
        // The icon image: information header, doubled height, the entry's bit count.
        EXPECT_EQ(get32(icon->body, 0), 40u);
        EXPECT_EQ(get32(icon->body, 4), static_cast<std::uint32_t>(width));
        EXPECT_EQ(get32(icon->body, 8), 2u * width);
        EXPECT_EQ(get16(icon->body, 14), get16(g, at + 6));
        const std::size_t colourRows = (width * get16(icon->body, 14) + 31) / 32 * 4 * width;
        const std::size_t maskRows = (width + 31) / 32 * 4 * width;
        EXPECT_EQ(icon->body.size(), 40 + 4 * 16 + colourRows + maskRows);
    }
    EXPECT_EQ(widths, (std::vector<int>{32, 16}));
}

TEST(PocketPcTemplate, VersionResourceIsWellFormed) {
    const PeFile pe = readPe(templateBytes());
    const PeResource* version = pe.find(16, 1);
    ASSERT_NE(version, nullptr);
    const auto& v = version->body;
    EXPECT_EQ(get16(v, 0), v.size());
    EXPECT_EQ(get16(v, 2), 52);  // fixed file information
    const std::u16string key = u"VS_VERSION_INFO";
    for (std::size_t k = 0; k < key.size(); ++k) EXPECT_EQ(get16(v, 6 + 2 * k), key[k]);
    EXPECT_EQ(get32(v, 40), 0xFEEF04BDu);
}

}  // namespace
}  // namespace skedlin::test
