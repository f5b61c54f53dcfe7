#include "editor/ui/BuildRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>

#include "editor/document/CSkedlinDoc.h"
#include "editor/ui/BuildDialogs.h"
#include "editor/ui/UiText.h"

namespace skedlin {

BuildOutcome runBuilder(const BuildPlan& plan, QWidget* window) {
    QProcess builder;
    QEventLoop loop;
    bool failedToStart = false;
    QObject::connect(&builder, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&builder, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failedToStart = true;
            loop.quit();
        }
    });

    // The window keeps painting but takes no input: the package cannot change
    // under the builder's feet.
    const bool wasEnabled = window && window->isEnabled();
    if (window) window->setEnabled(false);
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    if (mainWindow) mainWindow->statusBar()->showMessage(QString::fromUtf8(uitext::kBuildRunning));
    QApplication::setOverrideCursor(Qt::BusyCursor);

    startBuilder(builder, plan);
    if (!failedToStart && builder.state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);

    QApplication::restoreOverrideCursor();
    if (mainWindow) mainWindow->statusBar()->clearMessage();
    if (window) window->setEnabled(wasEnabled);

    return buildOutcome(plan, builder);
}

void runBuildCommand(const CSkedlinDoc& document, QWidget* window) {
    const BuildPlan plan = planBuild(document);
    const BuildOutcome outcome = runBuilder(plan, window);
    if (outcome.succeeded()) {
        CBuildSuccessDlg dialog(plan.palmFile, plan.pocketPcFile, window);
        dialog.exec();
        return;
    }
    CBuildErrorDlg dialog(outcome.result.message(), outcome.details, document.pathName(), window);
    dialog.exec();
}

}  // namespace skedlin
