#pragma once
// The Pocket PC part of the output step: write <out>.exe and <out>.inf, run
// the CAB Wizard on the description, keep its cabinet as <out>.cab, and
// delete the intermediate files whatever the outcome.

#include <string_view>

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

inline constexpr std::string_view kExecutableExtension = ".exe";
inline constexpr std::string_view kInfExtension = ".inf";
inline constexpr std::string_view kCabinetExtension = ".cab";
inline constexpr std::string_view kWizardCabinetExtension = ".arm.cab";
inline constexpr std::string_view kWizardSideFileExtension = ".arm.dat";

// The wizard said it succeeded but left no cabinet to keep.
inline constexpr std::string_view kMsgCabWizardNoCabinet =
    "The Microsoft CAB Wizard reported success but did not write the cabinet: ";

// Whether the installation description can hold the output name: its file
// name stands unquoted in the description, where ',' ';' and '=' would split
// the line, and the whole name stands in double quotes. Fails with
// kExitOutputFile with a message naming the character; called before any
// output is written.
BuildResult checkPocketPcOutputName(const PackageBuilder& builder);

// Called after the .prc was written (when the Palm target is on), only when
// the Pocket PC target is on. Fails with kExitOutputFile when the .exe or the
// .inf cannot be written; kExitCabWizardStart (12) when the wizard cannot be
// started; kExitCabWizardError (13) when it fails or leaves no cabinet. On
// every failure no .cab is left, not even one from an earlier build.
BuildResult writePocketPcOutput(PackageBuilder& builder);

}  // namespace skedlin::builder
