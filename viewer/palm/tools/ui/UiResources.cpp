#include "viewer/palm/tools/ui/UiResources.h"

namespace skedlin::palm {

namespace {

// Form object kinds.
constexpr std::uint8_t kObjectTitle = 9;
constexpr std::uint8_t kObjectScrollBar = 13;

constexpr std::uint16_t kNoFocus = 0xFFFF;
constexpr std::uint32_t kFormUsableEnabled = 0xC0000000;  // attribute bits usable, enabled
constexpr std::uint16_t kScrollBarUsable = 0x8000;

constexpr std::size_t kWindowBytes = 40;
constexpr std::size_t kFormBytes = kWindowBytes + 28;
constexpr std::size_t kObjectEntryBytes = 6;
constexpr std::size_t kTitleBytes = 12;  // bounds and the text pointer
constexpr std::size_t kScrollBarBytes = 22;

void putRect(Bytes &out, const Rect &r) {
    putWord(out, static_cast<std::uint16_t>(r.x));
    putWord(out, static_cast<std::uint16_t>(r.y));
    putWord(out, static_cast<std::uint16_t>(r.w));
    putWord(out, static_cast<std::uint16_t>(r.h));
}

void alignWord(Bytes &out) {
    if (out.size() % 2) out.push_back(0);
}

void patchLong(Bytes &out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

Bytes encodeForm(const FormDescription &form) {
    Bytes out;
    // Window: display size, display address, flags, bounds, clipping bounds,
    // bitmap, frame, draw state, next window.
    putWord(out, static_cast<std::uint16_t>(form.bounds.w));
    putWord(out, static_cast<std::uint16_t>(form.bounds.h));
    putLong(out, 0);
    putWord(out, 0);
    putRect(out, form.bounds);
    putRect(out, Rect{});
    putLong(out, 0);
    putWord(out, 0);  // no frame: a full-screen form
    putLong(out, 0);
    putLong(out, 0);
    // Form: id, attributes, bits behind, handler, focus, default button,
    // help, menu bar, object count, object list.
    putWord(out, form.id);
    putLong(out, kFormUsableEnabled);
    putLong(out, 0);
    putLong(out, 0);
    putWord(out, kNoFocus);
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, form.menuBarId);
    const std::size_t objectCount = 1 + form.scrollBars.size();
    putWord(out, static_cast<std::uint16_t>(objectCount));
    putLong(out, 0);

    // Object list: kind, a reserved byte, the offset of the object.
    const std::size_t list = out.size();
    for (std::size_t i = 0; i < objectCount; ++i) {
        putByte(out, i == 0 ? kObjectTitle : kObjectScrollBar);
        putByte(out, 0);
        putLong(out, 0);
    }

    patchLong(out, list + 2, static_cast<std::uint32_t>(out.size()));
    putRect(out, Rect{0, 0, form.bounds.w, 15});
    putLong(out, 0);
    putText(out, form.title);
    alignWord(out);

    for (std::size_t i = 0; i < form.scrollBars.size(); ++i) {
        const FormScrollBar &bar = form.scrollBars[i];
        patchLong(out, list + (i + 1) * kObjectEntryBytes + 2, static_cast<std::uint32_t>(out.size()));
        putRect(out, bar.bounds);
        putWord(out, bar.id);
        putWord(out, bar.usable ? kScrollBarUsable : 0);
        putWord(out, 0);  // value
        putWord(out, 0);  // minimum
        putWord(out, 0);  // maximum
        putWord(out, 1);  // page size
        putWord(out, 0);  // pen position
        putWord(out, 0);  // saved position
    }
    static_assert(kFormBytes == 68 && kTitleBytes == 12 && kScrollBarBytes == 22);
    return out;
}

Bytes encodeMenuBar(const std::vector<MenuPullDown> &menus) {
    Bytes out;
    // Menu bar: window, bits behind, saved active window, bits behind the
    // status, attributes, current menu and item, command tick, menu count,
    // menu list.
    for (int i = 0; i < 4; ++i) putLong(out, 0);
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, 0);
    putLong(out, 0);
    putWord(out, static_cast<std::uint16_t>(menus.size()));
    putLong(out, 0);
    // Pull-downs: window, bounds, bits behind, title bounds, title, item
    // count, item list.
    for (const MenuPullDown &menu : menus) {
        putLong(out, 0);
        putRect(out, menu.bounds);
        putLong(out, 0);
        putRect(out, menu.titleBounds);
        putLong(out, 0);
        putWord(out, static_cast<std::uint16_t>(menu.items.size()));
        putLong(out, 0);
    }
    // Items: id, shortcut, flags, text pointer.
    for (const MenuPullDown &menu : menus) {
        for (const MenuItem &item : menu.items) {
            putWord(out, item.id);
            putByte(out, static_cast<std::uint8_t>(item.shortcut));
            putByte(out, 0);
            putLong(out, 0);
        }
    }
    for (const MenuPullDown &menu : menus) {
        putText(out, menu.title);
        for (const MenuItem &item : menu.items) putText(out, item.text);
    }
    return out;
}

Bytes encodeAlert(const AlertDescription &alert) {
    Bytes out;
    putWord(out, static_cast<std::uint16_t>(alert.type));
    putWord(out, 0);  // no help text
    putWord(out, static_cast<std::uint16_t>(alert.buttons.size()));
    putWord(out, alert.defaultButton);
    putText(out, alert.title);
    putText(out, alert.message);
    for (const std::string &button : alert.buttons) putText(out, button);
    return out;
}

}  // namespace skedlin::palm
