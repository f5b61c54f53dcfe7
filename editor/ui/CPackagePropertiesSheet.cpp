#include "editor/ui/CPackagePropertiesSheet.h"

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CGroupsPage.h"
#include "editor/ui/ImageListPages.h"
#include "editor/ui/PackageTextPages.h"
#include "editor/ui/SheetText.h"

namespace skedlin {

CPackagePropertiesSheet::CPackagePropertiesSheet(CSkedlinDoc& document, bool wizard, QWidget* parent)
    : CSheetDialog(wizard ? sheettext::kWizardCaption : sheettext::kPropertiesCaption,
                   wizard ? Mode::Wizard : Mode::Tabbed, parent),
      document_(document) {
    const QString folder = document.documentFolder();
    namePage_ = new CPackageNamePage(document.appFileName());
    launcherPage_ = new CLauncherPage(document.launcherName(), document.launcherIcons(), folder);
    titlePage_ = new CPackageTitlePage(document.title());
    welcomePage_ = new CWelcomePage(document.welcomeText(), document.logoImages(), folder);
    infoPage_ = new CPackageInfoPage(document.infoText());
    groupsPage_ = new CGroupsPage(document.groups());
    navigationPage_ = new CNavigationPage(document.navigationLevel());
    addPage(namePage_);
    addPage(launcherPage_);
    addPage(titlePage_);
    addPage(welcomePage_);
    addPage(infoPage_);
    addPage(groupsPage_);
    addPage(navigationPage_);
    resize(560, 440);
}

bool CPackagePropertiesSheet::commit() {
    // The setters store only values that differ, so an unchanged sheet leaves
    // the document unmodified. All of them are undone as one step.
    document_.beginStep(windowTitle());
    document_.setAppFileName(namePage_->appFileName());
    document_.setLauncherName(launcherPage_->launcherName());
    document_.setLauncherIcons(launcherPage_->images());
    document_.setTitle(titlePage_->title());
    document_.setWelcomeText(welcomePage_->welcomeText());
    document_.setLogoImages(welcomePage_->images());
    document_.setInfoText(infoPage_->infoText());
    document_.setGroupList(groupsPage_->groups(), groupsPage_->removedGroupNames());
    document_.setNavigationLevel(navigationPage_->navigationLevel());
    document_.endStep();
    return true;
}

}  // namespace skedlin
