#include "builder/BitmapElementsReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "builder/BitmapElementLoader.h"
#include "formats/prc/PalmResourceTypes.h"

using namespace skedlin;
using namespace skedlin::builder;

namespace {

struct RecordedBitmap {
    std::uint16_t id;
    std::vector<std::uint8_t> packed;  // what a logo hands over: the file after its file header
    int width;                         // of an icon
    int bitCount;
};

// A corpus file's bytes after its 14-byte file header.
std::vector<std::uint8_t> packedCorpusFile(const std::string& relative) {
    std::ifstream in(std::string(SKEDLIN_CORPUS) + "/bmp/" + relative, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.size() > 14 ? std::vector<std::uint8_t>(bytes.begin() + 14, bytes.end()) : bytes;
}

class RecordingTarget : public PocketPcTarget {
public:
    void addString(std::uint16_t, std::string_view) override {}
    void addNumber(std::uint16_t, long) override {}
    void addWordList(std::uint16_t, std::span<const std::uint16_t>) override {}
    void addRecord(std::uint16_t, std::span<const std::uint8_t>) override {}
    void addBitmap(std::uint16_t id, std::span<const std::uint8_t> packed) override {
        bitmaps.push_back({id, {packed.begin(), packed.end()}, 0, 0});
    }
    void addIcon(std::uint16_t group, const BmpImage& image) override {
        icons.push_back({group, {}, image.width(), image.bitCount()});
    }

    std::vector<RecordedBitmap> bitmaps, icons;
};

struct Fixture {
    explicit Fixture(const std::string& xml) {
        BuildOptions options;
        options.inputPath = std::string(SKEDLIN_CORPUS) + "/bmp/package.xml";
        builder = std::make_unique<PackageBuilder>(options);
        auto target = std::make_unique<RecordingTarget>();
        recorder = target.get();
        builder->setPocketPcTarget(std::move(target));
        xml::ParseError error;
        const auto loaded = document.loadMemory(xml, "", "", error);
        EXPECT_TRUE(loaded.ok()) << loaded.message();
    }
    std::unique_ptr<PackageBuilder> builder;
    RecordingTarget* recorder = nullptr;
    xml::Document document;
};

// A 22-byte file that begins with "BM": too short for the headers.
std::string shortBmFile() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "skedlin-short-bm.bmp").string();
        std::ofstream(p, std::ios::binary) << std::string("BM") + std::string(20, '\x01');
        return p;
    }();
    return path;
}

}  // namespace

TEST(BitmapElements, PathsResolveAgainstTheInputFolder) {
    EXPECT_EQ(resolveBitmapPath(".\\logo.bmp", "/home/a/pkg.xml"), "/home/a/logo.bmp");
    EXPECT_EQ(resolveBitmapPath("logo.bmp", "C:\\work\\pkg.xml"), "C:/work/logo.bmp");
    EXPECT_EQ(resolveBitmapPath("art\\logo.bmp", "/home/a/pkg.xml"), "/home/a/art/logo.bmp");
    EXPECT_EQ(resolveBitmapPath("..\\logo.bmp", "/home/a/pkg.xml"), "/home/a/../logo.bmp");
    EXPECT_EQ(resolveBitmapPath("/abs/logo.bmp", "/home/a/pkg.xml"), "/abs/logo.bmp");
    EXPECT_EQ(resolveBitmapPath(" logo.bmp\n", "pkg.xml"), "logo.bmp");
}

TEST(BitmapElements, TransparentColourIsAColourReference) {
    EXPECT_EQ(parseColourReference("0x0000FF"), (RgbColour{255, 0, 0}));
    EXPECT_EQ(parseColourReference("0xFF8000"), (RgbColour{0, 128, 255}));
    EXPECT_EQ(parseColourReference("FFFFFF"), (RgbColour{255, 255, 255}));
    EXPECT_FALSE(parseColourReference("0xGG"));
    EXPECT_FALSE(parseColourReference(""));
    EXPECT_FALSE(parseColourReference("0x123456789"));
}

TEST(BitmapElements, LauncherDropsOtherSizesForPalmAndPicksPocketPcIcons) {
    Fixture f(
        "<launcher-icon><bitmap>plucker/viewer.bmp</bitmap><bitmap>plucker/viewer-8bpp.bmp</bitmap>"
        "<bitmap>happydays/HD_large.bmp</bitmap></launcher-icon>");
    const auto before = f.builder->palmDatabase().find(palm::kTypeAppIcon, 1000)->bytes;
    const BuildResult result = readLauncherIcons(*f.builder, f.document.root());
    ASSERT_TRUE(result.ok()) << result.message();
    // No bitmap is 22 x 22 or 44 x 44: the template's icon stays.
    EXPECT_EQ(f.builder->palmDatabase().find(palm::kTypeAppIcon, 1000)->bytes, before);
    ASSERT_EQ(f.recorder->icons.size(), 1u);
    EXPECT_EQ(f.recorder->icons[0].id, 128);
    EXPECT_EQ(f.recorder->icons[0].width, 32);  // viewer-8bpp.bmp, the deeper of the two 32 x 32 ones
    EXPECT_EQ(f.recorder->icons[0].bitCount, 8);
}

