// The resource section editor against the in-place, one-at-a-time insertion
// it replaces: over random insertion sequences both must give the same bytes,
// the same used size and the same raw size.

#include <random>

#include <gtest/gtest.h>

#include "pe_test_reader.h"
#include "test_templates.h"
#include "builder/pocketpc/InPlaceResourceSection.h"
#include "builder/pocketpc/ResourceSectionEditor.h"

namespace skedlin::test {
namespace {

struct TemplateSection {
    std::vector<std::uint8_t> raw;
    std::uint32_t used = 0;
    std::uint32_t rva = 0;
};

TemplateSection templateSection() {
    const std::vector<std::uint8_t> image = templateBytes();
    const PeSection rsrc = readPe(image).sections.back();
    return {{image.begin() + rsrc.rawOffset, image.begin() + rsrc.rawOffset + rsrc.rawSize},
            rsrc.virtualSize,
            rsrc.virtualAddress};
}

void expectSameSection(const ResourceSectionEditor& editor, const InPlaceResourceSection& reference,
                       const std::string& context) {
    ASSERT_EQ(editor.usedSize(), reference.usedSize()) << context;
    ASSERT_EQ(editor.rawSize(), reference.rawSize()) << context;
    const std::vector<std::uint8_t> raw = editor.rawData();
    ASSERT_EQ(raw.size(), reference.rawData().size()) << context;
    const auto mismatch = std::mismatch(raw.begin(), raw.end(), reference.rawData().begin());
    ASSERT_TRUE(mismatch.first == raw.end())
        << context << ": first difference at section offset " << (mismatch.first - raw.begin());
}

TEST(ResourceInsertion, MatchesInPlaceInsertionOverRandomSequences) {
    const TemplateSection section = templateSection();
    // Types of the template, and 5, which it lacks.
    const std::uint16_t types[] = {2, 3, 5, 6, 10, 14, 16};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        ResourceSectionEditor editor;
        ASSERT_TRUE(editor.load(section.raw, section.used, section.rva).ok());
        InPlaceResourceSection reference(section.raw, section.used, section.rva);
        const int insertions = 1 + static_cast<int>(random() % 150);
        for (int k = 0; k < insertions; ++k) {
            const std::uint16_t type = types[random() % std::size(types)];
            // Mostly ids above the template's, some below them, some repeated.
            const auto id = static_cast<std::uint16_t>(random() % 10 == 0 ? random() % 130 : 4000 + random() % 4000);
            std::vector<std::uint8_t> body(1 + random() % 70);
            for (auto& b : body) b = static_cast<std::uint8_t>(random());
            const InsertResult expected = reference.insert(type, id, body);
            EXPECT_EQ(editor.insert(type, id, body), expected);
        }
        expectSameSection(editor, reference, "seed " + std::to_string(seed));
        // The reference result is itself a sound tree.
        std::vector<std::uint8_t> used(reference.rawData().begin(), reference.rawData().begin() + reference.usedSize());
        ResourceTree reparsed;
        const auto parsed = reparsed.parse(used, section.rva);
        EXPECT_TRUE(parsed.ok()) << "seed " << seed << ": " << parsed.message();
    }
}

TEST(ResourceInsertion, MatchesInPlaceInsertionForAGrowingPackage) {
    // Records in the builder's order, large enough to make the section grow
    // many times, interleaved with a string block and word lists.
    const TemplateSection section = templateSection();
    ResourceSectionEditor editor;
    ASSERT_TRUE(editor.load(section.raw, section.used, section.rva).ok());
    InPlaceResourceSection reference(section.raw, section.used, section.rva);
    auto both = [&](std::uint16_t type, std::uint16_t id, const std::vector<std::uint8_t>& body) {
        ASSERT_EQ(reference.insert(type, id, body), InsertResult::Inserted);
        ASSERT_EQ(editor.insert(type, id, body), InsertResult::Inserted);
    };
    both(6, 251, std::vector<std::uint8_t>(40, 1));
    for (std::uint16_t id = 6000; id < 6100; ++id) both(10, id, std::vector<std::uint8_t>(57 + id % 9, 2));
    for (std::uint16_t id = 7000; id < 8500; ++id) both(10, id, std::vector<std::uint8_t>(18 + id % 31, 3));
    for (std::uint16_t id = 4000; id <= 4004; ++id) both(10, id, std::vector<std::uint8_t>(12, 4));
    both(2, 4000, std::vector<std::uint8_t>(9000, 5));
    expectSameSection(editor, reference, "growing package");
    EXPECT_GT(editor.rawSize(), section.raw.size());
    EXPECT_EQ(editor.rawSize() % 0x200, 0u);
}

TEST(ResourceInsertion, EmptyBodiesAreRefusedByBoth) {
    const TemplateSection section = templateSection();
    ResourceSectionEditor editor;
    ASSERT_TRUE(editor.load(section.raw, section.used, section.rva).ok());
    InPlaceResourceSection reference(section.raw, section.used, section.rva);
    EXPECT_EQ(reference.insert(10, 7000, {}), InsertResult::EmptyBody);
    EXPECT_EQ(editor.insert(10, 7000, {}), InsertResult::EmptyBody);
    expectSameSection(editor, reference, "after refusing");
}

TEST(ResourceInsertion, RawDataGrowsInStepsOfAtLeast1024Bytes) {
    EXPECT_EQ(rawGrowthFor(100, 512, 400), 0u);
    EXPECT_EQ(rawGrowthFor(100, 512, 412), 0u);
    EXPECT_EQ(rawGrowthFor(100, 512, 413), 1024u);
    EXPECT_EQ(rawGrowthFor(500, 512, 2000), 2048u);
}

}  // namespace
}  // namespace skedlin::test
