#include "builder/pocketpc/CabWizardRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace skedlin {
namespace {

// A child ended by a signal reports 128 + the signal number, as shells do.
constexpr int kSignalExitBase = 128;
// Longer first lines are cut: the report needs the reason, not a flood.
constexpr std::size_t kMaxKeptLineLength = 1000;

// Copies what arrives on fd to the builder's standard error until the other
// end closes, keeping the first non-empty line.
std::string passOnErrorOutput(int fd) {
    std::string firstLine;
    bool lineDone = false;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        std::fwrite(buffer, 1, static_cast<std::size_t>(got), stderr);
        for (ssize_t i = 0; i < got && !lineDone; ++i) {
            const char c = buffer[i];
            if (c == '\n' || c == '\r') {
                lineDone = !firstLine.empty();
            } else if (firstLine.size() < kMaxKeptLineLength) {
                firstLine.push_back(c);
            }
        }
    }
    std::fflush(stderr);
    return firstLine;
}

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

    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        outcome.startError = std::strerror(errno);
        return outcome;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), ::environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    if (spawnError != 0) {
        ::close(errorPipe[0]);
        outcome.startError = std::strerror(spawnError);
        return outcome;
    }
    outcome.firstErrorLine = passOnErrorOutput(errorPipe[0]);
    ::close(errorPipe[0]);
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
