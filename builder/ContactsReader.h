#pragma once
// Reading the contacts of a package.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// Every child named "contact" of `contacts`, in document order → 0, 10, or 2
// for a missing required item.
BuildResult readContacts(PackageBuilder& builder, const xml::Element& contacts);

}  // namespace skedlin::builder
