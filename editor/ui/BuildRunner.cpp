#include "editor/ui/BuildRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>

#include "editor/document/BuilderErrorFile.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ImportTextFile.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/ui/BuildDialogs.h"
#include "editor/ui/UiText.h"

namespace skedlin {

BuildInvocation buildInvocation(const CSkedlinDoc& document, const QString& programDir) {
    BuildInvocation invocation;
    invocation.builderPath = programDir + QString::fromUtf8(kBuilderFileName);
    const QString documentPath = document.pathName();
    invocation.outputBase = document.documentFolder() + document.appFileName();
    invocation.errorFilePath = documentPath + QStringLiteral(".err");
    invocation.palmFile = invocation.outputBase + QStringLiteral(".prc");
    invocation.pocketPcFile = invocation.outputBase + QStringLiteral(".cab");
    // Passed as a list: paths with spaces reach the builder whole, unquoted.
    invocation.arguments = {documentPath,
                            invocation.outputBase,
                            QStringLiteral("/ERR"),
                            invocation.errorFilePath,
                            QStringLiteral("/PALM"),
                            QStringLiteral("/WINCE")};
    return invocation;
}

BuildOutcome runBuilder(const BuildInvocation& invocation, QWidget* window) {
    BuildOutcome outcome;
    QProcess builder;
    builder.setProgram(invocation.builderPath);
    builder.setArguments(invocation.arguments);
    builder.setProcessChannelMode(QProcess::ForwardedChannels);

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

    builder.start();
    if (!failedToStart && builder.state() != QProcess::NotRunning) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else if (builder.error() == QProcess::FailedToStart) {
        failedToStart = true;
    }

    QApplication::restoreOverrideCursor();
    if (mainWindow) mainWindow->statusBar()->clearMessage();
    if (window) window->setEnabled(wasEnabled);

    if (failedToStart) {
        outcome.exitCode = -1;
    } else if (builder.exitStatus() == QProcess::CrashExit) {
        outcome.crashed = true;
        outcome.exitCode = builder.exitCode();
    } else {
        outcome.exitCode = builder.exitCode();
    }
    return outcome;
}

BuildErrorText buildErrorText(const BuildOutcome& outcome, const QString& errorFilePath) {
    BuildErrorText text;
    if (outcome.exitCode < 0) {
        text.message = messages::messageForCode(-1);
        text.details = QString::fromUtf8(messages::kReinstallHint);
        return text;
    }
    text.message =
        outcome.crashed ? QString::fromUtf8(messages::kBuilderCrashed) : messages::messageForCode(outcome.exitCode);
    const QByteArray bytes = readErrorFileBytes(errorFilePath);
    if (!bytes.isEmpty()) text.details = decodeImportText(bytes);
    return text;
}

void runBuildCommand(const CSkedlinDoc& document, QWidget* window) {
    const BuildInvocation invocation = buildInvocation(document, programDirectory());
    const BuildOutcome outcome = runBuilder(invocation, window);
    if (outcome.exitCode == 0 && !outcome.crashed) {
        CBuildSuccessDlg dialog(invocation.palmFile, invocation.pocketPcFile, window);
        dialog.exec();
        return;
    }
    const BuildErrorText text = buildErrorText(outcome, invocation.errorFilePath);
    CBuildErrorDlg dialog(text.message, text.details, document.pathName(), window);
    dialog.exec();
}

}  // namespace skedlin
