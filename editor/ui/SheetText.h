#pragma once
// Every text the property sheets and their dialogs show: captions, labels and
// messages. They are the program's own texts, used exactly as they stand.

namespace skedlin::sheettext {

// Sheet buttons.
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kHelp = "Help";
inline constexpr const char* kBack = "< &Back";
inline constexpr const char* kNext = "&Next >";
inline constexpr const char* kFinish = "Finish";

// Properties sheet and wizard.
inline constexpr const char* kPropertiesCaption = "Calendar Properties";      // 2019
inline constexpr const char* kWizardCaption = "New Calendar Package Wizard";  // 2020
inline constexpr const char* kNamePage = "Name";
inline constexpr const char* kLauncherPage = "Launcher";
inline constexpr const char* kTitlePage = "Title";
inline constexpr const char* kWelcomePage = "Welcome";
inline constexpr const char* kInfoPage = "Info";
inline constexpr const char* kGroupsPage = "Groups";
inline constexpr const char* kNavigationPage = "Navigation";

inline constexpr const char* kAppFileNameLabel = "Application file name (PRC and CAB):";
inline constexpr const char* kLauncherNameLabel = "&Launcher name:";
inline constexpr const char* kTitleLabel = "&Title:";
inline constexpr const char* kWelcomeTextLabel = "&Welcome text:";
inline constexpr const char* kInfoLabel = "&Calendar Package Information:";
inline constexpr const char* kAddButton = "&Add";
inline constexpr const char* kRemoveButton = "&Remove";
inline constexpr const char* kAddGroupButton = "Add...";
inline constexpr const char* kEditGroupButton = "Edit...";
inline constexpr const char* kRemoveGroupButton = "Remove";
inline constexpr const char* kNavigationEvents = "Individual &Events and contacts can be selected.";
inline constexpr const char* kNavigationGroups = "&Groups can be selected";
inline constexpr const char* kNavigationNone = "The entire &calendar package must be added.";

// Explanations shown on the pages.
inline constexpr const char* kNameExplanation =
    "The application file name is the name of the program file on the handheld and the base "
    "name of the files a build writes (.prc for Palm OS, .cab for Pocket PC).";
inline constexpr const char* kLauncherExplanation =
    "The launcher name and icon are shown in the handheld's application launcher. Add icons of "
    "22 x 22 pixels (Palm OS) and 32 x 32 pixels (Pocket PC); 16 x 16 and 44 x 44 pixel "
    "versions may be added too.";
inline constexpr const char* kTitleExplanation =
    "The title is shown at the top of the calendar package's screens on the handheld.";
inline constexpr const char* kWelcomeExplanation =
    "The welcome text and logo are the first screen a user sees. The logo may be up to 160 "
    "pixels wide by 80 pixels high; all logo images must have the same size.";
inline constexpr const char* kInfoExplanation =
    "Tell the users who made this calendar package, what it is for and whom to ask about it.";
inline constexpr const char* kGroupsExplanation =
    "Every event belongs to one group; contacts may belong to any number of groups. Groups let "
    "handheld users pick the part of the package they want.";
inline constexpr const char* kNavigationExplanation =
    "Choose what a handheld user may copy into the handheld's own calendar and contacts.";

inline constexpr const char* kBitmapFilter = "Bitmap Files (*.bmp)";
inline constexpr const char* kBitmapSuffix = "bmp";
inline constexpr const char* kImageSize = "Image size (%1 w x %2 h)";  // 2075

inline constexpr const char* kAppNameEmpty = "The application name cannot be empty.";  // 2071
inline constexpr const char* kAppNameReserved =
    "There is a good chance that the name '%1' will conflict with an application on the "
    "handheld. This could cause unexpected operation or a crash of the handheld.\n\nPlease "
    "pick a different name.";                                                            // 2080
inline constexpr const char* kLauncherNameEmpty = "The launcher name cannot be empty.";  // 2072
inline constexpr const char* kTitleEmpty = "The title cannot be empty.";                 // 2073
inline constexpr const char* kWelcomeEmpty = "The welcome text cannot be empty.";        // 2074
inline constexpr const char* kBitmapUnreadable =
    "Unable to read the bitmap file.  It may be in a format that Skedlin does not "
    "understand.";  // 2046
inline constexpr const char* kIconSize =
    "The launcher icons must be exactly 22 x 22 for Palm OS handhelds and 32 x 32 pixels for "
    "Pocket PC.  Please use a graphics program to create an icon of this size.";  // 2047
inline constexpr const char* kLogoTooLarge =
    "The bitmap dimensions are too large.  The logo bitmap must be no larger than 160 pixels "
    "wide by 80 pixels high.  Please edit the image and try again.";  // 2051
inline constexpr const char* kLogoSizeMismatch =
    "This image is not the same size as the images already selected.  All the images must be "
    "the same size.";                                                           // 2076
inline constexpr const char* kLastGroup = "There must be at least one group.";  // 2060
inline constexpr const char* kDeleteGroup = "Delete the selected group?";       // 2049
inline constexpr const char* kDeleteGroupMoves =
    "Its events move to the group \"%1\"; its contacts stay, without this group.";

// Group Details dialog.
inline constexpr const char* kGroupDetailsCaption = "Group Details";
inline constexpr const char* kGroupNameLabel = "&Group name:";
inline constexpr const char* kDescriptionLabel = "&Description:";
inline constexpr const char* kTooManyCharacters = "Please enter no more than %1 characters.";
inline constexpr const char* kGroupNameEmpty = "The group name cannot be empty.";  // 2048
inline constexpr const char* kGroupNameUsed =
    "That group name is already being used.  Please enter a different name.";  // 2027

// Event sheet.
inline constexpr const char* kNewEventCaption = "New Event";          // 2033
inline constexpr const char* kEventDetailsCaption = "Event Details";  // 2032
inline constexpr const char* kGeneralPage = "General";
inline constexpr const char* kRepeatPage = "Repeat";
inline constexpr const char* kNotePage = "Note";
inline constexpr const char* kDateLabel = "&Date:";
inline constexpr const char* kAllDay = "&All day event";
inline constexpr const char* kTimeLabel = "&Time:";
inline constexpr const char* kTimeTo = "to";
inline constexpr const char* kGroupLabel = "&Group:";
inline constexpr const char* kEventTitleLabel = "&Title:";
inline constexpr const char* kRepeatLabel = "Select how often this event should &repeat:";
inline constexpr const char* kRepeatNone = "Does not repeat";
inline constexpr const char* kRepeatDay = "Day";
inline constexpr const char* kRepeatWeek = "Week";
inline constexpr const char* kRepeatMonth = "Month";
inline constexpr const char* kRepeatYear = "Year";
inline constexpr const char* kEveryLabel = "E&very:";
inline constexpr const char* kUnitDays = "Day(s)";      // 32791
inline constexpr const char* kUnitWeeks = "Week(s)";    // 32792
inline constexpr const char* kUnitMonths = "Month(s)";  // 32793
inline constexpr const char* kUnitYears = "Year(s)";    // 32794
inline constexpr const char* kNoEndDate = "&No end date";
inline constexpr const char* kEndOn = "&End on:";
inline constexpr const char* kDayOfMonth = "Day of the month (for example; 2nd Tuesday)";
inline constexpr const char* kDateOfMonth = "Date of the month (for example; the 18th).";
inline constexpr const char* kRepeatOn = "Repeat on";
inline constexpr const char* kWeekdays[7] = {"&Sunday",   "&Monday", "&Tuesday", "&Wednesday",
                                             "T&hursday", "&Friday", "Sat&urday"};
inline constexpr const char* kNotesLabel = "&Notes:";
inline constexpr const char* kEventTitleEmpty =
    "The title of the event cannot be blank.  Please enter the event title before "
    "continuing.";  // 2045
inline constexpr const char* kEndBeforeStart =
    "The end time for the event is before the start time.  Change the end time, or press "
    "Cancel to discard the changes.";  // 2090
inline constexpr const char* kRepeatEndBeforeDate =
    "The repeat end date is before the date of the event.  Change the end date, or choose "
    "No end date.";

// Contact sheet.
inline constexpr const char* kNewContactCaption = "New Contact";          // 2034
inline constexpr const char* kContactDetailsCaption = "Contact Details";  // 2035
inline constexpr const char* kContactGroupsPage = "Contact - Groups";
inline constexpr const char* kNotesPage = "Notes";
inline constexpr const char* kNameBox = "Name";
inline constexpr const char* kAddressBox = "Address";
inline constexpr const char* kLastNameLabel = "&Last name:";
inline constexpr const char* kFirstNameLabel = "&First name:";
inline constexpr const char* kContactTitleLabel = "&Title:";
inline constexpr const char* kCompanyLabel = "&Company:";
inline constexpr const char* kStreetLabel = "&Street:";
inline constexpr const char* kCityLabel = "C&ity:";
inline constexpr const char* kStateLabel = "Stat&e:";
inline constexpr const char* kZipLabel = "&Zip:";
inline constexpr const char* kCountryLabel = "Countr&y:";
inline constexpr const char* kContactInfoBox = "Contact Info";
inline constexpr const char* kMembershipBox = "Group membership";
inline constexpr const char* kMemberOfLabel = "&Member of:";
inline constexpr const char* kAvailableLabel = "&Available groups:";
// Phone type texts in type-code order (strings 2036 to 2043).
inline constexpr const char* kPhoneTypes[8] = {"Work", "Home", "Fax", "Other", "Email", "Main", "Pager", "Mobile"};
inline constexpr const char* kContactNameMissing =
    "A contact must have at least a First, Last, or Company name.  Please enter one before "
    "continuing.";  // 2044

}  // namespace skedlin::sheettext
