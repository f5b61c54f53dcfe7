#pragma once
// The Pocket PC part of the output step (Parts 4.1, 4.2): write the .exe and
// the .inf, run the CAB Wizard, keep the .cab, delete the intermediate files.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// Called after the .prc was written (when the Palm target is on), only when
// the Pocket PC target is on. Returns 0, 12 or 13, or kExitOutputFile.
int writePocketPcOutput(PackageBuilder& builder);

}  // namespace skedlin::builder
