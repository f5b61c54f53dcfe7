#include "editor/ui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/ui/BuildDialogs.h"
#include "editor/ui/CAboutDlg.h"
#include "editor/ui/CPreviewWindow.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/DroppedFiles.h"
#include "editor/ui/EntryListModel.h"
#include "editor/ui/KeyboardIndicators.h"
#include "editor/ui/ExportCommand.h"
#include "editor/ui/SheetHelp.h"
#include "editor/ui/Sheets.h"
#include "editor/ui/UiText.h"

// The icons are compiled into the static user interface library; its
// resources must be registered before the first icon is loaded.
static void initUiResources() { Q_INIT_RESOURCE(skedlin_ui); }

namespace skedlin {
namespace {

// The program's own help topic.
constexpr int kProgramHelpContext = 1;
constexpr int kCountPaneWidth = 100;
// First-start size: every default column width fits.
constexpr QSize kDefaultWindowSize(820, 560);

QString menuText(const char* text) { return QString::fromUtf8(text); }

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent),
      document_(new CSkedlinDoc(this)),
      view_(new CSkedlinView(this)),
      wizardUi_(new CPackageWizardUi(this)),
      preview_(new CPreviewWindow(this)) {
    initUiResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/skedlin.svg")));
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(2);
    findBox_ = new QLineEdit(central);
    findBox_->setObjectName(QStringLiteral("findBox"));
    findBox_->setPlaceholderText(QString::fromUtf8(uitext::kFindPlaceholder));
    findBox_->setClearButtonEnabled(true);
    findBox_->installEventFilter(this);
    centralLayout->addWidget(findBox_);
    centralLayout->addWidget(view_, 1);
    setCentralWidget(central);
    setTabOrder(findBox_, view_);
    resize(kDefaultWindowSize);
    createMenus();
    createToolbar();
    createStatusBar();
    connectCommands();

    auto profile = openProfile();
    recentFiles_.read(*profile);
    rebuildRecentMenu();
    const BarState bars = readBarState(*profile);
    toolbar_->setVisible(bars.toolbarVisible);
    statusBar()->setVisible(bars.statusBarVisible);

    view_->setDocument(document_);
    view_->setContextMenu(editMenu_);
    connect(document_, &CSkedlinDoc::modifiedChanged, this, &CMainFrame::updateTitle);
    connect(document_, &CSkedlinDoc::historyChanged, this, &CMainFrame::updateHistoryCommands);
    connect(view_, &CSkedlinView::statusMessage, messagePane_, &QLabel::setText);
    connect(findBox_, &QLineEdit::textChanged, view_, &CSkedlinView::setFilterText);
    view_->setSaveHandler([this] { return save(); });
    connect(view_, &CSkedlinView::commandStateChanged, this, &CMainFrame::updateCommandState);
    preview_->setDocument(document_);
    connect(document_, &CSkedlinDoc::updated, preview_, &CPreviewWindow::documentChanged);
    connect(document_, &CSkedlinDoc::historyChanged, preview_, &CPreviewWindow::documentChanged);
    connect(view_, &CSkedlinView::commandStateChanged, this, &CMainFrame::followSelectionInPreview);
    connect(view_, &CSkedlinView::propertiesSheetShown, preview_, &CPreviewWindow::followProperties);
    setAcceptDrops(true);
    updateTitle();
    updateCommandState();
    updateHistoryCommands();
}

CMainFrame::~CMainFrame() { delete wizardUi_; }

QAction* CMainFrame::makeAction(int commandId) {
    const auto id = CommandId(commandId);
    const CommandInfo& info = commandInfo(id);
    auto* action = new QAction(QString::fromUtf8(info.menuText), this);
    action->setObjectName(QStringLiteral("command%1").arg(commandId));
    action->setData(commandId);
    action->setStatusTip(commandStatusTip(id));
    const QString toolTip = commandToolTip(id);
    if (!toolTip.isEmpty()) {
        action->setToolTip(toolTip);
        action->setIconText(toolTip);
    }
    if (info.icon) action->setIcon(QIcon(QString::fromUtf8(info.icon)));
    action->setShortcuts(commandKeys(id));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);  // shortcuts work while the toolbar or menu bar is hidden
    actions_.insert(commandId, action);
    // A command ends the hover that showed its prompt; without this the
    // prompt would stay in the status bar until the pointer moves again.
    connect(action, &QAction::triggered, this, &CMainFrame::showIdlePrompt);
    return action;
}

