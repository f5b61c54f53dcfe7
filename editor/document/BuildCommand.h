#pragma once
// The Build command: runs SkedlinBuilder from the program directory on the
// saved package and turns its exit code and error file into the texts the
// editor shows. The windowed editor and SkedlinTool share it.

#include <QString>
#include <QStringList>

class QProcess;

namespace skedlin {

class CSkedlinDoc;

// Exit code reported when the builder could not be started.
constexpr int kBuilderNotStarted = -1;

struct BuildPlan {
    QString builderPath;    // program directory + SkedlinBuilder
    QString documentPath;   // the saved package file
    QString outputBase;     // document folder + application file name
    QString errorFilePath;  // document path + ".err"
    QString palmFile;       // output base + ".prc"
    QString pocketPcFile;   // output base + ".cab"
    // The builder's arguments after its own name: document, output base, "/ERR",
    // error file, "/PALM", "/WINCE". Passed as a list, so spaces need no quoting.
    QStringList arguments;
};

BuildPlan planBuild(const QString& programDirectory, const QString& documentPath, const QString& appFileName);
BuildPlan planBuild(const CSkedlinDoc& document);  // from the program directory and the document
// A build of the Palm OS file only, to outputBase + ".prc", errors in errorFilePath
// (the handheld preview builds into a temporary folder).
BuildPlan planPalmBuild(const QString& programDirectory, const QString& documentPath, const QString& outputBase,
                        const QString& errorFilePath);

// Why the document cannot be built now: the "save first" message when it has
// unsaved changes or was never saved; empty when it can be built.
QString buildRefusal(const CSkedlinDoc& document);

struct BuildOutcome {
    int exitCode = 0;      // the builder's, or kBuilderNotStarted
    bool crashed = false;  // the builder ended abnormally (no exit code)
    bool succeeded() const { return exitCode == 0 && !crashed; }
    // For the error dialog: the message of the exit code and the details.
    QString message;
    QString details;
};

// Starts the builder on the plan; the caller waits (or watches) the process.
// For a window that keeps repainting while the builder runs.
void startBuilder(QProcess& process, const BuildPlan& plan);
// The outcome of a finished (or never started) builder process.
BuildOutcome buildOutcome(const BuildPlan& plan, const QProcess& process);
// The outcome for an exit code, reading the error file when it is positive.
BuildOutcome buildOutcomeForExitCode(const BuildPlan& plan, int exitCode);
// Runs the builder and waits for it to end.
BuildOutcome runBuild(const BuildPlan& plan);

// The error file's text: its bytes up to the first zero byte, read as UTF-8
// when they are valid UTF-8 and as Windows-1252 otherwise; empty when the file
// cannot be opened.
QString readErrorFile(const QString& path);

}  // namespace skedlin
