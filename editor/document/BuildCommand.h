#pragma once
// The Build command: runs SkedlinBuilder from the program directory on the
// saved package and turns its exit code and error file into the texts the
// editor shows. The windowed editor and SkedlinTool share it.

#include <QString>
#include <QStringList>

#include "builder/BuilderMessages.h"
#include "formats/Result.h"

class QProcess;

namespace skedlin {

class CSkedlinDoc;

// The two ways a build can end without an exit code of the builder's own:
// the builder could not be started, or it ended abnormally.
inline constexpr builder::ExitCode kBuilderNotStarted = static_cast<builder::ExitCode>(-1);
inline constexpr builder::ExitCode kBuilderEndedAbnormally = static_cast<builder::ExitCode>(-2);

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

// How a build ended, as the error dialog and the console show it: the result
// holds the builder's exit code (or one of the two above) and the text for
// it; details hold the error file's text (for a builder that could not be
// started, the hint to reinstall).
struct BuildOutcome {
    Result<builder::ExitCode, QString> result;
    QString details;
    bool succeeded() const { return result.ok(); }
    bool crashed() const { return result.code() == kBuilderEndedAbnormally; }
};

// Starts the builder on the plan; the caller waits (or watches) the process.
// For a window that keeps repainting while the builder runs.
void startBuilder(QProcess& process, const BuildPlan& plan);
// The outcome of a finished (or never started) builder process.
BuildOutcome buildOutcome(const BuildPlan& plan, const QProcess& process);
// The outcome for an exit code, reading the error file when it is positive.
BuildOutcome buildOutcomeForExitCode(const BuildPlan& plan, builder::ExitCode exitCode);
// Runs the builder and waits for it to end.
BuildOutcome runBuild(const BuildPlan& plan);

// The error file's text: its bytes up to the first zero byte, read as UTF-8
// when they are valid UTF-8 and as Windows-1252 otherwise; empty when the file
// cannot be opened.
QString readErrorFile(const QString& path);

}  // namespace skedlin
