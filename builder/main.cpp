// SkedlinBuilder: turns one calendar package XML file into handheld packages.
// Prints the banner, scans the command line, runs one build and
// ends with its result code, writing the error file on failure.

#include <unistd.h>

#include <libxml/parser.h>

#include <clocale>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "builder/BuilderMessages.h"
#include "builder/PackageBuilder.h"
#include "formats/LineEnds.h"
#include "model/AtomicFile.h"
#include "model/Windows1252.h"

namespace {

using namespace skedlin::builder;

struct CommandLine {
    std::string inputPath;
    std::string outputBase;
    std::optional<std::string> errorFilePath;
    bool palmTarget = false;
    bool pocketPcTarget = false;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The first two arguments are the input path and the output base, whatever
// they look like; options count from the third on. "/ERR" as the last
// argument leaves no error file. Anything else is ignored without a message.
CommandLine scanArguments(int argc, char** argv) {
    CommandLine line;
    line.inputPath = argv[1];
    line.outputBase = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (equalsIgnoringCase(argument, kOptionErrorFile)) {
            if (i + 1 < argc) {
                line.errorFilePath = argv[++i];
            } else {
                line.errorFilePath.reset();
            }
        } else if (equalsIgnoringCase(argument, kOptionPalm)) {
            line.palmTarget = true;
        } else if (equalsIgnoringCase(argument, kOptionPocketPc)) {
            line.pocketPcTarget = true;
        }
    }
    return line;
}

void printBanner() {
    std::string banner;
    banner += kBannerProduct;
    banner += kBannerProgram;
    banner += kBannerVersionLabel;
    banner += kBannerVersion;
    banner += '\n';
    banner += kBannerMakerLine;
    banner += "\n\n";
    std::fwrite(banner.data(), 1, banner.size(), stdout);
}

void printUsage() {
    for (std::string_view line : kUsageLines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
}

// The directory of the running program, ending in "/": the real executable
// (also when it was started through PATH or a symbolic link), else argument zero.
std::string builderDirectory(const char* argumentZero) {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    std::string path = length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length))
                                  : std::string(argumentZero ? argumentZero : "");
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The current local date and time in the user's locale, as the platform's
// default date-to-text conversion gives them.
std::string localDateAndTime() {
    std::setlocale(LC_TIME, "");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    std::setlocale(LC_TIME, "C");
    return std::string(text, length);
}

skedlin::FileWriteResult writeErrorFile(const std::string& path, const std::string& message) {
    std::string content = localDateAndTime();
    content += kErrorFileSeparator;
    content += message;
    content += '\n';
    // A text file: each line feed is written as carriage return plus line feed.
    return skedlin::writeFileAtomically(path, skedlin::withCrLf(content));
}

// Warnings are Windows-1252 like every message; the console wants UTF-8.
void printWarnings(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) std::printf("%s\n", skedlin::windows1252ToUtf8(warning).c_str());
    std::fflush(stdout);
}

void reportOnStandardError(const std::string& message) {
    std::string report(kFatalErrorPrefix);
    report += message;
    report += '\n';
    std::fwrite(report.data(), 1, report.size(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    xmlInitParser();  // the platform's XML component; nothing else to initialise
    printBanner();
    if (argc < 3) {
        printUsage();
        return kExitSuccess;
    }
    const CommandLine line = scanArguments(argc, argv);

    BuildResult result;
    {
        BuildOptions options;
        options.inputPath = line.inputPath;
        options.outputBase = line.outputBase;
        options.palmTarget = line.palmTarget;
        options.pocketPcTarget = line.pocketPcTarget;
        options.builderDirectory = builderDirectory(argv[0]);
        PackageBuilder builder(std::move(options));
        result = builder.read();
        // The reading's warnings, before the CAB Wizard of the output step prints anything.
        printWarnings(builder.warnings());
        if (result.ok()) result = builder.writeOutputs();
        if (!result.ok()) {
            std::fflush(stdout);
            // Without an error file, or when it cannot be written, the message goes to standard error.
            if (!line.errorFilePath || !writeErrorFile(*line.errorFilePath, result.message()).ok()) {
                reportOnStandardError(result.message());
            }
        }
    }
    xmlCleanupParser();
    return result.code();
}
