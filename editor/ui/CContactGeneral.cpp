#include "editor/ui/CContactGeneral.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editor/ui/SheetMessages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

namespace {
constexpr int kStreetLines = 3;

QLineEdit* addLine(QFormLayout* form, const char* label, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    form->addRow(QString::fromUtf8(label), edit);
    return edit;
}
}  // namespace

CContactGeneral::CContactGeneral(const ContactEntry& contact, QWidget* parent)
    : CSheetPage(sheettext::kGeneralPage, kContactGeneralHelp, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* nameBox = new QGroupBox(sheettext::kNameBox, this);
    auto* nameForm = new QFormLayout(nameBox);
    lastName_ = addLine(nameForm, sheettext::kLastNameLabel, contact.lastName, nameBox);
    firstName_ = addLine(nameForm, sheettext::kFirstNameLabel, contact.firstName, nameBox);
    title_ = addLine(nameForm, sheettext::kContactTitleLabel, contact.title, nameBox);
    company_ = addLine(nameForm, sheettext::kCompanyLabel, contact.company, nameBox);
    layout->addWidget(nameBox);

    auto* addressBox = new QGroupBox(sheettext::kAddressBox, this);
    auto* addressForm = new QFormLayout(addressBox);
    street_ = new QPlainTextEdit(contact.street, addressBox);
    street_->setFixedHeight(street_->fontMetrics().lineSpacing() * kStreetLines + 12);
    street_->setTabChangesFocus(true);
    addressForm->addRow(QString::fromUtf8(sheettext::kStreetLabel), street_);
    city_ = addLine(addressForm, sheettext::kCityLabel, contact.city, addressBox);
    state_ = addLine(addressForm, sheettext::kStateLabel, contact.state, addressBox);
    zip_ = addLine(addressForm, sheettext::kZipLabel, contact.zip, addressBox);
    country_ = addLine(addressForm, sheettext::kCountryLabel, contact.country, addressBox);
    layout->addWidget(addressBox);
    layout->addStretch(1);
}

bool CContactGeneral::onKillActive() {
    if (firstName_->text().isEmpty() && lastName_->text().isEmpty() && company_->text().isEmpty()) {
        showPlainMessage(this, sheettext::kContactNameMissing);
        lastName_->setFocus();
        return false;
    }
    return true;
}

void CContactGeneral::writeTo(ContactEntry& contact) const {
    contact.city = city_->text();
    contact.company = company_->text();
    contact.country = country_->text();
    contact.firstName = firstName_->text();
    contact.lastName = lastName_->text();
    contact.state = state_->text();
    contact.street = street_->toPlainText();
    contact.title = title_->text();
    contact.zip = zip_->text();
}

}  // namespace skedlin
