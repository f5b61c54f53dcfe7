#pragma once
// Runs the viewer core on packages made by the real builder: the resources
// the builder adds to the Palm database are served to the core through its
// host interface, with a fixed font width table standing in for the
// handheld's fonts.

#include "tests/builder/contacts_events_packages.h"
#include "viewer/core/skv_core.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace skedlin::testing {

inline std::uint32_t typeCode(const std::string& type) { return SKV_TYPE(type[0], type[1], type[2], type[3]); }

// Widths in pixels at density 1 per byte: standard 5, bold 6, large 7.
inline std::uint16_t fontCharWidth(std::uint8_t font) {
    switch (font) {
    case SKV_FONT_BOLD: return 6;
    case SKV_FONT_LARGE:
    case SKV_FONT_LARGE_BOLD: return 7;
    default: return 5;
    }
}

class ViewerPackage {
public:
    std::map<std::pair<std::uint32_t, std::uint16_t>, Bytes> resources;
    std::uint8_t density = 1;
    int lookups = 0;

    void add(const std::string& type, std::uint16_t id, Bytes bytes) {
        resources[{typeCode(type), id}] = std::move(bytes);
    }
    // A numbered resource of the Pocket PC executable (bitmap 2, strings 6, raw data 10).
    void addNumbered(std::uint32_t type, std::uint16_t id, Bytes bytes) { resources[{type, id}] = std::move(bytes); }
    Bytes* findNumbered(std::uint32_t type, std::uint16_t id) {
        auto it = resources.find({type, id});
        return it == resources.end() ? nullptr : &it->second;
    }
    void remove(const std::string& type, std::uint16_t id) { resources.erase({typeCode(type), id}); }
    Bytes* find(const std::string& type, std::uint16_t id) {
        auto it = resources.find({typeCode(type), id});
        return it == resources.end() ? nullptr : &it->second;
    }

    skv_host host() {
        skv_host h{};
        h.user = this;
        h.get_resource = [](void* user, std::uint32_t type, std::uint16_t id,
                            std::uint32_t* size) -> const std::uint8_t* {
            auto* self = static_cast<ViewerPackage*>(user);
            ++self->lookups;
            auto it = self->resources.find({type, id});
            if (it == self->resources.end()) return nullptr;
            *size = static_cast<std::uint32_t>(it->second.size());
            // An empty body still needs a valid pointer.
            static const std::uint8_t kNothing = 0;
            return it->second.empty() ? &kNothing : it->second.data();
        };
        h.text_width = [](void* user, std::uint8_t font, const char*, std::uint16_t length) -> std::uint16_t {
            auto* self = static_cast<ViewerPackage*>(user);
            return static_cast<std::uint16_t>(length * fontCharWidth(font) * self->density);
        };
        h.font_height = [](void* user, std::uint8_t font) -> std::uint16_t {
            auto* self = static_cast<ViewerPackage*>(user);
            return static_cast<std::uint16_t>((font == SKV_FONT_LARGE || font == SKV_FONT_LARGE_BOLD ? 14 : 11) *
                                              self->density);
        };
        return h;
    }
};

inline ViewerPackage viewerPackageOf(const BuiltPackage& built) {
    ViewerPackage package;
    for (const PrcResource& resource : built.palm) package.add(resource.type, resource.id, resource.bytes);
    return package;
}

// The example shipped with the program.
inline ViewerPackage examplePackage() {
    const BuiltPackage built =
        buildPackageFile(std::string(SKEDLIN_SOURCE_DIR) + "/examples/conference/Conference.xml");
    EXPECT_EQ(built.code, 0) << built.message;
    return viewerPackageOf(built);
}

