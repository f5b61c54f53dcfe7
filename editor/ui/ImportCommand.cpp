#include "editor/ui/ImportCommand.h"

#include <QFileInfo>
#include <QMessageBox>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageImport.h"
#include "editor/ui/ExpansionWindowDialog.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

class MessageBoxSink : public ImportMessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
    void showImportMessage(const QString& text, ImportMessageIcon icon) override {
        QMessageBox box(icon == ImportMessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                        QString::fromUtf8(uitext::kApplicationTitle), text, QMessageBox::Ok, parent_);
        box.exec();
    }

private:
    QWidget* parent_;
};

}  // namespace

ImportCounts runImportCommand(CSkedlinDoc& document, const QString& path, QWidget* parent) {
    MessageBoxSink sink(parent);
    const qsizetype eventsBefore = document.events().size();
    const qsizetype contactsBefore = document.contacts().size();
    document.beginStep(QString::fromUtf8(uitext::kImportStep));
    ExpansionWindowDialog chooser(parent);
    ImportOptions options;
    options.chooser = &chooser;
    const ImportOutcome outcome = importPackageFile(document, path, sink, options);
    document.endStep();
    ImportCounts counts;
    counts.imported = outcome == ImportOutcome::Imported;
    counts.events = int(document.events().size() - eventsBefore);
    counts.contacts = int(document.contacts().size() - contactsBefore);
    // A file of a type no importer reads would otherwise be ignored without a word.
    if (outcome == ImportOutcome::UnknownExtension) {
        QMessageBox::warning(parent, QString::fromUtf8(uitext::kApplicationTitle),
                             QString::fromUtf8(uitext::kDropRefused));
    }
    return counts;
}

QString importSummary(const ImportCounts& counts, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (counts.events > 0 && counts.contacts > 0)
        return QString::fromUtf8(uitext::kImportedBoth).arg(counts.events).arg(counts.contacts).arg(name);
    if (counts.contacts > 0) return QString::fromUtf8(uitext::kImportedContacts).arg(counts.contacts).arg(name);
    if (counts.events > 0) return QString::fromUtf8(uitext::kImportedEvents).arg(counts.events).arg(name);
    return QString::fromUtf8(uitext::kImportedNothing).arg(name);
}

}  // namespace skedlin
