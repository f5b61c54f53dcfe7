#include <gtest/gtest.h>

#include "model/Windows1252.h"

using skedlin::utf8ToWindows1252;
using skedlin::windows1252ToUtf8;

TEST(Windows1252, AsciiAndLatin1PassThrough) {
    bool replaced = true;
    EXPECT_EQ(utf8ToWindows1252("Plain text\n", &replaced), "Plain text\n");
    EXPECT_FALSE(replaced);
    EXPECT_EQ(utf8ToWindows1252("K\xC3\xB6ln \xC3\xA9t\xC3\xA9 \xC3\xBF", &replaced), "K\xF6ln \xE9t\xE9 \xFF");
    EXPECT_FALSE(replaced);
}

TEST(Windows1252, TheHighControlRangeCharacters) {
    bool replaced = true;
    // euro, single low quote, ellipsis, trade mark, Y diaeresis
    EXPECT_EQ(utf8ToWindows1252("\xE2\x82\xAC\xE2\x80\x9A\xE2\x80\xA6\xE2\x84\xA2\xC5\xB8", &replaced),
              "\x80\x82\x85\x99\x9F");
    EXPECT_FALSE(replaced);
}

TEST(Windows1252, C1ControlsKeepTheirByte) {
    // A file written with ANSI bytes under an ISO-8859-1 declaration.
    EXPECT_EQ(utf8ToWindows1252("\xC2\x80\xC2\x9F"), "\x80\x9F");
}

TEST(Windows1252, UnrepresentableCharactersBecomeQuestionMarks) {
    bool replaced = false;
    EXPECT_EQ(utf8ToWindows1252("a\xE6\x97\xA5"
                                "b\xF0\x9F\x98\x80"
                                "c",
                                &replaced),
              "a?b?c");
    EXPECT_TRUE(replaced);
    replaced = false;
    EXPECT_EQ(utf8ToWindows1252("x\xFFy\xC3", &replaced), "x?y?");  // invalid UTF-8
    EXPECT_TRUE(replaced);
    EXPECT_EQ(utf8ToWindows1252("ok"), "ok");  // the flag pointer is optional
}

TEST(Windows1252, BackToUtf8) {
    EXPECT_EQ(windows1252ToUtf8("K\xF6ln \x80 \x99"), "K\xC3\xB6ln \xE2\x82\xAC \xE2\x84\xA2");
    EXPECT_EQ(windows1252ToUtf8("\x81\x8D"), "\xC2\x81\xC2\x8D");  // undefined bytes stay C1 controls
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}
