#include "editor/ui/FrameSettings.h"

#include <QFileInfo>

#include "editor/ui/UiText.h"

namespace skedlin {
namespace {

constexpr const char* kAppSection = "App";
constexpr const char* kShowCmd = "ShowCmd";
constexpr const char* kRestTop = "RestTop";
constexpr const char* kRestLeft = "RestLeft";
constexpr const char* kRestBottom = "RestBottom";
constexpr const char* kRestRight = "RestRight";

constexpr const char* kBarSummarySection = "Toolbar-Summary";
constexpr const char* kToolbarSection = "Toolbar-Bar0";
constexpr const char* kStatusBarSection = "Toolbar-Bar1";
constexpr int kToolbarBarId = 59392;
constexpr int kStatusBarBarId = 59393;

constexpr const char* kRecentSection = "Recent File List";

constexpr const char* kPreviewSection = "Preview";
constexpr const char* kPreviewOpen = "Open";
constexpr const char* kPreviewDensity = "Density";

int readInt(QSettings& profile, const char* key, int fallback) {
    bool ok = false;
    const int value = profile.value(QLatin1String(key)).toInt(&ok);
    return ok ? value : fallback;
}

bool sameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

std::unique_ptr<QSettings> openProfile() {
    return std::make_unique<QSettings>(QString::fromUtf8(uitext::kSettingsOrganization),
                                       QString::fromUtf8(uitext::kSettingsApplication));
}

bool isSaneRestoredRect(const QRect& rect) {
    // Right and bottom are exclusive edges here, as the profile stores them.
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    return rect.y() < bottom && rect.x() < right && bottom >= 0 && right >= 0;
}

WindowPlacement readWindowPlacement(QSettings& profile, const WindowPlacement& current) {
    profile.beginGroup(QLatin1String(kAppSection));
    WindowPlacement placement;
    placement.showCmd = readInt(profile, kShowCmd, current.showCmd);
    for (const char* edge : {kRestTop, kRestLeft, kRestBottom, kRestRight})
        placement.restoredStored = placement.restoredStored || profile.contains(QLatin1String(edge));
    const int top = readInt(profile, kRestTop, current.restored.y());
    const int left = readInt(profile, kRestLeft, current.restored.x());
    const int bottom = readInt(profile, kRestBottom, current.restored.y() + current.restored.height());
    const int right = readInt(profile, kRestRight, current.restored.x() + current.restored.width());
    profile.endGroup();
    placement.restored = QRect(left, top, right - left, bottom - top);
    return placement;
}

void writeWindowPlacement(QSettings& profile, const WindowPlacement& placement) {
    profile.beginGroup(QLatin1String(kAppSection));
    profile.setValue(QLatin1String(kShowCmd), placement.showCmd == kShowMinimized ? kShowNormal : placement.showCmd);
    if (isSaneRestoredRect(placement.restored)) {
        const QRect& rect = placement.restored;
        profile.setValue(QLatin1String(kRestTop), rect.y());
        profile.setValue(QLatin1String(kRestLeft), rect.x());
        profile.setValue(QLatin1String(kRestBottom), rect.y() + rect.height());
        profile.setValue(QLatin1String(kRestRight), rect.x() + rect.width());
    }
    profile.endGroup();
}

BarState readBarState(QSettings& profile) {
    BarState state;
    state.toolbarVisible = profile.value(QLatin1String(kToolbarSection) + QLatin1String("/Visible"), 1).toInt() != 0;
    state.statusBarVisible =
        profile.value(QLatin1String(kStatusBarSection) + QLatin1String("/Visible"), 1).toInt() != 0;
    return state;
}

void writeBarState(QSettings& profile, const BarState& state, const QSize& screenSize) {
    profile.beginGroup(QLatin1String(kBarSummarySection));
    profile.setValue(QStringLiteral("Bars"), 2);
    profile.setValue(QStringLiteral("ScreenCX"), screenSize.width());
    profile.setValue(QStringLiteral("ScreenCY"), screenSize.height());
    profile.endGroup();
    const auto writeBar = [&](const char* section, int barId, bool visible) {
        profile.beginGroup(QLatin1String(section));
        profile.setValue(QStringLiteral("BarID"), barId);
        profile.setValue(QStringLiteral("Visible"), visible ? 1 : 0);
        profile.setValue(QStringLiteral("Horz"), 1);
        profile.endGroup();
    };
    writeBar(kToolbarSection, kToolbarBarId, state.toolbarVisible);
    writeBar(kStatusBarSection, kStatusBarBarId, state.statusBarVisible);
}

PreviewWindowState readPreviewWindowState(QSettings& profile) {
    profile.beginGroup(QLatin1String(kPreviewSection));
    PreviewWindowState state;
    state.open = readInt(profile, kPreviewOpen, 0) != 0;
    state.density = readInt(profile, kPreviewDensity, 1) == 2 ? 2 : 1;
    bool complete = true;
    for (const char* edge : {kRestTop, kRestLeft, kRestBottom, kRestRight})
        complete = complete && profile.contains(QLatin1String(edge));
    const int top = readInt(profile, kRestTop, 0);
    const int left = readInt(profile, kRestLeft, 0);
    const int bottom = readInt(profile, kRestBottom, 0);
    const int right = readInt(profile, kRestRight, 0);
    profile.endGroup();
    state.geometry = QRect(left, top, right - left, bottom - top);
    state.geometryStored = complete && isSaneRestoredRect(state.geometry);
    return state;
}

void writePreviewWindowState(QSettings& profile, const PreviewWindowState& state) {
    profile.beginGroup(QLatin1String(kPreviewSection));
    profile.setValue(QLatin1String(kPreviewOpen), state.open ? 1 : 0);
    profile.setValue(QLatin1String(kPreviewDensity), state.density == 2 ? 2 : 1);
    if (isSaneRestoredRect(state.geometry)) {
        const QRect& rect = state.geometry;
        profile.setValue(QLatin1String(kRestTop), rect.y());
        profile.setValue(QLatin1String(kRestLeft), rect.x());
        profile.setValue(QLatin1String(kRestBottom), rect.y() + rect.height());
        profile.setValue(QLatin1String(kRestRight), rect.x() + rect.width());
    }
    profile.endGroup();
}

void RecentFileList::read(QSettings& profile) {
    files_.clear();
    profile.beginGroup(QLatin1String(kRecentSection));
    for (int i = 1; i <= kSize; ++i) {
        const QString path = profile.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty()) files_.append(path);
    }
    profile.endGroup();
}

void RecentFileList::write(QSettings& profile) const {
    profile.beginGroup(QLatin1String(kRecentSection));
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files_.size()) {
            profile.setValue(key, files_[i - 1]);
        } else {
            profile.remove(key);
        }
    }
    profile.endGroup();
}

void RecentFileList::add(const QString& path) {
    remove(path);
    files_.prepend(QFileInfo(path).absoluteFilePath());
    while (files_.size() > kSize) files_.removeLast();
}

void RecentFileList::remove(const QString& path) {
    files_.removeIf([&](const QString& file) { return sameFile(file, path); });
}

}  // namespace skedlin
