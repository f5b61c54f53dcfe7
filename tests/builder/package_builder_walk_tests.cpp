// PackageBuilder: the walk in its fixed order, the dual-target
// setters, the reading state, the missing-item messages, and the output step
// for the Palm target.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "builder/BuilderMessages.h"
#include "builder/PackageBuilder.h"
#include "builder/ResourceIds.h"
#include "formats/prc/PalmResourceTypes.h"
#include "builder/pocketpc/PocketPcTarget.h"
#include "tests/palm/prc_test_reader.h"

namespace fs = std::filesystem;
using namespace skedlin;
using namespace skedlin::builder;

namespace {

// Records every call in order, as "kind id value".
class CallLog : public PocketPcTarget {
public:
    std::vector<std::string> calls;

    void addString(std::uint16_t id, std::string_view text) override {
        calls.push_back("string " + std::to_string(id) + " " + std::string(text));
    }
    void addNumber(std::uint16_t id, long value) override {
        calls.push_back("number " + std::to_string(id) + " " + std::to_string(value));
    }
    void addWordList(std::uint16_t id, std::span<const std::uint16_t> values) override {
        std::string text = "words " + std::to_string(id);
        for (std::uint16_t v : values) text += " " + std::to_string(v);
        calls.push_back(text);
    }
    void addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) override {
        calls.push_back("record " + std::to_string(id) + " " + std::to_string(bytes.size()));
    }
    void addBitmap(std::uint16_t id, std::span<const std::uint8_t> packed) override {
        calls.push_back("bitmap " + std::to_string(id) + " " + std::to_string(packed.size()));
    }
    void addIcon(std::uint16_t id, const BmpImage& image) override {
        calls.push_back("icon " + std::to_string(id) + " " + std::to_string(image.width()));
    }
};

class PackageBuilderWalk : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("skedlin_walk_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    BuildOptions options(const std::string& xml, bool palm = false) {
        const auto input = dir_ / "package.xml";
        std::ofstream(input, std::ios::binary) << xml;
        BuildOptions o;
        o.inputPath = input.string();
        o.outputBase = (dir_ / "out").string();
        o.palmTarget = palm;
        o.builderDirectory = std::string(SKEDLIN_BIN_DIR) + "/";
        return o;
    }

    fs::path dir_;
};

const std::string kPackage =
    "<calendar-package navigation=\"none\">"
    "<package-title>Title</package-title>"
    "<app-name>Name</app-name>"
    "<app-launcher><launcher-name>Launcher</launcher-name></app-launcher>"
    "<welcome><description>Text</description><author-info>Author</author-info></welcome>"
    "<contacts/>"
    "<groups><group name=\"G\"><group-description>D</group-description><events/></group></groups>"
    "</calendar-package>";

}  // namespace

TEST_F(PackageBuilderWalk, ReadsInTheFixedOrderIntoBothTargets) {
    PackageBuilder builder(options(kPackage));
    auto log = std::make_unique<CallLog>();
    CallLog* calls = log.get();
    builder.setPocketPcTarget(std::move(log));
    const std::size_t templateResources = builder.palmDatabase().resources().size();
    const BuildResult result = builder.read();
    ASSERT_TRUE(result.ok()) << result.message();

    ASSERT_GE(calls->calls.size(), 4u);
    EXPECT_EQ(calls->calls[0], "number 4005 0");
    EXPECT_EQ(calls->calls[1], "string 4000 Title");
    EXPECT_EQ(calls->calls[2], "string 4001 Text");
    EXPECT_EQ(calls->calls[3], "string 4004 Author");

    const auto& resources = builder.palmDatabase().resources();
    ASSERT_GE(resources.size(), templateResources + 4);
    const auto added = [&](std::size_t i) { return resources[templateResources + i]; };
    EXPECT_EQ(added(0).typeText(), "tSTR");
    EXPECT_EQ(added(0).id, 4005);
    EXPECT_EQ(added(1).id, 4000);
    EXPECT_EQ(added(2).id, 4001);
    EXPECT_EQ(added(3).id, 4004);
    EXPECT_EQ(builder.palmDatabase().name(), "Name");
    EXPECT_EQ(builder.launcherName(), "Launcher");
    const palm::PalmResource* launcher = builder.palmDatabase().find(palm::kTypeAppName, 1000);
    ASSERT_TRUE(launcher);
    EXPECT_EQ(std::string(launcher->bytes.begin(), launcher->bytes.end()), std::string("Launcher\0", 9));
    EXPECT_EQ(builder.nextContactRecordId(), kFirstContactRecordId);
    EXPECT_EQ(builder.nextEventId(), kFirstEventId);
    EXPECT_FALSE(fs::exists(dir_ / "out.prc")) << "reading writes nothing";
}

