#include "editor/ui/ImportCommand.h"

#include <QMessageBox>

#include "editor/document/PackageImport.h"
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

void runImportCommand(CSkedlinDoc& document, const QString& path, QWidget* parent) {
    MessageBoxSink sink(parent);
    // A file of a type no importer reads would otherwise be ignored without a word.
    if (importPackageFile(document, path, sink) == ImportOutcome::UnknownExtension) {
        QMessageBox::warning(parent, QString::fromUtf8(uitext::kApplicationTitle),
                             QString::fromUtf8(uitext::kDropRefused));
    }
}

}  // namespace skedlin
