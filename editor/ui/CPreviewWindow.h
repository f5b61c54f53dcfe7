#pragma once
// The Handheld Preview window: the open document as the handheld's viewer
// shows it. After each change the document is built again in the background
// (PreviewRebuilder); the viewer core then runs on the new package and the
// window shows the screen the user is working on: the event or contact
// selected in the list, or the welcome screen while the package properties
// are edited. The mouse taps like the pen; the arrow keys, Enter and Escape
// work as the handheld's up, down, select and back.

#include <QImage>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "editor/ui/FrameSettings.h"
#include "editor/ui/PreviewRebuilder.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace skedlin {

namespace preview {
class PreviewPackage;
class PreviewSession;
}  // namespace preview

class CSkedlinDoc;
class PreviewScreenWidget;

class CPreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit CPreviewWindow(QWidget* parent = nullptr);
    ~CPreviewWindow() override;

    void setDocument(CSkedlinDoc* document);
    PreviewRebuilder* rebuilder() { return &rebuilder_; }

    // 1: the standard 160 x 160 screen; 2: the high-density 320 x 320 one.
    int density() const { return density_; }
    void setDensity(int density);

    // Settings: geometry, density and whether the window is open.
    PreviewWindowState state() const;
    void applyState(const PreviewWindowState& state);

    // What the editor shows. entryIndex -1: nothing selected (the preview
    // keeps its screen).
    void followEntry(bool events, int entryIndex);
    void followProperties(bool open);

    // For the tests and the benchmark: what the window shows.
    QString screenAddress() const { return address_; }
    int screenKind() const;
    bool showsError() const;
    QString errorText() const;
    QString statusText() const;
    QImage screenImage() const;
    // The title, texts and button labels of the screen shown (as Latin-1).
    QStringList screenTexts() const;
    const preview::PreviewSession* session() const { return session_.get(); }
    bool isUpdating() const { return rebuilder_.isRunning() || changeTimer_.isActive(); }
    PreviewScreenWidget* screenWidget() const { return screen_; }

public slots:
    // The document changed: build it again shortly.
    void documentChanged();
    // Another package was opened or made: start again from its welcome screen.
    void documentReplaced();
    // Builds again even when the document looks unchanged.
    void rebuildNow();
    void goBack();

signals:
    void visibilityChanged(bool visible);
    // A new package was built and its screen is shown (or its failure).
    void updated();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One input since the screen was last reached by address.
    struct Input {
        enum Kind { Tap, Command, Key, Scroll } kind;
        int a = 0;
        int b = 0;
    };

    void buildStarted();
    void buildFinished(const PreviewBuildResult& result);
    void startSession();
    void navigate();
    void apply(const Input& input);
    void tap(int x, int y);
    void scroll(int steps);
    void pressFirstButton();
    void showScreen();
    void showFailure(const QString& heading, const QString& message, const QString& details);
    void setStatus(const QString& text);
    QString followedAddress() const;
    void followTarget();

    QPointer<CSkedlinDoc> document_;
    PreviewRebuilder rebuilder_;
    QTimer changeTimer_;
    int density_ = 1;
    QAction* standardAction_ = nullptr;
    QAction* highAction_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    PreviewScreenWidget* screen_ = nullptr;
    QLabel* failureHeading_ = nullptr;
    QPlainTextEdit* failureText_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* zoom_ = nullptr;

    std::shared_ptr<const preview::PreviewPackage> package_;
    std::unique_ptr<preview::PreviewSession> session_;
    PreviewRecordIds ids_;
    QString address_ = QStringLiteral("welcome");
    QList<Input> inputs_;
    QString builtStatus_;

    bool followEvents_ = true;
    int followEntry_ = -1;
    bool propertiesOpen_ = false;
    QString lastTarget_;
};

}  // namespace skedlin
