#include "editor/ui/ExpansionWindowDialog.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/document/CalendarExchangeMessages.h"
#include "editor/ui/SheetHelp.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

// The manual's page on importing.
constexpr int kImportHelpContext = 150;

// The years a handheld date can hold.
const QDate kFirstDay(1904, 1, 1);
const QDate kLastDay(2031, 12, 31);

QDateEdit* dateEdit(const QDate& date, QWidget* parent) {
    auto* edit = new QDateEdit(date, parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setDateRange(kFirstDay, kLastDay);
    return edit;
}

}  // namespace

bool ExpansionWindowDialog::chooseExpansionWindow(int ruleCount, ExpansionWindow& window) {
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("expansionWindowDialog"));
    dialog.setWindowTitle(QString::fromUtf8(uitext::kApplicationTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(QString::fromLatin1(messages::kICalendarChooseWindow).arg(ruleCount), &dialog);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    QDateEdit* first = dateEdit(window.first, &dialog);
    QDateEdit* last = dateEdit(window.last, &dialog);
    first->setObjectName(QStringLiteral("expandFrom"));
    last->setObjectName(QStringLiteral("expandUntil"));
    form->addRow(QStringLiteral("&From:"), first);
    form->addRow(QStringLiteral("&To:"), last);
    layout->addLayout(form);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, [] { openHelpContext(kImportHelpContext); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // The period must not end before it begins.
    auto check = [&] { buttons->button(QDialogButtonBox::Ok)->setEnabled(first->date() <= last->date()); };
    QObject::connect(first, &QDateEdit::dateChanged, &dialog, check);
    QObject::connect(last, &QDateEdit::dateChanged, &dialog, check);
    if (dialog.exec() != QDialog::Accepted) return false;
    window = {first->date(), last->date()};
    return true;
}

}  // namespace skedlin
