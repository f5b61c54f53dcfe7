// SkedlinTool: the editor's document on the command line, for scripts and for
// testing without a display, and the handheld preview of built packages. Each command does what the windowed editor
// does for the same step and prints what its dialogs would show.

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

#include "editor/document/BuildCommand.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/CalendarExchangeMessages.h"
#include "editor/document/PackageExport.h"
#include "editor/document/PackageImport.h"
#include "tools/inspect/InspectCommand.h"
#include "tools/skedlintool/PreviewCommand.h"

namespace {

using namespace skedlin;

// Exit statuses of the tool's own failures; the read result codes and the
// builder's exit codes are passed on as they are.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 64;

constexpr const char* kUsage =
    "Usage: SkedlinTool COMMAND ARGUMENTS\n"
    "\n"
    "Works on Skedlin calendar package files (.xml) without a window.\n"
    "\n"
    "Commands:\n"
    "  new FILE              Create a new package with the default values and save it\n"
    "                        as FILE. Exit status 0, or 1 when FILE cannot be saved.\n"
    "  check FILE            Read FILE as the editor opens it. On failure print the\n"
    "                        message of the read result and its details, and exit with\n"
    "                        the read result code (2 XML error, 8 days-of-week text,\n"
    "                        9 date, 10 duplicate contact id, 11 unknown contact id).\n"
    "                        On success print the numbers of groups, events and\n"
    "                        contacts and exit with 0.\n"
    "  resave IN [OUT]       Read IN and save it (sorted, in the editor's layout) as\n"
    "                        OUT, or over IN when OUT is not given.\n"
    "  import [--expand-from DATE] [--expand-until DATE] FILE INPUT...\n"
    "                        Read the package FILE, import each INPUT into it by its\n"
    "                        extension (.dba, .vcs, .ics, .vcf, .csv) and save FILE.\n"
    "                        Nothing is saved when an import fails. Repeat rules of an\n"
    "                        .ics that a package cannot hold become single events\n"
    "                        between the two dates (YYYY-MM-DD; by default from today\n"
    "                        to two years on).\n"
    "  export FILE OUT       Read the package FILE and write its events to OUT.ics\n"
    "                        (iCalendar, floating local times) or its contacts to\n"
    "                        OUT.vcf (vCard 3.0), chosen by OUT's extension.\n"
    "  build FILE            Read FILE and run SkedlinBuilder from this program's folder\n"
    "                        on it (output beside FILE, named after the package's\n"
    "                        application file name; errors in FILE.err). Print the\n"
    "                        result as the editor's build dialogs show it and exit with\n"
    "                        the builder's exit code (255 when it could not be started).\n"
    "%s"
    "  inspect FILE [--json] Print what a built package holds: FILE is a .prc, a .cab\n"
    "                        or the Pocket PC executable, told apart by its content.\n"
    "                        Readable text, or JSON with --json. Exit status 0 when\n"
    "                        nothing is wrong, 1 when FILE cannot be read, 3 when it\n"
    "                        holds no package, 4 when the package is damaged (the\n"
    "                        report, when there is one, lists the problems).\n"
    "  --help                Show this text.\n"
    "\n"
    "A file that cannot be read exits with its read result code; a file that cannot\n"
    "be saved exits with 1; wrong arguments exit with 64.\n";

void printLine(FILE* stream, const QString& text) { std::fprintf(stream, "%s\n", text.toLocal8Bit().constData()); }

// Bitmap paths inside the package's folder are saved relative to it, which
// takes the package's full path: a path given relative to the working folder
// is made absolute first, as the editor's file dialogs hand it over.
QString absolutePackagePath(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

int usageError(const QString& problem) {
    printLine(stderr, QStringLiteral("SkedlinTool: ") + problem);
    std::fprintf(stderr, kUsage, kPreviewUsage);
    return kExitUsage;
}

// Opens a package as the editor does, printing the open-error dialog on failure.
int openPackage(CSkedlinDoc& document, const QString& path) {
    if (!QFileInfo::exists(path)) {
        printLine(stderr, QStringLiteral("SkedlinTool: %1: no such file").arg(path));
        return kExitFailure;
    }
    const OpenResult result = document.openDocument(path);
    if (result.ok()) return kExitOk;
    printLine(stderr, QString::fromLatin1(messages::kOpenErrorCaption));
    printLine(stderr, QString::fromLatin1(messages::kOpenErrorText));
    printLine(stderr, messages::messageForCode(result.code()));
    if (!result.message().isEmpty()) printLine(stderr, result.message());
    return result.code();
}

int savePackage(CSkedlinDoc& document, const QString& path) {
    const SaveResult result = document.saveDocument(path);
    if (result.ok()) return kExitOk;
    printLine(stderr, result.message());
    return kExitFailure;
}

int commandNew(const QStringList& args) {
    if (args.size() != 1) return usageError(QStringLiteral("new takes one FILE"));
    CSkedlinDoc document;
    document.newDocument(nullptr);
    return savePackage(document, absolutePackagePath(args[0]));
}

int commandCheck(const QStringList& args) {
    if (args.size() != 1) return usageError(QStringLiteral("check takes one FILE"));
    CSkedlinDoc document;
    if (int code = openPackage(document, args[0])) return code;
    printLine(stdout, QStringLiteral("%1: %2 groups, %3 events, %4 contacts")
                          .arg(args[0])
                          .arg(document.groups().size())
                          .arg(document.events().size())
                          .arg(document.contacts().size()));
    return kExitOk;
}

int commandResave(const QStringList& args) {
    if (args.size() != 1 && args.size() != 2) return usageError(QStringLiteral("resave takes IN and an optional OUT"));
    CSkedlinDoc document;
    const QString in = absolutePackagePath(args[0]);
    if (int code = openPackage(document, in)) return code;
    return savePackage(document, args.size() == 2 ? absolutePackagePath(args[1]) : in);
}

class PrintingImportSink : public ImportMessageSink {
public:
    void showImportMessage(const QString& text, ImportMessageIcon) override { printLine(stderr, text); }
};

// Takes the leading "--expand-from DATE" and "--expand-until DATE" options off
// the arguments; false (with the problem) when one is wrong.
bool takeExpansionOptions(QStringList& args, ExpansionWindow& window, QString& problem) {
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option != QLatin1String("--expand-from") && option != QLatin1String("--expand-until")) {
            problem = QStringLiteral("unknown option \"%1\"").arg(option);
            return false;
        }
        const QDate date = args.isEmpty() ? QDate() : QDate::fromString(args.takeFirst(), Qt::ISODate);
        if (!date.isValid()) {
            problem = QStringLiteral("%1 needs a date written YYYY-MM-DD").arg(option);
            return false;
        }
        (option == QLatin1String("--expand-from") ? window.first : window.last) = date;
    }
    if (!window.isValid()) {
        problem = QStringLiteral("the expansion period ends before it begins");
        return false;
    }
    return true;
}

