#include "builder/RecordText.h"

#include <cstdio>

#include "builder/RecordMessages.h"
#include "model/Windows1252.h"

namespace skedlin::builder {

std::string recordText(std::string_view utf8, std::string_view what, std::string_view owner) {
    bool replaced = false;
    std::string text = utf8ToWindows1252(utf8, &replaced);
    if (replaced) {
        // The owner is Windows-1252 like every message; the console wants UTF-8.
        std::printf("%s\n", windows1252ToUtf8(unrepresentableTextWarning(what, owner)).c_str());
        std::fflush(stdout);
    }
    return text;
}

std::optional<std::string> recordChildText(const xml::Element& parent, std::string_view name,
                                           std::string_view owner) {
    const auto text = parent.childText(name);
    if (!text) return std::nullopt;
    return recordText(*text, "<" + std::string(name) + ">", owner);
}

}  // namespace skedlin::builder
