#include "editor/document/PackageExport.h"

#include <QFileInfo>
#include <QSaveFile>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/CalendarExchangeMessages.h"
#include "editor/document/ICalendarWriter.h"
#include "editor/document/VCardWriter.h"

namespace skedlin {

ExportKind exportKind(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toUpper();
    if (suffix == QLatin1String("ICS")) return ExportKind::ICalendar;
    if (suffix == QLatin1String("VCF")) return ExportKind::VCard;
    return ExportKind::Unknown;
}

ExportResult exportPackage(const CSkedlinDoc& document, const QString& path, const QDateTime& stamp) {
    ExportResult result;
    QByteArray bytes;
    switch (exportKind(path)) {
    case ExportKind::ICalendar:
        bytes = writeICalendar(document.events(), document.title(), document.appFileName(), stamp);
        result.count = static_cast<int>(document.events().size());
        break;
    case ExportKind::VCard:
        bytes = writeVCards(document.contacts());
        result.count = static_cast<int>(document.contacts().size());
        break;
    case ExportKind::Unknown:
        result.errorMessage = QString::fromLatin1(messages::kExportUnknownType).arg(QFileInfo(path).fileName());
        return result;
    }
    // Written beside the target and renamed over it only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        result.errorMessage = QString::fromLatin1(messages::kExportWriteFailed).arg(path, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace skedlin
