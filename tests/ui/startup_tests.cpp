#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ui_test_support.h"
#include "editor/ui/CSkedlinApp.h"
#include "editor/ui/FrameSettings.h"

namespace skedlin {
namespace {

QString touch(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

TEST(Startup, ReopensTheMostRecentFileOnlyWhileItExists) {
    QTemporaryDir dir;
    const QString older = touch(dir, "Older.xml");
    const QString latest = touch(dir, "Latest.xml");
    const QStringList noFile = {"Skedlin"};

    RecentFileList empty;
    EXPECT_TRUE(startupFile(noFile, empty).isEmpty()) << "a first start makes a new package";

    RecentFileList recent;
    recent.add(older);
    recent.add(latest);
    EXPECT_EQ(startupFile(noFile, recent), latest);

    // The most recent file was deleted: a new package, not the next entry and not an error.
    QFile::remove(latest);
    EXPECT_TRUE(startupFile(noFile, recent).isEmpty());
}

TEST(Startup, AFileOnTheCommandLineComesFirst) {
    QTemporaryDir dir;
    RecentFileList recent;
    recent.add(touch(dir, "Latest.xml"));
    const QString named = dir.filePath("Named.xml");
    EXPECT_EQ(startupFile({"Skedlin", named}, recent), named) << "even before it is known to exist";
}

}  // namespace
}  // namespace skedlin
