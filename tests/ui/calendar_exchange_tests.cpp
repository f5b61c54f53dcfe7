// Importing an iCalendar file into the editor asks for the period over which
// repeat rules are expanded; File > Export writes the file the user names.

#include <gtest/gtest.h>

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include "ui_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/Commands.h"

namespace skedlin {
namespace {

constexpr const char* kRulesFile =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
    "BEGIN:VEVENT\r\nSUMMARY:Weekly\r\nDTSTART:20260105T100000\r\nRRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nSUMMARY:Two Mondays\r\nDTSTART:20260105T100000\r\nRRULE:FREQ=MONTHLY;BYDAY=1MO,3MO\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n";

class CalendarExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::clearProfile();
        frame = std::make_unique<CMainFrame>();
        frame->show();
        doc = frame->document();
        ASSERT_TRUE(dir.isValid());
    }
    int count(const QString& title) const {
        int n = 0;
        for (const EventEntry& e : doc->events()) n += e.title == title ? 1 : 0;
        return n;
    }

    std::unique_ptr<CMainFrame> frame;
    CSkedlinDoc* doc = nullptr;
    QTemporaryDir dir;
};

TEST_F(CalendarExchangeTest, DroppedCalendarAsksForTheExpansionPeriod) {
    const QString path = dir.filePath("rules.ics");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kRulesFile);
    file.close();

    QString report;
    bool asked = false;
    test::withModalAnswer([&] { frame->handleDroppedFiles({path}); },
                          [&](QWidget* dialog) {
                              if (dialog->objectName() == QLatin1String("expansionWindowDialog")) {
                                  asked = true;
                                  dialog->findChild<QDateEdit*>("expandFrom")->setDate(QDate(2026, 1, 1));
                                  dialog->findChild<QDateEdit*>("expandUntil")->setDate(QDate(2026, 3, 31));
                                  static_cast<QDialog*>(dialog)->accept();
                              } else if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                                  report += box->text();
                                  box->accept();
                              }
                          });
    EXPECT_TRUE(asked);
    EXPECT_EQ(count("Weekly"), 1);
    EXPECT_EQ(count("Two Mondays"), 6);  // January to March, first and third Mondays
    EXPECT_TRUE(report.contains("expanded into 6 single event(s) between 2026-01-01 and 2026-03-31"))
        << report.toStdString();

    // Cancelling the question adds nothing.
    const qsizetype before = doc->events().size();
    test::withModalAnswer([&] { frame->handleDroppedFiles({path}); },
                          [&](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    EXPECT_EQ(doc->events().size(), before);
}

TEST_F(CalendarExchangeTest, ExportWritesTheChosenFile) {
    EventEntry event;
    event.title = "Opening";
    event.date = DateTimeValue::fromDate(2026, 5, 14);
    event.groupName = "Events";
    doc->addEvent(event);
    QAction* exportAction = nullptr;
    for (QAction* action : frame->findChildren<QAction*>()) {
        if (action->text() == QString::fromUtf8(commandInfo(ID_EXPORT).menuText)) exportAction = action;
    }
    ASSERT_NE(exportAction, nullptr);
    const QString path = dir.filePath("programme.ics");
    test::withModalAnswer([&] { exportAction->trigger(); },
                          [&](QWidget* dialog) {
                              if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
                                  test::acceptFileDialog(files, path);
                              }
                          });
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("SUMMARY:Opening\r\n"));
}

}  // namespace
}  // namespace skedlin
