#pragma once
// The package properties sheet: seven pages (Name, Launcher, Title, Welcome,
// Info, Groups, Navigation) over copies of the document's package values, shown
// as the tabbed "Calendar Properties" sheet or as the "New Calendar Package
// Wizard". OK or Finish writes the changed values back; Cancel writes nothing.

#include "editor/ui/CSheetDialog.h"

namespace skedlin {

class CSkedlinDoc;
class CPackageNamePage;
class CLauncherPage;
class CPackageTitlePage;
class CWelcomePage;
class CPackageInfoPage;
class CGroupsPage;
class CNavigationPage;

class CPackagePropertiesSheet : public CSheetDialog {
    Q_OBJECT
public:
    CPackagePropertiesSheet(CSkedlinDoc& document, bool wizard, QWidget* parent = nullptr);

    CPackageNamePage* namePage() const { return namePage_; }
    CLauncherPage* launcherPage() const { return launcherPage_; }
    CPackageTitlePage* titlePage() const { return titlePage_; }
    CWelcomePage* welcomePage() const { return welcomePage_; }
    CPackageInfoPage* infoPage() const { return infoPage_; }
    CGroupsPage* groupsPage() const { return groupsPage_; }
    CNavigationPage* navigationPage() const { return navigationPage_; }

protected:
    bool commit() override;

private:
    CSkedlinDoc& document_;
    CPackageNamePage* namePage_;
    CLauncherPage* launcherPage_;
    CPackageTitlePage* titlePage_;
    CWelcomePage* welcomePage_;
    CPackageInfoPage* infoPage_;
    CGroupsPage* groupsPage_;
    CNavigationPage* navigationPage_;
};

}  // namespace skedlin
