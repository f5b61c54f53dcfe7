#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "sheet_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CEventGeneral.h"
#include "editor/ui/CEventRepeat.h"
#include "editor/ui/CEventSheet.h"
#include "editor/ui/NotePages.h"
#include "editor/ui/SheetText.h"
#include "editor/ui/Sheets.h"

using namespace skedlin;
using test::MessageLog;

namespace {

const QStringList kGroups = {"talks", "Events", "Workshops"};

EventEntry timedEvent(QTime start, QTime end) {
    EventEntry event;
    event.title = "Keynote";
    event.date = DateTimeValue::fromDate(QDate(2024, 5, 14));  // a Tuesday
    event.allDay = 0;
    event.startTime = DateTimeValue::fromTime(start);
    event.endTime = DateTimeValue::fromTime(end);
    event.groupName = "Events";
    return event;
}

}  // namespace

TEST(EventSheet, NewAllDayEventStartsWithTimesDisabled) {
    EventEntry event;
    event.title = "Holiday";
    CEventSheet sheet("New Event", event, kGroups);
    EXPECT_FALSE(sheet.generalPage()->startEdit()->isEnabled());
    EXPECT_FALSE(sheet.generalPage()->endEdit()->isEnabled());
    sheet.generalPage()->allDayCheck()->setChecked(false);
    EXPECT_TRUE(sheet.generalPage()->startEdit()->isEnabled());
    EXPECT_TRUE(sheet.generalPage()->endEdit()->isEnabled());
}

TEST(EventSheet, GroupListIsSortedAndFindsTheEventsGroup) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    CEventSheet sheet("Event Details", event, kGroups);
    QComboBox* groups = sheet.generalPage()->groupList();
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->itemText(0), "Events");
    EXPECT_EQ(groups->itemText(1), "talks");
    EXPECT_EQ(groups->currentText(), "Events");

    event.groupName = "Talks";  // found by a case-insensitive prefix search
    CEventSheet other("Event Details", event, kGroups);
    EXPECT_EQ(other.generalPage()->groupList()->currentText(), "talks");
    other.finish();
    EXPECT_EQ(event.groupName, "Talks") << "the shown entry is not chosen until the user picks it";
}

TEST(EventSheet, StartTimeCarriesTheDurationUpTo2355) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    CEventSheet sheet("Event Details", event, kGroups);
    CEventGeneral* page = sheet.generalPage();
    page->startEdit()->setTime(QTime(11, 15));
    EXPECT_EQ(page->endEdit()->time(), QTime(12, 15));
    page->startEdit()->setTime(QTime(23, 30));
    EXPECT_EQ(page->endEdit()->time(), QTime(23, 55));
    page->startEdit()->setTime(QTime(8, 0));
    EXPECT_EQ(page->endEdit()->time(), QTime(8, 25)) << "the shortened duration is kept";

    // An end before the start resets the duration to one hour.
    page->endEdit()->setTime(QTime(7, 0));
    page->startEdit()->setTime(QTime(9, 0));
    EXPECT_EQ(page->endEdit()->time(), QTime(10, 0));
}

TEST(EventSheet, RefusesEmptyTitleAndEndBeforeStart) {
    MessageLog messages;
    EventEntry event = timedEvent(QTime(10, 0), QTime(9, 0));
    const EventEntry stored = event;
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    sheet.finish();
    EXPECT_EQ(messages.last(), sheettext::kEndBeforeStart);
    EXPECT_EQ(messages.kinds.last(), MessageKind::Plain);
    EXPECT_FALSE(sheet.setCurrentIndex(1)) << "the General page keeps the user";
    EXPECT_EQ(event, stored);

    sheet.generalPage()->titleEdit()->clear();
    sheet.finish();
    EXPECT_EQ(messages.last(), sheettext::kEventTitleEmpty);

    sheet.generalPage()->titleEdit()->setText("Keynote");
    sheet.generalPage()->allDayCheck()->setChecked(true);
    sheet.finish();
    EXPECT_EQ(sheet.result(), QDialog::Accepted) << "an all-day event has no times to compare";
    EXPECT_EQ(event.allDay, 1);
}

