#include "tools/inspect/Inspect.h"

#include <vector>

#include "formats/RegularFile.h"
#include "tools/inspect/CabReport.h"
#include "tools/inspect/PeReport.h"
#include "tools/inspect/PrcReport.h"

namespace skedlin::inspect {

InspectResult inspectBytes(std::span<const std::uint8_t> bytes) {
    if (looksLikeCabinet(bytes)) return inspectCabinet(bytes);
    if (looksLikePe(bytes)) return inspectPe(bytes);
    if (looksLikePrc(bytes)) return inspectPrc(bytes);
    InspectResult result;
    result.status = InspectStatus::NotPackage;
    result.message = bytes.empty() ? "the file is empty"
                                   : "the file is neither a Palm OS resource database, an installer cabinet nor an "
                                     "executable";
    return result;
}

InspectResult inspectFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const auto read = readRegularFile(path, kMaxInspectedBytes, bytes);
    if (!read) {
        InspectResult result;
        result.status = InspectStatus::Unreadable;
        switch (read.code()) {
        case FileReadError::NotRegularFile: result.message = "it is not a regular file"; break;
        case FileReadError::TooLarge:
            result.message = "it is larger than " + std::to_string(kMaxInspectedBytes / (1024 * 1024)) + " MB";
            break;
        default: result.message = read.message();
        }
        return result;
    }
    InspectResult result = inspectBytes(bytes);
    if (result.hasReport) {
        Node report = Node::object();
        report.add("file", path);
        for (const auto& [name, value] : result.report.members()) report.add(name, value);
        result.report = std::move(report);
    }
    return result;
}

}  // namespace skedlin::inspect
