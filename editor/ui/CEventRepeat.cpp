#include "editor/ui/CEventRepeat.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/ui/SheetText.h"

namespace skedlin {

namespace {

constexpr int kWeekdays = 7;

int listIndexOf(int repeatType) {
    switch (repeatType) {
    case kRepeatDaily: return kListDay;
    case kRepeatWeekly: return kListWeek;
    case kRepeatMonthByDay:
    case kRepeatMonthByDate: return kListMonth;
    case kRepeatYearly: return kListYear;
    default: return kListNone;
    }
}

// Mask bit of a date's weekday: Sunday is bit 0 (Qt counts Monday 1 to Sunday 7).
std::uint8_t weekdayBit(const QDate& date) {
    return date.isValid() ? std::uint8_t(1u << (date.dayOfWeek() % kWeekdays)) : 0;
}

}  // namespace

CEventRepeat::CEventRepeat(const EventEntry& event, QWidget* parent)
    : CSheetPage(sheettext::kRepeatPage, kEventRepeatHelp, parent), original_(event) {
    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(sheettext::kRepeatLabel, this);
    repeatList_ = new QComboBox(this);
    for (const char* entry : {sheettext::kRepeatNone, sheettext::kRepeatDay, sheettext::kRepeatWeek,
                              sheettext::kRepeatMonth, sheettext::kRepeatYear})
        repeatList_->addItem(QString::fromUtf8(entry));
    listLabel->setBuddy(repeatList_);
    layout->addWidget(listLabel);
    layout->addWidget(repeatList_);

    auto* everyRow = new QHBoxLayout;
    everyLabel_ = new QLabel(sheettext::kEveryLabel, this);
    // Typed numbers stay within what one byte of the package can hold.
    frequencyEdit_ = new QSpinBox(this);
    frequencyEdit_->setRange(kMinFrequency, kMaxFrequency);
    everyLabel_->setBuddy(frequencyEdit_);
    unitText_ = new QLabel(this);
    everyRow->addWidget(everyLabel_);
    everyRow->addWidget(frequencyEdit_);
    everyRow->addWidget(unitText_);
    everyRow->addStretch(1);
    layout->addLayout(everyRow);

    auto* endRow = new QHBoxLayout;
    noEndRadio_ = new QRadioButton(sheettext::kNoEndDate, this);
    endOnRadio_ = new QRadioButton(sheettext::kEndOn, this);
    endDateEdit_ = new QDateEdit(this);
    endDateEdit_->setCalendarPopup(true);
    QString dateFormat = QLocale().dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QLatin1String("yyyy"))) dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    endDateEdit_->setDisplayFormat(dateFormat);
    auto* endGroup = new QButtonGroup(this);
    endGroup->addButton(noEndRadio_);
    endGroup->addButton(endOnRadio_);
    endRow->addWidget(noEndRadio_);
    endRow->addWidget(endOnRadio_);
    endRow->addWidget(endDateEdit_);
    endRow->addStretch(1);
    layout->addLayout(endRow);

    dayOfMonthRadio_ = new QRadioButton(sheettext::kDayOfMonth, this);
    dateOfMonthRadio_ = new QRadioButton(sheettext::kDateOfMonth, this);
    auto* monthGroup = new QButtonGroup(this);
    monthGroup->addButton(dayOfMonthRadio_);
    monthGroup->addButton(dateOfMonthRadio_);
    layout->addWidget(dayOfMonthRadio_);
    layout->addWidget(dateOfMonthRadio_);

    repeatOnBox_ = new QGroupBox(sheettext::kRepeatOn, this);
    auto* weekdays = new QGridLayout(repeatOnBox_);
    for (int day = 0; day < kWeekdays; ++day) {
        weekdayChecks_[day] = new QCheckBox(QString::fromUtf8(sheettext::kWeekdays[day]), repeatOnBox_);
        weekdays->addWidget(weekdayChecks_[day], day / 4, day % 4);
    }
    layout->addWidget(repeatOnBox_);
    layout->addStretch(1);

    // The page as the stored event has it.
    repeatList_->setCurrentIndex(listIndexOf(event.repeatType));
    (event.repeatType == kRepeatMonthByDate ? dateOfMonthRadio_ : dayOfMonthRadio_)->setChecked(true);
    frequencyEdit_->setValue(event.frequency);
    endDateSet_ = !event.repeatEndDate.isZero() && event.repeatEndDate.date().isValid();
    (endDateSet_ ? endOnRadio_ : noEndRadio_)->setChecked(true);
    if (endDateSet_) endDateEdit_->setDate(event.repeatEndDate.date());
    // A weekly event without weekdays repeats on the weekday of its own date.
    std::uint8_t mask = event.repeatOnMask;
    weekdaysChosen_ = mask != 0;
    if (mask == 0) mask = weekdayBit(event.date.date());
    for (int day = 0; day < kWeekdays; ++day) weekdayChecks_[day]->setChecked((mask >> day) & 1);

    // Room for the fullest layout (every control shown), so the sheet keeps
    // its size while the repeat choice shows and hides controls.
    setMinimumSize(sizeHint());

    connect(repeatList_, &QComboBox::currentIndexChanged, this, &CEventRepeat::layOut);
    connect(endOnRadio_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked && !endDateSet_) {
            endDateEdit_->setDate(QDate::currentDate());
            endDateSet_ = true;
        }
    });
    for (int day = 0; day < kWeekdays; ++day)
        connect(weekdayChecks_[day], &QCheckBox::toggled, this,
                [this, day](bool checked) { weekdayToggled(day, checked); });
    layOut();
}

