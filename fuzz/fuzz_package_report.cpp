// The inspection of a built package: the input is taken as a file of unknown
// kind (resource database, installer cabinet or executable), and the report,
// when there is one, is printed both ways.

#include <cstddef>
#include <cstdint>
#include <span>

#include "tools/inspect/Inspect.h"
#include "tools/inspect/Printers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const skedlin::inspect::InspectResult result = skedlin::inspect::inspectBytes(std::span(data, size));
    if (result.hasReport) {
        const std::string text = skedlin::inspect::printText(result.report);
        const std::string json = skedlin::inspect::printJson(result.report);
        if (text.empty() || json.empty()) __builtin_trap();
    } else if (result.message.empty()) {
        __builtin_trap();  // every file without a report gets a message
    }
    return 0;
}