TEST_F(PackageBuilderWalk, DualTargetSettersPutOneValueUnderOneId) {
    PackageBuilder builder(options(kPackage));
    auto log = std::make_unique<CallLog>();
    CallLog* calls = log.get();
    builder.setPocketPcTarget(std::move(log));
    const std::size_t before = builder.palmDatabase().resources().size();
    builder.setString(5000, "Group text");
    builder.setNumber(4005, -3);
    const std::uint16_t values[] = {7000, 7003};
    builder.setWordList(4000, values);
    EXPECT_EQ(calls->calls,
              (std::vector<std::string>{"string 5000 Group text", "number 4005 -3", "words 4000 7000 7003"}));
    const auto& resources = builder.palmDatabase().resources();
    ASSERT_EQ(resources.size(), before + 3);
    EXPECT_EQ(resources[before].typeText(), "tSTR");
    EXPECT_EQ(resources[before].bytes,
              std::vector<std::uint8_t>({'G', 'r', 'o', 'u', 'p', ' ', 't', 'e', 'x', 't', 0}));
    EXPECT_EQ(resources[before + 1].bytes, std::vector<std::uint8_t>({'-', '3', 0}));
    EXPECT_EQ(resources[before + 2].typeText(), "wrdl");
    EXPECT_EQ(resources[before + 2].bytes, std::vector<std::uint8_t>({0, 2, 0x1B, 0x58, 0x1B, 0x5B}));
}

TEST_F(PackageBuilderWalk, WithoutAPocketPcTargetOnlyPalmIsFilled) {
    PackageBuilder builder(options(kPackage));
    ASSERT_EQ(builder.pocketPc(), nullptr);
    const std::size_t before = builder.palmDatabase().resources().size();
    builder.setString(4000, "x");
    EXPECT_EQ(builder.palmDatabase().resources().size(), before + 1);
    const BuildResult result = builder.read();
    EXPECT_TRUE(result.ok()) << result.message();
}

TEST_F(PackageBuilderWalk, MissingItemsNameTheItemTheParentAndTheLine) {
    const std::string noName =
        "<calendar-package navigation=\"none\">\n<package-title>T</package-title>\n"
        "<app-name>A</app-name>\n<app-launcher>\n</app-launcher>\n</calendar-package>\n";
    PackageBuilder builder(options(noName));
    const BuildResult first = builder.read();
    EXPECT_EQ(first.code(), kExitMissingRequired);
    EXPECT_EQ(first.message(), "Missing required element <launcher-name> in <app-launcher> (line 4).");

    PackageBuilder second(options("<calendar-package>\n</calendar-package>"));
    const BuildResult result = second.read();
    EXPECT_EQ(result.code(), kExitMissingRequired);
    EXPECT_EQ(result.message(), "Missing required attribute \"navigation\" of <calendar-package> (line 1).");
}

TEST_F(PackageBuilderWalk, ParseErrorMessageIsReasonLineAndSourceText) {
    PackageBuilder builder(options("<calendar-package navigation=\"none\">\n  <app-name>x</app-nam>\n"));
    const BuildResult result = builder.read();
    EXPECT_EQ(result.code(), kExitXmlParser);
    const std::string& message = result.message();
    EXPECT_NE(message.find(". Line #2:   <app-name>x</app-nam>"), std::string::npos) << message;
}

