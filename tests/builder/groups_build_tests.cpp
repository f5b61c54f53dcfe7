// Group names, descriptions and the five group tables in both targets, and the
// exit codes of contact and event failures as the command line reports them.

#include "contacts_events_packages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace skedlin::testing {
namespace {

using Words = std::vector<std::uint16_t>;

Words palmWords(const BuiltPackage& built, std::uint16_t id) {
    const PrcResource* resource = built.palmResource("wrdl", id);
    EXPECT_NE(resource, nullptr) << id;
    return resource ? decodeWordList(resource->bytes).value_or(Words{0xDEAD}) : Words{};
}

TEST(GroupsBuild, TheConferenceFixtureTables) {
    const BuiltPackage built = buildPackageFile(fixture("conference.xml"));
    ASSERT_EQ(built.code, 0) << built.message;

    const PrcResource* names = built.palmResource("tSTL", 4000);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(decodeStringList(names->bytes), (std::vector<std::string>{"Talks", "Evenings", "Social"}));
    EXPECT_EQ(built.pocketPc->strings.at(6000), "Talks");
    EXPECT_EQ(built.pocketPc->strings.at(6002), "Social");
    EXPECT_EQ(textOf(built.palmResource("tSTR", 5000)->bytes), "Morning talks in the main hall.");
    EXPECT_EQ(textOf(built.palmResource("tSTR", 5001)->bytes), "");
    EXPECT_EQ(built.pocketPc->strings.at(5002), "Evenings out.");

    const std::pair<std::uint16_t, Words> expected[] = {
        {4000, {7000, 7003, 7005}},                     // first event ids: 3 events, then 2, then none
        {4001, {3, 2, 0}},          {4002, {0, 2, 4}},  // a group without contact ids starts at the list's end
        {4003, {2, 2, 0}},          {4004, {6000, 6002, 6001, 6000}},
    };
    for (const auto& [id, values] : expected) {
        EXPECT_EQ(palmWords(built, id), values) << id;
        EXPECT_EQ(built.pocketPc->wordLists.at(id), values) << id;
    }
}

TEST(GroupsBuild, EmptyGroupsAndAnEmptyContactIndexList) {
    const BuiltPackage built = buildPackageText(packageXml("", ""));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(built.palmResource("tSTL", 4000)->bytes, (Bytes{0, 0, 0}));
    for (std::uint16_t id = 4000; id <= 4004; ++id) {
        EXPECT_EQ(palmWords(built, id), Words{}) << id;
        EXPECT_EQ(built.palmResource("wrdl", id)->bytes, (Bytes{0, 0})) << id;
    }
    for (std::uint16_t id = 4000; id <= 4003; ++id) EXPECT_EQ(built.pocketPc->wordLists.at(id), Words{}) << id;
    EXPECT_EQ(built.pocketPc->wordLists.at(4004), Words{0});  // the Pocket PC viewer needs one entry
}

TEST(GroupsBuild, EventIdsRunInDocumentOrderAcrossGroups) {
    const std::string event = "<event><event-title>e</event-title><date day='37816'>x</date></event>";
    const BuiltPackage built =
        buildPackageText(packageXml("", groupXml(event + event + event + event, "", "A") + groupXml(event, "", "B")));
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmWords(built, 4000), (Words{7000, 7004}));
    EXPECT_NE(built.palmResource("Nevt", 7004), nullptr);
    EXPECT_TRUE(built.pocketPc->records.count(7004));
}

TEST(GroupsBuild, ContactIdsResolveAgainstAllContacts) {
    // The groups come first in the file; contacts are still read before them.
    const std::string xml =
        "<?xml version='1.0'?><calendar-package navigation='none'><package-title>T</package-title>"
        "<app-name>A</app-name><app-launcher><launcher-name>L</launcher-name></app-launcher>"
        "<welcome><description>D</description></welcome>"
        "<groups>" +
        groupXml("", "<contact-ids><x/><contact-id> 005</contact-id></contact-ids>") +
        "</groups>"
        "<contacts><contact id='5'/></contacts></calendar-package>";
    BuiltPackage built = buildPackageText(xml);
    ASSERT_EQ(built.code, 0) << built.message;
    EXPECT_EQ(palmWords(built, 4004), Words{6000});

    built = buildPackageText(packageXml("<contacts><contact id='5'/></contacts>",
                                        groupXml("", "<contact-ids><contact-id>6</contact-id></contact-ids>")));
    EXPECT_EQ(built.code, 11);
    EXPECT_EQ(built.message, "");
}

