#pragma once
// The Build command as the editor runs it: SkedlinBuilder from the program
// directory on the saved package, while the window keeps repainting but takes
// no input, then the success or the error dialog.

#include "editor/document/BuildCommand.h"

class QWidget;

namespace skedlin {

class CSkedlinDoc;

// Runs the builder of the plan and waits for it without blocking repaints.
BuildOutcome runBuilder(const BuildPlan& plan, QWidget* window);

// Everything: run, then the success or error dialog (modal, parented to window).
void runBuildCommand(const CSkedlinDoc& document, QWidget* window);

}  // namespace skedlin
