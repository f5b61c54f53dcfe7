#pragma once
// SkedlinTool preview: draws screens of a package as the handheld viewer
// shows them, to PNG files.

#include <QStringList>

namespace skedlin {

// Exit statuses of the preview (a package .xml the builder refuses exits with
// the builder's own status).
inline constexpr int kPreviewExitOutput = 1;       // an output file cannot be written
inline constexpr int kPreviewExitNotPackage = 65;  // INPUT is unreadable, not a .prc, or not a calendar package
inline constexpr int kPreviewExitDamaged = 66;     // the package is damaged
inline constexpr int kPreviewExitNoScreen = 67;    // the package has no such screen
inline constexpr int kPreviewExitUsage = 64;

// The usage lines of the command, for the tool's help text.
extern const char* const kPreviewUsage;

// Runs the command on its arguments (after the word "preview").
int commandPreview(const QStringList& args);

}  // namespace skedlin
