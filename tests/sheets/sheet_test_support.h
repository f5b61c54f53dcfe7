#pragma once
// Shared by the sheet tests: an offscreen application, recorded message boxes,
// answering a modal dialog that code under test opens, and bitmap files made
// to measure.

#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

#include "editor/ui/SheetMessages.h"

namespace skedlin::test {

// Every message the sheets show, in order; confirmations get `confirmAnswer`.
struct MessageLog {
    MessageLog() {
        setMessageHandler([this](MessageKind kind, const QString& text) {
            kinds.append(kind);
            texts.append(text);
            return confirmAnswer;
        });
    }
    ~MessageLog() { setMessageHandler({}); }
    QString last() const { return texts.isEmpty() ? QString() : texts.last(); }

    QList<MessageKind> kinds;
    QStringList texts;
    bool confirmAnswer = true;
};

// Runs `act` on the next modal dialog of type T that opens (from a nested
// event loop such as exec()).
template <typename T>
void answerNextDialog(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog) {
            act(dialog);
        } else if (auto* any = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            any->reject();
        }
    });
}

// A complete uncompressed bitmap file of the given size and colour depth.
QByteArray makeBitmap(int width, int height, int bitsPerPixel);
// Writes it into a file; returns the path.
QString writeBitmap(const QString& folder, const QString& name, int width, int height, int bitsPerPixel);

}  // namespace skedlin::test
