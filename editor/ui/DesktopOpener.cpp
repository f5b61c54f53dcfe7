#include "editor/ui/DesktopOpener.h"

#include <QApplication>
#include <QWidget>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "editor/ui/SheetMessages.h"

namespace skedlin {
namespace {

void reportFailure(QWidget* parent, const QString& failureText, const QString& path) {
    showExclamation(parent ? parent : QApplication::activeWindow(), failureText.arg(QDir::toNativeSeparators(path)));
}

}  // namespace

void openWithDesktop(const QString& path, QWidget* parent, const QString& failureText) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) reportFailure(parent, failureText, path);
        return;
    }
    // The opener exits with a non-zero status when no program takes the file.
    // Some desktops keep it running as long as the program it started, so it
    // runs under a shell: should the editor end first, only the shell goes and
    // the program the user is working in stays.
    auto* process = new QProcess(qApp);
    process->setProgram(QStringLiteral("/bin/sh"));
    process->setArguments(
        {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$1\" </dev/null >/dev/null 2>&1"), opener, path});
    QPointer<QWidget> owner(parent);
    QObject::connect(process, &QProcess::finished, process,
                     [process, owner, failureText, path](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             reportFailure(owner.data(), failureText, path);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, owner, failureText, path](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         reportFailure(owner.data(), failureText, path);
                         process->deleteLater();
                     });
    process->start();
}

}  // namespace skedlin
