#pragma once
// The Build command as the editor runs it: SkedlinBuilder from the program
// directory on the saved package, while the window keeps repainting but takes
// no input, then the success or the error dialog.

#include <QString>
#include <QStringList>

class QWidget;

namespace skedlin {

class CSkedlinDoc;

// What one build passes to the builder and where it looks for the results.
struct BuildInvocation {
    QString builderPath;
    QStringList arguments;  // without the program itself
    QString outputBase;
    QString errorFilePath;
    QString palmFile;
    QString pocketPcFile;
};

BuildInvocation buildInvocation(const CSkedlinDoc& document, const QString& programDirectory);

struct BuildOutcome {
    int exitCode = 0;      // the builder's exit code; -1 when it could not be started
    bool crashed = false;  // the builder ended abnormally
};

// Runs the builder and waits for it without blocking repaints.
BuildOutcome runBuilder(const BuildInvocation& invocation, QWidget* window);

// The error dialog's two texts for an outcome other than success.
struct BuildErrorText {
    QString message;
    QString details;
};
BuildErrorText buildErrorText(const BuildOutcome& outcome, const QString& errorFilePath);

// Everything: run, then the success or error dialog (modal, parented to window).
void runBuildCommand(const CSkedlinDoc& document, QWidget* window);

}  // namespace skedlin
