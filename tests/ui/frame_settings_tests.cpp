#include <gtest/gtest.h>

#include "ui_test_support.h"
#include "editor/ui/DroppedFiles.h"
#include "editor/ui/FrameSettings.h"

namespace skedlin {
namespace {

TEST(WindowPlacementSettings, MinimizedIsStoredAsNormalAndReadBackWithTheRectangle) {
    test::clearProfile();
    auto profile = openProfile();
    writeWindowPlacement(*profile, {kShowMinimized, QRect(10, 20, 300, 200)});
    EXPECT_EQ(profile->value("App/ShowCmd").toInt(), kShowNormal);
    EXPECT_EQ(profile->value("App/RestTop").toInt(), 20);
    EXPECT_EQ(profile->value("App/RestLeft").toInt(), 10);
    EXPECT_EQ(profile->value("App/RestBottom").toInt(), 220);
    EXPECT_EQ(profile->value("App/RestRight").toInt(), 310);

    const WindowPlacement read = readWindowPlacement(*profile, {kShowMaximized, QRect(0, 0, 1, 1)});
    EXPECT_EQ(read.showCmd, kShowNormal);
    EXPECT_EQ(read.restored, QRect(10, 20, 300, 200));
}

TEST(WindowPlacementSettings, AnInsaneRectangleKeepsTheLastSaneOne) {
    test::clearProfile();
    auto profile = openProfile();
    writeWindowPlacement(*profile, {kShowNormal, QRect(10, 20, 300, 200)});
    writeWindowPlacement(*profile, {kShowMaximized, QRect(-500, -400, 100, 100)});  // wholly above-left
    writeWindowPlacement(*profile, {kShowMaximized, QRect(5, 5, 0, 10)});           // no width
    EXPECT_EQ(profile->value("App/ShowCmd").toInt(), kShowMaximized);
    EXPECT_EQ(readWindowPlacement(*profile, {}).restored, QRect(10, 20, 300, 200));
}

TEST(WindowPlacementSettings, MissingValuesTakeTheCurrentPlacement) {
    test::clearProfile();
    auto profile = openProfile();
    EXPECT_FALSE(readWindowPlacement(*profile, {kShowNormal, QRect(0, 0, 10, 10)}).restoredStored);
    profile->setValue("App/RestLeft", 50);
    const WindowPlacement read = readWindowPlacement(*profile, {kShowNormal, QRect(100, 120, 400, 300)});
    EXPECT_EQ(read.restored, QRect(50, 120, 450, 300));
    EXPECT_TRUE(read.restoredStored);
}

TEST(RecentFiles, KeepsSixMostRecentFirstWithoutDuplicates) {
    test::clearProfile();
    RecentFileList list;
    for (int i = 1; i <= 8; ++i) list.add(QStringLiteral("/p/f%1.xml").arg(i));
    list.add(QStringLiteral("/p/f5.xml"));
    EXPECT_EQ(list.files(),
              (QStringList{"/p/f5.xml", "/p/f8.xml", "/p/f7.xml", "/p/f6.xml", "/p/f4.xml", "/p/f3.xml"}));
    auto profile = openProfile();
    list.write(*profile);
    EXPECT_EQ(profile->value("Recent File List/File1").toString(), QStringLiteral("/p/f5.xml"));
    EXPECT_EQ(profile->value("Recent File List/File6").toString(), QStringLiteral("/p/f3.xml"));
    list.remove(QStringLiteral("/p/f8.xml"));
    list.write(*profile);
    EXPECT_FALSE(profile->contains("Recent File List/File6"));
    RecentFileList reread;
    reread.read(*profile);
    EXPECT_EQ(reread.files(), list.files());
}

TEST(DroppedFiles, ChoosesOpenImportOrRefusalByTheWholeExtension) {
    EXPECT_EQ(droppedFileAction("/home/a/Fair.xml"), DroppedFileAction::Open);
    EXPECT_EQ(droppedFileAction("/home/a/Fair.XML"), DroppedFileAction::Open);
    EXPECT_EQ(droppedFileAction("/home/a/people.VcF"), DroppedFileAction::Import);
    EXPECT_EQ(droppedFileAction("/home/a/dates.dba"), DroppedFileAction::Import);
    EXPECT_EQ(droppedFileAction("/home/a/list.csv"), DroppedFileAction::Import);
    EXPECT_EQ(droppedFileAction("/home/a/programme.ICS"), DroppedFileAction::Import);
    EXPECT_EQ(droppedFileAction("/home/a/notes.txt"), DroppedFileAction::Refuse);
    EXPECT_EQ(droppedFileAction("/home/a/README"), DroppedFileAction::Refuse);
    // Parts of an accepted extension are not accepted.
    EXPECT_EQ(droppedFileAction("/home/a/file.d"), DroppedFileAction::Refuse);
    EXPECT_EQ(droppedFileAction("/home/a/file.a-v"), DroppedFileAction::Refuse);
    // A dot in a folder name is no extension.
    EXPECT_EQ(droppedFileAction("/home/a.vcf/notes"), DroppedFileAction::Refuse);
}

}  // namespace
}  // namespace skedlin
