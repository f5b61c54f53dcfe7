#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <functional>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/Commands.h"

namespace skedlin {
namespace {

// A stand-in builder: records its arguments, writes an error file and exits
// with the code it is given, or kills itself when the code is negative.
void writeFakeBuilder(const QString& folder, int exitCode, const QByteArray& errorText) {
    const QString path = folder + QStringLiteral("/SkedlinBuilder");
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + folder.toUtf8() + "/args.txt\"\n");
    if (!errorText.isEmpty()) script.write("printf '" + errorText + "' > \"$4\"\n");
    script.write(exitCode < 0 ? QByteArray("kill -KILL $$\n") : "exit " + QByteArray::number(exitCode) + "\n");
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
        return answerDialog([&] { frame->action(ID_BUILD)->trigger(); });
    }

    // Runs action and reads the modal dialog it shows.
    BuildResult answerDialog(const std::function<void()>& action) {
        BuildResult result;
        test::withModalAnswer(action, [&](QWidget* dialog) {
            result.caption = dialog->windowTitle();
            result.text = test::dialogText(dialog);
            for (auto* line : dialog->findChildren<QLineEdit*>()) result.message += line->text() + QLatin1Char('|');
            for (auto* edit : dialog->findChildren<QPlainTextEdit*>()) result.details = edit->toPlainText();
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

TEST_F(BuildCommandTest, ABuilderThatEndsAbnormallyFailsWithWhatItWroteBefore) {
    writeFakeBuilder(programDir.path(), -1, "Writing the Palm file");
    saveDocument();
    const BuildResult result = runBuild();
    EXPECT_EQ(result.caption, QStringLiteral("Error Building Calendar Package"));
    EXPECT_EQ(result.message, QStringLiteral("SkedlinBuilder ended abnormally.|"));
    EXPECT_EQ(result.details, QStringLiteral("Writing the Palm file"));
}

// Every way a package can fail to open reaches the open-error dialog with the
// message of its code and the reader's details, and the open package stays.
TEST_F(BuildCommandTest, EachOpenFailureShowsItsCodesMessageAndDetails) {
    // The saved package names the DTD in the program folder: it must be there
    // for the file to validate.
    ASSERT_TRUE(QFile::copy(QStringLiteral(SKEDLIN_BIN_DIR "/CalendarPackage.dtd"),
                            programDir.path() + QStringLiteral("/CalendarPackage.dtd")));
    saveDocument();
    QFile saved(packagePath);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray good = saved.readAll();
    saved.close();
    ASSERT_TRUE(good.contains("<events>"));
    ASSERT_TRUE(good.contains("<contacts>"));
    const QByteArray dated = "<events><event><date day=\"37620\"/>";
    struct Case {
        const char* name;
        QByteArray from;
        QByteArray to;
        const char* message;
        const char* details;
    } cases[] = {
        {"not well-formed", "</calendar-package>", "", "An error was detected in the calendar package XML file.",
         "Line #"},
        {"days of week", "<events>",
         dated + "<repeating-event interval=\"weekly\"><days-of-week>X</days-of-week></repeating-event></event>",
         "The days of the week string in the schedule package is invalid.", "Bad days of week string - 'X'."},
        {"date", "<events>", "<events><event><date>32 Foo 2003</date></event>",
         "The date format used in the schedule package is invalid.", "Invalid Date: 32 Foo 2003"},
        {"duplicate contact", "<contacts>", "<contacts><contact id=\"7\"/><contact id=\"7\"/>",
         "There is a duplicate contact Id in the schedule package XML file.", ""},
        {"unknown contact", "</events>", "</events><contact-ids><contact-id>99</contact-id></contact-ids>",
         "A contact Id referenced in a group does not exist.", ""},
    };
    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.name);
        const QString path = packageDir.path() + QStringLiteral("/broken.xml");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(good).replace(broken.from, broken.to));
        file.close();
        bool opened = true;
        const BuildResult result = answerDialog([&] { opened = frame->openDocumentFile(path); });
        EXPECT_FALSE(opened);
        EXPECT_EQ(result.caption, QStringLiteral("Error Reading Calendar Package"));
        EXPECT_EQ(result.message, QString::fromLatin1(broken.message) + QLatin1Char('|'));
        EXPECT_TRUE(result.details.contains(QString::fromLatin1(broken.details))) << result.details.toStdString();
        if (broken.details[0] == 0) {
            EXPECT_EQ(result.details, QString());
        }
        EXPECT_EQ(frame->document()->pathName(), packagePath);
        EXPECT_EQ(frame->document()->title(), QStringLiteral("Show"));
    }
}

}  // namespace
}  // namespace skedlin
