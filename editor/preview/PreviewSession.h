#pragma once
// One run of the viewer core on a package, as the handheld runs it: the core
// context, the host callbacks (resources from the package, the handheld's
// font metrics), navigation by name to any screen, the pen's taps and the
// buttons, and the current screen as an image.

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include "editor/preview/PreviewPackage.h"
#include "editor/preview/ScreenRenderer.h"
#include "viewer/core/skv_core.h"

namespace skedlin::preview {

class PreviewSession {
public:
    // Starts the core on the welcome screen at density 1 (160 x 160) or 2
    // (320 x 320). A package the core cannot read leaves ok() false with a
    // message; every other call is then harmless.
    PreviewSession(std::shared_ptr<const PreviewPackage> package, int density);
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    bool ok() const;
    // What the core found wrong with the package (empty while ok()).
    QString errorText() const;
    int density() const { return density_; }
    const std::shared_ptr<const PreviewPackage>& package() const { return package_; }

    // Goes to a screen by name, starting from the welcome screen:
    //   welcome, groups, groups:P (page P of the group list),
    //   group:N, group:N:events, group:N:contacts, each with :P for page P,
    //   events, contacts (of the first group), event:ID, contact:ID
    // (N counts groups from 1, P pages from 1, ID is the record's resource
    // id). False with a message when the package has no such screen.
    bool goTo(const QString& screen, QString* error);

    // Input as the handheld gives it; each returns the core's SKV_ACTION_* bits.
    int tap(int x, int y);
    int command(int command);
    int key(int key);
    int scrollTo(int value);

    std::uint8_t screen() const;
    const skv_item* display(std::uint16_t* count) const;
    // The current screen, drawn as the handheld draws it.
    QImage render(std::vector<DrawnText>* texts = nullptr) const;

    // ---- For walking through a package (used by the preview's tour) ----
    // The rows of the current list page a tap opens: groups (value = group
    // index), events (Nevt id) or contacts (Ncnt id), with the point to tap.
    struct Row {
        int kind;  // SKV_SCREEN_GROUPS, SKV_SCREEN_EVENT or SKV_SCREEN_CONTACT
        int value;
        int x, y;
    };
    std::vector<Row> openableRows() const;
    // Moves one page down the current list; false at the last page.
    bool nextPage();
    // Number of groups in the package.
    int groupCount() const;

private:
    bool restart();
    bool showGroupList(int group, bool contacts, QString* error);
    bool showPage(int page, QString* error);
    bool openEntry(int screen, int id, QString* error);
    const std::uint8_t* resource(std::uint32_t type, std::uint16_t id, std::uint32_t* size) const;

    std::shared_ptr<const PreviewPackage> package_;
    int density_;
    skv_host host_{};
    std::vector<std::uint64_t> memory_;  // the core's context, 8-byte aligned
    skv_context* context_ = nullptr;
    skv_status openStatus_ = SKV_OK;
};

}  // namespace skedlin::preview
