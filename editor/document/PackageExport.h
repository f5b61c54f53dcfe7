#pragma once
// Exporting a package's events to an iCalendar file (".ics") or its contacts
// to a vCard 3.0 file (".vcf"), picked by the extension in any letter case.
// The file is written whole or not at all.

#include <QDateTime>
#include <QString>

#include "formats/Result.h"

namespace skedlin {

class CSkedlinDoc;

enum class ExportKind { ICalendar, VCard, Unknown };

ExportKind exportKind(const QString& path);

// Why an export failed: a path whose extension names no export format, or a
// file that could not be written (the message says why).
enum class ExportError { None, UnknownType, CannotWrite };
using ExportResult = Result<ExportError, QString>;

// `stamp` is the creation time written into an iCalendar file.
ExportResult exportPackage(const CSkedlinDoc& document, const QString& path,
                           const QDateTime& stamp = QDateTime::currentDateTimeUtc());

}  // namespace skedlin
