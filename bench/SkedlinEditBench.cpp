// Times the editing commands of the editor's main window on a large package,
// offscreen: sorting by every column, Select All then Delete, Undo of that,
// pasting 10,000 copied events and each keystroke in the find box. Prints
// each figure and the memory the open package takes with and without undo
// history. Nothing is asserted: the figures are for reading.
//   QT_QPA_PLATFORM=offscreen SkedlinEditBench PACKAGE.xml
// The editor's settings go to a temporary folder.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"
#include "editor/ui/EntryListModel.h"
#include "editor/ui/ListColumns.h"

namespace {

using namespace skedlin;

constexpr int kPastedEvents = 10000;
constexpr double kLimitMs = 200.0;

// Resident memory of this process in KiB, from /proc.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int slowSteps = 0;

// Runs a step once, lets the queued repaints happen and prints its time.
void timed(const char* name, const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (ms > kLimitMs) ++slowSteps;
    std::printf("%-44s %8.1f ms%s\n", name, ms, ms > kLimitMs ? "  (over 200 ms)" : "");
}

// Answers the delete question with OK as soon as it shows.
void answerNextQuestion() {
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SkedlinEditBench PACKAGE.xml\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());
    QApplication application(argc, argv);

    const long baseKiB = residentKiB();
    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    QApplication::processEvents();
    if (!frame.openDocumentFile(QString::fromLocal8Bit(argv[1]))) return 1;
    CSkedlinView* view = frame.view();
    CSkedlinDoc* document = frame.document();
    QApplication::processEvents();
    const long openKiB = residentKiB();
    std::printf("%lld events, %lld contacts\n", static_cast<long long>(document->events().size()),
                static_cast<long long>(document->contacts().size()));

    for (ListMode mode : {ListMode::Events, ListMode::Contacts}) {
        frame.action(mode == ListMode::Events ? ID_VIEW_EVENTS : ID_VIEW_CONTACTS)->trigger();
        const QList<ListColumn>& columns = listColumns(mode);
        for (int column = 0; column < columns.size(); ++column) {
            const QByteArray name = QByteArray("sort by ") + columns[column].heading;
            timed(name.constData(), [&] { view->sortByColumn(column); });
        }
    }
    frame.action(ID_VIEW_EVENTS)->trigger();
    view->sortByColumn(0);

    const QList<EventEntry> opened = document->events();
    timed("select all + delete", [&] {
        frame.action(ID_EDIT_SELECT_ALL)->trigger();
        answerNextQuestion();
        frame.action(ID_EDIT_DELETE)->trigger();
    });
    const bool deleted = document->events().isEmpty();
    timed("undo the delete", [&] { frame.action(ID_EDIT_UNDO)->trigger(); });
    const bool restored = document->events() == opened;

    QList<int> first;
    for (int entry = 0; entry < kPastedEvents && entry < document->events().size(); ++entry) first.append(entry);
    view->selectEntries(first);
    frame.action(ID_EDIT_COPY)->trigger();
    timed("paste 10,000 events", [&] { frame.action(ID_EDIT_PASTE)->trigger(); });
    const bool pasted = document->events().size() == opened.size() + first.size();

    QLineEdit* findBox = frame.findBox();
    QString typed;
    for (const QChar c : QStringLiteral("meeting")) {
        typed.append(c);
        const QByteArray name = "find: \"" + typed.toUtf8() + "\"";
        timed(name.constData(), [&] { findBox->setText(typed); });
    }
    timed("find: cleared", [&] { findBox->clear(); });

    const long historyKiB = residentKiB();
    std::printf(
        "memory: %ld MiB with the package open, %ld MiB after the commands with their history "
        "(%.2f x the package's own share over the empty editor)\n",
        openKiB / 1024, historyKiB / 1024, double(historyKiB - baseKiB) / double(std::max(1L, openKiB - baseKiB)));
    std::printf("%d step(s) over 200 ms\n", slowSteps);
    return deleted && restored && pasted ? 0 : 1;
}
