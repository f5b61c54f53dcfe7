#include "editor/ui/CEventGeneral.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimeEdit>

#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"
#include "editor/ui/SortedLists.h"

namespace skedlin {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kOneHour = 60 * 60;
// The latest end time the page proposes when moving the start would push the
// end into the next day.
const QTime kLatestEnd(23, 55);
// The month calendar gets a little room around its own minimum size.
constexpr int kCalendarMargin = 5;

QString withoutQuotedText(const QString& format) {
    QString plain;
    bool quoted = false;
    for (QChar c : format) {
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted)
            plain += c;
    }
    return plain;
}

// The locale's short date format with a four-digit year, so that the picker
// never has to guess the century.
QString datePickerFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The first entry that is the name itself, else the first that starts with it
// (ignoring case); -1 when none.
int findGroupEntry(const QComboBox* box, const QString& name) {
    const int exact = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (exact >= 0) return exact;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).startsWith(name, Qt::CaseInsensitive)) return i;
    return -1;
}

}  // namespace

QString timePickerFormat(const QLocale& locale) {
    const QString format = withoutQuotedText(locale.timeFormat(QLocale::ShortFormat));
    const bool twelveHour = format.contains('a', Qt::CaseInsensitive);
    return twelveHour ? QStringLiteral("h:mm AP") : QStringLiteral("HH:mm");
}

CEventGeneral::CEventGeneral(const EventEntry& event, const QStringList& groupNames, QWidget* parent)
    : CSheetPage(sheettext::kGeneralPage, kEventGeneralHelp, parent), original_(event), groupName_(event.groupName) {
    const QLocale locale;
    auto* layout = new QGridLayout(this);

    auto* titleLabel = new QLabel(sheettext::kEventTitleLabel, this);
    titleEdit_ = new QLineEdit(event.title, this);
    titleLabel->setBuddy(titleEdit_);
    layout->addWidget(titleLabel, 0, 0);
    layout->addWidget(titleEdit_, 0, 1, 1, 3);

    const QDate date = event.date.date().isValid() ? event.date.date() : QDate::currentDate();
    auto* dateLabel = new QLabel(sheettext::kDateLabel, this);
    dateEdit_ = new QDateEdit(date, this);
    dateEdit_->setDisplayFormat(datePickerFormat(locale));
    dateEdit_->setCalendarPopup(false);  // spin buttons; the month calendar is beside it
    dateLabel->setBuddy(dateEdit_);
    layout->addWidget(dateLabel, 1, 0);
    layout->addWidget(dateEdit_, 1, 1);

    calendar_ = new QCalendarWidget(this);
    calendar_->setSelectedDate(date);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    const QSize calendarSize = calendar_->minimumSizeHint() + QSize(kCalendarMargin, kCalendarMargin);
    calendar_->setMinimumSize(calendarSize);
    layout->addWidget(calendar_, 2, 1, 1, 3);

    allDayCheck_ = new QCheckBox(sheettext::kAllDay, this);
    allDayCheck_->setChecked(event.allDay != 0);
    layout->addWidget(allDayCheck_, 3, 1, 1, 3);

    const QString timeFormat = timePickerFormat(locale);
    auto* timeLabel = new QLabel(sheettext::kTimeLabel, this);
    const QTime start = event.startTime.time().isValid() ? event.startTime.time() : QTime(0, 0);
    const QTime end = event.endTime.time().isValid() ? event.endTime.time() : QTime(0, 0);
    startEdit_ = new QTimeEdit(QTime(start.hour(), start.minute()), this);
    endEdit_ = new QTimeEdit(QTime(end.hour(), end.minute()), this);
    startEdit_->setDisplayFormat(timeFormat);
    endEdit_->setDisplayFormat(timeFormat);
    timeLabel->setBuddy(startEdit_);
    auto* times = new QHBoxLayout;
    times->addWidget(startEdit_);
    times->addWidget(new QLabel(sheettext::kTimeTo, this));
    times->addWidget(endEdit_);
    times->addStretch(1);
    layout->addWidget(timeLabel, 4, 0);
    layout->addLayout(times, 4, 1, 1, 3);
    startEdit_->setEnabled(!allDayCheck_->isChecked());
    endEdit_->setEnabled(!allDayCheck_->isChecked());

    auto* groupLabel = new QLabel(sheettext::kGroupLabel, this);
    groupList_ = new QComboBox(this);
    for (const QString& name : groupNames) insertSorted(groupList_, name);
    groupList_->setCurrentIndex(findGroupEntry(groupList_, event.groupName));
    groupLabel->setBuddy(groupList_);
    layout->addWidget(groupLabel, 5, 0);
    layout->addWidget(groupList_, 5, 1, 1, 2);
    layout->setColumnStretch(3, 1);
    layout->setRowStretch(6, 1);

    durationSeconds_ = startEdit_->time().secsTo(endEdit_->time());

    connect(allDayCheck_, &QCheckBox::toggled, this, [this](bool allDay) {
        startEdit_->setEnabled(!allDay);
        endEdit_->setEnabled(!allDay);
    });
    connect(groupList_, &QComboBox::activated, this, [this](int index) { groupName_ = groupList_->itemText(index); });
    connect(calendar_, &QCalendarWidget::selectionChanged, this, [this] { setDate(calendar_->selectedDate()); });
    connect(calendar_, &QCalendarWidget::clicked, this, &CEventGeneral::setDate);
    connect(dateEdit_, &QDateEdit::dateChanged, this, &CEventGeneral::setDate);
    connect(startEdit_, &QTimeEdit::timeChanged, this, &CEventGeneral::startTimeChanged);
    connect(endEdit_, &QTimeEdit::timeChanged, this, &CEventGeneral::endTimeChanged);
}

