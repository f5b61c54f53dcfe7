#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/preview/PreviewSession.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CPreviewWindow.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/FrameSettings.h"
#include "editor/ui/PreviewScreenWidget.h"
#include "viewer/core/skv_core.h"

namespace skedlin {
namespace {

constexpr int kBuildWaitMs = 30000;

bool waitFor(const std::function<bool()>& condition, int ms = kBuildWaitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

EventEntry event(const QString& title, const QString& group, int day) {
    EventEntry entry;
    entry.title = title;
    entry.groupName = group;
    entry.date = DateTimeValue::fromDate(2026, 5, day);
    return entry;
}

ContactEntry contact(int id, const QString& first, const QString& last, const QString& group) {
    ContactEntry entry;
    entry.id = id;
    entry.firstName = first;
    entry.lastName = last;
    entry.memberGroups = {group};
    return entry;
}

// A stand-in for the builder that records each run in runs.txt, waits a
// while (so a test can change the document meanwhile), then runs the real one.
QString writeSlowBuilder(const QString& folder, double seconds) {
    const QString path = folder + QStringLiteral("/SlowBuilder");
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly)) return {};
    script.write("#!/bin/sh\necho run >> \"" + folder.toUtf8() + "/runs.txt\"\nsleep " + QByteArray::number(seconds) +
                 "\nexec \"" + SKEDLIN_BIN_DIR "/SkedlinBuilder\" \"$@\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::clearProfile();
        setProgramDirectory(QStringLiteral(SKEDLIN_BIN_DIR "/"));
        frame = std::make_unique<CMainFrame>();
        fill(*frame->document());
        frame->show();
    }
    void TearDown() override {
        if (frame) frame->document()->setModified(false);
        frame.reset();
    }

    // Events are added out of group order: the builder numbers them group by
    // group, so a wrong mapping from list entry to record shows another event.
    static void fill(CSkedlinDoc& document) {
        document.setAppFileName(QStringLiteral("Fair"));
        document.setTitle(QStringLiteral("Spring Fair"));
        document.setLauncherName(QStringLiteral("Fair"));
        document.setWelcomeText(QStringLiteral("Welcome to the fair"));
        document.addEvent(event(QStringLiteral("Opening talk"), QStringLiteral("Talks"), 4));
        document.addEvent(event(QStringLiteral("Pottery class"), QStringLiteral("Workshops"), 5));
        document.addEvent(event(QStringLiteral("Closing talk"), QStringLiteral("Talks"), 6));
        document.addEvent(event(QStringLiteral("Weaving class"), QStringLiteral("Workshops"), 7));
        document.addContact(contact(1, QStringLiteral("Ada"), QStringLiteral("Lovell"), QStringLiteral("Talks")));
        document.addContact(contact(2, QStringLiteral("Bert"), QStringLiteral("Mason"), QStringLiteral("Workshops")));
        document.updateAllViews();
    }

    CPreviewWindow* openPreview() {
        frame->action(ID_VIEW_PREVIEW)->setChecked(true);
        CPreviewWindow* preview = frame->preview();
        EXPECT_TRUE(preview->isVisible());
        EXPECT_TRUE(waitIdle());
        return preview;
    }

    bool waitIdle() {
        QTest::qWait(1);
        return waitFor([&] { return !frame->preview()->isUpdating(); });
    }

    bool shows(const QString& text) { return frame->preview()->screenTexts().contains(text); }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(PreviewWindowTest, FollowsTheDocumentAndTheSelection) {
    CPreviewWindow* preview = openPreview();
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_WELCOME);
    EXPECT_TRUE(shows(QStringLiteral("Spring Fair"))) << preview->screenTexts().join(QLatin1Char('|')).toStdString();

    // Selecting list entries opens their records, also for the events the
    // builder numbers out of list order.
    CSkedlinView* view = frame->view();
    for (int entry : {2, 1, 3, 0}) {
        view->selectEntries({entry});
        const QString title = frame->document()->events()[entry].title;
        ASSERT_TRUE(waitFor([&] { return shows(title); }, 5000))
            << title.toStdString() << ": " << preview->screenTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    }

    // An edit of the shown event reaches the preview after a background build.
    EventEntry changed = frame->document()->events()[0];
    changed.title = QStringLiteral("Opening keynote");
    frame->document()->replaceEvent(0, changed);
    EXPECT_TRUE(preview->isUpdating());
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(shows(QStringLiteral("Opening keynote")));
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);

