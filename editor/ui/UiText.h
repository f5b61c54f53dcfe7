#pragma once
// Every text the editor's windows show, in one place. The texts are the
// program's own and are used exactly as they stand, spelling included.

namespace skedlin::uitext {

// Document template.
inline constexpr const char* kWindowTitle = "Quenby Skedlin";
inline constexpr const char* kDocumentName = "Calendar";
inline constexpr const char* kFileFilter = "Calendar Package (*.xml)";
inline constexpr const char* kFileExtension = "xml";
inline constexpr const char* kApplicationTitle = "Skedlin";

// Settings profile.
inline constexpr const char* kSettingsOrganization = "Quenby Software";
inline constexpr const char* kSettingsApplication = "Skedlin";

// List headings.
inline constexpr const char* kHeadingDate = "Date";
inline constexpr const char* kHeadingStartTime = "Start Time";
inline constexpr const char* kHeadingEndTime = "End Time";
inline constexpr const char* kHeadingEventTitle = "Event Title";
inline constexpr const char* kHeadingGroup = "Group";
inline constexpr const char* kHeadingLastName = "Last Name";
inline constexpr const char* kHeadingFirstName = "First Name";
inline constexpr const char* kHeadingCompany = "Company";
inline constexpr const char* kHeadingMemberOfGroups = "Member of Groups";
inline constexpr const char* kAllDayTime = "-";

// Captions and messages.
inline constexpr const char* kCalendarPropertiesCaption = "Calendar Properties";
inline constexpr const char* kDeleteQuestion = "Delete selected items?";
inline constexpr const char* kEventDetailsCaption = "Event Details";
inline constexpr const char* kNewEventCaption = "New Event";
inline constexpr const char* kNewContactCaption = "New Contact";
inline constexpr const char* kContactDetailsCaption = "Contact Details";
inline constexpr const char* kImportFilter =
    "All supported files (*.dba *.vcs *.ics *.vcf *.csv);;Date Book Archive (*.dba);;vCalendar (*.vcs);;"
    "iCalendar (*.ics);;vCard (*.vcf);;Comma Separated Values (*.csv)";
inline constexpr const char* kImportCaption = "Import";
inline constexpr const char* kImportStep = "Import";
inline constexpr const char* kCutStep = "Cut";
inline constexpr const char* kPasteStep = "Paste";
inline constexpr const char* kImportedEvents = "Imported %1 event(s) from %2.";
inline constexpr const char* kImportedContacts = "Imported %1 contact(s) from %2.";
inline constexpr const char* kImportedBoth = "Imported %1 event(s) and %2 contact(s) from %3.";
inline constexpr const char* kImportedNothing = "Nothing was imported from %1.";
inline constexpr const char* kImportDefaultSuffix = "dba";
inline constexpr const char* kDropRefused = "Skedlin does not accept files of that type.";
inline constexpr const char* kNoEvents = "There are no events defined.";
inline constexpr const char* kNoContacts = "There are no contacts defined.";
inline constexpr const char* kEventCount = "%1 Event(s)";
inline constexpr const char* kContactCount = "%1 Contact(s)";
inline constexpr const char* kEditMenuKey = "Edit";
inline constexpr const char* kGroupMenuKey = "Group";
inline constexpr const char* kGroupPlaceholder = "Group name";
inline constexpr const char* kRecentFilePlaceholder = "Recent File";
inline constexpr const char* kRecentFilePrompt = "Open this document";

// The button that saves and then builds, offered when the package is not saved.
inline constexpr const char* kSaveAndBuild = "Save and Build";
// The build-success dialog's button that shows the output folder.
inline constexpr const char* kOpenFolder = "Open Folder";

// Shown in the status bar while the builder runs.
inline constexpr const char* kBuildRunning = "Building the calendar package...";

// Help command, when the manual cannot be shown.
inline constexpr const char* kHelpNotOpened = "The Skedlin User Manual could not be opened.\n\n%1";
// Edit Source, when no program could show the file.
inline constexpr const char* kSourceNotOpened = "No program could be started to edit the package source.\n\n%1";
// Opening the output folder after a build, when nothing could show it.
inline constexpr const char* kFolderNotOpened = "The folder could not be opened.\n\n%1";

// The filter box above the list.
inline constexpr const char* kFindPlaceholder = "Find (Ctrl+F)";

// About box.
inline constexpr const char* kAboutCaption = "About Skedlin";
inline constexpr const char* kAboutProduct = "Quenby Skedlin";
inline constexpr const char* kAboutVersion = "Version 1.6.2 ";
inline constexpr const char* kAboutNotice = "Copyright \u00a9 Quenby Software";
inline constexpr const char* kAboutRights = "All Rights Reserved.";
inline constexpr const char* kAboutBuild = "Build 330";

// Framework texts of the single-document flow.
inline constexpr const char* kAskToSave = "Save changes to %1?";
inline constexpr const char* kFileNotFound =
    "%1\nCannot find this file.\nPlease verify that the correct path and file name are given.";
inline constexpr const char* kIdleMessage = "Ready";
inline constexpr const char* kRecentFileEntry = "&%1 %2";

// Keyboard indicators of the status bar.
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScroll = "SCRL";

}  // namespace skedlin::uitext
