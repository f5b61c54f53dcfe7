#include "tools/inspect/RecordTexts.h"

#include "model/Windows1252.h"

namespace skedlin::inspect {

std::optional<std::string> takeText(std::span<const std::uint8_t> record, std::size_t* at) {
    for (std::size_t end = *at; end < record.size(); ++end) {
        if (record[end] != 0) continue;
        const std::string_view text(reinterpret_cast<const char*>(record.data()) + *at, end - *at);
        *at = end + 1;
        return recordTextToUtf8(text);
    }
    return std::nullopt;
}

std::string recordTextToUtf8(std::string_view windows1252) {
    std::string lineFeeds;
    lineFeeds.reserve(windows1252.size());
    for (std::size_t i = 0; i < windows1252.size(); ++i) {
        if (windows1252[i] == '\r' && i + 1 < windows1252.size() && windows1252[i + 1] == '\n') continue;
        lineFeeds += windows1252[i];
    }
    return windows1252ToUtf8(lineFeeds);
}

}  // namespace skedlin::inspect
