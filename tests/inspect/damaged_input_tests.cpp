// Damaged, crafted and foreign files: every one gets a status and a message
// or a report listing its problems, and nothing is read outside the file
// (the sanitizer build runs these too).

#include <gtest/gtest.h>

#include <cstring>

#include "inspect_test_support.h"

namespace skedlin::inspecttest {
namespace {

using inspect::InspectResult;
using inspect::InspectStatus;

void put16be(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<std::uint8_t>(value >> 8);
    bytes.at(at + 1) = static_cast<std::uint8_t>(value);
}

std::uint32_t get32be(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
           std::uint32_t{bytes.at(at + 2)} << 8 | bytes.at(at + 3);
}

// Offset of the body of resource (type, id) of a .prc image, and its size.
std::pair<std::size_t, std::size_t> resourceAt(const std::vector<std::uint8_t>& prc, const char* type,
                                               std::uint16_t id) {
    const std::size_t count = std::size_t{prc[76]} << 8 | prc[77];
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 78 + 10 * i;
        if (std::memcmp(&prc[entry], type, 4) == 0 && (std::uint16_t(prc[entry + 4] << 8 | prc[entry + 5]) == id)) {
            const std::size_t begin = get32be(prc, entry + 6);
            const std::size_t end = i + 1 < count ? get32be(prc, entry + 16) : prc.size();
            return {begin, end - begin};
        }
    }
    ADD_FAILURE() << "no " << type << " " << id;
    return {0, 0};
}

bool mentions(const InspectResult& result, const std::string& words) {
    if (result.message.find(words) != std::string::npos) return true;
    for (const auto& problem : listOf(result.report, "problems").items()) {
        if (problem.textValue().find(words) != std::string::npos) return true;
    }
    return false;
}

void expectExplained(const InspectResult& result) {
    EXPECT_NE(result.status, InspectStatus::Ok);
    if (result.hasReport)
        EXPECT_FALSE(listOf(result.report, "problems").items().empty());
    else
        EXPECT_FALSE(result.message.empty());
}

TEST(DamagedPackages, EveryCutOfThePrcIsReportedAsDamage) {
    const auto prc = fileBytes(exampleOutputs().prc);
    ASSERT_GT(prc.size(), 1000u);
    // Every length through the header and the resource list, then a spread over the data.
    for (std::size_t length = 0; length < prc.size(); length += length < 700 ? 1 : 37) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> cut(prc.begin(), prc.begin() + static_cast<long>(length));
        expectExplained(inspectBytesOf(cut));
    }
}

TEST(DamagedPackages, EveryCutOfTheCabinetIsReportedAsDamage) {
    const auto cab = fileBytes(exampleOutputs().cab);
    for (std::size_t length = 0; length < cab.size(); length += length < 400 ? 1 : 53) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> cut(cab.begin(), cab.begin() + static_cast<long>(length));
        expectExplained(inspectBytesOf(cut));
    }
}

TEST(DamagedPackages, EveryCutOfTheExecutableIsReportedAsDamage) {
    const auto exe = executableOf(exampleOutputs().cab, "cut");
    ASSERT_FALSE(exe.empty());
    for (std::size_t length = 0; length < exe.size(); length += length < 1200 ? 3 : 41) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> cut(exe.begin(), exe.begin() + static_cast<long>(length));
        expectExplained(inspectBytesOf(cut));
    }
}