    view->showContacts();
    view->selectEntries({1});
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_CONTACT);
    EXPECT_TRUE(
        waitFor([&] { return preview->screenTexts().join(QLatin1Char(' ')).contains(QLatin1String("Mason")); }, 5000));

    // While the properties sheet is open the welcome screen shows.
    int kindDuringSheet = 0;
    test::withModalAnswer([&] { frame->action(ID_CALENDAR_PROPERTIES)->trigger(); },
                          [&](QWidget* sheet) {
                              kindDuringSheet = preview->screenKind();
                              sheet->close();
                          });
    EXPECT_EQ(kindDuringSheet, SKV_SCREEN_WELCOME);
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_CONTACT);
}

TEST_F(PreviewWindowTest, TapsAndKeysWorkLikeThePenAndTheHandheldKeys) {
    CPreviewWindow* preview = openPreview();
    PreviewScreenWidget* screen = preview->screenWidget();
    screen->setFocus();
    QTest::keyClick(screen, Qt::Key_Return);  // Browse
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_GROUPS);

    // A mouse click on the second group's row, through the enlargement.
    const auto rows = preview->session()->openableRows();
    ASSERT_EQ(rows.size(), 2u);
    const QPoint at = screen->screenOrigin() + QPoint(rows[1].x, rows[1].y) * screen->scale();
    QTest::mouseClick(screen, Qt::LeftButton, {}, at);
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENTS);
    EXPECT_TRUE(shows(QStringLiteral("Workshops")) || shows(QStringLiteral("Pottery class")));

    // The screen reached by tapping stays after a rebuild.
    frame->document()->setWelcomeText(QStringLiteral("Changed"));
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENTS);
    EXPECT_TRUE(shows(QStringLiteral("Pottery class")));

    QTest::keyClick(screen, Qt::Key_Escape);
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_GROUPS);
    QTest::keyClick(screen, Qt::Key_Escape);
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_WELCOME);
    // Back on the welcome screen would leave the viewer: the preview stays.
    QTest::keyClick(screen, Qt::Key_Escape);
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_WELCOME);

    // Gone back from the selected event to its list, the list stays after a
    // rebuild: only a new selection moves the preview.
    frame->view()->selectEntries({3});
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    QTest::keyClick(screen, Qt::Key_Escape);
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_EVENTS);
    frame->document()->setWelcomeText(QStringLiteral("Changed again"));
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENTS);
}

TEST_F(PreviewWindowTest, AnotherPackageStartsAtItsWelcomeScreen) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/fair.xml");
    ASSERT_TRUE(frame->document()->saveDocument(path).ok());
    CPreviewWindow* preview = openPreview();
    frame->view()->selectEntries({1});
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    ASSERT_TRUE(frame->openDocumentFile(path));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_WELCOME);
}

TEST_F(PreviewWindowTest, SwitchesDensityAndKeepsTheScreen) {
    CPreviewWindow* preview = openPreview();
    frame->view()->selectEntries({1});
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    EXPECT_EQ(preview->screenImage().size(), QSize(160, 160));
    preview->findChild<QAction*>(QStringLiteral("previewHighDensity"))->trigger();
    EXPECT_EQ(preview->density(), 2);
    EXPECT_EQ(preview->screenImage().size(), QSize(320, 320));
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    EXPECT_TRUE(shows(QStringLiteral("Pottery class")));
}

TEST_F(PreviewWindowTest, AFailingBuildShowsTheBuildersMessageInTheWindow) {
    CPreviewWindow* preview = openPreview();
    ImageReference logo;
    logo.path = QStringLiteral("/nonexistent-folder/missing-logo.bmp");
    frame->document()->setLogoImages({logo});
    frame->document()->updateAllViews();
    bool dialogSeen = false;
    ASSERT_TRUE(waitFor([&] {
        dialogSeen = dialogSeen || QApplication::activeModalWidget() != nullptr;
        return !preview->isUpdating();
    }));
    EXPECT_FALSE(dialogSeen);
    EXPECT_TRUE(preview->showsError());
    EXPECT_TRUE(preview->errorText().contains(QLatin1String("missing-logo.bmp"))) << preview->errorText().toStdString();

    // Mended, the preview shows the screen again.
    frame->document()->setLogoImages({});
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitIdle());
    EXPECT_FALSE(preview->showsError());
    EXPECT_EQ(preview->screenKind(), SKV_SCREEN_WELCOME);

    // A builder that cannot be started is reported the same way.
    preview->rebuilder()->setBuilderPath(QStringLiteral("/nonexistent-folder/SkedlinBuilder"));
    preview->rebuildNow();
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(preview->showsError());
    EXPECT_FALSE(preview->errorText().isEmpty());
}

