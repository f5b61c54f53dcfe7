// SkedlinTool preview end to end: the files it writes, and its exit statuses
// for wrong arguments, foreign, damaged and unbuildable input.

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include "preview_test_support.h"

namespace skedlin::preview {
namespace {

using testing::RunResult;

RunResult preview(const QStringList& arguments) {
    return testing::runProgram(testing::binaryPath("SkedlinTool"), QStringList{QStringLiteral("preview")} + arguments);
}

class PreviewTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        prc = testing::buildPrc(testing::examplePackage(), folder.path(), QStringLiteral("Conference"));
        ASSERT_FALSE(prc.isEmpty());
    }
    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }
    QTemporaryDir folder;
    QString prc;
};

TEST_F(PreviewTool, WritesOneScreenAtEitherDensity) {
    RunResult run = preview({prc, QStringLiteral("--screen"), QStringLiteral("event:7000"), QStringLiteral("--out"),
                             path("event.png"), QStringLiteral("--texts"), path("event.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(path("event.png")).size(), QSize(160, 160));
    EXPECT_TRUE(testing::readAll(path("event.txt")).contains("2 17 1 Opening and welcome\n"));

    run =
        preview({prc, QStringLiteral("--density"), QStringLiteral("2"), QStringLiteral("--out"), path("welcome.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(path("welcome.png")).size(), QSize(320, 320));
}

TEST_F(PreviewTool, BuildsAPackageXmlFirstAndLeavesNothingBehind) {
    const QString xml = folder.filePath(QStringLiteral("Conference.xml"));
    ASSERT_TRUE(QFile::copy(testing::examplePackage(), xml));
    for (const char* bitmap : {"Logo.bmp", "LauncherIcon16.bmp", "LauncherIcon22.bmp", "LauncherIcon32.bmp"})
        QFile::copy(QStringLiteral(SKEDLIN_SOURCE_DIR "/examples/conference/") + QLatin1String(bitmap),
                    folder.filePath(QLatin1String(bitmap)));
    QDir(folder.path()).remove(QStringLiteral("Conference.prc"));
    const QStringList before = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    const RunResult run = preview(
        {xml, QStringLiteral("--screen"), QStringLiteral("groups"), QStringLiteral("--out"), path("groups.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList after = QStringList(before) << QStringLiteral("groups.png");
    after.sort();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name), after);

    // A package the builder refuses: its message and its exit status.
    QFile broken(path("Broken.xml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<calendar-package><oops></calendar-package>");
    broken.close();
    const RunResult refused = preview({path("Broken.xml"), QStringLiteral("--out"), path("broken.png")});
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("cannot be built")) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("broken.png")));
}

TEST_F(PreviewTool, WritesEveryScreenIntoAFolder) {
    const RunResult run = preview({prc, QStringLiteral("--out-dir"), path("screens")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList files = QDir(path("screens")).entryList(QDir::Files, QDir::Name);
    EXPECT_TRUE(files.contains(QStringLiteral("01-welcome.png")));
    EXPECT_TRUE(files.contains(QStringLiteral("02-groups-page-1.png")));
    EXPECT_TRUE(files.contains(QStringLiteral("03-group-1-events-page-1.png")));
    EXPECT_TRUE(files.contains(QStringLiteral("event-7000.png")));
    EXPECT_TRUE(files.contains(QStringLiteral("contact-6000.png")));
    EXPECT_TRUE(run.out.contains(QByteArray::number(files.size()) + " screens written"));
}

TEST_F(PreviewTool, RefusesWhatItCannotShowWithADocumentedStatus) {
    const QString out = path("x.png");
    // Arguments.
    EXPECT_EQ(preview({}).exitCode, 64);
    EXPECT_EQ(preview({prc}).exitCode, 64);
    EXPECT_EQ(preview({prc, QStringLiteral("--out"), out, QStringLiteral("--out-dir"), path("d")}).exitCode, 64);
    EXPECT_EQ(preview({prc, QStringLiteral("--density"), QStringLiteral("3"), QStringLiteral("--out"), out}).exitCode,
              64);
    EXPECT_EQ(preview({prc, QStringLiteral("--frobnicate"), QStringLiteral("--out"), out}).exitCode, 64);
    // Not a package: a missing file, a text file, an empty resource database.
    EXPECT_EQ(preview({path("missing.prc"), QStringLiteral("--out"), out}).exitCode, 65);
    QFile text(path("notes.prc"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some text, no database at all");
    text.close();
    RunResult run = preview({path("notes.prc"), QStringLiteral("--out"), out});
    EXPECT_EQ(run.exitCode, 65);
    EXPECT_TRUE(run.err.contains("notes.prc")) << run.err.toStdString();
    QByteArray empty(78, '\0');
    empty[33] = 1;
    QFile database(path("empty.prc"));
    ASSERT_TRUE(database.open(QIODevice::WriteOnly));
    database.write(empty);
    database.close();
    run = preview({path("empty.prc"), QStringLiteral("--out"), out});
    EXPECT_EQ(run.exitCode, 65);
    EXPECT_TRUE(run.err.contains("not a calendar package")) << run.err.toStdString();
    // Damaged: an event record cut short, met on the way through every screen.
    QFile damaged(path("damaged.prc"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(testing::truncateResource(testing::readAll(prc), "Nevt", 7001, 3));
    damaged.close();
    run = preview({path("damaged.prc"), QStringLiteral("--out-dir"), path("damaged")});
    EXPECT_EQ(run.exitCode, 66);
    EXPECT_TRUE(run.err.contains("Nevt 7001")) << run.err.toStdString();
    // No such screen.
    run = preview({prc, QStringLiteral("--screen"), QStringLiteral("event:6999"), QStringLiteral("--out"), out});
    EXPECT_EQ(run.exitCode, 67);
    EXPECT_TRUE(run.err.contains("6999")) << run.err.toStdString();
    // An output that cannot be written.
    run = preview({prc, QStringLiteral("--out"), path("no/such/folder/x.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(out));
}

}  // namespace
}  // namespace skedlin::preview
