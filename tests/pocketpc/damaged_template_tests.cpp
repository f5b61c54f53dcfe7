// Templates damaged at random: loading either refuses them with a reason or
// yields an executable that takes resources and builds a readable file. Run
// under the sanitizers, this also shows that no byte is read out of bounds.

#include <random>

#include <gtest/gtest.h>

#include "pe_test_reader.h"
#include "test_templates.h"

namespace skedlin::test {
namespace {

TEST(DamagedTemplate, IsRefusedOrStaysUsableButNeverReadOutOfBounds) {
    const std::vector<std::uint8_t> good = templateBytes();
    const std::uint32_t resourceStart = readPe(good).sections.back().rawOffset;
    std::mt19937 random(2003);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> image = good;
        // Headers or the resource tree, where a damaged byte matters most.
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            const std::size_t at = random() % 2 ? random() % 0x200 : resourceStart + random() % 0x120;
            image[at] = static_cast<std::uint8_t>(random());
        }
        if (random() % 8 == 0) image.resize(random() % image.size());

        std::unique_ptr<PocketPcExecutable> exe;
        if (const auto loaded = PocketPcExecutable::load(image, exe); !loaded.ok()) {
            EXPECT_EQ(loaded.code(), ExecutableError::TemplateUnusable);
            EXPECT_EQ(loaded.message().rfind("The Pocket PC template is not usable: ", 0), 0u) << loaded.message();
            EXPECT_EQ(exe, nullptr);
            ++refused;
            continue;
        }
        exe->addString(4000, "title");
        exe->addRecord(7000, std::vector<std::uint8_t>(21, 7));
        exe->addWordList(4004, std::vector<std::uint16_t>{6000});
        std::vector<std::uint8_t> built;
        const auto result = exe->buildImage(built);
        ASSERT_TRUE(result.ok()) << result.message();
        const PeFile pe = readPe(built);
        EXPECT_TRUE(pe.faults.empty()) << "round " << round << ": " << pe.faults.front();
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace skedlin::test
