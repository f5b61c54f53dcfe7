#pragma once
// How an import tells the user what went wrong. The windowed editor shows each
// message in a message box; the console front end prints it on standard error.

#include <QString>

namespace skedlin {

enum class ImportMessageIcon { None, Exclamation };

class ImportMessageSink {
public:
    virtual ~ImportMessageSink() = default;
    virtual void showImportMessage(const QString& text, ImportMessageIcon icon) = 0;
};

namespace messages {
inline constexpr const char* kImportOpenFailed = "Failed to open the file for import.";  // 2053
inline constexpr const char* kImportVCalendarFailed =
    "Unable to read the VCAL file.  Skedlin may not understand the format used.";  // 2054
inline constexpr const char* kImportCsvFailed =
    "Unable to read the CSV file.  Skedlin may not understand the format used.";  // 2084
inline constexpr const char* kImportCsvBadHeader =
    "The column header of this CSV file does not contain the correct column names.  Please see "
    "the Import topic of the user manual.";  // 2085
inline constexpr const char* kImportFilter =
    "Date Book Archive (*.dba)|*.dba|vCalendar (*.vcs)|*.vcs|vCard (*.vcf)|*.vcf|Comma Separated "
    "Values (*.csv)|*.csv||";  // 2052

// Date Book Archive refusals: a wrong version tag, categories, a damaged archive.
inline constexpr const char* kImportNotDateBookArchive =
    "The file is not a Date Book Archive: it does not start with the archive's version tag.";
inline constexpr const char* kImportDateBookCategories =
    "The Date Book Archive holds categories, which this archive layout cannot carry; it may be "
    "damaged. Nothing was imported.";
inline constexpr const char* kImportDateBookDamaged =
    "The Date Book Archive is damaged or ends early. Nothing was imported.";

// Limits that keep a hostile or mistaken file from exhausting memory.
inline constexpr const char* kImportFileTooLarge =
    "The file is too large to import (%1 bytes; at most %2 bytes are accepted).";
inline constexpr const char* kImportLineTooLong =
    "Line %1 of the file is too long to import (more than %2 characters).";
inline constexpr const char* kImportTooManyLines = "The file has too many lines to import (at most %1 are accepted).";
inline constexpr const char* kImportCsvBadDate = "Row %1 of the CSV file has a date that cannot be read: \"%2\".";
inline constexpr const char* kImportVCalendarBadDate =
    "Line %1 of the vCalendar file has a date that cannot be read: \"%2\".";
inline constexpr const char* kImportCsvDateOrder =
    "Some dates of the CSV file, such as \"%1\", can be read with the day or the month first; they were "
    "read %2.";
inline constexpr const char* kImportCsvMonthFirst = "month first (month/day/year)";
inline constexpr const char* kImportCsvDayFirst = "day first (day/month/year)";
inline constexpr const char* kImportCsvBadTime = "Row %1 of the CSV file has a time that cannot be read: \"%2\".";
}  // namespace messages

}  // namespace skedlin
