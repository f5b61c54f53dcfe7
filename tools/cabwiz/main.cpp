// cabwiz: makes a Windows CE installer cabinet from an installation description.
//   cabwiz <file>.inf [/cpu <name>]
// Exit code 0 on success; on failure a message on standard error naming the
// file and line, and no output file.

#include <cstdio>
#include <string>
#include <string_view>

#include "tools/cabwiz/InfDocument.h"
#include "tools/cabwiz/InstallerCabinet.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: cabwiz <file>.inf [/cpu <name>]\n"
    "\n"
    "Makes a Windows CE installer cabinet from an installation description.\n"
    "\n"
    "Reads <file>.inf ([Version], [CEStrings], [Strings], [CEDevice.<name>],\n"
    "[SourceDisksNames.<name>], [SourceDisksFiles], [DefaultInstall] with its\n"
    "CopyFiles, AddReg and CEShortcuts lists, [DestinationDirs]) and writes, beside it,\n"
    "<file>.<name>.cab, holding the setup file (.000) and the files to install, and\n"
    "the side file <file>.<name>.dat, a copy of the setup file. Without /cpu the\n"
    "outputs are <file>.cab and <file>.dat.\n"
    "\n"
    "Options:\n"
    "  /cpu <name>   use the sections for this processor (for example arm)\n"
    "  --help        show this text\n"
    "\n"
    "Exit code 0 on success. On any error (an unreadable or malformed .inf, a\n"
    "missing source file, an output that cannot be written) the message names the\n"
    "file and line, the exit code is 1 (2 for a wrong command line), and no cabinet\n"
    "is written.\n";

bool isOption(std::string_view argument, std::string_view name) {
    return skedlin::cabwiz::equalsIgnoringCase(argument, name);
}

// "/zip" or "-x" is an option; "/Conf.inf" (a description at the root) and
// "/tmp/Conf.inf" are paths.
bool looksLikeOption(std::string_view argument) {
    if (argument.size() < 2 || (argument.front() != '/' && argument.front() != '-')) return false;
    if (argument.find('/', 1) != std::string_view::npos) return false;
    constexpr std::string_view kInfExtension = ".inf";
    return !(argument.size() > kInfExtension.size() &&
             isOption(argument.substr(argument.size() - kInfExtension.size()), kInfExtension));
}

}  // namespace

int main(int argc, char** argv) {
    std::string infPath;
    std::string cpu;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (isOption(argument, "--help") || isOption(argument, "-h") || isOption(argument, "/?")) {
            std::fputs(kUsage, stdout);
            return kExitSuccess;
        }
        if (isOption(argument, "/cpu") || isOption(argument, "-cpu")) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "cabwiz: %s needs a processor name\n", argv[i]);
                return kExitUsage;
            }
            cpu = argv[++i];
        } else if (looksLikeOption(argument)) {
            std::fprintf(stderr, "cabwiz: unknown option '%s' (see cabwiz --help)\n", argv[i]);
            return kExitUsage;
        } else if (infPath.empty()) {
            infPath = argument;
        } else {
            std::fprintf(stderr, "cabwiz: more than one .inf file given: '%s' (see cabwiz --help)\n", argv[i]);
            return kExitUsage;
        }
    }
    if (infPath.empty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    // Every kind of failure ends with the same exit code; the message tells them apart.
    const skedlin::cabwiz::CabwizResult result = skedlin::cabwiz::makeInstallerCabinet(infPath, cpu);
    if (!result.ok()) {
        std::fprintf(stderr, "cabwiz: %s\n", result.message().c_str());
        return kExitFailure;
    }
    return kExitSuccess;
}
