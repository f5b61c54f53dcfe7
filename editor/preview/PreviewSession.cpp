#include "editor/preview/PreviewSession.h"

#include <QStringList>

#include "editor/preview/HandheldFontMetrics.h"
// The tap zones and the list position of the current screen are read from the
// core's context: the preview walks a package row by row, which the public
// interface (made for a pen) does not tell.
extern "C" {
#include "viewer/core/skv_internal.h"
}

namespace skedlin::preview {

namespace {

const std::uint8_t* hostResource(void* user, std::uint32_t type, std::uint16_t id, std::uint32_t* size) {
    return static_cast<const PreviewPackage*>(user)->resource(type, id, size);
}

// The host's `user` is the package; the density is fixed per session, so the
// two metric callbacks come in one pair per density.
template <int Density>
std::uint16_t hostTextWidth(void*, std::uint8_t font, const char* text, std::uint16_t length) {
    return static_cast<std::uint16_t>(textWidth(font, Density, text, length));
}

template <int Density>
std::uint16_t hostFontHeight(void*, std::uint8_t font) {
    return static_cast<std::uint16_t>(lineHeight(font, Density));
}

bool isListScreen(std::uint8_t screen) {
    return screen == SKV_SCREEN_GROUPS || screen == SKV_SCREEN_EVENTS || screen == SKV_SCREEN_CONTACTS ||
           screen == SKV_SCREEN_COPY_GROUPS || screen == SKV_SCREEN_COPY_ENTRIES;
}

QString statusMessage(skv_status status) { return QString::fromLatin1(skv_status_text(status)); }

// A decimal number within [minimum, maximum].
bool parseNumber(const QString& text, int minimum, int maximum, int* value) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum) return false;
    *value = number;
    return true;
}

}  // namespace

PreviewSession::PreviewSession(std::shared_ptr<const PreviewPackage> package, int density)
    : package_(std::move(package)), density_(density == 2 ? 2 : 1) {
    host_.user = const_cast<PreviewPackage*>(package_.get());
    host_.get_resource = hostResource;
    host_.text_width = density_ == 2 ? hostTextWidth<2> : hostTextWidth<1>;
    host_.font_height = density_ == 2 ? hostFontHeight<2> : hostFontHeight<1>;
    restart();
}

bool PreviewSession::restart() {
    context_ = nullptr;
    if (!package_) {
        openStatus_ = SKV_ERR_MISSING;
        return false;
    }
    std::uint32_t size = 0;
    openStatus_ = skv_measure(&host_, &size);
    if (openStatus_ != SKV_OK) return false;
    if (memory_.size() * sizeof(std::uint64_t) < size) memory_.assign((size + 7) / 8, 0);
    openStatus_ = skv_open(memory_.data(), size, &host_, static_cast<std::uint8_t>(density_), &context_);
    if (openStatus_ != SKV_OK) context_ = nullptr;
    return context_ != nullptr;
}

bool PreviewSession::ok() const {
    if (!context_) return false;
    std::uint32_t type = 0;
    std::uint16_t id = 0;
    return skv_error(context_, &type, &id) == SKV_OK;
}

QString PreviewSession::errorText() const {
    if (!package_) return QStringLiteral("No package.");
    if (!context_) {
        if (openStatus_ == SKV_ERR_MISSING)
            return QStringLiteral("The file is not a calendar package: %1").arg(statusMessage(openStatus_));
        return QStringLiteral("The package is damaged: %1").arg(statusMessage(openStatus_));
    }
    std::uint32_t type = 0;
    std::uint16_t id = 0;
    const skv_status status = skv_error(context_, &type, &id);
    if (status == SKV_OK) return {};
    QString typeText;
    for (int shift = 24; shift >= 0; shift -= 8)
        typeText += QChar::fromLatin1(static_cast<char>((type >> shift) & 0xFF));
    return QStringLiteral("The package is damaged: %1 (resource %2 %3)").arg(statusMessage(status), typeText).arg(id);
}

int PreviewSession::tap(int x, int y) {
    return context_ ? skv_tap(context_, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y))
                    : static_cast<int>(SKV_ACTION_ERROR);
}
int PreviewSession::command(int command) {
    return context_ ? skv_command(context_, static_cast<std::uint16_t>(command)) : static_cast<int>(SKV_ACTION_ERROR);
}
int PreviewSession::key(int key) {
    return context_ ? skv_key(context_, static_cast<std::uint8_t>(key)) : static_cast<int>(SKV_ACTION_ERROR);
}
int PreviewSession::scrollTo(int value) {
    return context_ ? skv_scroll_to(context_, static_cast<std::int16_t>(value)) : static_cast<int>(SKV_ACTION_ERROR);
}

std::uint8_t PreviewSession::screen() const {
    return context_ ? skv_screen(context_) : static_cast<std::uint8_t>(SKV_SCREEN_ERROR);
}

const skv_item* PreviewSession::display(std::uint16_t* count) const {
    if (!context_) {
        *count = 0;
        return nullptr;
    }
    return skv_display(context_, count);
}

const std::uint8_t* PreviewSession::resource(std::uint32_t type, std::uint16_t id, std::uint32_t* size) const {
    return package_ ? package_->resource(type, id, size) : nullptr;
}

QImage PreviewSession::render(std::vector<DrawnText>* texts) const {
    std::uint16_t count = 0;
    const skv_item* items = display(&count);
    return renderDisplay(
        items, count, density_,
        [this](std::uint32_t type, std::uint16_t id, std::uint32_t* size) { return resource(type, id, size); }, texts);
}