// A package made by the project's generator (built once per size and run).
inline ViewerPackage generatedPackage(int events, int contacts, int groups) {
    static std::map<std::tuple<int, int, int>, BuiltPackage> cache;
    auto key = std::make_tuple(events, contacts, groups);
    auto it = cache.find(key);
    if (it == cache.end()) {
        const std::string dir = scratchDirectory();
        const std::string xml = dir + "/generated.xml";
        const std::string command = std::string(SKEDLIN_BIN_DIR) + "/generate_package --events " +
                                    std::to_string(events) + " --contacts " + std::to_string(contacts) + " --groups " +
                                    std::to_string(groups) + " --dtd " + SKEDLIN_BIN_DIR + "/CalendarPackage.dtd " +
                                    xml;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        it = cache.emplace(key, buildPackageFile(xml)).first;
        EXPECT_EQ(it->second.code, 0) << it->second.message;
    }
    return viewerPackageOf(it->second);
}

// The core on a package, with its context memory.
class Viewer {
public:
    explicit Viewer(ViewerPackage& package, std::uint8_t density = 1) : package_(package) {
        package_.density = density;
        const skv_host host = package_.host();
        status = skv_measure(&host, &size);
        if (status != SKV_OK) return;
        memory_.assign(size / 4 + 1, 0);
        status = skv_open(memory_.data(), size, &host, density, &ctx);
    }
    bool ok() const { return status == SKV_OK && ctx != nullptr; }

    std::vector<skv_item> items() const {
        std::uint16_t count = 0;
        const skv_item* list = skv_display(ctx, &count);
        return std::vector<skv_item>(list, list + count);
    }
    // Texts of the screen in display order (the title first).
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const skv_item& item : items()) {
            if (item.kind == SKV_ITEM_TEXT || item.kind == SKV_ITEM_TITLE) out.emplace_back(item.text, item.length);
        }
        return out;
    }
    // Every text of the screen joined by spaces: wrapped sentences read whole.
    bool showsSentence(const std::string& sentence) const {
        std::string all;
        for (const std::string& t : texts()) all += t + " ";
        return all.find(sentence) != std::string::npos;
    }
    std::string title() const {
        for (const skv_item& item : items())
            if (item.kind == SKV_ITEM_TITLE) return std::string(item.text, item.length);
        return {};
    }
    bool hasText(const std::string& text) const {
        for (const std::string& t : texts())
            if (t == text) return true;
        return false;
    }
    const skv_item* findText(const std::string& text) const {
        std::uint16_t count = 0;
        const skv_item* list = skv_display(ctx, &count);
        for (std::uint16_t i = 0; i < count; ++i)
            if ((list[i].kind == SKV_ITEM_TEXT) && std::string(list[i].text, list[i].length) == text) return &list[i];
        return nullptr;
    }
    const skv_item* button(std::uint16_t command) const {
        std::uint16_t count = 0;
        const skv_item* list = skv_display(ctx, &count);
        for (std::uint16_t i = 0; i < count; ++i)
            if (list[i].kind == SKV_ITEM_BUTTON && list[i].id == command) return &list[i];
        return nullptr;
    }
    // Taps the middle of the first text item equal to `text`.
    std::uint16_t tapText(const std::string& text) {
        const skv_item* item = findText(text);
        EXPECT_NE(item, nullptr) << "no text " << text;
        if (!item) return 0;
        return skv_tap(ctx, static_cast<std::int16_t>(item->x + 1), static_cast<std::int16_t>(item->y + item->h / 2));
    }
    std::uint16_t command(std::uint16_t c) { return skv_command(ctx, c); }
    std::uint16_t key(std::uint8_t k) { return skv_key(ctx, k); }
    std::uint8_t screen() const { return skv_screen(ctx); }

    skv_status status = SKV_ERR_STATE;
    std::uint32_t size = 0;
    skv_context* ctx = nullptr;

private:
    ViewerPackage& package_;
    std::vector<std::uint32_t> memory_;
};

inline Bytes joined(const skv_record& record) {
    Bytes bytes;
    for (int i = 0; i < record.piece_count; ++i)
        bytes.insert(bytes.end(), record.pieces[i].bytes, record.pieces[i].bytes + record.pieces[i].length);
    return bytes;
}

}  // namespace skedlin::testing