TEST(BitmapElements, LauncherDropsAWrongSizedBitmapWhateverItsTransparentColourSays) {
    Fixture f("<launcher-icon><bitmap transparent-color=\"red\">plucker/viewer.bmp</bitmap></launcher-icon>");
    const BuildResult result = readLauncherIcons(*f.builder, f.document.root());
    ASSERT_TRUE(result.ok()) << result.message();
}

TEST(BitmapElements, InlineIconReachesPocketPc) {
    std::ifstream in(std::string(SKEDLIN_CORPUS) + "/bmp/plucker/viewer.bmp", std::ios::binary);
    std::string hex;
    char pair[3];
    for (int c; (c = in.get()) != EOF;) {
        std::snprintf(pair, sizeof pair, "%02x", c);
        hex += pair;
        hex += ' ';
    }
    Fixture f("<launcher-icon><bitmap data=\"inline\">" + hex + "</bitmap></launcher-icon>");
    const BuildResult result = readLauncherIcons(*f.builder, f.document.root());
    ASSERT_TRUE(result.ok()) << result.message();
    ASSERT_EQ(f.recorder->icons.size(), 1u);
    EXPECT_EQ(f.recorder->icons[0].width, 32);
}

TEST(BitmapElements, LogoFailuresEndTheStepWithCodeAndMessage) {
    const struct {
        std::string bitmaps;
        int code;
        std::string message;
    } cases[] = {
        {"<bitmap>plucker/longbar.bmp</bitmap>", 5,
         "The bitmap is too wide - " + std::string(SKEDLIN_CORPUS) + "/bmp/plucker/longbar.bmp"},
        {"<bitmap>plucker/lookup-4bpp.bmp</bitmap>", 6,
         "The number of colors in the bitmap is not support - " + std::string(SKEDLIN_CORPUS) +
             "/bmp/plucker/lookup-4bpp.bmp"},
        {"<bitmap>missing.bmp</bitmap>", 4,
         "Unable to load bitmap file: " + std::string(SKEDLIN_CORPUS) + "/bmp/missing.bmp"},
        {"<bitmap>bmpsuite/readme.txt</bitmap>", 7,
         "The bitmap format is not supported -  " + std::string(SKEDLIN_CORPUS) + "/bmp/bmpsuite/readme.txt"},
        {"<bitmap data=\"inline\">42 4D 00</bitmap>", 4, "Invalid inline bitmap."},
        {"<bitmap transparent-color=\"pink\">plucker/chicken.bmp</bitmap>", 4,
         "The transparent-color attribute \"pink\" is not a hexadecimal colour (0xRRGGBB) - " +
             std::string(SKEDLIN_CORPUS) + "/bmp/plucker/chicken.bmp"},
        {"<bitmap transparent-color=\"0x\">plucker/chicken.bmp</bitmap>", 4,
         "The transparent-color attribute \"0x\" is not a hexadecimal colour (0xRRGGBB) - " +
             std::string(SKEDLIN_CORPUS) + "/bmp/plucker/chicken.bmp"},
        // Data too short for the headers cannot be parsed, whatever it begins with.
        {"<bitmap data=\"inline\">zz</bitmap>", 4, "Invalid inline bitmap."},
        {"<bitmap>" + shortBmFile() + "</bitmap>", 4, "Unable to load bitmap file: " + shortBmFile()},
        {"<bitmap>plucker/chicken.bmp</bitmap><bitmap>plucker/mode1.bmp</bitmap>", 5,
         "Related bitmaps must have the same dimensions - " + std::string(SKEDLIN_CORPUS) + "/bmp/plucker/chicken.bmp"},
    };
    for (const auto& c : cases) {
        Fixture f("<image>" + c.bitmaps + "</image>");
        const BuildResult result = readWelcomeImage(*f.builder, f.document.root());
        EXPECT_EQ(result.code(), c.code) << c.bitmaps;
        EXPECT_EQ(result.message(), c.message);
        EXPECT_EQ(f.builder->palmDatabase().find(palm::kTypeBitmap, 4000), nullptr);
        EXPECT_TRUE(f.recorder->bitmaps.empty());
    }
}

TEST(BitmapElements, LogoAppendsTbmpAndHandsTheLargestToPocketPc) {
    Fixture f(
        "<image><bitmap>plucker/chicken.bmp</bitmap><bitmap transparent-color=\"0xFFFFFF\">"
        "plucker/chicken-8bpp.bmp</bitmap></image>");
    const BuildResult result = readWelcomeImage(*f.builder, f.document.root());
    ASSERT_TRUE(result.ok()) << result.message();
    const palm::PalmResource* logo = f.builder->palmDatabase().find(palm::kTypeBitmap, 4000);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->bytes[9], 2);  // version 2, 1 bit first
    EXPECT_EQ(logo->bytes[8], 1);
    ASSERT_EQ(f.recorder->bitmaps.size(), 1u);
    EXPECT_EQ(f.recorder->bitmaps[0].id, 4000);
    EXPECT_EQ(f.recorder->bitmaps[0].packed, packedCorpusFile("plucker/chicken-8bpp.bmp"));
}
