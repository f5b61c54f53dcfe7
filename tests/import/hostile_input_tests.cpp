// Import files that are not files, are too big, have a line too long or too
// many lines: each import is refused with its message before the file's text
// is held line by line, and the document is left as it was.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/PackageImport.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

TEST(ImportTextLimits, LineCountIsLimitedBeforeTheLinesAreMade) {
    // Exactly the limit is accepted, with or without a line end after the last line.
    QByteArray atLimit(kMaxImportLines, '\n');
    ImportTextFile text = parseImportText(atLimit);
    EXPECT_TRUE(text.result.ok());
    EXPECT_EQ(text.lines.size(), kMaxImportLines);
    atLimit.back() = 'x';  // the last line now has no line end: still the same count
    EXPECT_TRUE(parseImportText(atLimit).result.ok());

    // One more is refused, and no lines are kept.
    text = parseImportText(QByteArray(kMaxImportLines, '\n') + "x");
    EXPECT_EQ(text.result.code(), ImportFileError::TooManyLines);
    EXPECT_TRUE(text.lines.isEmpty());
}

TEST(ImportTextLimits, LongLineIsRefusedWithItsNumber) {
    QByteArray bytes = "BEGIN:VCARD\r\nN:";
    bytes.append(QByteArray(kMaxImportLineLength + 1, 'x'));
    bytes.append("\r\nEND:VCARD\r\n");
    ImportTextFile text = parseImportText(bytes);
    EXPECT_EQ(text.result.code(), ImportFileError::LineTooLong);
    EXPECT_EQ(text.result.message(),
              QStringLiteral("Line 2 of the file is too long to import (more than %1 characters).")
                  .arg(kMaxImportLineLength));
    EXPECT_TRUE(text.lines.isEmpty());

    // A line of exactly the limit (its "\r" not counted) is kept.
    bytes = QByteArray(kMaxImportLineLength, 'y') + "\r\n";
    text = parseImportText(bytes);
    ASSERT_TRUE(text.result.ok());
    EXPECT_EQ(text.lines.front().size(), kMaxImportLineLength);
}

class ImportRefusals : public ::testing::Test {
protected:
    void SetUp() override {
        document_.newDocument(nullptr);
        eventsBefore_ = document_.events().size();
        contactsBefore_ = document_.contacts().size();
    }
    // Imports `path`; expects it refused with exactly `message` and the document unchanged.
    void expectRefused(const QString& path, const QString& message) {
        RecordingSink sink;
        EXPECT_EQ(importPackageFile(document_, path, sink), ImportOutcome::Failed) << path.toStdString();
        EXPECT_EQ(sink.texts, QStringList{message}) << path.toStdString();
        EXPECT_EQ(document_.events().size(), eventsBefore_);
        EXPECT_EQ(document_.contacts().size(), contactsBefore_);
    }

    QTemporaryDir dir_;
    CSkedlinDoc document_;
    qsizetype eventsBefore_ = 0;
    qsizetype contactsBefore_ = 0;
};

TEST_F(ImportRefusals, FoldersDevicesAndPipesAreNotOpened) {
    const QString openFailed = QString::fromLatin1(messages::kImportOpenFailed);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath("pipe.vcs")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath("pipe.dba")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath("pipe.ics")).constData(), 0600), 0);
    QDir(dir_.path()).mkdir("folder.csv");
    QDir(dir_.path()).mkdir("folder.dba");
    for (const char* name : {"pipe.vcs", "pipe.dba", "pipe.ics", "folder.csv", "folder.dba", "absent.vcf"}) {
        expectRefused(dir_.filePath(name), openFailed);
    }
    // A device has no extension to choose an importer by; through a link it has one.
    ASSERT_TRUE(QFile::link("/dev/zero", dir_.filePath("zero.vcf")));
    ASSERT_TRUE(QFile::link("/dev/zero", dir_.filePath("zero.dba")));
    expectRefused(dir_.filePath("zero.vcf"), openFailed);
    expectRefused(dir_.filePath("zero.dba"), openFailed);
}

TEST_F(ImportRefusals, FilesPastTheLimitsAreRefusedWithTheirMessage) {
    // Larger than the limit: refused by its size, for each importer.
    for (const char* name : {"huge.vcs", "huge.dba", "huge.ics"}) {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(kMaxImportFileBytes + 1));  // sparse: takes no disk space
        file.close();
        expectRefused(
            file.fileName(),
            QString::fromLatin1(messages::kImportFileTooLarge).arg(kMaxImportFileBytes + 1).arg(kMaxImportFileBytes));
    }
    // Nothing but line ends: would be millions of empty lines.
    testing::writeFile(dir_, "lines.csv", QByteArray(kMaxImportLines + 1, '\n'));
    expectRefused(dir_.filePath("lines.csv"), QString::fromLatin1(messages::kImportTooManyLines).arg(kMaxImportLines));
    // One line longer than any property.
    testing::writeFile(dir_, "long.vcf", "BEGIN:VCARD\r\n" + QByteArray(kMaxImportLineLength + 1, 'N'));
    expectRefused(dir_.filePath("long.vcf"),
                  QString::fromLatin1(messages::kImportLineTooLong).arg(2).arg(kMaxImportLineLength));
    // The iCalendar reader takes the file's bytes: the same limits hold for it.
    testing::writeFile(dir_, "long.ics", "BEGIN:VCALENDAR\r\n" + QByteArray(kMaxImportLineLength + 1, 'N'));
    expectRefused(dir_.filePath("long.ics"),
                  QString::fromLatin1(messages::kImportLineTooLong).arg(2).arg(kMaxImportLineLength));
}

}  // namespace
}  // namespace skedlin
