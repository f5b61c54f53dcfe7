#include "formats/bmp/BmpImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "bitmap_test_support.h"
#include "builder/BitmapElementLoader.h"

using namespace skedlin;
using bitmap_test::corpus;

namespace {

BmpImage mustLoad(const std::string& relative) {
    BmpImage image;
    const BmpLoadResult result = image.loadFile(corpus(relative));
    EXPECT_TRUE(result) << relative << ": " << result.message();
    return image;
}

// Exit code of loading and checking a corpus file as a logo (160 x 80).
int logoCode(const std::string& relative) {
    BmpImage image;
    const BmpLoadResult result = image.loadFile(corpus(relative));
    if (!result) return builder::bmpExitCode(result.code());
    if (const BmpError size = image.checkSize(160, 80); size != BmpError::None) return builder::bmpExitCode(size);
    return image.hasAcceptedBitCount() ? 0 : 6;
}

void expectSamePicture(const BmpImage& a, const BmpImage& b, int tolerance = 0) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const RgbColour ca = a.colourAt(x, y);
            const RgbColour cb = b.colourAt(x, y);
            ASSERT_NEAR(ca.red, cb.red, tolerance) << x << "," << y;
            ASSERT_NEAR(ca.green, cb.green, tolerance) << x << "," << y;
            ASSERT_NEAR(ca.blue, cb.blue, tolerance) << x << "," << y;
        }
}

}  // namespace

