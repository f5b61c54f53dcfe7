#pragma once
// The message boxes of the sheets. They all pass through here so that the
// icon each message wears is decided in one place and tests can answer them.

#include <QString>

#include <functional>

class QWidget;

namespace skedlin {

enum class MessageKind {
    Plain,        // no icon
    Exclamation,  // a page check that keeps the user on the page
    Information,
    Confirm,  // OK and Cancel
};

void showPlainMessage(QWidget* parent, const QString& text);
void showExclamation(QWidget* parent, const QString& text);
void showInformation(QWidget* parent, const QString& text);
// True when the user chose OK.
bool askOkCancel(QWidget* parent, const QString& text);

// Replaces the message boxes: the handler gets each message and returns
// whether OK was chosen (only Confirm messages use the answer). An empty
// handler restores the message boxes.
void setMessageHandler(std::function<bool(MessageKind, const QString&)> handler);

}  // namespace skedlin
