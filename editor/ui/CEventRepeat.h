#pragma once
// Repeat (dialog 148) of the event sheet: how often the event repeats, every
// how many units, until when, how a monthly event finds its day and on which
// weekdays a weekly event falls.

#include <QDate>

#include <functional>

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetPage.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace skedlin {

inline constexpr int kEventRepeatHelp = 148;

// Entries of the repeat list.
enum RepeatListIndex { kListNone = 0, kListDay = 1, kListWeek = 2, kListMonth = 3, kListYear = 4 };
inline constexpr int kMinFrequency = 1;
inline constexpr int kMaxFrequency = 255;  // the package stores the frequency in one byte

class CEventRepeat : public CSheetPage {
    Q_OBJECT
public:
    CEventRepeat(const EventEntry& event, QWidget* parent = nullptr);

    // Writes repeat type, frequency, repeat end date and repeat-on mask. A page
    // the user never opened writes the stored values back unchanged.
    void writeTo(EventEntry& event) const;
    // Where the page reads the date the General page shows now: a weekly
    // repeat without chosen weekdays falls on that date's weekday.
    void setEventDateSource(std::function<QDate()> source) { eventDate_ = std::move(source); }
    // Whether the event repeats with an end date, and that date.
    bool hasEndDate() const;
    QDate endDate() const;

    QComboBox* repeatList() const { return repeatList_; }
    QSpinBox* frequencyEdit() const { return frequencyEdit_; }
    QLabel* unitText() const { return unitText_; }
    QRadioButton* noEndRadio() const { return noEndRadio_; }
    QRadioButton* endOnRadio() const { return endOnRadio_; }
    QDateEdit* endDateEdit() const { return endDateEdit_; }
    QRadioButton* dayOfMonthRadio() const { return dayOfMonthRadio_; }
    QRadioButton* dateOfMonthRadio() const { return dateOfMonthRadio_; }
    QGroupBox* repeatOnBox() const { return repeatOnBox_; }
    QCheckBox* weekdayCheck(int weekday) const { return weekdayChecks_[weekday]; }  // 0 = Sunday

protected:
    void onSetActive() override;

private:
    void layOut();
    void weekdayToggled(int weekday, bool checked);
    std::uint8_t checkedMask() const;

    EventEntry original_;
    bool endDateSet_ = false;  // the end date holds a real date (not the zero date)
    // The stored event named its weekdays, or the user ticked some here.
    bool weekdaysChosen_ = false;
    std::function<QDate()> eventDate_;
    QLabel* everyLabel_;
    QComboBox* repeatList_;
    QSpinBox* frequencyEdit_;
    QLabel* unitText_;
    QRadioButton* noEndRadio_;
    QRadioButton* endOnRadio_;
    QDateEdit* endDateEdit_;
    QRadioButton* dayOfMonthRadio_;
    QRadioButton* dateOfMonthRadio_;
    QGroupBox* repeatOnBox_;
    QCheckBox* weekdayChecks_[7];
};

}  // namespace skedlin
