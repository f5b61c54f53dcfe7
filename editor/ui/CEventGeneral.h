#pragma once
// General (dialog 132) of the event sheet: title, date (picker and month
// calendar kept in step), all-day flag, start and end time and the group.
// While the user edits, the page keeps the event's duration: moving the start
// moves the end with it.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetPage.h"

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

namespace skedlin {

inline constexpr int kEventGeneralHelp = 132;

// The time pickers' display format: 12-hour with AM/PM when the locale's own
// short time format uses it, else 24-hour.
QString timePickerFormat(const QLocale& locale);

class CEventGeneral : public CSheetPage {
    Q_OBJECT
public:
    CEventGeneral(const EventEntry& event, const QStringList& groupNames, QWidget* parent = nullptr);

    // Writes the page's values into the event: all-day flag, title, date,
    // start time, end time, group name. Values the user left alone keep their
    // stored form.
    void writeTo(EventEntry& event) const;
    QDate date() const;
    bool onKillActive() override;

    QLineEdit* titleEdit() const { return titleEdit_; }
    QDateEdit* dateEdit() const { return dateEdit_; }
    QCalendarWidget* calendar() const { return calendar_; }
    QCheckBox* allDayCheck() const { return allDayCheck_; }
    QTimeEdit* startEdit() const { return startEdit_; }
    QTimeEdit* endEdit() const { return endEdit_; }
    QComboBox* groupList() const { return groupList_; }
    int durationSeconds() const { return durationSeconds_; }

private:
    void startTimeChanged(const QTime& start);
    void endTimeChanged(const QTime& end);
    void setDate(const QDate& date);

    EventEntry original_;
    QString groupName_;
    int durationSeconds_ = 0;
    QLineEdit* titleEdit_;
    QDateEdit* dateEdit_;
    QCalendarWidget* calendar_;
    QCheckBox* allDayCheck_;
    QTimeEdit* startEdit_;
    QTimeEdit* endEdit_;
    QComboBox* groupList_;
};

}  // namespace skedlin
