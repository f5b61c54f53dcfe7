// Opens a package in the editor's real main window, offscreen, shows its event
// list and exits: the editor's share of run_bench.sh.
//   QT_QPA_PLATFORM=offscreen SkedlinOpenBench PACKAGE.xml
// Exit code 0 when the list shows every event of the package, 1 otherwise.
// The editor's settings go to a temporary folder, so the user's own stay untouched.

#include <QAction>
#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CSkedlinApp.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/EntryListModel.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SkedlinOpenBench PACKAGE.xml\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());

    QApplication application(argc, argv);
    // Start-up opens the file named on the command line, as the editor does.
    skedlin::CSkedlinApp skedlin(QApplication::arguments());
    if (!skedlin.initInstance()) return 1;
    skedlin::CMainFrame* frame = skedlin.mainFrame();
    skedlin::CSkedlinView* view = frame->view();
    if (!view->isEventMode()) frame->action(skedlin::ID_VIEW_EVENTS)->trigger();
    QApplication::processEvents();
    // Paint the list once, as the screen would show it.
    const QPixmap shown = frame->grab();

    const qsizetype events = frame->document()->events().size();
    const int rows = view->listModel()->rowCount();
    std::fprintf(stderr, "%lld events, %d rows shown, %dx%d window\n", static_cast<long long>(events), rows,
                 shown.width(), shown.height());
    return events > 0 && rows == events && view->isEventMode() ? 0 : 1;
}
