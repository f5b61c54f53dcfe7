// The Build command against a stand-in builder, and SkedlinTool end to end.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include "document_test_support.h"
#include "editor/document/BuildCommand.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ProgramDirectory.h"

namespace skedlin {
namespace {

class BuildAndTool : public ::testing::Test {
protected:
    void SetUp() override { test::prepareEnvironment(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // A stand-in builder that records its arguments, writes errorText to the
    // error file (the fourth argument) and exits with exitCode, or kills
    // itself when exitCode is negative.
    QString fakeBuilder(int exitCode, const QByteArray& errorText) {
        const QString folder = path(QStringLiteral("program dir/"));
        QDir().mkpath(folder);
        const QString script = folder + QLatin1String(kBuilderFileName);
        test::writeBytes(
            script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                        QFile::encodeName(path(QStringLiteral("args.txt"))) + "\"\nprintf '" + errorText +
                        "' > \"$4\"\n" +
                        (exitCode < 0 ? QByteArray("kill -KILL $$") : "exit " + QByteArray::number(exitCode)) + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return folder;
    }

    struct ToolRun {
        int exitCode;
        QString out;
        QString err;
    };
    ToolRun runTool(const QStringList& arguments, const QString& workingDirectory = QString()) {
        QProcess process;
        if (!workingDirectory.isEmpty()) process.setWorkingDirectory(workingDirectory);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.start(test::binaryPath("SkedlinTool"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -999,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QTemporaryDir dir_;
};

TEST_F(BuildAndTool, PlanNamesOutputsAfterTheApplicationBesideThePackage) {
    const BuildPlan plan =
        planBuild(QStringLiteral("/opt/sk/"), QStringLiteral("/home/a b/Fair.xml"), QStringLiteral("Show"));
    EXPECT_EQ(plan.builderPath, QStringLiteral("/opt/sk/") + QLatin1String(kBuilderFileName));
    EXPECT_EQ(plan.outputBase, QStringLiteral("/home/a b/Show"));
    EXPECT_EQ(plan.errorFilePath, QStringLiteral("/home/a b/Fair.xml.err"));
    EXPECT_EQ(plan.palmFile, QStringLiteral("/home/a b/Show.prc"));
    EXPECT_EQ(plan.pocketPcFile, QStringLiteral("/home/a b/Show.cab"));
    EXPECT_EQ(plan.arguments, (QStringList{QStringLiteral("/home/a b/Fair.xml"), QStringLiteral("/home/a b/Show"),
                                           QStringLiteral("/ERR"), QStringLiteral("/home/a b/Fair.xml.err"),
                                           QStringLiteral("/PALM"), QStringLiteral("/WINCE")}));
}

TEST_F(BuildAndTool, UnsavedOrNeverSavedPackagesAreNotBuilt) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    EXPECT_EQ(buildRefusal(document), QString::fromLatin1(messages::kSaveBeforeBuild));
    document.setModified(false);  // unmodified but without a file
    EXPECT_EQ(buildRefusal(document), QString::fromLatin1(messages::kSaveBeforeBuild));
    ASSERT_TRUE(document.saveDocument(path(QStringLiteral("p.xml"))).ok());
    EXPECT_EQ(buildRefusal(document), QString());
}

TEST_F(BuildAndTool, ExitCodesBecomeTheirMessagesWithTheErrorFileText) {
    const QString packagePath = path(QStringLiteral("Fair.xml"));
    const BuildPlan plan = planBuild(fakeBuilder(10, "duplicate id 4"), packagePath, QStringLiteral("Show"));
    BuildOutcome outcome = runBuild(plan);
    EXPECT_EQ(outcome.result.code(), builder::kExitDuplicateContactId);
    EXPECT_EQ(outcome.result.message(),
              QStringLiteral("There is a duplicate contact Id in the schedule package XML file."));
    EXPECT_EQ(outcome.details, QStringLiteral("duplicate id 4"));
    // Paths with spaces reach the builder whole.
    EXPECT_EQ(test::readBytes(path(QStringLiteral("args.txt"))),
              (plan.arguments.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLocal8Bit());

    outcome = runBuild(planBuild(fakeBuilder(12, "cabwiz failed\\000trailing"), packagePath, QStringLiteral("Show")));
    EXPECT_EQ(outcome.result.code(), builder::kExitCabWizardStart);
    EXPECT_EQ(outcome.result.message(), QString());               // outside the table
    EXPECT_EQ(outcome.details, QStringLiteral("cabwiz failed"));  // up to the first zero byte

    outcome = runBuild(planBuild(fakeBuilder(0, ""), packagePath, QStringLiteral("Show")));
    EXPECT_TRUE(outcome.succeeded());

    outcome = runBuild(planBuild(path(QStringLiteral("nowhere/")), packagePath, QStringLiteral("Show")));
    EXPECT_EQ(outcome.result.code(), kBuilderNotStarted);
    EXPECT_EQ(outcome.result.message(), QStringLiteral("The Skedlin Calendar Builder application was not found. "));
    EXPECT_EQ(outcome.details, QStringLiteral("You may need to reinstall Skedlin to correct this problem."));

    // A builder that ends abnormally fails, whatever its process reported,
    // and what it wrote before is kept.
    outcome = runBuild(planBuild(fakeBuilder(-1, "half way"), packagePath, QStringLiteral("Show")));
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_TRUE(outcome.crashed());
    EXPECT_EQ(outcome.result.message(), QString::fromLatin1(messages::kBuilderCrashed));
    EXPECT_EQ(outcome.details, QStringLiteral("half way"));
}

TEST_F(BuildAndTool, ToolCreatesChecksAndResavesPackages) {
    const QString created = path(QStringLiteral("new.xml"));
    ASSERT_EQ(runTool({QStringLiteral("new"), created}).exitCode, 0);
    const ToolRun check = runTool({QStringLiteral("check"), created});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("1 groups, 0 events, 0 contacts")));

    QByteArray broken = test::readBytes(created);
    broken.replace("<events>", "<events><event><date>someday</date></event>");
    test::writeBytes(path(QStringLiteral("broken.xml")), broken);
    const ToolRun failed = runTool({QStringLiteral("check"), path(QStringLiteral("broken.xml"))});
    EXPECT_EQ(failed.exitCode, 9);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("The date format used in the schedule package is invalid.")));
    EXPECT_TRUE(failed.err.contains(QStringLiteral("Invalid Date: someday")));

    test::writeBytes(path(QStringLiteral("full.xml")), test::fixturePackage("full-package.xml"));
    EXPECT_EQ(runTool({QStringLiteral("resave"), path(QStringLiteral("full.xml")), path(QStringLiteral("copy.xml"))})
                  .exitCode,
              0);
    EXPECT_EQ(runTool({QStringLiteral("check"), path(QStringLiteral("copy.xml"))}).exitCode, 0);

    EXPECT_EQ(runTool({QStringLiteral("frobnicate")}).exitCode, 64);
    EXPECT_TRUE(runTool({QStringLiteral("--help")}).out.contains(QStringLiteral("resave IN [OUT]")));
}

// A package path relative to the working folder still gives bitmap paths
// relative to the package's folder, as a full path does.
TEST_F(BuildAndTool, ToolKeepsBitmapPathsRelativeWithARelativePackagePath) {
    QDir().mkpath(path(QStringLiteral("work")));
    QByteArray package = test::fixturePackage("full-package.xml");
    package.replace(".\\icon.bmp", QFile::encodeName(path(QStringLiteral("work/icon.bmp"))));
    test::writeBytes(path(QStringLiteral("work/full.xml")), package);
    ASSERT_EQ(runTool({QStringLiteral("resave"), QStringLiteral("full.xml"), QStringLiteral("copy.xml")},
                      path(QStringLiteral("work")))
                  .exitCode,
              0);
    ASSERT_EQ(runTool({QStringLiteral("resave"), QStringLiteral("work/full.xml"), QStringLiteral("work/copy2.xml")},
                      dir_.path())
                  .exitCode,
              0);
    for (const char* name : {"work/copy.xml", "work/copy2.xml"}) {
        const QByteArray copy = test::readBytes(path(QLatin1String(name)));
        EXPECT_TRUE(copy.contains("<bitmap>.\\icon.bmp</bitmap>")) << name << copy.toStdString();
        EXPECT_TRUE(copy.contains("<bitmap>.\\logos\\logo.bmp</bitmap>")) << name;
    }
}

TEST_F(BuildAndTool, ToolBuildsWithTheRealBuilder) {
    if (!QFileInfo::exists(test::binaryPath("SkedlinBuilder")) || !QFileInfo::exists(test::binaryPath("cabwiz")))
        GTEST_SKIP() << "SkedlinBuilder and cabwiz are not built in " SKEDLIN_BIN_DIR;
    const QString package = path(QStringLiteral("Fair.xml"));
    ASSERT_EQ(runTool({QStringLiteral("new"), package}).exitCode, 0);
    const ToolRun run = runTool({QStringLiteral("build"), package});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Calendar Package Created")));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Our Schedule.prc"))));
    EXPECT_TRUE(run.out.contains(path(QStringLiteral("Our Schedule.cab"))));
}

}  // namespace
}  // namespace skedlin