void CMainFrame::createMenus() {
    for (int id : {ID_FILE_NEW,     ID_FILE_OPEN,           ID_FILE_SAVE,       ID_FILE_SAVE_AS, ID_BUILD,
                   ID_APP_EXIT,     ID_EDIT_UNDO,           ID_EDIT_REDO,       ID_EDIT_CUT,     ID_EDIT_COPY,
                   ID_EDIT_PASTE,   ID_EDIT_DELETE,         ID_EDIT_SELECT_ALL, ID_EDIT_FIND,    ID_NEW_ITEM,
                   ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,     ID_VIEW_CONTACTS,   ID_VIEW_EVENTS,  ID_DETAILS,
                   ID_VIEW_PREVIEW, ID_CALENDAR_PROPERTIES, ID_IMPORT,          ID_EXPORT,       ID_HELP,
                   ID_APP_ABOUT}) {
        makeAction(id);
    }
    action(ID_VIEW_TOOLBAR)->setCheckable(true);
    action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    action(ID_VIEW_PREVIEW)->setCheckable(true);

    fileMenu_ = menuBar()->addMenu(menuText("&File"));
    fileMenu_->addAction(action(ID_FILE_NEW));
    fileMenu_->addAction(action(ID_FILE_OPEN));
    fileMenu_->addAction(action(ID_FILE_SAVE));
    fileMenu_->addAction(action(ID_FILE_SAVE_AS));
    fileMenu_->addSeparator();
    fileMenu_->addAction(action(ID_BUILD));
    fileMenu_->addAction(action(ID_EXPORT));
    fileMenu_->addSeparator();
    recentSeparator_ = fileMenu_->addSeparator();
    fileMenu_->addAction(action(ID_APP_EXIT));

    editMenu_ = menuBar()->addMenu(menuText("&Edit"));
    editMenu_->addAction(action(ID_EDIT_UNDO));
    editMenu_->addAction(action(ID_EDIT_REDO));
    editMenu_->addSeparator();
    editMenu_->addAction(action(ID_EDIT_CUT));
    editMenu_->addAction(action(ID_EDIT_COPY));
    editMenu_->addAction(action(ID_EDIT_PASTE));
    editMenu_->addAction(action(ID_EDIT_DELETE));
    editMenu_->addSeparator();
    editMenu_->addAction(action(ID_EDIT_SELECT_ALL));
    editMenu_->addAction(action(ID_EDIT_FIND));
    editMenu_->addSeparator();
    groupMenu_ = editMenu_->addMenu(menuText("&Group"));
    editMenu_->addAction(action(ID_NEW_ITEM));
    connect(editMenu_, &QMenu::aboutToShow, this, &CMainFrame::rebuildGroupMenu);
    // A menu closed without a choice leaves no prompt behind either.
    for (QMenu* menu : {fileMenu_, editMenu_}) connect(menu, &QMenu::aboutToHide, this, &CMainFrame::showIdlePrompt);

    QMenu* viewMenu = menuBar()->addMenu(menuText("&View"));
    viewMenu->addAction(action(ID_VIEW_TOOLBAR));
    viewMenu->addAction(action(ID_VIEW_STATUS_BAR));
    viewMenu->addSeparator();
    viewMenu->addAction(action(ID_VIEW_CONTACTS));
    viewMenu->addAction(action(ID_VIEW_EVENTS));
    viewMenu->addAction(action(ID_DETAILS));
    viewMenu->addSeparator();
    viewMenu->addAction(action(ID_VIEW_PREVIEW));

    QMenu* calendarMenu = menuBar()->addMenu(menuText("&Calendar"));
    calendarMenu->addAction(action(ID_CALENDAR_PROPERTIES));
    calendarMenu->addSeparator();
    calendarMenu->addAction(action(ID_IMPORT));

    QMenu* helpMenu = menuBar()->addMenu(menuText("&Help"));
    helpMenu->addAction(action(ID_HELP));
    helpMenu->addAction(action(ID_APP_ABOUT));
    rebuildGroupMenu();
}

