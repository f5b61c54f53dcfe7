#include "editor/ui/CGroupDetailsDlg.h"

#include "editor/ui/DialogFrame.h"

#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "editor/ui/SheetHelp.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

CGroupDetailsDlg::CGroupDetailsDlg(GroupEntry& group, const QStringList& takenNames, QWidget* parent)
    : QDialog(parent), group_(group), takenNames_(takenNames) {
    setWindowTitle(sheettext::kGroupDetailsCaption);
    setDialogFrame(this);
    auto* layout = new QVBoxLayout(this);
    auto* nameLabel = new QLabel(sheettext::kGroupNameLabel, this);
    nameEdit_ = new QLineEdit(group.name, this);
    nameLabel->setBuddy(nameEdit_);
    auto* descriptionLabel = new QLabel(sheettext::kDescriptionLabel, this);
    descriptionEdit_ = new QPlainTextEdit(group.description, this);
    descriptionEdit_->setTabChangesFocus(true);
    descriptionLabel->setBuddy(descriptionEdit_);
    layout->addWidget(nameLabel);
    layout->addWidget(nameEdit_);
    layout->addWidget(descriptionLabel);
    layout->addWidget(descriptionEdit_, 1);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setText(sheettext::kOk);
    buttons->button(QDialogButtonBox::Cancel)->setText(sheettext::kCancel);
    buttons->button(QDialogButtonBox::Help)->setText(sheettext::kHelp);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGroupDetailsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { openHelpContext(kGroupDetailsHelp); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [] { openHelpContext(kGroupDetailsHelp); });
    resize(360, 260);
}

void CGroupDetailsDlg::accept() {
    const QString name = nameEdit_->text();
    const QString description = descriptionEdit_->toPlainText();
    if (description.size() > kGroupDescriptionMaxLength) {
        showExclamation(this, QString::fromUtf8(sheettext::kTooManyCharacters).arg(kGroupDescriptionMaxLength));
        descriptionEdit_->setFocus();
        return;
    }
    if (name.isEmpty()) {
        showExclamation(this, sheettext::kGroupNameEmpty);
        nameEdit_->setFocus();
        return;
    }
    // The group's own name and the name it has in the document stay its own.
    if (name != group_.name && name != group_.previousName && takenNames_.contains(name)) {
        showExclamation(this, sheettext::kGroupNameUsed);
        nameEdit_->setFocus();
        return;
    }
    if (name != group_.name) group_.rename(name);
    group_.description = description;
    QDialog::accept();
}

}  // namespace skedlin
