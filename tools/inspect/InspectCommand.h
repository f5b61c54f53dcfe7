#pragma once
// The "inspect" command of SkedlinTool: arguments, printing, exit status.

#include <cstdio>
#include <string>
#include <vector>

namespace skedlin::inspect {

inline constexpr int kExitUsage = 64;

// args: the arguments after "inspect". Prints the report on out, messages on
// err; returns the exit status (an InspectStatus value, or kExitUsage).
int runInspectCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace skedlin::inspect
