#pragma once
// Reading the groups of a package with their events and contact ids.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// All groups of `groups` → 0, 8, 9, 11, or 2 for a missing required item.
// Writes the group names and the group tables into both targets.
BuildResult readGroups(PackageBuilder& builder, const xml::Element& groups);

}  // namespace skedlin::builder
