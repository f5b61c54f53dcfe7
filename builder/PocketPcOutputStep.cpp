#include "builder/PocketPcOutputStep.h"

namespace skedlin::builder {

// Minimal body: the Pocket PC output arrives in a later issue (Part 4.2).
int writePocketPcOutput(PackageBuilder&) {
    return kExitSuccess;
}

}  // namespace skedlin::builder
