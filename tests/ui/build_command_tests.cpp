#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/Commands.h"

namespace skedlin {
namespace {

// A stand-in builder: records its arguments, writes an error file and exits
// with the code it is given.
void writeFakeBuilder(const QString& folder, int exitCode, const QByteArray& errorText) {
    const QString path = folder + QStringLiteral("/SkedlinBuilder");
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + folder.toUtf8() + "/args.txt\"\n");
    if (!errorText.isEmpty()) script.write("printf '" + errorText + "' > \"$4\"\n");
    script.write("exit " + QByteArray::number(exitCode) + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

struct BuildResult {
    QString caption;
    QString message;  // the one-line field(s)
    QString details;
    QString text;
};

class BuildCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::clearProfile();
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(packageDir.isValid());
        setProgramDirectory(programDir.path() + QLatin1Char('/'));
        frame = std::make_unique<CMainFrame>();
        frame->document()->setAppFileName(QStringLiteral("Show Time"));
        frame->document()->setTitle(QStringLiteral("Show"));
        frame->document()->setLauncherName(QStringLiteral("Show"));
        frame->document()->setWelcomeText(QStringLiteral("Welcome"));
        frame->document()->addEvent(EventEntry{});
        packagePath = packageDir.path() + QStringLiteral("/my fair.xml");
    }

    void saveDocument() { ASSERT_TRUE(frame->document()->saveDocument(packagePath).ok()); }

    BuildResult runBuild() {
        BuildResult result;
        test::withModalAnswer([&] { frame->action(ID_BUILD)->trigger(); },
                              [&](QWidget* dialog) {
                                  result.caption = dialog->windowTitle();
                                  result.text = test::dialogText(dialog);
                                  for (auto* line : dialog->findChildren<QLineEdit*>())
                                      result.message += line->text() + QLatin1Char('|');
                                  for (auto* edit : dialog->findChildren<QPlainTextEdit*>())
                                      result.details = edit->toPlainText();
                                  static_cast<QDialog*>(dialog)->accept();
                              });
        return result;
    }

    QTemporaryDir programDir;
    QTemporaryDir packageDir;
    QString packagePath;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(BuildCommandTest, AnUnsavedOrModifiedPackageIsNotBuilt) {
    writeFakeBuilder(programDir.path(), 0, {});
    frame->document()->setModified(false);  // never saved: no path
    EXPECT_EQ(runBuild().text, QStringLiteral("Please save the calendar package before performing a build."));
    saveDocument();
    frame->document()->setTitle(QStringLiteral("Changed"));
    EXPECT_EQ(runBuild().text, QStringLiteral("Please save the calendar package before performing a build."));
    EXPECT_FALSE(QFile::exists(programDir.path() + QStringLiteral("/args.txt")));
}

TEST_F(BuildCommandTest, SuccessPassesWholePathsAndNamesBothFiles) {
    writeFakeBuilder(programDir.path(), 0, {});
    saveDocument();
    const BuildResult result = runBuild();
    EXPECT_EQ(result.caption, QStringLiteral("Calendar Package Created"));
    const QString base = packageDir.path() + QStringLiteral("/Show Time");
    EXPECT_EQ(result.message, base + QStringLiteral(".prc|") + base + QStringLiteral(".cab|"));

    QFile args(programDir.path() + QStringLiteral("/args.txt"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts),
              (QStringList{packagePath, base, "/ERR", packagePath + ".err", "/PALM", "/WINCE"}));
    EXPECT_FALSE(frame->document()->isModified());
}

TEST_F(BuildCommandTest, AFailureShowsTheCodesMessageAndTheErrorFile) {
    writeFakeBuilder(programDir.path(), 10, "Contact 7 appears twice.");
    saveDocument();
    const BuildResult result = runBuild();
    EXPECT_EQ(result.caption, QStringLiteral("Error Building Calendar Package"));
    EXPECT_EQ(result.message, QStringLiteral("There is a duplicate contact Id in the schedule package XML file.|"));
    EXPECT_EQ(result.details, QStringLiteral("Contact 7 appears twice."));
}

TEST_F(BuildCommandTest, AnExitCodeOutsideTheTableShowsAnEmptyMessageWithTheDetails) {
    writeFakeBuilder(programDir.path(), 12, "The CAB Wizard failed.");
    saveDocument();
    const BuildResult result = runBuild();
    EXPECT_EQ(result.message, QStringLiteral("|"));
    EXPECT_EQ(result.details, QStringLiteral("The CAB Wizard failed."));
}

TEST_F(BuildCommandTest, AMissingBuilderGivesTheNotFoundMessageAndTheReinstallHint) {
    saveDocument();
    QFile stale(packagePath + QStringLiteral(".err"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("stale text of an earlier build");
    stale.close();
    const BuildResult result = runBuild();
    EXPECT_EQ(result.message, QStringLiteral("The Skedlin Calendar Builder application was not found. |"));
    EXPECT_EQ(result.details, QStringLiteral("You may need to reinstall Skedlin to correct this problem."));
}

}  // namespace
}  // namespace skedlin
