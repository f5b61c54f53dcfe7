#include "builder/RecordText.h"

#include "builder/RecordMessages.h"
#include "model/Windows1252.h"

namespace skedlin::builder {

std::string recordText(PackageBuilder& builder, std::string_view utf8, std::string_view what, std::string_view owner) {
    bool replaced = false;
    std::string text = utf8ToWindows1252(utf8, &replaced);
    if (replaced) builder.warn(unrepresentableTextWarning(what, owner));
    return text;
}

std::optional<std::string> recordChildText(PackageBuilder& builder, const xml::Element& parent, std::string_view name,
                                           std::string_view owner) {
    const auto text = parent.childText(name);
    if (!text) return std::nullopt;
    return recordText(builder, *text, "<" + std::string(name) + ">", owner);
}

}  // namespace skedlin::builder
