#pragma once
// The "CAP", "NUM" and "SCRL" panes at the right of a status bar. A pane's
// text is shown normally while its lock key is on and greyed while it is off
// (or while the state cannot be read, as on a display without a keyboard).

#include <QObject>

class QLabel;
class QStatusBar;

namespace skedlin {

class KeyboardIndicators : public QObject {
    Q_OBJECT
public:
    explicit KeyboardIndicators(QStatusBar* statusBar);

    struct LockState {
        bool caps = false;
        bool num = false;
        bool scroll = false;
    };
    // The lock keys' state as the display reports it; all off when it cannot tell.
    static LockState currentState();

    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caps_;
    QLabel* num_;
    QLabel* scroll_;
};

}  // namespace skedlin