TEST(EventSheet, WritesEveryFieldBack) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    event.exceptionDates = {DateTimeValue::fromDate(QDate(2024, 5, 21))};
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    CEventGeneral* general = sheet.generalPage();
    general->titleEdit()->setText("Closing");
    general->calendar()->setSelectedDate(QDate(2024, 6, 3));
    EXPECT_EQ(general->dateEdit()->date(), QDate(2024, 6, 3)) << "calendar and picker in step";
    general->dateEdit()->setDate(QDate(2024, 6, 4));
    EXPECT_EQ(general->calendar()->selectedDate(), QDate(2024, 6, 4));
    general->startEdit()->setTime(QTime(14, 0));
    general->groupList()->setCurrentIndex(2);
    emit general->groupList()->activated(2);
    ASSERT_TRUE(sheet.setCurrentIndex(2));
    sheet.notePage()->noteEdit()->setPlainText("Main hall");
    sheet.finish();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(event.title, "Closing");
    EXPECT_EQ(event.date.date(), QDate(2024, 6, 4));
    EXPECT_EQ(event.startTime.time(), QTime(14, 0));
    EXPECT_EQ(event.endTime.time(), QTime(15, 0));
    EXPECT_EQ(event.startTime.date(), QDate(1899, 12, 30)) << "times are held on the zero date";
    EXPECT_EQ(event.groupName, "Workshops");
    EXPECT_EQ(event.note, "Main hall");
    EXPECT_EQ(event.exceptionDates.size(), 1);
    EXPECT_EQ(event.repeatType, kRepeatNone);
}

TEST(EventSheet, WeeklyRepeatDefaultsToTheEventsWeekdayAndKeepsOne) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    event.repeatType = kRepeatWeekly;
    event.repeatOnMask = 0;
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    CEventRepeat* repeat = sheet.repeatPage();
    EXPECT_TRUE(repeat->repeatOnBox()->isVisible());
    EXPECT_EQ(repeat->unitText()->text(), "Week(s)");
    for (int day = 0; day < 7; ++day) EXPECT_EQ(repeat->weekdayCheck(day)->isChecked(), day == 2) << day;  // Tuesday

    repeat->weekdayCheck(2)->click();
    EXPECT_TRUE(repeat->weekdayCheck(2)->isChecked()) << "the last weekday stays ticked";
    repeat->weekdayCheck(4)->click();
    repeat->weekdayCheck(2)->click();
    sheet.finish();
    EXPECT_EQ(event.repeatType, kRepeatWeekly);
    EXPECT_EQ(event.repeatOnMask, 1 << 4);
}

TEST(EventSheet, MonthlyChoiceAndRepeatListMapping) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    event.repeatType = kRepeatMonthByDate;
    event.frequency = 3;
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    CEventRepeat* repeat = sheet.repeatPage();
    EXPECT_EQ(repeat->repeatList()->currentIndex(), kListMonth);
    EXPECT_TRUE(repeat->dateOfMonthRadio()->isChecked());
    EXPECT_TRUE(repeat->dateOfMonthRadio()->isVisible());
    EXPECT_EQ(repeat->frequencyEdit()->value(), 3);
    EXPECT_TRUE(repeat->noEndRadio()->isChecked());

    repeat->repeatList()->setCurrentIndex(kListDay);
    EXPECT_FALSE(repeat->dateOfMonthRadio()->isVisible());
    EXPECT_EQ(repeat->unitText()->text(), "Day(s)");
    repeat->repeatList()->setCurrentIndex(kListMonth);
    EXPECT_TRUE(repeat->dateOfMonthRadio()->isChecked());
    repeat->dayOfMonthRadio()->setChecked(true);
    sheet.finish();
    EXPECT_EQ(event.repeatType, kRepeatMonthByDay);

    // Frequencies stay within one byte whatever is typed.
    repeat->frequencyEdit()->setValue(300);
    EXPECT_EQ(repeat->frequencyEdit()->value(), kMaxFrequency);
}