TEST(DamagedPackages, WrongCountsInThePrc) {
    const auto prc = fileBytes(exampleOutputs().prc);
    {
        auto more = prc;  // a resource list longer than the file
        put16be(more, 76, 0xFFFF);
        const InspectResult result = inspectBytesOf(more);
        EXPECT_EQ(result.status, InspectStatus::Damaged);
        EXPECT_TRUE(mentions(result, "runs past the end")) << result.message;
    }
    {
        auto eventCounts = prc;  // group 1 claims 200 events
        put16be(eventCounts, resourceAt(prc, "wrdl", 4001).first + 2, 200);
        const InspectResult result = inspectBytesOf(eventCounts);
        EXPECT_EQ(result.status, InspectStatus::Damaged);
        EXPECT_TRUE(mentions(result, "group 1 names event")) << result.message;
    }
    {
        auto tableCount = prc;  // the first-event table claims one entry more than it holds
        const std::size_t at = resourceAt(prc, "wrdl", 4000).first;
        put16be(tableCount, at, static_cast<std::uint16_t>((tableCount[at] << 8 | tableCount[at + 1]) + 1));
        EXPECT_TRUE(mentions(inspectBytesOf(tableCount), "wrdl 4000 holds"));
    }
    {
        auto exceptions = prc;  // an event claiming exception dates it does not have
        const auto [at, size] = resourceAt(prc, "Nevt", 7000);
        put16be(exceptions, at + 6, 0x0400 | 0x0800);
        const InspectResult result = inspectBytesOf(exceptions);
        EXPECT_TRUE(mentions(result, "event 7000 does not decode")) << result.message;
    }
    {
        auto company = prc;  // a company offset that misses the company text
        const auto [at, size] = resourceAt(prc, "Ncnt", 6000);
        company[at + 8] = 3;
        EXPECT_TRUE(mentions(inspectBytesOf(company), "company offset"));
    }
    {
        auto offsets = prc;  // resources out of order
        const std::size_t entry = 78 + 10 * 5;
        std::memcpy(&offsets[entry + 6], &offsets[78 + 6], 4);
        EXPECT_TRUE(mentions(inspectBytesOf(offsets), "outside the data of the file"));
    }
}

TEST(DamagedPackages, ForeignFilesAreNoPackage) {
    EXPECT_EQ(inspectBytesOf({}).status, InspectStatus::NotPackage);
    const std::string text = "<calendar-package/>\n";
    EXPECT_EQ(inspectBytesOf(std::vector<std::uint8_t>(text.begin(), text.end())).status, InspectStatus::NotPackage);
    // A resource database holding only a viewer program: no package resources.
    std::vector<std::uint8_t> bare(80, 0);
    bare[33] = 1;  // resource database
    std::memcpy(&bare[60], "applSKL0", 8);
    const InspectResult result = inspectBytesOf(bare);
    EXPECT_EQ(result.status, InspectStatus::NotPackage);
    EXPECT_EQ(result.message, "the resource database holds no calendar package");
}

TEST(DamagedPackages, UnknownAndDuplicateResourcesAreListedNotFatal) {
    auto prc = fileBytes(exampleOutputs().prc);
    // Rename the first viewer resource (code 0) to an unknown type, and the author string to a second title.
    std::memcpy(&prc[78], "zzzz", 4);
    const std::size_t count = std::size_t{prc[76]} << 8 | prc[77];
    for (std::size_t entry = 78; entry < 78 + 10 * count; entry += 10) {
        if (std::memcmp(&prc[entry], "tSTR", 4) == 0 && prc[entry + 4] == 4004 >> 8 && prc[entry + 5] == (4004 & 0xFF))
            put16be(prc, entry + 4, 4000);
    }
    const InspectResult result = inspectBytesOf(prc);
    ASSERT_TRUE(result.hasReport);
    const auto& unexpected = listOf(result.report, "unexpected").items();
    ASSERT_EQ(unexpected.size(), 2u);
    EXPECT_EQ(unexpected[0].textValue().substr(0, 7), "zzzz 0 ");
    EXPECT_EQ(unexpected[1].textValue().substr(0, 19), "a second tSTR 4000 ");
    EXPECT_EQ(textOf(result.report, "title"), "Mobile Data Conference 2026");
    EXPECT_EQ(result.status, InspectStatus::Ok);
}

}  // namespace
}  // namespace skedlin::inspecttest