int PreviewSession::groupCount() const { return context_ ? context_->group_count : 0; }

std::vector<PreviewSession::Row> PreviewSession::openableRows() const {
    std::vector<Row> rows;
    if (!context_) return rows;
    for (std::uint16_t i = 0; i < context_->zone_count; ++i) {
        const skv_zone& zone = context_->zones[i];
        int kind = 0;
        switch (zone.kind) {
        case SKV_ZONE_OPEN_GROUP: kind = SKV_SCREEN_GROUPS; break;
        case SKV_ZONE_OPEN_EVENT: kind = SKV_SCREEN_EVENT; break;
        case SKV_ZONE_OPEN_CONTACT: kind = SKV_SCREEN_CONTACT; break;
        default: continue;
        }
        rows.push_back(Row{kind, zone.value, zone.x + zone.w / 2, zone.y + zone.h / 2});
    }
    return rows;
}

bool PreviewSession::nextPage() {
    if (!context_ || !isListScreen(context_->place.screen)) return false;
    const skv_place before = context_->place;
    key(SKV_KEY_PAGE_DOWN);
    return ok() && (context_->place.top != before.top || context_->place.top_heading != before.top_heading);
}

bool PreviewSession::showPage(int page, QString* error) {
    for (int p = 1; p < page; ++p) {
        if (!nextPage()) {
            if (error && error->isEmpty())
                *error = ok() ? QStringLiteral("This list has only %1 page(s).").arg(p) : errorText();
            return false;
        }
    }
    return true;
}

bool PreviewSession::showGroupList(int group, bool contacts, QString* error) {
    command(SKV_CMD_BROWSE);
    if (group < 0 || group >= groupCount()) {
        if (error)
            *error =
                QStringLiteral("The package has %1 group(s); there is no group %2.").arg(groupCount()).arg(group + 1);
        return false;
    }
    // The group's row is on one of the group list's pages.
    for (;;) {
        for (const Row& row : openableRows()) {
            if (row.kind == SKV_SCREEN_GROUPS && row.value == group) {
                tap(row.x, row.y);
                if (contacts) command(SKV_CMD_SHOW_CONTACTS);
                return ok();
            }
        }
        if (!nextPage()) break;
    }
    if (error) *error = ok() ? QStringLiteral("Group %1 is not shown in the group list.").arg(group + 1) : errorText();
    return false;
}

bool PreviewSession::openEntry(int screen, int id, QString* error) {
    // The first group whose list shows the entry, page by page.
    for (int group = 0; group < groupCount(); ++group) {
        restart();
        if (!showGroupList(group, screen == SKV_SCREEN_CONTACT, error)) return false;
        for (;;) {
            for (const Row& row : openableRows()) {
                if (row.kind == screen && row.value == id) {
                    tap(row.x, row.y);
                    return ok();
                }
            }
            if (!nextPage()) break;
        }
        if (!ok()) break;
    }
    if (error)
        *error = ok() ? QStringLiteral("No group of the package shows %1 %2.")
                            .arg(screen == SKV_SCREEN_EVENT ? QStringLiteral("event") : QStringLiteral("contact"))
                            .arg(id)
                      : errorText();
    return false;
}

bool PreviewSession::goTo(const QString& screen, QString* error) {
    QString problem;
    auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (!restart()) return fail(errorText());
    const QStringList parts = screen.trimmed().toLower().split(QLatin1Char(':'));
    const QString& name = parts.value(0);
    const QString unknown =
        QStringLiteral("Unknown screen \"%1\" (welcome, groups, group:N, events, contacts, event:ID, contact:ID).")
            .arg(screen);
    bool reached = false;
    if (name == QLatin1String("welcome") && parts.size() == 1) {
        reached = ok();
    } else if (name == QLatin1String("groups") && parts.size() <= 2) {
        int page = 1;
        if (parts.size() == 2 && !parseNumber(parts[1], 1, 65535, &page)) return fail(unknown);
        command(SKV_CMD_BROWSE);
        reached = ok() && showPage(page, &problem);
    } else if ((name == QLatin1String("events") || name == QLatin1String("contacts")) && parts.size() <= 2) {
        int page = 1;
        if (parts.size() == 2 && !parseNumber(parts[1], 1, 65535, &page)) return fail(unknown);
        reached = showGroupList(0, name == QLatin1String("contacts"), &problem) && showPage(page, &problem);
    } else if (name == QLatin1String("group") && parts.size() >= 2 && parts.size() <= 4) {
        int group = 0, page = 1;
        bool contacts = false;
        if (!parseNumber(parts[1], 1, 65535, &group)) return fail(unknown);
        int next = 2;
        if (parts.size() > next &&
            (parts[next] == QLatin1String("events") || parts[next] == QLatin1String("contacts"))) {
            contacts = parts[next] == QLatin1String("contacts");
            ++next;
        }
        if (parts.size() > next && !parseNumber(parts[next++], 1, 65535, &page)) return fail(unknown);
        if (parts.size() > next) return fail(unknown);
        reached = showGroupList(group - 1, contacts, &problem) && showPage(page, &problem);
    } else if ((name == QLatin1String("event") || name == QLatin1String("contact")) && parts.size() == 2) {
        int id = 0;
        if (!parseNumber(parts[1], 0, 65535, &id)) return fail(unknown);
        reached = openEntry(name == QLatin1String("event") ? SKV_SCREEN_EVENT : SKV_SCREEN_CONTACT, id, &problem);
    } else {
        return fail(unknown);
    }
    if (!reached) return fail(problem.isEmpty() ? errorText() : problem);
    return true;
}

}  // namespace skedlin::preview