TEST(BmpLoad, CorpusFilesEndWithTheirExitCodes) {
    const struct {
        const char* file;
        int code;
    } cases[] = {
        {"bmpsuite/g/pal1.bmp", 0},           {"plucker/chicken.bmp", 0},
        {"plucker/chicken-8bpp.bmp", 0},      {"plucker/mode1.bmp", 0},
        {"plucker/bar-4bpp.bmp", 0},          {"plucker/longbar.bmp", 5},
        {"plucker/annotation-4bpp.bmp", 0},                                         // really 24 bits
        {"plucker/lookup-4bpp.bmp", 6},                                             // coloured 4-bit palette
        {"plucker/autostop_x2-8bpp.bmp", 6},  {"plucker/memorystick-4bpp.bmp", 0},  // grey with a 5-entry palette
        {"bmpsuite/q/pal2.bmp", 6},           {"bmpsuite/g/pal4rle.bmp", 4},
        {"bmpsuite/g/pal8rle.bmp", 4},        {"bmpsuite/g/rgb32.bmp", 4},
        {"bmpsuite/g/rgb32bf.bmp", 4},        {"bmpsuite/q/rgba32-1.bmp", 4},
        {"bmpsuite/q/rgb16-231.bmp", 4},      {"bmpsuite/q/rgba16-5551.bmp", 4},
        {"bmpsuite/q/rgb24jpeg.bmp", 4},      {"bmpsuite/q/rgb24png.bmp", 4},
        {"bmpsuite/q/rgb24rle24.bmp", 4},     {"bmpsuite/g/pal8os2.bmp", 7},  // OS/2 1.x header
        {"bmpsuite/b/badheadersize.bmp", 7},  {"bmpsuite/b/badbitcount.bmp", 4},
        {"bmpsuite/b/badpalettesize.bmp", 4}, {"bmpsuite/b/badrle.bmp", 4},
        {"bmpsuite/b/badrle4.bmp", 4},        {"bmpsuite/b/badwidth.bmp", 4},
        {"bmpsuite/b/reallybig.bmp", 4},      {"bmpsuite/b/rgb16-880.bmp", 4},
        {"bmpsuite/b/rletopdown.bmp", 4},     {"bmpsuite/b/shortfile.bmp", 4},
        {"bmpsuite/readme.txt", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(logoCode(c.file), c.code) << c.file;
}

TEST(BmpLoad, QuestionableButValidFilesLoadWithTheirDepth) {
    for (const char* file :
         {"bmpsuite/g/pal1bg.bmp",        "bmpsuite/g/pal8-0.bmp",          "bmpsuite/g/pal8gs.bmp",
          "bmpsuite/g/pal8nonsquare.bmp", "bmpsuite/g/pal8w124.bmp",        "bmpsuite/g/pal8w125.bmp",
          "bmpsuite/g/pal8w126.bmp",      "bmpsuite/g/rgb16.bmp",           "bmpsuite/g/rgb24pal.bmp",
          "bmpsuite/q/pal1p1.bmp",        "bmpsuite/q/pal8oversizepal.bmp", "bmpsuite/q/rgb24largepal.bmp",
          "bmpsuite/b/badbitssize.bmp",   "bmpsuite/b/badfilesize.bmp",     "bmpsuite/b/baddens1.bmp",
          "bmpsuite/b/badplanes.bmp",     "bmpsuite/b/pal8badindex.bmp",    "happydays/HD_large.bmp",
          "plucker/viewer-4bpp.bmp",      "plucker/viewersm_x2-2bpp.bmp"}) {
        const BmpImage image = mustLoad(file);
        EXPECT_TRUE(image.hasAcceptedBitCount()) << file;
    }
    EXPECT_EQ(mustLoad("bmpsuite/g/pal8-0.bmp").palette().size(), 256u);
    EXPECT_EQ(mustLoad("bmpsuite/g/pal8.bmp").palette().size(), 252u);
    EXPECT_EQ(mustLoad("bmpsuite/q/pal8oversizepal.bmp").palette().size(), 300u);
    EXPECT_TRUE(mustLoad("plucker/viewer-4bpp.bmp").isGrey());
    EXPECT_FALSE(mustLoad("bmpsuite/g/pal4.bmp").isGrey());
}

// The same 8-bit picture stored with larger headers, a gap before the rows and
// top-down rows must read exactly like the classic file.
TEST(BmpLoad, HeaderVariantsAndRowPlacementGiveTheSamePicture) {
    const BmpImage reference = mustLoad("bmpsuite/g/pal8.bmp");
    for (const char* file : {"bmpsuite/g/pal8v4.bmp", "bmpsuite/g/pal8v5.bmp", "bmpsuite/q/pal8offs.bmp",
                             "bmpsuite/g/pal8topdown.bmp", "bmpsuite/q/pal8os2v2.bmp"}) {
        SCOPED_TRACE(file);
        const BmpImage variant = mustLoad(file);
        EXPECT_EQ(variant.bitCount(), 8);
        expectSamePicture(variant, reference);
    }
    // Rows of a top-down file are kept bottom row first, so the normal form is the same bytes.
    EXPECT_EQ(mustLoad("bmpsuite/g/pal8topdown.bmp").rows(), reference.rows());
}

TEST(BmpLoad, SixteenBitFieldsOf555And565AreReadAsColours) {
    const BmpImage reference = mustLoad("bmpsuite/g/rgb24.bmp");
    for (const char* file : {"bmpsuite/g/rgb16.bmp", "bmpsuite/g/rgb16bfdef.bmp", "bmpsuite/g/rgb16-565.bmp",
                             "bmpsuite/g/rgb16-565pal.bmp"}) {
        SCOPED_TRACE(file);
        const BmpImage image = mustLoad(file);
        EXPECT_EQ(image.bitCount(), 16);
        expectSamePicture(image, reference, 8);
    }
}

TEST(BmpLoad, InfoHeaderDescribesTheNormalForm) {
    const BmpImage image = mustLoad("bmpsuite/g/pal8topdown.bmp");
    const std::vector<std::uint8_t> header = image.infoHeader();
    ASSERT_EQ(header.size(), 40u);
    auto le32 = [&](int at) {
        return static_cast<std::int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                         static_cast<std::uint32_t>(header[at + 3]) << 24);
    };
    EXPECT_EQ(le32(0), 40);
    EXPECT_EQ(le32(4), 127);
    EXPECT_EQ(le32(8), 64);  // positive: bottom-up
    EXPECT_EQ(header[14], 8);
    EXPECT_EQ(le32(16), 0);
    EXPECT_EQ(le32(32), 252);
}

TEST(BmpLoad, EveryTruncationOfAValidFileIsRefusedCleanly) {
    std::ifstream in(corpus("bmpsuite/g/pal4gs.bmp"), std::ios::binary);
    const std::vector<std::uint8_t> whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 1000u);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        BmpImage image;
        const BmpLoadResult result = image.loadBytes(std::span(whole.data(), length));
        ASSERT_FALSE(result) << length;
        ASSERT_EQ(builder::bmpExitCode(result.code()), 4) << length;  // even too short to show its "BM"
    }
    BmpImage image;
    EXPECT_TRUE(image.loadBytes(whole));
}

