#pragma once
// The main window: menu bar, toolbar and status bar made from the command
// table, the one list view, the single-document flow (new, open, save, save
// as, recent files, asking to save before a package is replaced or the
// program ends), window placement and bar state in the profile, help, the
// about box and files dropped on the window.

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "editor/ui/FrameSettings.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace skedlin {

class CSkedlinDoc;
class CSkedlinView;
class CPackageWizardUi;
class CPreviewWindow;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CSkedlinDoc* document() const { return document_; }
    CSkedlinView* view() const { return view_; }
    CPreviewWindow* preview() const { return preview_; }
    QAction* action(int commandId) const { return actions_.value(commandId); }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* groupMenu() const { return groupMenu_; }
    QToolBar* toolbar() const { return toolbar_; }
    QLineEdit* findBox() const { return findBox_; }
    QString countPaneText() const;
    QString messagePaneText() const;
    const RecentFileList& recentFiles() const { return recentFiles_; }

    // Reads the stored placement and applies it (before the first show);
    // true when the window is to be shown maximized. The Handheld Preview
    // gets its stored place and density, and opens with the window when it
    // was open at the end of the last run.
    bool restorePlacement();

    // The single-document flow. Each first asks to save a modified package;
    // false when the user cancelled or the step failed.
    // Cancel in the wizard keeps the open package; with defaultsOnCancel (at
    // start-up, when there is no package yet) it gives the default package.
    bool newDocument(bool defaultsOnCancel = false);
    bool openDocumentFile(const QString& path);
    bool save();
    bool saveAs();
    // Asks "Save changes to ...?" for a modified package; false on Cancel or a failed save.
    bool saveModified();

    // Dropped files, in order: .xml opens, the import types are imported,
    // anything else is refused with a message and ends the drop.
    void handleDroppedFiles(const QStringList& paths);

    // Rebuilds the Group submenu from the document's groups; a group is
    // checked when every selected item belongs to it.
    void rebuildGroupMenu();

public slots:
    void updateCommandState();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* makeAction(int commandId);
    void createMenus();
    void createToolbar();
    void createStatusBar();
    void connectCommands();
    void rebuildRecentMenu();
    void rememberFile(const QString& path);
    void updateTitle();
    void storePlacementAndBars();
    void openDialog();
    // Opens a file once the user has agreed to replace the package.
    bool openWithoutAsking(const QString& path);
    void updateHistoryCommands();
    void showIdlePrompt();
    void focusFindBox();
    void showHelp();
    void showAbout();
    void setPreviewShown(bool shown);
    void followSelectionInPreview();

    CSkedlinDoc* document_ = nullptr;
    CSkedlinView* view_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    CPackageWizardUi* wizardUi_ = nullptr;
    CPreviewWindow* preview_ = nullptr;
    bool previewOpenAtStart_ = false;
    bool previewPlaced_ = false;
    bool shownOnce_ = false;
    QHash<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* groupMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QToolBar* toolbar_ = nullptr;
    QLabel* countPane_ = nullptr;
    QLabel* messagePane_ = nullptr;
    RecentFileList recentFiles_;
};

}  // namespace skedlin
