#pragma once
// Reading the bitmaps of `launcher-icon` and of the welcome `image`.

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// The `bitmap` children of `launcher-icon` → tAIB 1000 (22 x 22 family) on Palm,
// the large and small icons on Pocket PC. Fails with codes 4 to 7.
BuildResult readLauncherIcons(PackageBuilder& builder, const xml::Element& launcherIcon);
// The `bitmap` children of the welcome `image` → Tbmp 4000 on Palm (at most
// 160 x 80), bitmap 4000 on Pocket PC. Fails with codes 4 to 7.
BuildResult readWelcomeImage(PackageBuilder& builder, const xml::Element& image);

}  // namespace skedlin::builder
