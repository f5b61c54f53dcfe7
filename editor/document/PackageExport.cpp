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
    QByteArray bytes;
    switch (exportKind(path)) {
    case ExportKind::ICalendar:
        bytes = writeICalendar(document.events(), document.title(), document.appFileName(), stamp);
        break;
    case ExportKind::VCard: bytes = writeVCards(document.contacts()); break;
    case ExportKind::Unknown:
        return ExportResult(ExportError::UnknownType,
                            QString::fromLatin1(messages::kExportUnknownType).arg(QFileInfo(path).fileName()));
    }
    // Written beside the target and renamed over it only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return ExportResult(ExportError::CannotWrite,
                            QString::fromLatin1(messages::kExportWriteFailed).arg(path, file.errorString()));
    }
    return ExportResult::success();
}

}  // namespace skedlin
