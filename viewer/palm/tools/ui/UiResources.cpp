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

void putRect(bytes::ByteWriter &out, const Rect &r) {
    out.put16be(static_cast<std::uint16_t>(r.x));
    out.put16be(static_cast<std::uint16_t>(r.y));
    out.put16be(static_cast<std::uint16_t>(r.w));
    out.put16be(static_cast<std::uint16_t>(r.h));
}

void alignWord(bytes::ByteWriter &out) {
    if (out.size() % 2) out.put8(0);
}

}  // namespace

Bytes encodeForm(const FormDescription &form) {
    Bytes encoded;
    bytes::ByteWriter out(encoded);
    // Window: display size, display address, flags, bounds, clipping bounds,
    // bitmap, frame, draw state, next window.
    out.put16be(static_cast<std::uint16_t>(form.bounds.w));
    out.put16be(static_cast<std::uint16_t>(form.bounds.h));
    out.put32be(0);
    out.put16be(0);
    putRect(out, form.bounds);
    putRect(out, Rect{});
    out.put32be(0);
    out.put16be(0);  // no frame: a full-screen form
    out.put32be(0);
    out.put32be(0);
    // Form: id, attributes, bits behind, handler, focus, default button,
    // help, menu bar, object count, object list.
    out.put16be(form.id);
    out.put32be(kFormUsableEnabled);
    out.put32be(0);
    out.put32be(0);
    out.put16be(kNoFocus);
    out.put16be(0);
    out.put16be(0);
    out.put16be(form.menuBarId);
    const std::size_t objectCount = 1 + form.scrollBars.size();
    out.put16be(static_cast<std::uint16_t>(objectCount));
    out.put32be(0);

    // Object list: kind, a reserved byte, the offset of the object.
    const std::size_t list = out.size();
    for (std::size_t i = 0; i < objectCount; ++i) {
        out.put8(i == 0 ? kObjectTitle : kObjectScrollBar);
        out.put8(0);
        out.put32be(0);
    }

    out.patch32be(list + 2, static_cast<std::uint32_t>(out.size()));
    putRect(out, Rect{0, 0, form.bounds.w, 15});
    out.put32be(0);
    out.putText(form.title);
    alignWord(out);

    for (std::size_t i = 0; i < form.scrollBars.size(); ++i) {
        const FormScrollBar &bar = form.scrollBars[i];
        out.patch32be(list + (i + 1) * kObjectEntryBytes + 2, static_cast<std::uint32_t>(out.size()));
        putRect(out, bar.bounds);
        out.put16be(bar.id);
        out.put16be(bar.usable ? kScrollBarUsable : 0);
        out.put16be(0);  // value
        out.put16be(0);  // minimum
        out.put16be(0);  // maximum
        out.put16be(1);  // page size
        out.put16be(0);  // pen position
        out.put16be(0);  // saved position
    }
    static_assert(kFormBytes == 68 && kTitleBytes == 12 && kScrollBarBytes == 22);
    return encoded;
}

Bytes encodeMenuBar(const std::vector<MenuPullDown> &menus) {
    Bytes encoded;
    bytes::ByteWriter out(encoded);
    // Menu bar: window, bits behind, saved active window, bits behind the
    // status, attributes, current menu and item, command tick, menu count,
    // menu list.
    for (int i = 0; i < 4; ++i) out.put32be(0);
    out.put16be(0);
    out.put16be(0);
    out.put16be(0);
    out.put32be(0);
    out.put16be(static_cast<std::uint16_t>(menus.size()));
    out.put32be(0);
    // Pull-downs: window, bounds, bits behind, title bounds, title, item
    // count, item list.
    for (const MenuPullDown &menu : menus) {
        out.put32be(0);
        putRect(out, menu.bounds);
        out.put32be(0);
        putRect(out, menu.titleBounds);
        out.put32be(0);
        out.put16be(static_cast<std::uint16_t>(menu.items.size()));
        out.put32be(0);
    }
    // Items: id, shortcut, flags, text pointer.
    for (const MenuPullDown &menu : menus) {
        for (const MenuItem &item : menu.items) {
            out.put16be(item.id);
            out.put8(static_cast<std::uint8_t>(item.shortcut));
            out.put8(0);
            out.put32be(0);
        }
    }
    for (const MenuPullDown &menu : menus) {
        out.putText(menu.title);
        for (const MenuItem &item : menu.items) out.putText(item.text);
    }
    return encoded;
}

Bytes encodeAlert(const AlertDescription &alert) {
    Bytes encoded;
    bytes::ByteWriter out(encoded);
    out.put16be(static_cast<std::uint16_t>(alert.type));
    out.put16be(0);  // no help text
    out.put16be(static_cast<std::uint16_t>(alert.buttons.size()));
    out.put16be(alert.defaultButton);
    out.putText(alert.title);
    out.putText(alert.message);
    for (const std::string &button : alert.buttons) out.putText(button);
    return encoded;
}

}  // namespace skedlin::palm
