#include "editor/ui/CSkedlinApp.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>
#include <QFileInfo>
#include <QProxyStyle>

#include "editor/document/ProgramDirectory.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/FrameSettings.h"
#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

constexpr int kPlacementWaitMs = 1000;

// Push buttons show their text only. Some desktop styles put stock icons on
// the buttons of message boxes and button boxes but not on other buttons, so
// the sheets and the dialogs around them would look mismatched.
class EditorStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_DialogButtonBox_ButtonsHaveIcons) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QString startupFile(const QStringList& arguments, const RecentFileList& recentFiles) {
    for (int i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
    }
    if (!recentFiles.files().isEmpty() && QFileInfo(recentFiles.files().first()).isFile()) {
        return recentFiles.files().first();
    }
    return {};
}

CSkedlinApp::CSkedlinApp(const QStringList& arguments) : arguments_(arguments) {
    QCoreApplication::setOrganizationName(QString::fromUtf8(uitext::kSettingsOrganization));
    QCoreApplication::setApplicationName(QString::fromUtf8(uitext::kSettingsApplication));
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::setStyle(new EditorStyle);
    // The builder, the DTD and the manual are installed beside the editor.
    setProgramDirectory(QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/'));
}

CSkedlinApp::~CSkedlinApp() = default;

bool CSkedlinApp::initInstance() {
    frame_ = std::make_unique<CMainFrame>();
    const bool maximized = frame_->restorePlacement();
    if (maximized) {
        frame_->showMaximized();
    } else {
        frame_->show();
    }
    // The wizard of a first start is centred on the main window, so the window
    // system must have placed that window first; a window system that never
    // reports it placed is waited for a second at most.
    QElapsedTimer waited;
    waited.start();
    while (frame_->windowHandle() && !frame_->windowHandle()->isExposed() && waited.elapsed() < kPlacementWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    const QString file = startupFile(arguments_, frame_->recentFiles());
    // A file that cannot be read leaves the user with a new package rather
    // than no program at all.
    if (file.isEmpty() || !frame_->openDocumentFile(file)) frame_->newDocument(true);
    return true;
}

}  // namespace skedlin
