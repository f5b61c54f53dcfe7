#pragma once
// The pages of the package properties sheet that edit one text or choice each:
// Name, Title, Info and Navigation. Each holds a copy of its document value.

#include <QString>

#include "editor/ui/SheetPage.h"

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace skedlin {

// Help contexts of the pages (their dialog numbers).
inline constexpr int kNamePageHelp = 130;
inline constexpr int kTitlePageHelp = 131;
inline constexpr int kNavigationPageHelp = 133;

// Name (dialog 130): the application file name.
class CPackageNamePage : public CSheetPage {
    Q_OBJECT
public:
    CPackageNamePage(const QString& appFileName, QWidget* parent = nullptr);
    QString appFileName() const;
    QLineEdit* nameEdit() const { return nameEdit_; }
    bool onKillActive() override;
    // Whether a name is one of the handheld's own application names (compared
    // case-insensitively and as a whole).
    static bool isReservedName(const QString& name);

private:
    QLineEdit* nameEdit_;
};

// Title (dialog 131): the package title.
class CPackageTitlePage : public CSheetPage {
    Q_OBJECT
public:
    CPackageTitlePage(const QString& title, QWidget* parent = nullptr);
    QString title() const;
    QLineEdit* titleEdit() const { return titleEdit_; }
    bool onKillActive() override;

private:
    QLineEdit* titleEdit_;
};

// Info (dialog 139, no manual page): the information text.
class CPackageInfoPage : public CSheetPage {
    Q_OBJECT
public:
    CPackageInfoPage(const QString& infoText, QWidget* parent = nullptr);
    QString infoText() const;
    QPlainTextEdit* infoEdit() const { return infoEdit_; }

private:
    QPlainTextEdit* infoEdit_;
};

// Navigation (dialog 133): what a handheld user may copy.
class CNavigationPage : public CSheetPage {
    Q_OBJECT
public:
    CNavigationPage(int navigationLevel, QWidget* parent = nullptr);
    // 2 when no radio button is chosen.
    int navigationLevel() const;
    QRadioButton* radio(int navigationLevel) const;

private:
    QRadioButton* eventsRadio_;
    QRadioButton* groupsRadio_;
    QRadioButton* noneRadio_;
};

}  // namespace skedlin
