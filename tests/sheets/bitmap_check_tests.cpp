// The properties sheet judges a bitmap file as the builder does: every corpus
// bitmap offered as a logo, and every one of a launcher icon's size offered as
// an icon, is taken by both or refused by both for the same reason.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "sheet_test_support.h"
#include "builder/BitmapElementLoader.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/BitmapFiles.h"
#include "editor/ui/CPackagePropertiesSheet.h"
#include "editor/ui/ImageListPages.h"
#include "editor/ui/SheetText.h"
#include "model/XmlDocument.h"

using namespace skedlin;

namespace {

QStringList corpusBitmaps() {
    QStringList paths;
    QDirIterator it(QString::fromUtf8(SKEDLIN_CORPUS) + "/bmp", {"*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) paths.append(it.next());
    paths.sort();
    return paths;
}

// The builder's verdict on one bitmap element naming path, as an exit code
// (0 taken; 4 unreadable, 5 too large, 6 colours, 7 not a bitmap).
int builderVerdict(const QString& path, int maxWidth, int maxHeight) {
    xml::Document document;
    xml::ParseError error;
    const std::string text = "<bitmap>" + QFile::encodeName(path).toStdString() + "</bitmap>";
    const auto parsed = document.loadMemory(text, "", "", error);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    builder::LoadedBitmap loaded;
    return builder::bmpExitCode(
        builder::loadBitmapElement(document.root(), "/package.xml", {maxWidth, maxHeight, false}, loaded).code());
}

// The message the editor shows for each builder exit code, on the given page.
QString editorMessageFor(int builderCode, const char* sizeMessage) {
    switch (builderCode) {
    case 0: return {};
    case 5: return sizeMessage;
    default: return sheettext::kBitmapUnreadable;
    }
}

class BitmapCheck : public ::testing::Test {
protected:
    void SetUp() override { doc.newDocument(nullptr); }
    CSkedlinDoc doc;
    test::MessageLog messages;
};

}  // namespace

TEST_F(BitmapCheck, EditorAndBuilderAgreeOnEveryCorpusLogo) {
    const QStringList paths = corpusBitmaps();
    ASSERT_GT(paths.size(), 50);
    for (const QString& path : paths) {
        CPackagePropertiesSheet sheet(doc, false);
        messages.texts.clear();
        const bool taken = sheet.welcomePage()->addImageFile(path);
        const int verdict = builderVerdict(path, 160, 80);
        EXPECT_EQ(taken, verdict == 0) << path.toStdString() << ": builder code " << verdict;
        EXPECT_EQ(messages.last(), editorMessageFor(verdict, sheettext::kLogoTooLarge)) << path.toStdString();
    }
}

TEST_F(BitmapCheck, EditorAndBuilderAgreeOnEveryCorpusIconOfAnIconSize) {
    int iconSized = 0;
    for (const QString& path : corpusBitmaps()) {
        BmpImage image;
        const bool loads = static_cast<bool>(loadBitmapFile(path, image));
        CPackagePropertiesSheet sheet(doc, false);
        messages.texts.clear();
        const bool taken = sheet.launcherPage()->addImageFile(path);
        const bool iconSize =
            loads && image.width() == image.height() &&
            (image.width() == 16 || image.width() == 22 || image.width() == 32 || image.width() == 44);
        if (loads && !iconSize) {
            // Another size: the editor refuses it, the builder leaves it out of the icons.
            EXPECT_FALSE(taken) << path.toStdString();
            EXPECT_EQ(messages.last(), sheettext::kIconSize) << path.toStdString();
            continue;
        }
        iconSized += loads ? 1 : 0;
        const int verdict = builderVerdict(path, loads ? image.width() : 0, loads ? image.height() : 0);
        EXPECT_EQ(taken, verdict == 0) << path.toStdString() << ": builder code " << verdict;
        EXPECT_EQ(messages.last(), editorMessageFor(verdict, sheettext::kIconSize)) << path.toStdString();
    }
    EXPECT_GE(iconSized, 3) << "the corpus holds icons of 16, 22 and 32 pixels";
}

TEST_F(BitmapCheck, TakesTheVariantsTheBuilderTakes) {
    // Top-down rows and 16-bit bit-field masks load like any other bitmap.
    for (const char* relative :
         {"bmpsuite/g/pal8topdown.bmp", "bmpsuite/g/rgb16-565.bmp", "bmpsuite/g/rgb16bfdef.bmp"}) {
        const QString path = QString::fromUtf8(SKEDLIN_CORPUS) + "/bmp/" + relative;
        CPackagePropertiesSheet sheet(doc, false);
        EXPECT_TRUE(sheet.welcomePage()->addImageFile(path)) << relative;
        EXPECT_EQ(builderVerdict(path, 160, 80), 0) << relative;
    }
}

TEST_F(BitmapCheck, RefusesColourFourBitBitmapsAndReadsOnlyRegularFiles) {
    QTemporaryDir folder;
    CPackagePropertiesSheet sheet(doc, false);
    const QString plucker = QString::fromUtf8(SKEDLIN_CORPUS) + "/bmp/plucker/lookup-4bpp.bmp";
    EXPECT_FALSE(sheet.welcomePage()->addImageFile(plucker)) << "4 bits with colours the handhelds cannot show";
    EXPECT_EQ(messages.last(), sheettext::kBitmapUnreadable);
    EXPECT_FALSE(sheet.welcomePage()->addImageFile(folder.path())) << "a folder";
    EXPECT_FALSE(sheet.welcomePage()->addImageFile("/dev/zero")) << "a device never ends";
    EXPECT_TRUE(sheet.welcomePage()->images().isEmpty());
}

TEST(BitmapPreview, DrawsTheDecodedPixelsTopRowFirst) {
    // 2 x 2, 24 bits: the file's first stored row is the bottom one.
    const QByteArray file = test::makeBitmap(2, 2, 24);
    BmpImage image;
    std::vector<std::uint8_t> bytes(file.begin(), file.end());
    bytes[54] = 0xFF;  // bottom left pixel: blue
    ASSERT_TRUE(image.loadBytes(bytes));
    const QImage picture = toQImage(image);
    ASSERT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_TRUE(bitmapPreview(QStringLiteral("/does/not/exist.bmp")).isNull());
}