TEST_F(PackageBuilderWalk, BuildWritesThePrcOnlyForThePalmTarget) {
    {
        PackageBuilder builder(options(kPackage, false));
        EXPECT_TRUE(builder.build().ok());
        EXPECT_FALSE(fs::exists(dir_ / "out.prc"));
    }
    PackageBuilder builder(options(kPackage, true));
    const BuildResult result = builder.build();
    ASSERT_TRUE(result.ok()) << result.message();
    const auto db = prctest::parseFile((dir_ / "out.prc").string());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->name, "Name");
    EXPECT_EQ(db->text("tSTR", 4000), "Title");
}

TEST_F(PackageBuilderWalk, APrcThatCannotBeWrittenIsReported) {
    BuildOptions o = options(kPackage, true);
    o.outputBase = (dir_ / "missing-folder" / "out").string();
    PackageBuilder builder(o);
    const BuildResult result = builder.build();
    EXPECT_EQ(result.code(), kExitOutputFile);
    EXPECT_NE(result.message().find("missing-folder/out.prc"), std::string::npos) << result.message();
}

TEST_F(PackageBuilderWalk, BundledDtdIsBesideTheProgram) {
    PackageBuilder builder(options(kPackage));
    EXPECT_EQ(builder.bundledDtdPath(), std::string(SKEDLIN_BIN_DIR) + "/CalendarPackage.dtd");
}

TEST(BuilderMessages, FillingAndMissingItems) {
    EXPECT_EQ(fillMessage(kMsgBadDaysOfWeek, std::string_view("X-X")), "Bad days of week string - 'X-X'.");
    EXPECT_EQ(fillMessage(kMsgLineNumber, 12L), "Line #12: ");
    EXPECT_EQ(fillMessage(kMsgCabWizardError, 3L),
              "An error was returned by the Microsoft CAB Wizard.  Error number = 3");
    EXPECT_EQ(fillMessage(kMsgInvalidDate, std::string_view("32 Jan 2003")), "Invalid Date: 32 Jan 2003");
    EXPECT_EQ(missingElementMessage("groups", "calendar-package"),
              "Missing required element <groups> in <calendar-package>.");
    EXPECT_EQ(missingAttributeMessage("id", "contact", 7), "Missing required attribute \"id\" of <contact> (line 7).");
    EXPECT_EQ(kExitMissingRequired, 2);
}

TEST_F(PackageBuilderWalk, WarningsAreCollectedInReadingOrderAndTheBuildGoesOn) {
    const std::string xml =
        "<calendar-package navigation=\"none\">"
        "<package-title>Title</package-title><app-name>Name</app-name>"
        "<app-launcher><launcher-name>Launcher</launcher-name></app-launcher>"
        "<welcome><description>Text</description></welcome>"
        "<contacts><contact id=\"5\"><last-name>Zh\xE5\xBC\xA0</last-name>"
        "<phone-numbers><phone-number type=\"satellite\">123</phone-number></phone-numbers></contact></contacts>"
        "<groups><group name=\"G\"><group-description>D</group-description><events/></group></groups>"
        "</calendar-package>";
    PackageBuilder builder(options(xml));
    builder.setPocketPcTarget(std::make_unique<CallLog>());
    const BuildResult result = builder.read();
    ASSERT_TRUE(result.ok()) << result.message();
    ASSERT_EQ(builder.warnings().size(), 2u);
    EXPECT_NE(builder.warnings()[0].find("<last-name>"), std::string::npos) << builder.warnings()[0];
    EXPECT_NE(builder.warnings()[1].find("satellite"), std::string::npos) << builder.warnings()[1];
    EXPECT_EQ(builder.nextContactRecordId(), kFirstContactRecordId + 1) << "the contact is still added";
}
