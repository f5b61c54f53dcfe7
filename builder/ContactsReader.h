#pragma once
// Reading the contacts of a package.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// Every child named "contact" of `contacts`, in document order. Fails with
// code 10, 2 for a missing required item, or 1 for a record limit.
BuildResult readContacts(PackageBuilder& builder, const xml::Element& contacts);

}  // namespace skedlin::builder
