#include "editor/ui/ExportCommand.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageExport.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

const char* const kICalendarFilter = "iCalendar (*.ics)";
const char* const kVCardFilter = "vCard (*.vcf)";

}  // namespace

void runExportCommand(const CSkedlinDoc& document, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QString::fromLatin1(kICalendarFilter), QString::fromLatin1(kVCardFilter)});
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    // The suffix follows the chosen type, so that the name decides the format.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == QLatin1String(kVCardFilter) ? QStringLiteral("vcf") : QStringLiteral("ics"));
    });
    const QString base = document.appFileName().isEmpty() ? document.title() : document.appFileName();
    if (!base.isEmpty()) dialog.selectFile(base + QStringLiteral(".ics"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().first();
    const ExportResult result = exportPackage(document, path);
    if (!result.ok()) {
        QMessageBox::warning(parent, QString::fromUtf8(uitext::kApplicationTitle), result.message());
    }
}

}  // namespace skedlin
