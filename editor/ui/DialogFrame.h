#pragma once
// The window frame of the editor's dialogs: a title bar with a close button,
// no minimise or maximise buttons (a modal dialog cannot be set aside).

#include <QWidget>

namespace skedlin {

inline void setDialogFrame(QWidget* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
}

}  // namespace skedlin