void CMainFrame::createToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    for (int id : toolbarLayout()) {
        if (id == 0) {
            toolbar_->addSeparator();
        } else {
            toolbar_->addAction(action(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
    toolbar_->toggleViewAction()->setVisible(false);
}

void CMainFrame::createStatusBar() {
    countPane_ = new QLabel(this);
    countPane_->setObjectName(QStringLiteral("countPane"));
    countPane_->setFixedWidth(kCountPaneWidth);
    countPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    messagePane_ = new QLabel(QString::fromUtf8(uitext::kIdleMessage), this);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(countPane_);
    statusBar()->addWidget(messagePane_, 1);
    statusBar()->setSizeGripEnabled(true);
    new KeyboardIndicators(statusBar());
}

void CMainFrame::connectCommands() {
    connect(action(ID_FILE_NEW), &QAction::triggered, this, [this] { newDocument(); });
    connect(action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::openDialog);
    connect(action(ID_FILE_SAVE), &QAction::triggered, this, [this] { save(); });
    connect(action(ID_FILE_SAVE_AS), &QAction::triggered, this, [this] { saveAs(); });
    connect(action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(action(ID_BUILD), &QAction::triggered, view_, &CSkedlinView::build);
    connect(action(ID_EDIT_UNDO), &QAction::triggered, document_, &CSkedlinDoc::undo);
    connect(action(ID_EDIT_REDO), &QAction::triggered, document_, &CSkedlinDoc::redo);
    connect(action(ID_EDIT_FIND), &QAction::triggered, this, &CMainFrame::focusFindBox);
    connect(action(ID_EDIT_CUT), &QAction::triggered, view_, &CSkedlinView::cut);
    connect(action(ID_EDIT_COPY), &QAction::triggered, view_, &CSkedlinView::copy);
    connect(action(ID_EDIT_PASTE), &QAction::triggered, view_, &CSkedlinView::paste);
    connect(action(ID_EDIT_DELETE), &QAction::triggered, view_, &CSkedlinView::deleteSelection);
    connect(action(ID_EDIT_SELECT_ALL), &QAction::triggered, view_, &CSkedlinView::selectAllItems);
    connect(action(ID_NEW_ITEM), &QAction::triggered, view_, &CSkedlinView::newItem);
    connect(action(ID_VIEW_CONTACTS), &QAction::triggered, view_, &CSkedlinView::showContacts);
    connect(action(ID_VIEW_EVENTS), &QAction::triggered, view_, &CSkedlinView::showEvents);
    connect(action(ID_DETAILS), &QAction::triggered, view_, &CSkedlinView::showDetails);
    connect(action(ID_CALENDAR_PROPERTIES), &QAction::triggered, view_, &CSkedlinView::calendarProperties);
    connect(action(ID_IMPORT), &QAction::triggered, view_, &CSkedlinView::importFile);
    connect(action(ID_EXPORT), &QAction::triggered, this, [this] {
        if (document_) runExportCommand(*document_, this);
    });
    connect(action(ID_HELP), &QAction::triggered, this, &CMainFrame::showHelp);
    connect(action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::showAbout);
    connect(action(ID_VIEW_TOOLBAR), &QAction::toggled, toolbar_, &QWidget::setVisible);
    connect(action(ID_VIEW_STATUS_BAR), &QAction::toggled, statusBar(), &QWidget::setVisible);
    connect(action(ID_VIEW_PREVIEW), &QAction::toggled, this, &CMainFrame::setPreviewShown);
    // Closing the preview window itself unchecks the command.
    connect(preview_, &CPreviewWindow::visibilityChanged, action(ID_VIEW_PREVIEW), &QAction::setChecked);
    // Its key also closes the preview while the preview has the focus.
    preview_->addAction(action(ID_VIEW_PREVIEW));
}

void CMainFrame::setPreviewShown(bool shown) {
    if (shown == preview_->isVisible()) return;
    if (!shown) {
        preview_->hide();
        return;
    }
    if (!previewPlaced_) {
        // First opening without a stored place: beside the main window, on its screen.
        previewPlaced_ = true;
        preview_->resize(preview_->sizeHint());
        QPoint place = frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            place.setX(std::max(area.left(), std::min(place.x(), area.right() - preview_->width())));
            place.setY(std::max(area.top(), std::min(place.y(), area.bottom() - preview_->height())));
        }
        preview_->move(place);
    }
    preview_->show();
    followSelectionInPreview();
}

void CMainFrame::followSelectionInPreview() { preview_->followEntry(view_->isEventMode(), view_->focusedEntry()); }

void CMainFrame::rebuildGroupMenu() {
    groupMenu_->clear();
    const QList<GroupEntry>& groups = document_->groups();
    const QList<int> selected = view_->selectedEntries();
    for (int g = 0; g < groups.size(); ++g) {
        QString text = groups[g].name;
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = groupMenu_->addAction(text);
        item->setData(kFirstGroupCommand + g);
        item->setCheckable(true);
        bool member = !selected.isEmpty();
        if (view_->isEventMode()) {
            for (int entry : selected) member = member && document_->events()[entry].groupName == groups[g].name;
        } else {
            member = member && document_->allContactsInGroup(selected, g);
        }
        item->setChecked(member);
        connect(item, &QAction::triggered, view_, [this, g] { view_->applyGroup(g); });
    }
}

void CMainFrame::rebuildRecentMenu() {
    for (QAction* item : std::as_const(recentActions_)) {
        fileMenu_->removeAction(item);
        item->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = recentFiles_.files();
    if (files.isEmpty()) {
        auto* placeholder = new QAction(QString::fromUtf8(uitext::kRecentFilePlaceholder), this);
        placeholder->setEnabled(false);
        recentActions_.append(placeholder);
    }
    for (int i = 0; i < files.size(); ++i) {
        QString shown = QDir::toNativeSeparators(files[i]);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(QString::fromUtf8(uitext::kRecentFileEntry).arg(i + 1).arg(shown), this);
        item->setStatusTip(QString::fromUtf8(uitext::kRecentFilePrompt));
        item->setData(ID_FILE_MRU_FILE1 + i);
        const QString path = files[i];
        connect(item, &QAction::triggered, this, [this, path] { openDocumentFile(path); });
        recentActions_.append(item);
    }
    fileMenu_->insertActions(recentSeparator_, recentActions_);
}

void CMainFrame::rememberFile(const QString& path) {
    recentFiles_.add(path);
    auto profile = openProfile();
    recentFiles_.write(*profile);
    rebuildRecentMenu();
}

void CMainFrame::updateTitle() {
    const QString path = document_->pathName();
    const QString name = path.isEmpty() ? QString::fromUtf8(uitext::kDocumentName) : QFileInfo(path).fileName();
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, QString::fromUtf8(uitext::kWindowTitle)));
    setWindowModified(document_->isModified());
}

void CMainFrame::updateHistoryCommands() {
    QAction* undo = action(ID_EDIT_UNDO);
    QAction* redo = action(ID_EDIT_REDO);
    undo->setEnabled(document_->canUndo());
    redo->setEnabled(document_->canRedo());
    // "&Undo Delete\tCtrl+Z": the menu names the command it takes back.
    const auto named = [](CommandId id, const QString& name) {
        const QString text = QString::fromUtf8(commandInfo(id).menuText);
        if (name.isEmpty()) return text;
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        QString shown = name;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        return text.left(tab) + QLatin1Char(' ') + shown + text.mid(tab);
    };
    undo->setText(named(ID_EDIT_UNDO, document_->undoName()));
    redo->setText(named(ID_EDIT_REDO, document_->redoName()));
}

void CMainFrame::showIdlePrompt() { messagePane_->setText(QString::fromUtf8(uitext::kIdleMessage)); }

void CMainFrame::focusFindBox() {
    findBox_->setFocus(Qt::ShortcutFocusReason);
    findBox_->selectAll();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // In the find box, Escape clears the text and Down or Return go to the list;
    // Return must not reach the window's Details key meanwhile.
    if (watched == findBox_ && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    if (watched == findBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            findBox_->clear();
            view_->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            view_->setFocus(Qt::TabFocusReason);
            if (!view_->currentIndex().isValid() && view_->listModel()->rowCount() > 0)
                view_->setCurrentIndex(view_->listModel()->index(0, 0));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::updateCommandState() {
    const bool events = view_->isEventMode();
    action(ID_VIEW_EVENTS)->setEnabled(!events);
    action(ID_VIEW_CONTACTS)->setEnabled(events);
    action(ID_DETAILS)->setEnabled(view_->canDetails());
    const bool selection = view_->hasSelection();
    action(ID_EDIT_DELETE)->setEnabled(selection);
    action(ID_EDIT_COPY)->setEnabled(selection);
    action(ID_EDIT_CUT)->setEnabled(selection);
    action(ID_EDIT_PASTE)->setEnabled(view_->canPaste());
    action(ID_VIEW_TOOLBAR)->setChecked(toolbar_->isVisibleTo(this) || !toolbar_->isHidden());
    action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
    countPane_->setText(view_->countText());
}

QString CMainFrame::countPaneText() const { return countPane_->text(); }
QString CMainFrame::messagePaneText() const { return messagePane_->text(); }

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        messagePane_->setText(tip.isEmpty() ? QString::fromUtf8(uitext::kIdleMessage) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::saveModified() {
    if (!document_->isModified()) return true;
    const QString path = document_->pathName();
    const QString name = path.isEmpty() ? QString::fromUtf8(uitext::kDocumentName) : QFileInfo(path).fileName();
    const auto answer = QMessageBox::warning(
        this, QString::fromUtf8(uitext::kApplicationTitle), QString::fromUtf8(uitext::kAskToSave).arg(name),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) return true;
    return save();
}

bool CMainFrame::newDocument(bool defaultsOnCancel) {
    if (!saveModified()) return false;
    if (!document_->newDocument(wizardUi_)) {
        if (!defaultsOnCancel) return false;
        document_->newDocument(nullptr);
    }
    findBox_->clear();
    view_->documentReplaced();
    preview_->documentReplaced();
    updateTitle();
    return true;
}

void CMainFrame::openDialog() {
    if (!saveModified()) return;
    const QString startFolder =
        document_->pathName().isEmpty() ? QString() : QFileInfo(document_->pathName()).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), startFolder, QString::fromUtf8(uitext::kFileFilter));
    // The user has already answered the question about saving.
    if (!path.isEmpty()) openWithoutAsking(path);
}

bool CMainFrame::openDocumentFile(const QString& path) {
    if (!saveModified()) return false;
    return openWithoutAsking(path);
}

bool CMainFrame::openWithoutAsking(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(this, QString::fromUtf8(uitext::kApplicationTitle),
                             QString::fromUtf8(uitext::kFileNotFound).arg(QDir::toNativeSeparators(path)));
        recentFiles_.remove(path);
        auto profile = openProfile();
        recentFiles_.write(*profile);
        rebuildRecentMenu();
        return false;
    }
    const OpenResult result = document_->openDocument(QFileInfo(path).absoluteFilePath());
    if (!result.ok()) {
        COpenErrorDlg dialog(messages::messageForCode(result.code()), result.message(), path, this);
        dialog.exec();
        return false;
    }
    rememberFile(document_->pathName());
    findBox_->clear();
    view_->documentReplaced();
    preview_->documentReplaced();
    updateTitle();
    return true;
}

bool CMainFrame::save() {
    if (document_->pathName().isEmpty()) return saveAs();
    const SaveResult result = document_->saveDocument(document_->pathName());
    if (!result.ok()) {
        QMessageBox::warning(this, QString::fromUtf8(uitext::kApplicationTitle), result.message());
        return false;
    }
    rememberFile(document_->pathName());
    updateTitle();
    return true;
}

bool CMainFrame::saveAs() {
    QString suggested = document_->pathName();
    if (suggested.isEmpty()) suggested = document_->appFileName() + QStringLiteral(".xml");
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QString::fromUtf8(uitext::kFileFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(uitext::kFileExtension));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString path = dialog.selectedFiles().first();
    const SaveResult result = document_->saveDocument(path);
    if (!result.ok()) {
        QMessageBox::warning(this, QString::fromUtf8(uitext::kApplicationTitle), result.message());
        return false;
    }
    rememberFile(path);
    updateTitle();
    return true;
}

bool CMainFrame::restorePlacement() {
    WindowPlacement current;
    current.showCmd = kShowNormal;
    current.restored = geometry();
    auto profile = openProfile();
    const WindowPlacement stored = readWindowPlacement(*profile, current);
    // A rectangle that is off every screen (a monitor since removed) would
    // hide the window; it is only used when a screen shows part of it.
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        visible = visible || screen->availableGeometry().intersects(stored.restored);
    }
    // On a first start the window system places the window; setting the
    // unplaced geometry would pin it to the corner with its title bar off screen.
    if (stored.restoredStored && isSaneRestoredRect(stored.restored) && visible) setGeometry(stored.restored);
    const PreviewWindowState previewState = readPreviewWindowState(*profile);
    preview_->applyState(previewState);
    previewPlaced_ = previewState.geometryStored;
    previewOpenAtStart_ = previewState.open;
    return stored.showCmd == kShowMaximized;
}

void CMainFrame::storePlacementAndBars() {
    WindowPlacement placement;
    if (isMinimized()) {
        placement.showCmd = kShowMinimized;
    } else if (isMaximized()) {
        placement.showCmd = kShowMaximized;
    } else {
        placement.showCmd = kShowNormal;
    }
    placement.restored = normalGeometry();
    auto profile = openProfile();
    writeWindowPlacement(*profile, placement);
    BarState bars;
    bars.toolbarVisible = !toolbar_->isHidden();
    bars.statusBarVisible = !statusBar()->isHidden();
    const QScreen* screen = this->screen();
    writeBarState(*profile, bars, screen ? screen->size() : QSize());
    PreviewWindowState previewState = preview_->state();
    // A preview never placed has no rectangle worth keeping.
    if (!previewPlaced_) previewState.geometry = QRect();
    writePreviewWindowState(*profile, previewState);
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_ || event->spontaneous()) return;
    shownOnce_ = true;
    // The preview opens after the main window, which it is placed beside.
    if (previewOpenAtStart_) QTimer::singleShot(0, this, [this] { action(ID_VIEW_PREVIEW)->setChecked(true); });
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!saveModified()) {
        event->ignore();
        return;
    }
    storePlacementAndBars();
    view_->saveColumnSettings();
    preview_->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    handleDroppedFiles(paths);
}

void CMainFrame::handleDroppedFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        switch (droppedFileAction(path)) {
        case DroppedFileAction::Refuse:
            QMessageBox::warning(this, QString::fromUtf8(uitext::kApplicationTitle),
                                 QString::fromUtf8(uitext::kDropRefused));
            return;
        case DroppedFileAction::Open: openDocumentFile(path); break;
        case DroppedFileAction::Import: view_->importPath(path); break;
        }
    }
}

void CMainFrame::showHelp() { openHelpContext(kProgramHelpContext); }

void CMainFrame::showAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

}  // namespace skedlin
