// Times the editor's Handheld Preview on a large package, offscreen: the
// first build, then several edits of the selected event, each from the edit
// to the preview showing it, and the longest the GUI thread went without
// serving its events meanwhile (a 10 ms timer notes every gap). Also times
// moving the preview to a newly selected event. Nothing is asserted: the
// figures are for reading.
//   QT_QPA_PLATFORM=offscreen SkedlinPreviewBench PACKAGE.xml
// SkedlinBuilder is taken from this program's folder; the editor's settings
// go to a temporary folder.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageWriter.h"
#include "editor/preview/PreviewSession.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CPreviewWindow.h"
#include "editor/ui/CSkedlinView.h"
#include "editor/ui/Commands.h"

namespace {

using namespace skedlin;

constexpr int kEdits = 5;
constexpr int kProbeMs = 10;
constexpr qint64 kGiveUpMs = 60000;

// The longest time between two ticks of a 10 ms timer while it runs.
class StallProbe {
public:
    StallProbe() {
        timer_.setInterval(kProbeMs);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double stop() {
        timer_.stop();
        longest_ = std::max(longest_, clock_.nsecsElapsed() - last_);
        return double(longest_) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

// Serves events until the condition holds; false when it never did.
bool waitUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > kGiveUpMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SkedlinPreviewBench PACKAGE.xml\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());
    QApplication application(argc, argv);

    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    QApplication::processEvents();
    if (!frame.openDocumentFile(QString::fromLocal8Bit(argv[1]))) return 1;
    CSkedlinDoc* document = frame.document();
    CSkedlinView* view = frame.view();
    CPreviewWindow* preview = frame.preview();
    std::printf("%lld events, %lld contacts\n", static_cast<long long>(document->events().size()),
                static_cast<long long>(document->contacts().size()));

    QElapsedTimer clock;
    StallProbe probe;
    clock.start();
    probe.start();
    frame.action(ID_VIEW_PREVIEW)->setChecked(true);
    if (!waitUntil([&] { return !preview->isUpdating() && preview->screenKind() != 0; })) {
        std::fprintf(stderr, "the first build did not finish: %s\n", qPrintable(preview->errorText()));
        return 1;
    }
    double stall = probe.stop();
    std::printf("%-40s %8.1f ms   longest stall %6.1f ms\n", "open preview (first build)",
                double(clock.nsecsElapsed()) / 1e6, stall);

    int failures = 0;
    double worstUpdate = 0, worstStall = 0;
    const int count = int(document->events().size());
    for (int edit = 0; edit < kEdits; ++edit) {
        const int entry = (edit * 997 + 11) % count;
        clock.start();
        probe.start();
        view->selectEntries({entry});
        QApplication::processEvents();
        const double selectMs = double(clock.nsecsElapsed()) / 1e6;
        stall = probe.stop();
        std::printf("%-40s %8.1f ms   longest stall %6.1f ms\n", "select an event (preview opens it)", selectMs, stall);

        EventEntry changed = document->events()[entry];
        changed.title = QStringLiteral("Edited %1").arg(edit);
        clock.start();
        probe.start();
        document->replaceEvent(entry, changed);
        const bool shown =
            waitUntil([&] { return !preview->isUpdating() && preview->screenTexts().contains(changed.title); });
        const double updateMs = double(clock.nsecsElapsed()) / 1e6;
        stall = probe.stop();
        if (!shown) ++failures;
        worstUpdate = std::max(worstUpdate, updateMs);
        worstStall = std::max(worstStall, stall);
        std::printf("%-40s %8.1f ms   longest stall %6.1f ms%s\n", "edit -> preview shows it", updateMs, stall,
                    shown ? "" : "  (NOT SHOWN)");
    }
    // The GUI-thread steps of one update, timed alone.
    const auto step = [&](const char* name, const std::function<void()>& run) {
        clock.start();
        run();
        std::printf("  %-38s %8.1f ms\n", name, double(clock.nsecsElapsed()) / 1e6);
    };
    std::printf("GUI-thread steps of one update:\n");
    QByteArray xml;
    step("write the package file", [&] { xml = writePackage(*document, packagePrefix(), BitmapPaths::Absolute); });
    const QString address = preview->screenAddress();
    std::unique_ptr<preview::PreviewSession> session;
    const std::shared_ptr<const preview::PreviewPackage> package = preview->session()->package();
    step("start the viewer core", [&] { session = std::make_unique<preview::PreviewSession>(package, 1); });
    step(qPrintable(QStringLiteral("go to %1").arg(address)), [&] { session->goTo(address, nullptr); });
    step("render the screen", [&] { (void)session->render(); });

    std::printf("worst edit -> shown %.1f ms, worst stall during a rebuild %.1f ms\n", worstUpdate, worstStall);
    document->setModified(false);
    return failures == 0 ? 0 : 1;
}
