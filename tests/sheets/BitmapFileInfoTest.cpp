#include <gtest/gtest.h>

#include <QFile>

#include "SheetTestSupport.h"
#include "editor/ui/BitmapFileInfo.h"

using namespace skedlin;

namespace {

QString corpusBitmap(const char* relative) {
    return QString::fromUtf8(SKEDLIN_CORPUS) + "/bmp/" + relative;
}

}  // namespace

TEST(BitmapFileInfo, ReadsSizeAndDepthOfEveryAcceptedDepth) {
    for (int bits : {1, 4, 8, 16, 24}) {
        BitmapFileInfo info;
        ASSERT_TRUE(readBitmapInfo(test::makeBitmap(22, 21, bits), info)) << bits;
        EXPECT_EQ(info.width, 22);
        EXPECT_EQ(info.height, 21);
        EXPECT_EQ(info.bitsPerPixel, bits);
    }
}

TEST(BitmapFileInfo, RefusesWhatTheBuilderCannotUse) {
    BitmapFileInfo info;
    EXPECT_FALSE(readBitmapInfo(test::makeBitmap(16, 16, 32), info)) << "32 bits per pixel";
    EXPECT_FALSE(readBitmapInfo(test::makeBitmap(16, 16, 2), info)) << "2 bits per pixel";

    QByteArray truncated = test::makeBitmap(16, 16, 24);
    truncated.chop(1);
    EXPECT_FALSE(readBitmapInfo(truncated, info)) << "last row cut short";
    EXPECT_FALSE(readBitmapInfo(truncated.left(53), info)) << "headers cut short";

    QByteArray notBitmap = test::makeBitmap(16, 16, 8);
    notBitmap[0] = 'P';
    EXPECT_FALSE(readBitmapInfo(notBitmap, info));

    QByteArray huge = test::makeBitmap(16, 16, 24);
    huge[18] = char(0xFF), huge[19] = char(0xFF), huge[20] = char(0xFF), huge[21] = char(0x7F);
    EXPECT_FALSE(readBitmapInfo(huge, info)) << "a width far beyond the data must not wrap";

    QByteArray topDown = test::makeBitmap(16, 16, 24);
    topDown[25] = char(0xFF);  // negative height
    EXPECT_FALSE(readBitmapInfo(topDown, info));
}

TEST(BitmapFileInfo, CorpusFiles) {
    BitmapFileInfo info;
    EXPECT_TRUE(readBitmapFileInfo(corpusBitmap("bmpsuite/g/pal8.bmp"), info));
    EXPECT_EQ(info.width, 127);
    EXPECT_EQ(info.height, 64);
    EXPECT_TRUE(readBitmapFileInfo(corpusBitmap("bmpsuite/g/rgb24.bmp"), info));
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("bmpsuite/g/pal4rle.bmp"), info)) << "run-length compressed";
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("bmpsuite/g/pal8rle.bmp"), info)) << "run-length compressed";
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("bmpsuite/g/rgb32.bmp"), info));
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("bmpsuite/b/shortfile.bmp"), info));
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("bmpsuite/b/reallybig.bmp"), info));
    EXPECT_FALSE(readBitmapFileInfo(corpusBitmap("does-not-exist.bmp"), info));
}
