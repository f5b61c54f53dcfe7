#include "editor/ui/PackageTextPages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

namespace {

constexpr int kInfoPageHelp = 0;  // the Info page has no manual page of its own

// Application names the handheld itself uses; a package with one of them would
// replace or confuse a built-in application.
constexpr const char* kReservedAppNames[] = {
    "address book", "addressdb",  "date book", "datebookdb",          "memo pad",          "memodb",
    "note pad",     "npaddb",     "owner",     "preferences",         "saved preferences", "security",
    "setup",        "to do list", "tododb",    "unsaved preferences",
};

QLabel* explanation(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

void warn(QWidget* page, const QString& text) { showExclamation(page, text); }

}  // namespace

CPackageNamePage::CPackageNamePage(const QString& appFileName, QWidget* parent)
    : CSheetPage(sheettext::kNamePage, kNamePageHelp, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation(sheettext::kNameExplanation, this));
    auto* label = new QLabel(sheettext::kAppFileNameLabel, this);
    nameEdit_ = new QLineEdit(appFileName, this);
    label->setBuddy(nameEdit_);
    layout->addWidget(label);
    layout->addWidget(nameEdit_);
    layout->addStretch(1);
}

QString CPackageNamePage::appFileName() const { return nameEdit_->text(); }

bool CPackageNamePage::isReservedName(const QString& name) {
    for (const char* reserved : kReservedAppNames)
        if (name.compare(QLatin1String(reserved), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool CPackageNamePage::onKillActive() {
    const QString name = appFileName();
    if (name.isEmpty()) {
        warn(this, sheettext::kAppNameEmpty);
        nameEdit_->setFocus();
        return false;
    }
    if (isReservedName(name)) {
        warn(this, QString::fromUtf8(sheettext::kAppNameReserved).arg(name));
        nameEdit_->setFocus();
        return false;
    }
    return true;
}

CPackageTitlePage::CPackageTitlePage(const QString& title, QWidget* parent)
    : CSheetPage(sheettext::kTitlePage, kTitlePageHelp, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation(sheettext::kTitleExplanation, this));
    auto* label = new QLabel(sheettext::kTitleLabel, this);
    titleEdit_ = new QLineEdit(title, this);
    label->setBuddy(titleEdit_);
    layout->addWidget(label);
    layout->addWidget(titleEdit_);
    layout->addStretch(1);
}

QString CPackageTitlePage::title() const { return titleEdit_->text(); }

bool CPackageTitlePage::onKillActive() {
    if (title().isEmpty()) {
        warn(this, sheettext::kTitleEmpty);
        titleEdit_->setFocus();
        return false;
    }
    return true;
}

CPackageInfoPage::CPackageInfoPage(const QString& infoText, QWidget* parent)
    : CSheetPage(sheettext::kInfoPage, kInfoPageHelp, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation(sheettext::kInfoExplanation, this));
    auto* label = new QLabel(sheettext::kInfoLabel, this);
    infoEdit_ = new QPlainTextEdit(infoText, this);
    infoEdit_->setTabChangesFocus(true);
    label->setBuddy(infoEdit_);
    layout->addWidget(label);
    layout->addWidget(infoEdit_, 1);
}

QString CPackageInfoPage::infoText() const { return infoEdit_->toPlainText(); }

CNavigationPage::CNavigationPage(int navigationLevel, QWidget* parent)
    : CSheetPage(sheettext::kNavigationPage, kNavigationPageHelp, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation(sheettext::kNavigationExplanation, this));
    eventsRadio_ = new QRadioButton(sheettext::kNavigationEvents, this);
    groupsRadio_ = new QRadioButton(sheettext::kNavigationGroups, this);
    noneRadio_ = new QRadioButton(sheettext::kNavigationNone, this);
    layout->addWidget(eventsRadio_);
    layout->addWidget(groupsRadio_);
    layout->addWidget(noneRadio_);
    layout->addStretch(1);
    // A level the package format does not know shows as the first choice.
    QRadioButton* chosen = radio(navigationLevel);
    (chosen ? chosen : eventsRadio_)->setChecked(true);
}

QRadioButton* CNavigationPage::radio(int navigationLevel) const {
    switch (navigationLevel) {
    case kNavigationEvents: return eventsRadio_;
    case kNavigationGroups: return groupsRadio_;
    case kNavigationNone: return noneRadio_;
    default: return nullptr;
    }
}

int CNavigationPage::navigationLevel() const {
    if (groupsRadio_->isChecked()) return kNavigationGroups;
    if (noneRadio_->isChecked()) return kNavigationNone;
    return kNavigationEvents;
}

}  // namespace skedlin