void CEventRepeat::onSetActive() { layOut(); }

void CEventRepeat::layOut() {
    const int index = repeatList_->currentIndex();
    const bool repeats = index != kListNone;
    for (QWidget* w : std::initializer_list<QWidget*>{everyLabel_, frequencyEdit_, unitText_, noEndRadio_, endOnRadio_,
                                                      endDateEdit_})
        w->setVisible(repeats);
    dayOfMonthRadio_->setVisible(index == kListMonth);
    dateOfMonthRadio_->setVisible(index == kListMonth);
    repeatOnBox_->setVisible(index == kListWeek);
    // Until weekdays are chosen, a weekly repeat follows the date the user
    // has set on the General page by now, not the one the sheet opened with.
    if (index == kListWeek && !weekdaysChosen_ && eventDate_) {
        const std::uint8_t bit = weekdayBit(eventDate_());
        for (int day = 0; bit != 0 && day < kWeekdays; ++day) {
            const QSignalBlocker blocker(weekdayChecks_[day]);
            weekdayChecks_[day]->setChecked((bit >> day) & 1);
        }
    }
    if (repeats && !endDateSet_) {
        endDateEdit_->setDate(QDate::currentDate());
        endDateSet_ = true;
    }
    switch (index) {
    case kListDay: unitText_->setText(sheettext::kUnitDays); break;
    case kListWeek: unitText_->setText(sheettext::kUnitWeeks); break;
    case kListMonth: unitText_->setText(sheettext::kUnitMonths); break;
    case kListYear: unitText_->setText(sheettext::kUnitYears); break;
    default: unitText_->clear(); break;
    }
}

void CEventRepeat::weekdayToggled(int weekday, bool checked) {
    weekdaysChosen_ = true;
    // At least one weekday stays chosen.
    if (!checked && checkedMask() == 0) {
        const QSignalBlocker blocker(weekdayChecks_[weekday]);
        weekdayChecks_[weekday]->setChecked(true);
    }
}

std::uint8_t CEventRepeat::checkedMask() const {
    std::uint8_t mask = 0;
    for (int day = 0; day < kWeekdays; ++day)
        if (weekdayChecks_[day]->isChecked()) mask |= std::uint8_t(1u << day);
    return mask;
}

bool CEventRepeat::hasEndDate() const {
    if (!wasActivated()) return !original_.repeatEndDate.isZero() && original_.repeatType != kRepeatNone;
    return repeatList_->currentIndex() != kListNone && endOnRadio_->isChecked();
}

QDate CEventRepeat::endDate() const { return wasActivated() ? endDateEdit_->date() : original_.repeatEndDate.date(); }

void CEventRepeat::writeTo(EventEntry& event) const {
    if (!wasActivated()) {
        event.repeatType = original_.repeatType;
        event.frequency = original_.frequency;
        event.repeatEndDate = original_.repeatEndDate;
        event.repeatOnMask = original_.repeatOnMask;
        return;
    }
    switch (repeatList_->currentIndex()) {
    case kListDay: event.repeatType = kRepeatDaily; break;
    case kListWeek: event.repeatType = kRepeatWeekly; break;
    case kListMonth: event.repeatType = dateOfMonthRadio_->isChecked() ? kRepeatMonthByDate : kRepeatMonthByDay; break;
    case kListYear: event.repeatType = kRepeatYearly; break;
    default: event.repeatType = kRepeatNone; break;
    }
    event.frequency = std::uint8_t(frequencyEdit_->value());
    if (endOnRadio_->isChecked()) {
        // An unchanged end date keeps its stored form.
        if (endDateEdit_->date() != original_.repeatEndDate.date() || original_.repeatEndDate.isZero())
            event.repeatEndDate = DateTimeValue::fromDate(endDateEdit_->date());
        else
            event.repeatEndDate = original_.repeatEndDate;
    } else {
        event.repeatEndDate = DateTimeValue();
    }
    event.repeatOnMask = repeatList_->currentIndex() == kListWeek ? checkedMask() : 0;
}

}  // namespace skedlin
