#pragma once
// General (dialog 135) of the contact sheet: the contact's name and address.

#include "editor/document/PackageEntries.h"
#include "editor/ui/SheetPage.h"

class QLineEdit;
class QPlainTextEdit;

namespace skedlin {

inline constexpr int kContactGeneralHelp = 135;

class CContactGeneral : public CSheetPage {
    Q_OBJECT
public:
    CContactGeneral(const ContactEntry& contact, QWidget* parent = nullptr);
    // Writes city, company, country, first name, last name, state, street,
    // title and zip.
    void writeTo(ContactEntry& contact) const;
    bool onKillActive() override;

    QLineEdit* lastNameEdit() const { return lastName_; }
    QLineEdit* firstNameEdit() const { return firstName_; }
    QLineEdit* titleEdit() const { return title_; }
    QLineEdit* companyEdit() const { return company_; }
    QPlainTextEdit* streetEdit() const { return street_; }
    QLineEdit* cityEdit() const { return city_; }
    QLineEdit* stateEdit() const { return state_; }
    QLineEdit* zipEdit() const { return zip_; }
    QLineEdit* countryEdit() const { return country_; }

private:
    QLineEdit* lastName_;
    QLineEdit* firstName_;
    QLineEdit* title_;
    QLineEdit* company_;
    QPlainTextEdit* street_;
    QLineEdit* city_;
    QLineEdit* state_;
    QLineEdit* zip_;
    QLineEdit* country_;
};

}  // namespace skedlin
