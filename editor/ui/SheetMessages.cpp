#include "editor/ui/SheetMessages.h"

#include <QMessageBox>

namespace skedlin {

namespace {

// Message boxes carry the program's name as their caption.
constexpr const char* kMessageCaption = "Skedlin";

std::function<bool(MessageKind, const QString&)>& handler() {
    static std::function<bool(MessageKind, const QString&)> current;
    return current;
}

bool show(QWidget* parent, MessageKind kind, const QString& text) {
    if (handler()) return handler()(kind, text);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (kind) {
    case MessageKind::Plain: break;
    case MessageKind::Exclamation: icon = QMessageBox::Warning; break;
    case MessageKind::Information: icon = QMessageBox::Information; break;
    case MessageKind::Confirm:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(icon, QString::fromLatin1(kMessageCaption), text, buttons, parent);
    return box.exec() == QMessageBox::Ok;
}

}  // namespace

void showPlainMessage(QWidget* parent, const QString& text) { show(parent, MessageKind::Plain, text); }
void showExclamation(QWidget* parent, const QString& text) { show(parent, MessageKind::Exclamation, text); }
void showInformation(QWidget* parent, const QString& text) { show(parent, MessageKind::Information, text); }
bool askOkCancel(QWidget* parent, const QString& text) { return show(parent, MessageKind::Confirm, text); }

void setMessageHandler(std::function<bool(MessageKind, const QString&)> newHandler) {
    handler() = std::move(newHandler);
}

}  // namespace skedlin