void CEventGeneral::setDate(const QDate& date) {
    if (!date.isValid()) return;
    if (dateEdit_->date() != date) {
        const QSignalBlocker blocker(dateEdit_);
        dateEdit_->setDate(date);
    }
    if (calendar_->selectedDate() != date) {
        const QSignalBlocker blocker(calendar_);
        calendar_->setSelectedDate(date);
    }
}

void CEventGeneral::startTimeChanged(const QTime& start) {
    int endSeconds = start.msecsSinceStartOfDay() / 1000 + durationSeconds_;
    if (endSeconds >= kSecondsPerDay) {
        // The end may not pass midnight: stop at 23:55 and shorten the event.
        endSeconds = kLatestEnd.msecsSinceStartOfDay() / 1000;
        durationSeconds_ = endSeconds - start.msecsSinceStartOfDay() / 1000;
    }
    endSeconds = std::max(endSeconds, 0);
    const QSignalBlocker blocker(endEdit_);
    endEdit_->setTime(QTime(0, 0).addSecs(endSeconds));
}

void CEventGeneral::endTimeChanged(const QTime& end) {
    const QTime start = startEdit_->time();
    durationSeconds_ = end >= start ? start.secsTo(end) : kOneHour;
}

QDate CEventGeneral::date() const { return dateEdit_->date(); }

bool CEventGeneral::onKillActive() {
    if (titleEdit_->text().isEmpty()) {
        showPlainMessage(this, sheettext::kEventTitleEmpty);
        titleEdit_->setFocus();
        return false;
    }
    if (!allDayCheck_->isChecked() && startEdit_->time() > endEdit_->time()) {
        showPlainMessage(this, sheettext::kEndBeforeStart);
        endEdit_->setFocus();
        return false;
    }
    return true;
}

void CEventGeneral::writeTo(EventEntry& event) const {
    event.allDay = allDayCheck_->isChecked() ? 1 : 0;
    event.title = titleEdit_->text();
    // A value the user did not change keeps its stored form (an imported
    // event may carry a time of day in its date, or a date in its times).
    if (dateEdit_->date() != original_.date.date()) event.date = DateTimeValue::fromDate(dateEdit_->date());
    const auto sameMinute = [](const DateTimeValue& stored, const QTime& shown) {
        const QTime time = stored.time();
        return time.isValid() && time.hour() == shown.hour() && time.minute() == shown.minute();
    };
    if (!sameMinute(original_.startTime, startEdit_->time()))
        event.startTime = DateTimeValue::fromTime(startEdit_->time());
    if (!sameMinute(original_.endTime, endEdit_->time())) event.endTime = DateTimeValue::fromTime(endEdit_->time());
    event.groupName = groupName_;
}

}  // namespace skedlin