TEST(GroupsBuild, MissingNameOrDescription) {
    BuiltPackage built = buildPackageText(packageXml("", "<group><group-description>d</group-description></group>"));
    EXPECT_EQ(built.code, 2);
    EXPECT_NE(built.message.find("name"), std::string::npos) << built.message;
    built = buildPackageText(packageXml("", "<group name='G'/>"));
    EXPECT_EQ(built.code, 2);
    EXPECT_NE(built.message.find("group-description"), std::string::npos) << built.message;
}

TEST(GroupsBuild, GroupNamesPastTheirListAreRefusedNamingTheGroup) {
    const BuiltPackage built = buildPackageText(packageXml(
        "", groupXml("", "", std::string(20000, 'a')) + groupXml("", "", "Second" + std::string(10000, 'b'))));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("group \"Secondbbb"), std::string::npos) << built.message;
    EXPECT_NE(built.message.find("30000"), std::string::npos) << built.message;
}

TEST(GroupsBuild, MoreThanAThousandGroupsAreRefused) {
    std::string groups;
    for (int i = 0; i < 1001; ++i) groups += groupXml("");
    const BuiltPackage built = buildPackageText(packageXml("", groups));
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.message.find("1001 groups"), std::string::npos) << built.message;
}

// ---- The command line: exit codes and the error file --------------------------

struct BuilderRun {
    int exitCode = -1;
    std::string errorFile;
};

BuilderRun runBuilder(const std::string& xml) {
    const std::string dir = scratchDirectory();
    const std::string input = dir + "/package.xml";
    const std::string errors = dir + "/errors.txt";
    std::ofstream(input, std::ios::binary) << xml;
    std::remove(errors.c_str());
    const std::string command = "'" + std::string(SKEDLIN_BIN_DIR) + "/SkedlinBuilder' '" + input + "' '" + dir +
                                "/out' /PALM /ERR '" + errors + "' > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    BuilderRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errors, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    run.errorFile = text.str();
    return run;
}

// The error file's second line: "Fatal error: " and the message.
std::string reportedMessage(const std::string& errorFile) {
    const std::size_t start = errorFile.find("\r\n");
    if (start == std::string::npos) return "<no second line>";
    const std::size_t end = errorFile.find("\r\n", start + 2);
    return errorFile.substr(start + 2, end == std::string::npos ? std::string::npos : end - start - 2);
}

TEST(GroupsBuild, ExitCodesEightToElevenWithTheirMessages) {
    const std::string event = "<event><event-title>e</event-title><date day='37816'>x</date>";
    const std::pair<std::string, std::pair<int, std::string>> cases[] = {
        {packageXml("", groupXml(event + "<repeating-event interval='weekly'><days-of-week>XX</days-of-week>"
                                         "</repeating-event></event>")),
         {8, "Fatal error: Bad days of week string - 'XX'."}},
        {packageXml("", groupXml("<event><date>1 Smarch 2003</date></event>")),
         {9, "Fatal error: Invalid Date: 1 Smarch 2003"}},
        {packageXml("<contacts><contact id='3'/><contact id='3'/></contacts>", ""), {10, "Fatal error: "}},
        {packageXml("", groupXml("", "<contact-ids><contact-id>3</contact-id></contact-ids>")), {11, "Fatal error: "}},
    };
    for (const auto& [xml, expected] : cases) {
        const BuilderRun run = runBuilder(xml);
        EXPECT_EQ(run.exitCode, expected.first);
        EXPECT_EQ(reportedMessage(run.errorFile), expected.second);
    }
}

}  // namespace
}  // namespace skedlin::testing
