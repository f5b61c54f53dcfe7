#pragma once
// Reading the groups of a package with their events and contact ids.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// All groups of `groups`. Fails with code 8, 9, 11, 2 for a missing required
// item, or 1 for a record limit.
// Writes the group names and the group tables into both targets.
BuildResult readGroups(PackageBuilder& builder, const xml::Element& groups);

}  // namespace skedlin::builder
