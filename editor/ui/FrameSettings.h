#pragma once
// What the main window keeps in the settings profile between runs: its
// placement (section "App"), the state of its toolbar and status bar (sections
// "Toolbar-Summary", "Toolbar-Bar0", "Toolbar-Bar1") and the recent file list
// (section "Recent File List").

#include <QRect>
#include <QSettings>
#include <QStringList>

#include <memory>

namespace skedlin {

// The profile of the editor: QSettings("Quenby Software", "Skedlin").
std::unique_ptr<QSettings> openProfile();

// Show commands as the profile stores them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

struct WindowPlacement {
    int showCmd = kShowNormal;
    QRect restored;  // the normal (not maximized) rectangle; right and bottom exclusive
    // Whether the profile held any of the four edges. Without them the window is
    // left where the window system places it.
    bool restoredStored = false;
};

// Sane: top < bottom, left < right, bottom >= 0 and right >= 0.
bool isSaneRestoredRect(const QRect& rect);
// Reads "ShowCmd", "RestTop", "RestLeft", "RestBottom" and "RestRight", each
// defaulting to the value of the current placement.
WindowPlacement readWindowPlacement(QSettings& profile, const WindowPlacement& current);
// Writes the show command (a minimized window as normal) and, only when sane,
// the restored rectangle; an insane rectangle leaves the stored one.
void writeWindowPlacement(QSettings& profile, const WindowPlacement& placement);

struct BarState {
    bool toolbarVisible = true;
    bool statusBarVisible = true;
};
BarState readBarState(QSettings& profile);
void writeBarState(QSettings& profile, const BarState& state, const QSize& screenSize);

// The Handheld Preview window (section "Preview"): whether it was open, its
// rectangle (right and bottom exclusive, as for the main window) and the
// screen density it showed (1 standard, 2 high density).
struct PreviewWindowState {
    bool open = false;
    QRect geometry;
    bool geometryStored = false;  // a sane rectangle was stored
    int density = 1;
};
PreviewWindowState readPreviewWindowState(QSettings& profile);
// An insane rectangle leaves the stored one, as for the main window.
void writePreviewWindowState(QSettings& profile, const PreviewWindowState& state);

// The six most recently used files, most recent first.
class RecentFileList {
public:
    static constexpr int kSize = 6;

    void read(QSettings& profile);
    void write(QSettings& profile) const;
    // Puts path first, dropping an older entry of the same file and the
    // seventh entry.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& files() const { return files_; }

private:
    QStringList files_;
};

}  // namespace skedlin
