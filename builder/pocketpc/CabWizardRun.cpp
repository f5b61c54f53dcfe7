#include "builder/pocketpc/CabWizardRun.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace skedlin {
namespace {

// A child ended by a signal reports 128 + the signal number, as shells do.
constexpr int kSignalExitBase = 128;

}  // namespace

std::string cabWizardProgram(std::string_view builderDirectory) {
    return std::string(builderDirectory) + std::string(kCabWizardProgramName);
}

CabWizardOutcome runCabWizard(const std::string& program, const std::string& infPath) {
    CabWizardOutcome outcome;
    std::string cpuOption(kCabWizardCpuOption);
    std::string cpu(kCabWizardCpu);
    std::string programArgument = program;
    std::string infArgument = infPath;
    std::vector<char*> argv = {programArgument.data(), infArgument.data(), cpuOption.data(), cpu.data(), nullptr};

    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), ::environ);
    if (spawnError != 0) {
        outcome.startError = std::strerror(spawnError);
        return outcome;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            outcome.startError = std::strerror(errno);
            return outcome;
        }
    }
    outcome.started = true;
    if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.exitCode = kSignalExitBase + WTERMSIG(status);
    }
    return outcome;
}

}  // namespace skedlin
