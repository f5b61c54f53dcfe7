#include "builder/PocketPcOutputStep.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "builder/pocketpc/CabWizardRun.h"
#include "builder/pocketpc/InfFile.h"

namespace skedlin::builder {
namespace {

// Characters that end a field, a key or a line of the installation description.
constexpr std::string_view kCharactersTheDescriptionSplitsAt = ",;=";

// The files of one Pocket PC build, all named after the output base.
struct PocketPcFiles {
    std::string executable;
    std::string description;
    std::string cabinet;
    std::string wizardCabinet;
    std::string wizardSideFile;

    explicit PocketPcFiles(const std::string& outputBase)
        : executable(outputBase + std::string(kExecutableExtension)),
          description(outputBase + std::string(kInfExtension)),
          cabinet(outputBase + std::string(kCabinetExtension)),
          wizardCabinet(outputBase + std::string(kWizardCabinetExtension)),
          // The wizard names its side file after the description.
          wizardSideFile(description.substr(0, description.size() - kInfExtension.size()) +
                         std::string(kWizardSideFileExtension)) {}

    // Only the .cab outlives the step; failures to delete are of no
    // consequence. unlink, unlike remove, never takes away a folder that
    // happens to carry one of these names.
    void removeIntermediates() const {
        ::unlink(description.c_str());
        ::unlink(wizardSideFile.c_str());
        ::unlink(executable.c_str());
        ::unlink(wizardCabinet.c_str());
    }
};

BuildResult fail(const PocketPcFiles& files, ExitCode code, std::string message) {
    // A cabinet from an earlier build would pass for the result of this one.
    ::unlink(files.cabinet.c_str());
    files.removeIntermediates();
    return BuildResult(code, std::move(message));
}

}  // namespace

BuildResult checkPocketPcOutputName(const PackageBuilder& builder) {
    const std::string& outputBase = builder.outputBase();
    const std::size_t separator = outputBase.find_last_of("/\\");
    const std::string_view fileName = separator == std::string::npos
                                          ? std::string_view(outputBase)
                                          : std::string_view(outputBase).substr(separator + 1);
    char refused = 0;
    if (outputBase.find('"') != std::string::npos) {
        refused = '"';
    } else if (const std::size_t at = fileName.find_first_of(kCharactersTheDescriptionSplitsAt);
               at != std::string_view::npos) {
        refused = fileName[at];
    }
    if (refused == 0) return BuildResult::success();
    return BuildResult(kExitOutputFile, outputNameCharacterMessage(outputBase, refused));
}

BuildResult writePocketPcOutput(PackageBuilder& builder) {
    const PocketPcFiles files(builder.outputBase());

    PocketPcTarget* executable = builder.pocketPc();
    if (executable == nullptr) {
        return fail(files, kExitOutputFile,
                    outputFileMessage(files.executable, "the Pocket PC viewer template is not available"));
    }
    if (const ExecutableResult written = executable->write(files.executable); !written.ok())
        return fail(files, kExitOutputFile, outputFileMessage(files.executable, written.message()));

    const InfValues values = infValuesFor(builder.outputBase(), builder.launcherName());
    if (const FileWriteResult written = writeInfFile(files.description, infText(values)); !written.ok())
        return fail(files, kExitOutputFile, outputFileMessage(files.description, written.message()));

    const CabWizardOutcome outcome = runCabWizard(cabWizardProgram(builder.builderDirectory()), files.description);
    if (!outcome.started) {
        return fail(files, kExitCabWizardStart, std::string(kMsgCabWizardStart));
    }
    if (outcome.exitCode != 0) {
        // The wizard's own reason follows on the next line, so that whoever
        // reads only the error file (the editor's build dialog) sees it too.
        std::string message = fillMessage(kMsgCabWizardError, outcome.exitCode);
        if (!outcome.firstErrorLine.empty()) message += "\n" + outcome.firstErrorLine;
        return fail(files, kExitCabWizardError, std::move(message));
    }
    // rename() replaces a .cab left by an earlier build in one step.
    if (std::rename(files.wizardCabinet.c_str(), files.cabinet.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        return fail(files, kExitCabWizardError,
                    std::string(kMsgCabWizardNoCabinet) + files.wizardCabinet + " (" + why + ")");
    }
    files.removeIntermediates();
    return BuildResult::success();
}

}  // namespace skedlin::builder