TEST(BmpLoad, PathsThatAreNotReadableFilesAreRefusedBeforeReading) {
    BmpImage image;
    EXPECT_EQ(image.loadFile(SKEDLIN_TEST_DATA).code(), BmpError::Unreadable);  // a directory
    EXPECT_EQ(image.loadFile("/dev/zero").code(), BmpError::Unreadable);        // a device: endless
    EXPECT_EQ(image.loadFile(std::string(SKEDLIN_TEST_DATA) + "/no-such.bmp").code(), BmpError::Unreadable);

    // A sparse file above the limit: refused from its size alone.
    const std::string huge =
        std::filesystem::temp_directory_path() / ("skedlin-huge-" + std::to_string(getpid()) + ".bmp");
    {
        std::ofstream out(huge, std::ios::binary);
        out << "BM";
    }
    std::filesystem::resize_file(huge, BmpImage::kMaxFileBytes + 1);
    EXPECT_EQ(image.loadFile(huge).code(), BmpError::Unreadable);
    std::filesystem::remove(huge);
}

TEST(BmpLoad, InlineHexIgnoresSeparatorsAndReadsLoneDigits) {
    EXPECT_EQ(decodeInlineHex("424D0a"), (std::vector<std::uint8_t>{0x42, 0x4D, 0x0A}));
    EXPECT_EQ(decodeInlineHex("42 4d\n\t0A"), (std::vector<std::uint8_t>{0x42, 0x4D, 0x0A}));
    // A group whose second character is not a digit is the first digit alone.
    EXPECT_EQ(decodeInlineHex("4 2x,f"), (std::vector<std::uint8_t>{0x04, 0x02, 0x0F}));
    EXPECT_TRUE(decodeInlineHex("zz \xC3\xA9 -").empty());

    std::ifstream in(corpus("plucker/viewer.bmp"), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string compact, spaced;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        compact += pair;
        spaced += pair;
        spaced += (i % 16 == 15) ? "\r\n" : " ";
    }
    BmpImage fromCompact, fromSpaced;
    ASSERT_TRUE(fromCompact.loadInlineHex(compact));
    ASSERT_TRUE(fromSpaced.loadInlineHex(spaced));
    EXPECT_EQ(fromCompact.rows(), fromSpaced.rows());
    EXPECT_EQ(fromCompact.width(), 32);

    BmpImage image;
    EXPECT_EQ(image.loadInlineHex("not a bitmap").code(), BmpError::Malformed);  // three bytes
    EXPECT_EQ(image.loadInlineHex(std::string(108, '0')).code(), BmpError::NotBitmap);
    EXPECT_EQ(image.loadInlineHex("424D 0000").code(), BmpError::Malformed);
}

TEST(BmpLoad, GreyFlagLooksOnlyAtPaletteEntriesInUse) {
    using namespace bitmap_test;
    std::vector<Rgb> palette = greyRamp16();
    palette[9] = {255, 0, 0};  // coloured, but used by no pixel
    BmpImage image;
    ASSERT_TRUE(image.loadBytes(makeBmp(6, 3, 4, palette, [](int x, int) { return static_cast<std::uint32_t>(x); })));
    EXPECT_TRUE(image.isGrey());
    EXPECT_TRUE(image.hasAcceptedBitCount());

    ASSERT_TRUE(image.loadBytes(makeBmp(6, 3, 4, palette, [](int x, int) { return x == 5 ? 9u : 0u; })));
    EXPECT_FALSE(image.isGrey());
    EXPECT_FALSE(image.hasAcceptedBitCount());

    // A pixel beyond a short palette has no known colour: not grey.
    ASSERT_TRUE(image.loadBytes(makeBmp(2, 2, 4, {{0, 0, 0}, {255, 255, 255}}, [](int, int) { return 7u; })));
    EXPECT_FALSE(image.isGrey());
}

TEST(BmpLoad, SizeChecksComeInOrderWidthThenHeight) {
    using namespace bitmap_test;
    BmpImage image;
    ASSERT_TRUE(image.loadBytes(makeBmp(161, 81, 24, {}, [](int, int) { return 0u; })));
    EXPECT_EQ(image.checkSize(160, 80), BmpError::TooWide);
    EXPECT_EQ(image.checkSize(161, 80), BmpError::TooTall);
    EXPECT_EQ(image.checkSize(161, 81), BmpError::None);
}
