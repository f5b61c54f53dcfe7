#pragma once
// Exporting a package's events to an iCalendar file (".ics") or its contacts
// to a vCard 3.0 file (".vcf"), picked by the extension in any letter case.
// The file is written whole or not at all.

#include <QDateTime>
#include <QString>

namespace skedlin {

class CSkedlinDoc;

enum class ExportKind { ICalendar, VCard, Unknown };

ExportKind exportKind(const QString& path);

struct ExportResult {
    bool ok = false;
    int count = 0;         // events or contacts written
    QString errorMessage;  // when not ok
};

// `stamp` is the creation time written into an iCalendar file.
ExportResult exportPackage(const CSkedlinDoc& document, const QString& path,
                           const QDateTime& stamp = QDateTime::currentDateTimeUtc());

}  // namespace skedlin