TEST(EventSheet, DoesNotRepeatStillWritesFrequencyAndEndDate) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    event.repeatType = kRepeatWeekly;
    event.repeatOnMask = 0x22;
    event.frequency = 2;
    event.repeatEndDate = DateTimeValue::fromDate(QDate(2024, 12, 31));
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    CEventRepeat* repeat = sheet.repeatPage();
    EXPECT_TRUE(repeat->endOnRadio()->isChecked());
    repeat->repeatList()->setCurrentIndex(kListNone);
    EXPECT_FALSE(repeat->frequencyEdit()->isVisible());
    EXPECT_FALSE(repeat->repeatOnBox()->isVisible());
    sheet.finish();
    EXPECT_EQ(event.repeatType, kRepeatNone);
    EXPECT_EQ(event.repeatOnMask, 0);
    EXPECT_EQ(event.frequency, 2);
    EXPECT_EQ(event.repeatEndDate.date(), QDate(2024, 12, 31));
}

TEST(EventSheet, RepeatEndBeforeTheEventIsRefused) {
    MessageLog messages;
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    event.repeatType = kRepeatDaily;
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    ASSERT_TRUE(sheet.setCurrentIndex(1));
    sheet.repeatPage()->endOnRadio()->setChecked(true);
    sheet.repeatPage()->endDateEdit()->setDate(QDate(2024, 5, 13));
    sheet.finish();
    EXPECT_EQ(messages.last(), sheettext::kRepeatEndBeforeDate);
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    sheet.repeatPage()->endDateEdit()->setDate(QDate(2024, 5, 14));
    sheet.finish();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(event.repeatEndDate.date(), QDate(2024, 5, 14));
}

TEST(EventSheet, TimePickersFollowTheLocaleClock) {
    EXPECT_EQ(timePickerFormat(QLocale(QLocale::English, QLocale::UnitedStates)), "h:mm AP");
    EXPECT_EQ(timePickerFormat(QLocale(QLocale::German, QLocale::Germany)), "HH:mm");
}

TEST(EventSheet, EntryPointsAddReplaceAndCancel) {
    MessageLog messages;
    CSkedlinDoc doc;
    doc.newDocument(nullptr);
    doc.setModified(false);

    EventEntry proposal = timedEvent(QTime(9, 0), QTime(10, 0));
    proposal.title.clear();
    test::answerNextDialog<CEventSheet>([](CEventSheet* sheet) {
        sheet->generalPage()->titleEdit()->setText("Opening");
        sheet->button(CSheetDialog::Button::Ok)->click();
    });
    ASSERT_TRUE(newEvent(doc, proposal, nullptr));
    ASSERT_EQ(doc.events().size(), 1);
    EXPECT_EQ(doc.events().first().title, "Opening");
    EXPECT_EQ(proposal.title, "Opening");
    EXPECT_TRUE(doc.isModified());

    doc.setModified(false);
    test::answerNextDialog<CEventSheet>([](CEventSheet* sheet) {
        sheet->generalPage()->titleEdit()->setText("Changed");
        sheet->button(CSheetDialog::Button::Cancel)->click();
    });
    EXPECT_FALSE(editEvent(doc, 0, nullptr));
    EXPECT_EQ(doc.events().first().title, "Opening");
    EXPECT_FALSE(doc.isModified());

    test::answerNextDialog<CEventSheet>([](CEventSheet* sheet) { sheet->finish(); });
    EXPECT_TRUE(editEvent(doc, 0, nullptr));
    EXPECT_TRUE(doc.isModified()) << "a confirmed event sheet marks the document";
    EXPECT_FALSE(editEvent(doc, 5, nullptr));
}

TEST(EventSheet, KeepsItsSizeWhileTheRepeatChoiceShowsAndHidesControls) {
    EventEntry event = timedEvent(QTime(9, 0), QTime(10, 0));
    CEventSheet sheet("Event Details", event, kGroups);
    sheet.show();
    sheet.setCurrentIndex(1);
    CEventRepeat* page = sheet.repeatPage();
    QApplication::processEvents();
    const QSize opened = sheet.size();
    for (int choice : {2, 3, 1, 0, 2}) {  // Week, Month, Day, none, Week
        page->repeatList()->setCurrentIndex(choice);
        QApplication::processEvents();
        EXPECT_EQ(sheet.size(), opened) << "repeat choice " << choice;
    }
    // The weekday box shown last fits inside the page.
    EXPECT_TRUE(page->rect().contains(page->repeatOnBox()->geometry()));
    sheet.reject();
}
