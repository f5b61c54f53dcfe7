#include "tools/inspect/InspectCommand.h"

#include "tools/inspect/Inspect.h"
#include "tools/inspect/Printers.h"

namespace skedlin::inspect {

int runInspectCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::string path;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (path.empty() && !(arg.size() > 1 && arg[0] == '-')) {
            path = arg;
        } else {
            std::fprintf(err, "SkedlinTool: inspect takes one FILE and an optional --json, not \"%s\"\n", arg.c_str());
            return kExitUsage;
        }
    }
    if (path.empty()) {
        std::fprintf(err, "SkedlinTool: inspect takes one FILE\n");
        return kExitUsage;
    }
    const InspectResult result = inspectFile(path);
    if (result.hasReport) {
        const std::string text = json ? printJson(result.report) : printText(result.report);
        std::fwrite(text.data(), 1, text.size(), out);
    }
    if (!result.message.empty())
        std::fprintf(err, "SkedlinTool: %s: %s\n", path.c_str(), result.message.c_str());
    else if (result.status == InspectStatus::Damaged)
        std::fprintf(err, "SkedlinTool: %s: the package is damaged (see the problems in the report)\n", path.c_str());
    return static_cast<int>(result.status);
}

}  // namespace skedlin::inspect
