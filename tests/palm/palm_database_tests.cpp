// PalmResourceDatabase, ResourceWriter and the generated Palm viewer template
// checked with the independent reader of prc_test_reader.h.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "prc_test_reader.h"
#include "builder/palm/PalmResourceDatabase.h"
#include "formats/prc/PalmResourceTypes.h"
#include "builder/palm/ResourceWriter.h"
#include "templates/palm/PalmTemplate.h"

using namespace skedlin::palm;

namespace {

PalmResourceDatabase loadedTemplate() {
    PalmResourceDatabase database;
    EXPECT_TRUE(database.load(skedlin::templates::palmTemplateImage()));
    return database;
}

std::vector<std::uint8_t> bytesOf(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

std::filesystem::path scratchDirectory() {
    auto dir = std::filesystem::temp_directory_path() /
               ("skedlin_palm_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace

// ---- The template ------------------------------------------------------------

TEST(PalmTemplate, BlobIsLittleEndianCountThenImage) {
    const auto blob = skedlin::templates::palmTemplateBlob();
    const auto image = skedlin::templates::palmTemplateImage();
    ASSERT_GE(blob.size(), 4u);
    const std::size_t count = blob[0] | (blob[1] << 8) | (blob[2] << 16) | (static_cast<std::size_t>(blob[3]) << 24);
    EXPECT_EQ(count, blob.size() - 4);
    EXPECT_EQ(image.size(), count);
    EXPECT_EQ(image.data(), blob.data() + 4);
}

TEST(PalmTemplate, IsAnApplicationResourceDatabase) {
    const auto image = skedlin::templates::palmTemplateImage();
    std::string why;
    const auto db = prctest::parse(std::vector<std::uint8_t>(image.begin(), image.end()), &why);
    ASSERT_TRUE(db) << why;
    EXPECT_EQ(db->name, "Skedlin");
    EXPECT_EQ(db->type, "appl");
    EXPECT_EQ(db->creator, "SKL0");
    EXPECT_EQ(db->attributes, 0x0001);
    EXPECT_EQ(db->version, 1);
    EXPECT_NE(db->creationDate, 0u);
    EXPECT_EQ(db->creationDate, db->modificationDate);
    EXPECT_EQ(db->backupDate, 0u);
    EXPECT_EQ(db->appInfoOffset, 0u);
    EXPECT_EQ(db->sortInfoOffset, 0u);
    EXPECT_EQ(db->firstDataOffset, 80 + 10 * db->resources.size());
    EXPECT_EQ(db->gapBytes, 0);
    EXPECT_EQ(db->text("tAIN", 1000), "Skedlin");
    EXPECT_TRUE(db->text("tver", 1));
    EXPECT_TRUE(db->find("code", 0));
    EXPECT_TRUE(db->find("code", 1));
    EXPECT_TRUE(db->find("data", 0));
    EXPECT_TRUE(db->find("pref", 0));
}

TEST(PalmTemplate, LauncherIconIsA22By22Bitmap) {
    const auto image = skedlin::templates::palmTemplateImage();
    const auto db = prctest::parse(std::vector<std::uint8_t>(image.begin(), image.end()));
    ASSERT_TRUE(db);
    const prctest::Resource* icon = db->find("tAIB", 1000);
    ASSERT_TRUE(icon);
    ASSERT_GE(icon->data.size(), 16u);
    EXPECT_EQ(prctest::be16(icon->data, 0), 22);  // width
    EXPECT_EQ(prctest::be16(icon->data, 2), 22);  // height
    const std::uint16_t rowBytes = prctest::be16(icon->data, 4);
    EXPECT_EQ(rowBytes, 4);                       // 22 pixels at 1 bit, padded to 16 bits
    EXPECT_EQ(icon->data[8], 1);                  // pixel size
    EXPECT_EQ(icon->data[9], 1);                  // bitmap version 1
    EXPECT_EQ(prctest::be16(icon->data, 10), 0);  // last of its family
    EXPECT_EQ(icon->data.size(), 16u + 22u * rowBytes);
    bool anyInk = false;
    for (std::size_t i = 16; i < icon->data.size(); ++i) anyInk = anyInk || icon->data[i] != 0;
    EXPECT_TRUE(anyInk) << "the icon must show something";
}

TEST(PalmTemplate, ProgramAndUserInterfaceStayClearOfThePackageIds) {
    const auto image = skedlin::templates::palmTemplateImage();
    const auto db = prctest::parse(std::vector<std::uint8_t>(image.begin(), image.end()));
    ASSERT_TRUE(db);
    const prctest::Resource* code1 = db->find("code", 1);
    ASSERT_TRUE(code1);
    EXPECT_GT(code1->data.size(), 1000u) << "the viewer program";
    const prctest::Resource* code0 = db->find("code", 0);
    ASSERT_TRUE(code0);
    ASSERT_EQ(code0->data.size(), 24u);
    EXPECT_EQ(prctest::be32(code0->data, 4), 0u) << "no global variables below A5";
    const prctest::Resource* pref = db->find("pref", 0);
    ASSERT_TRUE(pref);
    EXPECT_EQ(pref->data.size(), 10u);
    EXPECT_TRUE(db->find("tFRM", 1000));
    EXPECT_TRUE(db->find("MBAR", 1000));
    // The builder adds strings, lists, bitmaps and records from id 4000 up;
    // the template's own resources stay below.
    for (const auto& resource : db->resources) EXPECT_LT(resource.id, 4000) << resource.type;
}

// ---- Loading and writing -------------------------------------------------------

TEST(PalmResourceDatabase, LoadsTheTemplateAndWritesItBackUnchanged) {
    const auto image = skedlin::templates::palmTemplateImage();
    PalmResourceDatabase database = loadedTemplate();
    EXPECT_EQ(database.name(), "Skedlin");
    EXPECT_EQ(database.type(), kDatabaseTypeApplication);
    EXPECT_EQ(database.creator(), kViewerCreator);
    EXPECT_EQ(database.serialize(), std::vector<std::uint8_t>(image.begin(), image.end()));
}

TEST(PalmResourceDatabase, RefusesTruncatedImages) {
    const auto image = skedlin::templates::palmTemplateImage();
    PalmResourceDatabase database;
    EXPECT_EQ(database.load(image.first(50)).code(), skedlin::prc::PrcError::TruncatedHeader);
    EXPECT_EQ(database.load(image.first(100)).code(),
              skedlin::prc::PrcError::TruncatedResourceList);  // the list runs past the end
}

TEST(PalmResourceDatabase, NameIsCutTo31CharactersAndAZeroByte) {
    PalmResourceDatabase database = loadedTemplate();
    database.setName("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd");  // 40 characters
    const auto db = prctest::parse(database.serialize());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(db->nameField[31], 0);
    database.setName("Short");
    const auto again = prctest::parse(database.serialize());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->name, "Short");
    for (std::size_t i = 5; i < 32; ++i) EXPECT_EQ(again->nameField[i], 0) << i;
}

TEST(PalmResourceDatabase, AddedResourcesFollowTheTemplateInOrder) {
    PalmResourceDatabase database = loadedTemplate();
    const std::size_t templateCount = database.resources().size();
    database.addString(4000, "Title");
    database.addNumber(4005, 2);
    database.addNumber(4006, -17);
    const auto db = prctest::parse(database.serialize());
    ASSERT_TRUE(db);
    ASSERT_EQ(db->resources.size(), templateCount + 3);
    EXPECT_EQ(db->resources[templateCount].type, "tSTR");
    EXPECT_EQ(db->resources[templateCount].id, 4000);
    EXPECT_EQ(db->text("tSTR", 4000), "Title");
    EXPECT_EQ(db->text("tSTR", 4005), "2");
    EXPECT_EQ(db->text("tSTR", 4006), "-17");
    EXPECT_EQ(db->firstDataOffset, 80 + 10 * db->resources.size());
}

TEST(PalmResourceDatabase, DuplicateIdsAreBothWritten) {
    PalmResourceDatabase database = loadedTemplate();
    database.addString(1000, "one");
    database.addString(1000, "two");
    const auto db = prctest::parse(database.serialize());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->count("tSTR", 1000), 2u);
}

TEST(PalmResourceDatabase, WordListOfThreeValuesIsEightBytes) {
    PalmResourceDatabase database;
    const std::uint16_t values[] = {0x0102, 7000, 0xFFFF};
    database.addWordList(4001, values);
    ASSERT_EQ(database.resources().size(), 1u);
    EXPECT_EQ(database.resources()[0].typeText(), "wrdl");
    EXPECT_EQ(database.resources()[0].bytes, bytesOf({0x00, 0x03, 0x01, 0x02, 0x1B, 0x58, 0xFF, 0xFF}));
}

TEST(PalmResourceDatabase, StringListOfAAndBC) {
    PalmResourceDatabase database;
    const std::vector<std::string> texts = {"A", "BC"};
    ASSERT_TRUE(database.addStringList(4000, texts));
    EXPECT_EQ(database.resources()[0].typeText(), "tSTL");
    EXPECT_EQ(database.resources()[0].bytes, bytesOf({0x00, 0x00, 0x02, 0x41, 0x00, 0x42, 0x43, 0x00}));
}

TEST(PalmResourceDatabase, StringListPastItsBufferIsRefused) {
    PalmResourceDatabase database;
    const std::vector<std::string> texts(400, std::string(100, 'x'));  // 40,400 bytes
    EXPECT_FALSE(database.addStringList(4000, texts));
    EXPECT_TRUE(database.resources().empty());
}

TEST(PalmResourceDatabase, LauncherNameReplacesTAIN) {
    PalmResourceDatabase database = loadedTemplate();
    const std::size_t count = database.resources().size();
    EXPECT_TRUE(database.setLauncherName("Conference"));
    EXPECT_EQ(database.resources().size(), count);
    const auto db = prctest::parse(database.serialize());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->text("tAIN", 1000), "Conference");
}

TEST(PalmResourceDatabase, ReplacingAMissingResourceAddsNothing) {
    PalmResourceDatabase database = loadedTemplate();
    const std::size_t count = database.resources().size();
    EXPECT_FALSE(database.replace(kTypeBitmap, 4321, {1, 2, 3}));
    EXPECT_EQ(database.resources().size(), count);
    EXPECT_TRUE(database.replace(kTypeAppIcon, 1000, {1, 2, 3}));
    EXPECT_EQ(database.find(kTypeAppIcon, 1000)->bytes, bytesOf({1, 2, 3}));
}

TEST(PalmResourceDatabase, WriteCreatesTheFileWhole) {
    const auto dir = scratchDirectory();
    PalmResourceDatabase database = loadedTemplate();
    database.addString(4000, "Title");
    const std::string path = (dir / "Package.prc").string();
    const skedlin::FileWriteResult written = database.write(path);
    ASSERT_TRUE(written.ok()) << written.message();
    EXPECT_EQ(prctest::readFile(path), database.serialize());
    // No temporary file is left beside it.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1u);
    std::filesystem::remove_all(dir);
}

TEST(PalmResourceDatabase, WriteReportsAFileThatCannotBeCreated) {
    PalmResourceDatabase database = loadedTemplate();
    const skedlin::FileWriteResult written = database.write("/nonexistent-directory/for/sure/Package.prc");
    EXPECT_EQ(written.code(), skedlin::FileWriteError::CannotCreate);
    EXPECT_FALSE(written.message().empty());
}

// ---- ResourceWriter ------------------------------------------------------------

TEST(ResourceWriter, WritesBigEndianAndPatches) {
    ResourceWriter writer(kTypeEvent, 7000);
    writer.putByte(0xAB);
    writer.putWord(0x1234);
    writer.putLong(0x89ABCDEF);
    writer.putText("Hi");
    const std::uint8_t raw[] = {9, 8};
    writer.putBytes(raw);
    writer.patchWord(1, 0x5678);
    writer.patchLong(3, 0x01020304);
    writer.patchWord(writer.length(), 0xFFFF);          // not below the length: ignored
    writer.patchLong(writer.length() - 2, 0xFFFFFFFF);  // would pass the end: ignored
    const PalmResource resource = writer.finish();
    EXPECT_EQ(resource.typeText(), "Nevt");
    EXPECT_EQ(resource.id, 7000);
    EXPECT_EQ(resource.bytes, bytesOf({0xAB, 0x56, 0x78, 0x01, 0x02, 0x03, 0x04, 'H', 'i', 0, 9, 8}));
    EXPECT_FALSE(writer.overflowed());
}

TEST(ResourceWriter, NeverWritesPastItsBuffer) {
    ResourceWriter writer(kTypeContact, 6000);
    EXPECT_EQ(writer.capacity(), 65536u);
    const std::vector<std::uint8_t> block(65535, 0x11);
    writer.putBytes(block);
    writer.putByte(0x22);
    EXPECT_EQ(writer.length(), 65536u);
    EXPECT_FALSE(writer.overflowed());
    writer.putByte(0x33);
    writer.putText("x");
    EXPECT_EQ(writer.length(), 65536u);
    EXPECT_TRUE(writer.overflowed());
    EXPECT_EQ(writer.finish().bytes.back(), 0x22);
}
