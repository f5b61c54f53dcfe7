#pragma once
// Every user-visible text of the editor document, the package reader and the
// Build command, in one place. The numbers are the string-table numbers the
// texts are known by.

#include <QString>

#include "builder/BuilderMessages.h"

namespace skedlin::messages {

// New-package defaults and the wizard.
inline constexpr const char* kNewPackageWizardCaption = "New Calendar Package Wizard";  // 2020
inline constexpr const char* kDefaultAppFileName = "Our Schedule";                      // 2021
inline constexpr const char* kDefaultTitle = "Schedule";                                // 2022
inline constexpr const char* kDefaultLauncherName = "Group";                            // 2023
inline constexpr const char* kDefaultWelcomeText =
    "Briefly describe the contents of the calendar package here...";  // 2024
inline constexpr const char* kDefaultInfoText =
    "Information about who created this package, and more about is purpose, goes here.";                        // 2025
inline constexpr const char* kDefaultGroupName = "Events";                                                      // 2026
inline constexpr const char* kSaveBeforeBuild = "Please save the calendar package before performing a build.";  // 2028
inline constexpr const char* kWizardCompleted =
    "You have completed the first steps in creating a calendar package. You can return to the "
    "wizard pages at any time by clicking on the Calendar Properties toolbar icon.\n\nThe next "
    "step is to add events and contacts to the calendar package.  Click the Plus icon to add a "
    "new event.";  // 2079

// Reader details.
inline constexpr const char* kParserUnavailable =
    "Unable to load Microsoft XLM Parser.\nDownload and install MSXML (Microsoft XML Parser) 3.0 "
    "from https://gitlab.gnome.org/GNOME/libxml2.";                               // 2000
inline constexpr const char* kBadDaysOfWeek = "Bad days of week string - '%1'.";  // 2001
inline constexpr const char* kLineNumber = "Line #%1: ";                          // 2009
inline constexpr const char* kInvalidDate = "Invalid Date: %1";
inline constexpr const char* kMissingElement = "The element <%1> is missing inside <%2>.";
inline constexpr const char* kMissingAttribute = "The attribute \"%1\" of <%2> is missing.";

// The open-error and build-error dialogs.
inline constexpr const char* kOpenErrorCaption = "Error Reading Calendar Package";
inline constexpr const char* kOpenErrorText =
    "An error was detected when reading the calendard package.   Correcting this problem may "
    "required editing the text of the calendar package definition.";
inline constexpr const char* kBuildErrorCaption = "Error Building Calendar Package";
inline constexpr const char* kBuildErrorText =
    "An error was detected when building the calendar package.   Correcting this problem may "
    "required editing the text of the calendar package definition.";
inline constexpr const char* kEditSourceButton = "&Edit Source";
inline constexpr const char* kBuildSuccessCaption = "Calendar Package Created";
inline constexpr const char* kBuildSuccessText = "The calendar package has been created and is ready to distribute.";
inline constexpr const char* kBuildSuccessPalm =
    "Distribute this file to users of Palm OS handhelds (Tungsten, Zire, Clie, Treo, etc.)";
inline constexpr const char* kBuildSuccessPocketPc =
    "Distribute this file to users of Pocket PC's (iPAQ, Axium, ViewSonic, etc.)";
inline constexpr const char* kReinstallHint = "You may need to reinstall Skedlin to correct this problem.";  // 2089
inline constexpr const char* kBuilderCrashed = "SkedlinBuilder ended abnormally.";

// Saving.
inline constexpr const char* kCannotSave = "The file \"%1\" could not be saved: %2";

// The message for a builder exit code (also a read result's code, and the
// Build command's "not started" and "crashed"); empty for codes outside the
// table.
QString messageForCode(builder::ExitCode code);

}  // namespace skedlin::messages
