// SkedlinTool check and import run as the real program on files that are not
// packages or not import files of any kind: each ends with its exit code and
// the message the editor's dialog would show, leaves the package as it was,
// and never waits on a pipe or reads a device.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "document_test_support.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ImportMessages.h"
#include "editor/document/ImportTextFile.h"

namespace skedlin {
namespace {

constexpr int kXmlError = 2;
constexpr int kToolFailure = 1;

class ToolHostileInput : public ::testing::Test {
protected:
    void SetUp() override { test::prepareEnvironment(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    struct ToolRun {
        int exitCode;
        QString err;
    };
    ToolRun runTool(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.start(test::binaryPath("SkedlinTool"), arguments);
        const bool finished = process.waitForFinished(60000);
        EXPECT_TRUE(finished) << "SkedlinTool hangs on " << arguments.join(' ').toStdString();
        if (!finished) process.kill(), process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -999,
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
    void makeFifo(const QString& name) { ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0); }
    void makeSparse(const QString& name, qint64 size, const QByteArray& start) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(start);
        ASSERT_TRUE(file.resize(size));
    }

    QTemporaryDir dir_;
};

TEST_F(ToolHostileInput, CheckRefusesWhatIsNotAPackageWithTheOpenError) {
    makeFifo(QStringLiteral("pipe.xml"));
    QDir(dir_.path()).mkdir(QStringLiteral("folder.xml"));
    test::writeBytes(path(QStringLiteral("empty.xml")), "");
    QByteArray junk;
    for (int i = 0; i < 5000; ++i) junk.append(static_cast<char>((i * 2654435761u) >> 24));
    test::writeBytes(path(QStringLiteral("junk.xml")), junk);
    test::writeBytes(path(QStringLiteral("cut.xml")), test::fixturePackage("full-package.xml").left(700));
    QByteArray deep;
    for (int i = 0; i < 10000; ++i) deep.append("<a>");
    test::writeBytes(path(QStringLiteral("deep.xml")), deep);
    makeSparse(QStringLiteral("huge.xml"), qint64{65} * 1024 * 1024, "<calendar-package>");

    const std::vector<std::pair<QString, QString>> cases = {
        {path(QStringLiteral("pipe.xml")), QStringLiteral("is not a file")},
        {path(QStringLiteral("folder.xml")), QStringLiteral("is not a file")},
        {QStringLiteral("/dev/zero"), QStringLiteral("is not a file")},
        {path(QStringLiteral("empty.xml")), QStringLiteral("The document is empty")},
        {path(QStringLiteral("junk.xml")), QString()},
        {path(QStringLiteral("cut.xml")), QString()},
        {path(QStringLiteral("deep.xml")), QStringLiteral("nested too deeply")},
        {path(QStringLiteral("huge.xml")), QStringLiteral("is too large")},
    };
    for (const auto& [file, reason] : cases) {
        const ToolRun run = runTool({QStringLiteral("check"), file});
        EXPECT_EQ(run.exitCode, kXmlError) << file.toStdString() << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(messages::kOpenErrorCaption))) << file.toStdString();
        EXPECT_TRUE(run.err.contains(reason)) << file.toStdString() << "\n" << run.err.toStdString();
    }
}

TEST_F(ToolHostileInput, ImportOfAnUnreadableFileLeavesThePackageAsItWas) {
    const QString package = path(QStringLiteral("package.xml"));
    ASSERT_EQ(runTool({QStringLiteral("new"), package}).exitCode, 0);
    const QByteArray before = test::readBytes(package);

    makeFifo(QStringLiteral("pipe.vcs"));
    QDir(dir_.path()).mkdir(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("zero.vcf"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("zero.dba"))));
    makeSparse(QStringLiteral("huge.vcs"), kMaxImportFileBytes + 1, "BEGIN:VCALENDAR\r\n");
    test::writeBytes(path(QStringLiteral("lines.csv")), QByteArray(kMaxImportLines + 1, '\n'));
    test::writeBytes(path(QStringLiteral("junk.dba")), "not an archive at all");
    test::writeBytes(path(QStringLiteral("empty.vcs")), "");

    const QString openFailed = QString::fromLatin1(messages::kImportOpenFailed);
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("pipe.vcs"), openFailed},
        {QStringLiteral("folder.csv"), openFailed},
        {QStringLiteral("zero.vcf"), openFailed},
        {QStringLiteral("zero.dba"), openFailed},
        {QStringLiteral("huge.vcs"),
         QString::fromLatin1(messages::kImportFileTooLarge).arg(kMaxImportFileBytes + 1).arg(kMaxImportFileBytes)},
        {QStringLiteral("lines.csv"), QString::fromLatin1(messages::kImportTooManyLines).arg(kMaxImportLines)},
        {QStringLiteral("junk.dba"), QString::fromLatin1(messages::kImportNotDateBookArchive)},
        {QStringLiteral("empty.vcs"), QString::fromLatin1(messages::kImportVCalendarFailed)},
    };
    for (const auto& [name, message] : cases) {
        const ToolRun run = runTool({QStringLiteral("import"), package, path(name)});
        EXPECT_EQ(run.exitCode, kToolFailure) << name.toStdString() << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(message)) << name.toStdString() << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("was not imported"))) << name.toStdString();
        EXPECT_EQ(test::readBytes(package), before) << name.toStdString();
    }
    // Only the package and the inputs: no temporary file was left beside it.
    QStringList names = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("config"));
    EXPECT_EQ(names.size(), static_cast<qsizetype>(cases.size() + 1)) << names.join(' ').toStdString();
}

}  // namespace
}  // namespace skedlin
