#include "editor/ui/DroppedFiles.h"

#include <QFileInfo>

namespace skedlin {

DroppedFileAction droppedFileAction(const QString& path) {
    // The extension of the name only: a dot in a folder name is no extension,
    // and only whole extensions count (not "D" or "V" as part of one).
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return DroppedFileAction::Refuse;
    const QString extension = name.mid(dot + 1).toUpper();
    if (extension == QLatin1String("XML")) return DroppedFileAction::Open;
    static const QStringList kImported = {QStringLiteral("DBA"), QStringLiteral("VCS"), QStringLiteral("ICS"),
                                          QStringLiteral("VCF"), QStringLiteral("CSV")};
    return kImported.contains(extension) ? DroppedFileAction::Import : DroppedFileAction::Refuse;
}

}  // namespace skedlin
