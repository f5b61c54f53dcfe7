#pragma once
// Runs the real SkedlinBuilder (from SKEDLIN_BIN_DIR) as a child process and
// captures what it prints; plus small helpers for scratch folders and files.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace clitest {

struct Run {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string builderPath() { return std::string(SKEDLIN_BIN_DIR) + "/SkedlinBuilder"; }

// program: a path, or a bare name looked up in `path` (the PATH variable) when not empty.
inline Run run(const std::vector<std::string>& args, const std::filesystem::path& workDirectory,
               const std::string& program = builderPath(), const std::string& path = "") {
    const auto outFile = workDirectory / ".stdout";
    const auto errFile = workDirectory / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> argvStorage;
    argvStorage.push_back(program);
    argvStorage.insert(argvStorage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStorage) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStorage;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (!path.empty() && entry.rfind("PATH=", 0) == 0) continue;
        envStorage.push_back(entry);
    }
    if (!path.empty()) envStorage.push_back("PATH=" + path);
    std::vector<char*> envp;
    for (std::string& e : envStorage) envp.push_back(e.data());
    envp.push_back(nullptr);

    // The child starts in workDirectory: change there around the spawn.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(workDirectory);
    pid_t pid = -1;
    int spawned = 0;
    if (path.empty()) {
        spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    } else {
        // posix_spawnp searches the caller's PATH, not the child's: set it around the call.
        const char* oldPath = std::getenv("PATH");
        const std::string saved = oldPath ? oldPath : "";
        ::setenv("PATH", path.c_str(), 1);
        spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        if (oldPath) {
            ::setenv("PATH", saved.c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
    }
    std::filesystem::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    Run result;
    if (spawned != 0) return result;
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readText(outFile);
    result.err = readText(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

// The files of a folder (names), without the captured output files.
inline std::vector<std::string> filesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name != ".stdout" && name != ".stderr") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace clitest
