#pragma once
// Runs the CAB Wizard on an installation description and waits for it:
//   <builder directory>cabwiz <description> /cpu arm
// The program is started directly (no shell), with the builder's environment
// and working folder. What it writes on standard error is passed on to the
// builder's standard error, and its first line is kept for the error report.

#include <string>
#include <string_view>

namespace skedlin {

inline constexpr std::string_view kCabWizardProgramName = "cabwiz";
inline constexpr std::string_view kCabWizardCpuOption = "/cpu";
inline constexpr std::string_view kCabWizardCpu = "arm";

struct CabWizardOutcome {
    bool started = false;        // false: the program could not be started at all
    int exitCode = 0;            // when started: its exit code; 128 + n when signal n ended it
    std::string startError;      // when not started: why, in words
    std::string firstErrorLine;  // the first non-empty line it wrote on standard error
};

// builderDirectory ends in a separator, or is empty.
std::string cabWizardProgram(std::string_view builderDirectory);

CabWizardOutcome runCabWizard(const std::string& program, const std::string& infPath);

}  // namespace skedlin
