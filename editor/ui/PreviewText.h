#pragma once
// Texts of the Handheld Preview window.

namespace skedlin::previewtext {

inline constexpr const char* kWindowTitle = "Handheld Preview";
inline constexpr const char* kStandardDensity = "160 x 160";
inline constexpr const char* kStandardDensityTip = "Show the standard screen (160 x 160 pixels)";
inline constexpr const char* kHighDensity = "320 x 320";
inline constexpr const char* kHighDensityTip = "Show the high-density screen (320 x 320 pixels)";
inline constexpr const char* kRefresh = "Rebuild";
inline constexpr const char* kRefreshTip = "Build the package again (after a bitmap file changed on disk)";
inline constexpr const char* kBack = "Back";
inline constexpr const char* kBackTip = "Go back one screen, like the handheld's Back (Esc)";

inline constexpr const char* kUpdating = "Updating...";
inline constexpr const char* kUpToDate = "Built in %1 ms";
inline constexpr const char* kZoom = "Zoom %1x";
inline constexpr const char* kBuildFailed = "The package cannot be built:";
inline constexpr const char* kCannotShow = "The preview cannot show this package:";
inline constexpr const char* kCopyOnHandheld =
    "Copying to the Date Book and Address Book happens on the handheld; the preview copies nothing.";
inline constexpr const char* kExitOnHandheld = "Back on this screen closes the viewer on the handheld.";
inline constexpr const char* kNotOnHandheld = "The handheld does not show the selected entry: %1";

// Rebuilder failures (the builder's own failures come with its messages).
inline constexpr const char* kNoTemporaryFolder = "No temporary folder can be made for the preview's build.";
inline constexpr const char* kCannotWrite = "Cannot write %1: %2";
inline constexpr const char* kBuildTooLong = "SkedlinBuilder did not finish within %1 seconds and was stopped.";
inline constexpr const char* kNoPackage = "SkedlinBuilder reported success but wrote no package.";

}  // namespace skedlin::previewtext