TEST_F(PreviewWindowTest, AChangeDuringARebuildStartsOneMoreRebuild) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CPreviewWindow* preview = frame->preview();
    preview->rebuilder()->setBuilderPath(writeSlowBuilder(folder.path(), 0.8));
    CPreviewWindow* shown = openPreview();
    ASSERT_EQ(shown, preview);
    const int before = preview->rebuilder()->buildsStarted();

    frame->document()->setTitle(QStringLiteral("First change"));
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitFor([&] { return preview->rebuilder()->isRunning(); }, 5000));
    // Two changes while the build runs make one more build, of the last state.
    frame->document()->setTitle(QStringLiteral("Second change"));
    frame->document()->updateAllViews();
    frame->document()->setTitle(QStringLiteral("Third change"));
    frame->document()->updateAllViews();
    QTest::qWait(100);
    EXPECT_TRUE(preview->rebuilder()->isPending());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(preview->rebuilder()->buildsStarted() - before, 2);
    EXPECT_TRUE(shows(QStringLiteral("Third change")));

    // A change that leaves the package as it was starts no build.
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(preview->rebuilder()->buildsStarted() - before, 2);
}

TEST_F(PreviewWindowTest, PlaceDensityAndOpenStateAreRemembered) {
    CPreviewWindow* preview = openPreview();
    preview->setDensity(2);
    preview->setGeometry(QRect(140, 90, 420, 510));
    const QRect placed = preview->geometry();
    frame->document()->setModified(false);
    ASSERT_TRUE(frame->close());

    frame = std::make_unique<CMainFrame>();
    frame->restorePlacement();
    frame->show();
    ASSERT_TRUE(waitFor([&] { return frame->preview()->isVisible(); }, 5000));
    EXPECT_TRUE(frame->action(ID_VIEW_PREVIEW)->isChecked());
    EXPECT_EQ(frame->preview()->density(), 2);
    EXPECT_EQ(frame->preview()->geometry(), placed);

    // Closed with the window's own button, it stays closed next time.
    frame->preview()->close();
    EXPECT_FALSE(frame->action(ID_VIEW_PREVIEW)->isChecked());
    frame->document()->setModified(false);
    ASSERT_TRUE(frame->close());
    frame = std::make_unique<CMainFrame>();
    frame->restorePlacement();
    frame->show();
    QTest::qWait(50);
    EXPECT_FALSE(frame->preview()->isVisible());
}

TEST(PreviewSettingsTest, AnInsaneRectangleLeavesTheStoredOne) {
    test::clearProfile();
    auto profile = openProfile();
    EXPECT_FALSE(readPreviewWindowState(*profile).geometryStored);
    writePreviewWindowState(*profile, PreviewWindowState{true, QRect(10, 20, 300, 400), true, 2});
    writePreviewWindowState(*profile, PreviewWindowState{false, QRect(50, 50, -10, 0), true, 7});
    const PreviewWindowState read = readPreviewWindowState(*profile);
    EXPECT_FALSE(read.open);
    EXPECT_EQ(read.geometry, QRect(10, 20, 300, 400));
    EXPECT_TRUE(read.geometryStored);
    EXPECT_EQ(read.density, 1);  // anything but 2 is the standard screen
}

// Screenshots of the window for a person to look at (build/test-output/preview/).
TEST_F(PreviewWindowTest, SavesScreenshots) {
    const QString folder = QStringLiteral(SKEDLIN_BIN_DIR "/../test-output/preview");
    ASSERT_TRUE(QDir().mkpath(folder));
    CPreviewWindow* preview = openPreview();
    preview->resize(520, 600);
    const auto save = [&](const char* name) {
        QApplication::processEvents();
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        ASSERT_TRUE(preview->grab().save(path)) << path.toStdString();
    };
    save("1-welcome.png");
    frame->view()->selectEntries({1});
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_EVENT);
    save("2-event.png");
    frame->view()->showContacts();
    frame->view()->selectEntries({0});
    ASSERT_EQ(preview->screenKind(), SKV_SCREEN_CONTACT);
    save("3-contact.png");
    preview->setDensity(2);
    save("4-contact-high-density.png");
    ImageReference logo;
    logo.path = QStringLiteral("/nonexistent-folder/missing-logo.bmp");
    frame->document()->setLogoImages({logo});
    frame->document()->updateAllViews();
    ASSERT_TRUE(waitIdle());
    ASSERT_TRUE(preview->showsError());
    save("5-build-error.png");
}

}  // namespace
}  // namespace skedlin
