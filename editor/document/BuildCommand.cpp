#include "editor/document/BuildCommand.h"

#include <QFile>
#include <QProcess>
#include <QStringDecoder>

#include <string>

#include "editor/document/BuilderErrorFile.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ProgramDirectory.h"
#include "model/Windows1252.h"

namespace skedlin {
namespace {

constexpr const char* kErrorFileSuffix = ".err";
constexpr const char* kPalmSuffix = ".prc";
constexpr const char* kPocketPcSuffix = ".cab";
constexpr const char* kErrorFileOption = "/ERR";
constexpr const char* kPalmOption = "/PALM";
constexpr const char* kPocketPcOption = "/WINCE";

QString folderOf(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash < 0 ? QString() : path.left(slash + 1);
}

}  // namespace

BuildPlan planBuild(const QString& programDirectory, const QString& documentPath, const QString& appFileName) {
    BuildPlan plan;
    plan.builderPath = programDirectory + QLatin1String(kBuilderFileName);
    plan.documentPath = documentPath;
    plan.outputBase = folderOf(documentPath) + appFileName;
    plan.errorFilePath = documentPath + QLatin1String(kErrorFileSuffix);
    plan.palmFile = plan.outputBase + QLatin1String(kPalmSuffix);
    plan.pocketPcFile = plan.outputBase + QLatin1String(kPocketPcSuffix);
    plan.arguments = {plan.documentPath,
                      plan.outputBase,
                      QLatin1String(kErrorFileOption),
                      plan.errorFilePath,
                      QLatin1String(kPalmOption),
                      QLatin1String(kPocketPcOption)};
    return plan;
}

BuildPlan planPalmBuild(const QString& programDirectory, const QString& documentPath, const QString& outputBase,
                        const QString& errorFilePath) {
    BuildPlan plan;
    plan.builderPath = programDirectory + QLatin1String(kBuilderFileName);
    plan.documentPath = documentPath;
    plan.outputBase = outputBase;
    plan.errorFilePath = errorFilePath;
    plan.palmFile = outputBase + QLatin1String(kPalmSuffix);
    plan.arguments = {documentPath, outputBase, QLatin1String(kErrorFileOption), errorFilePath,
                      QLatin1String(kPalmOption)};
    return plan;
}

BuildPlan planBuild(const CSkedlinDoc& document) {
    return planBuild(programDirectory(), document.pathName(), document.appFileName());
}

QString buildRefusal(const CSkedlinDoc& document) {
    // A package never saved has no file for the builder to read: it needs saving as much as a modified one.
    if (document.isModified() || document.pathName().isEmpty()) return QString::fromLatin1(messages::kSaveBeforeBuild);
    return QString();
}

void startBuilder(QProcess& process, const BuildPlan& plan) {
    process.setProgram(plan.builderPath);
    process.setArguments(plan.arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
}

QString readErrorFile(const QString& path) {
    const QByteArray bytes = readErrorFileBytes(path);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    const std::string converted =
        windows1252ToUtf8(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return QString::fromUtf8(converted.data(), static_cast<qsizetype>(converted.size()));
}

BuildOutcome buildOutcomeForExitCode(const BuildPlan& plan, builder::ExitCode exitCode) {
    BuildOutcome outcome;
    if (exitCode == builder::kExitSuccess) return outcome;
    outcome.result = {exitCode, messages::messageForCode(exitCode)};
    if (exitCode == kBuilderNotStarted) {
        outcome.details = QString::fromLatin1(messages::kReinstallHint);
    } else {
        // Whatever the builder managed to say, also when it ended abnormally.
        outcome.details = readErrorFile(plan.errorFilePath);
    }
    return outcome;
}

BuildOutcome buildOutcome(const BuildPlan& plan, const QProcess& process) {
    if (process.error() == QProcess::FailedToStart) return buildOutcomeForExitCode(plan, kBuilderNotStarted);
    if (process.exitStatus() == QProcess::CrashExit) return buildOutcomeForExitCode(plan, kBuilderEndedAbnormally);
    return buildOutcomeForExitCode(plan, static_cast<builder::ExitCode>(process.exitCode()));
}

BuildOutcome runBuild(const BuildPlan& plan) {
    QProcess process;
    startBuilder(process, plan);
    if (process.waitForStarted(-1)) process.waitForFinished(-1);
    return buildOutcome(plan, process);
}

}  // namespace skedlin