int commandImport(QStringList args) {
    ImportOptions options;
    QString problem;
    if (!takeExpansionOptions(args, options.window, problem)) return usageError(problem);
    if (args.size() < 2) return usageError(QStringLiteral("import takes FILE and at least one INPUT"));
    CSkedlinDoc document;
    const QString path = absolutePackagePath(args[0]);
    if (int code = openPackage(document, path)) return code;
    PrintingImportSink sink;
    for (qsizetype i = 1; i < args.size(); ++i) {
        switch (importPackageFile(document, args[i], sink, options)) {
        case ImportOutcome::Imported: break;
        case ImportOutcome::Failed:
            printLine(stderr,
                      QStringLiteral("SkedlinTool: %1 was not imported; %2 is unchanged").arg(args[i], args[0]));
            return kExitFailure;
        case ImportOutcome::UnknownExtension:
            printLine(stderr, QStringLiteral("SkedlinTool: %1: not a file type that can be imported "
                                             "(.dba, .vcs, .ics, .vcf, .csv); %2 is unchanged")
                                  .arg(args[i], args[0]));
            return kExitFailure;
        }
    }
    return savePackage(document, path);
}

int commandExport(const QStringList& args) {
    if (args.size() != 2) return usageError(QStringLiteral("export takes FILE and OUT"));
    if (exportKind(args[1]) == ExportKind::Unknown) {
        return usageError(QString::fromLatin1(messages::kExportUnknownType).arg(args[1]));
    }
    CSkedlinDoc document;
    if (int code = openPackage(document, args[0])) return code;
    const ExportResult result = exportPackage(document, args[1]);
    if (!result.ok()) {
        printLine(stderr, result.message());
        return kExitFailure;
    }
    return kExitOk;
}

int commandBuild(const QStringList& args) {
    if (args.size() != 1) return usageError(QStringLiteral("build takes one FILE"));
    CSkedlinDoc document;
    const QString path = absolutePackagePath(args[0]);
    if (int code = openPackage(document, path)) return code;
    const BuildPlan plan = planBuild(document);
    const BuildOutcome outcome = runBuild(plan);
    if (outcome.succeeded()) {
        printLine(stdout, QString::fromLatin1(messages::kBuildSuccessCaption));
        printLine(stdout, QString::fromLatin1(messages::kBuildSuccessText));
        printLine(stdout, QString::fromLatin1(messages::kBuildSuccessPalm));
        printLine(stdout, QStringLiteral("  ") + plan.palmFile);
        printLine(stdout, QString::fromLatin1(messages::kBuildSuccessPocketPc));
        printLine(stdout, QStringLiteral("  ") + plan.pocketPcFile);
        return kExitOk;
    }
    printLine(stderr, QString::fromLatin1(messages::kBuildErrorCaption));
    printLine(stderr, QString::fromLatin1(messages::kBuildErrorText));
    printLine(stderr, outcome.result.message());
    printLine(stderr, outcome.details);
    if (outcome.crashed()) return kExitFailure;
    return outcome.result.code();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::printf(kUsage, kPreviewUsage);
        return kExitOk;
    }
    if (command == QLatin1String("new")) return commandNew(args);
    if (command == QLatin1String("check")) return commandCheck(args);
    if (command == QLatin1String("resave")) return commandResave(args);
    if (command == QLatin1String("import")) return commandImport(args);
    if (command == QLatin1String("export")) return commandExport(args);
    if (command == QLatin1String("build")) return commandBuild(args);
    if (command == QLatin1String("preview")) return commandPreview(args);
    if (command == QLatin1String("inspect")) {
        std::vector<std::string> inspectArgs;
        for (const QString& arg : args) inspectArgs.push_back(arg.toLocal8Bit().toStdString());
        return inspect::runInspectCommand(inspectArgs, stdout, stderr);
    }
    return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
}
