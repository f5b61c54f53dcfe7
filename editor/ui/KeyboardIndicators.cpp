#include "editor/ui/KeyboardIndicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "editor/ui/UiText.h"

#ifdef SKEDLIN_HAVE_X11
#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace {
// Core keyboard indicator bits: Caps Lock, Num Lock, Scroll Lock. False when
// the display is not X11.
bool readX11Indicators(unsigned int& indicators) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    return display && XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) == Success;
}
}  // namespace
// X11 defines these as macros; they clash with Qt's event names below.
#undef KeyRelease
#undef KeyPress
#undef None
#undef Status
#undef Bool
#endif

namespace skedlin {
namespace {

QLabel* makePane(const char* text, QStatusBar* statusBar) {
    auto* pane = new QLabel(QString::fromUtf8(text), statusBar);
    pane->setObjectName(QString::fromUtf8(text));
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
    statusBar->addPermanentWidget(pane);
    return pane;
}

}  // namespace

KeyboardIndicators::KeyboardIndicators(QStatusBar* statusBar)
    : QObject(statusBar),
      caps_(makePane(uitext::kIndicatorCaps, statusBar)),
      num_(makePane(uitext::kIndicatorNum, statusBar)),
      scroll_(makePane(uitext::kIndicatorScroll, statusBar)) {
    qApp->installEventFilter(this);
    refresh();
}

KeyboardIndicators::LockState KeyboardIndicators::currentState() {
    LockState state;
#ifdef SKEDLIN_HAVE_X11
    unsigned int indicators = 0;
    if (readX11Indicators(indicators)) {
        state.caps = indicators & 0x1;
        state.num = indicators & 0x2;
        state.scroll = indicators & 0x4;
    }
#endif
    return state;
}

void KeyboardIndicators::refresh() {
    const LockState state = currentState();
    caps_->setEnabled(state.caps);
    num_->setEnabled(state.num);
    scroll_->setEnabled(state.scroll);
}

bool KeyboardIndicators::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::ApplicationActivate: refresh(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace skedlin
