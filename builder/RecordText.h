#pragma once
// Texts on their way from the package into a handheld record: the XML layer
// gives UTF-8, the records carry Windows-1252. A character the code page cannot
// hold becomes "?" and the build gets a warning naming the element and its
// owner; the build goes on.

#include <optional>
#include <string>
#include <string_view>

#include "builder/PackageBuilder.h"
#include "model/XmlDocument.h"

namespace skedlin::builder {

// what names the text in the warning: "<event-title>", "the name".
std::string recordText(PackageBuilder& builder, std::string_view utf8, std::string_view what, std::string_view owner);

// Text of the first child element with that name, converted; nullopt when the
// element has no such child.
std::optional<std::string> recordChildText(PackageBuilder& builder, const xml::Element& parent, std::string_view name,
                                           std::string_view owner);

}  // namespace skedlin::builder
