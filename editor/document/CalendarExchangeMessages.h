#pragma once
// The texts the iCalendar and vCard 3.0/4.0 import and the export show.

namespace skedlin::messages {

// iCalendar import: why a file cannot be read (nothing is imported then).
inline constexpr const char* kICalendarNoCalendar =
    "Line %1 of the iCalendar file: the file must begin with BEGIN:VCALENDAR. Nothing was imported.";
inline constexpr const char* kICalendarWrongEnd =
    "Line %1 of the iCalendar file: \"%2\" does not close the %3 begun on line %4. Nothing was imported.";
inline constexpr const char* kICalendarStrayEnd =
    "Line %1 of the iCalendar file: \"%2\" closes nothing. Nothing was imported.";
inline constexpr const char* kICalendarUnclosed =
    "The iCalendar file ends inside the %1 begun on line %2. Nothing was imported.";
inline constexpr const char* kICalendarTooDeep =
    "Line %1 of the iCalendar file: components are nested more than %2 deep. Nothing was imported.";
inline constexpr const char* kICalendarBadValue =
    "Line %1 of the iCalendar file: the value of %2 cannot be read. Nothing was imported.";
inline constexpr const char* kICalendarUnparsable = "The iCalendar file cannot be read. Nothing was imported.";
inline constexpr const char* kICalendarTooManyExpanded =
    "The repeat rule of \"%1\" (line %2) gives more than %3 single events between %4 and %5. Nothing "
    "was imported; choose a shorter period for expanding repeat rules.";
inline constexpr const char* kICalendarTooManySteps =
    "The repeat rules of this file take too long to work out (at \"%1\", line %2). Nothing was imported.";

// iCalendar import: what the user should know after a successful read.
inline constexpr const char* kICalendarOutOfRange =
    "%1 event(s) lie before 1904 or after 2031, which a handheld cannot show, and were left out: %2";
inline constexpr const char* kICalendarNoStart = "%1 event(s) have no start (DTSTART) and were left out: %2";
inline constexpr const char* kICalendarExpanded =
    "%1 event(s) repeat in a way the package cannot hold; they were expanded into %2 single "
    "event(s) between %3 and %4.";
inline constexpr const char* kICalendarUnknownZone =
    "%1 event(s) name a time zone that is neither in the file nor known to this computer (%2); "
    "their times were taken as local times.";
inline constexpr const char* kICalendarChooseWindow =
    "%1 event(s) of this file repeat in a way the package cannot hold. They will be expanded into "
    "single events between these dates:";
inline constexpr const char* kICalendarCancelled = "The import was cancelled. Nothing was imported.";

// vCard 3.0 and 4.0 import.
inline constexpr const char* kVCardTooDeep =
    "Line %1 of the vCard file: cards are nested inside cards. Nothing was imported.";

// Export.
inline constexpr const char* kExportUnknownType =
    "Export writes iCalendar (.ics) or vCard (.vcf) files; \"%1\" is neither.";
inline constexpr const char* kExportWriteFailed = "The file \"%1\" could not be written: %2";
inline constexpr const char* kExportFilter = "iCalendar (*.ics)|*.ics|vCard (*.vcf)|*.vcf||";

}  // namespace skedlin::messages
