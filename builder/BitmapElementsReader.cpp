#include "builder/BitmapElementsReader.h"

namespace skedlin::builder {

// Minimal bodies: bitmaps are read in a later issue (Part 3.2).
int readLauncherIcons(PackageBuilder&, const xml::Element&) {
    return kExitSuccess;
}

int readWelcomeImage(PackageBuilder&, const xml::Element&) {
    return kExitSuccess;
}

}  // namespace skedlin::builder
