#pragma once
// One page of a property sheet (tabbed sheet or wizard). A page edits copies of
// the values it shows; the sheet that owns it writes them back when it ends with
// OK or Finish.

#include <QString>
#include <QWidget>

namespace skedlin {

class CSheetPage : public QWidget {
    Q_OBJECT
public:
    // helpContext 0: the page has no manual page (its Help button is disabled).
    CSheetPage(const QString& caption, int helpContext, QWidget* parent = nullptr)
        : QWidget(parent), caption_(caption), helpContext_(helpContext) {}

    const QString& caption() const { return caption_; }
    int helpContext() const { return helpContext_; }
    bool wasActivated() const { return activated_; }

    // Called each time the page becomes the current one.
    void activate() {
        activated_ = true;
        onSetActive();
    }
    // Called when the user leaves the page (another tab, Back, Next, OK,
    // Finish). A page that refuses shows its own message and returns false; the
    // sheet then keeps it.
    virtual bool onKillActive() { return true; }

protected:
    virtual void onSetActive() {}

private:
    QString caption_;
    int helpContext_;
    bool activated_ = false;
};

}  // namespace skedlin
