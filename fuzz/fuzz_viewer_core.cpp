// The viewer core over crafted package resources. The input is a script
// then resources:
//   byte 0: density (bit 0) ; bytes 1-2: script length n (big-endian);
//   n script bytes (each one input: tap, page key, scroll or command);
//   then resources, each: type (4 bytes), id (2), length (2), body.
// Every body sits in a heap block of exactly its size, so a read past a
// resource is caught by AddressSanitizer.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "formats/Bytes.h"
#include "viewer/core/skv_core.h"

namespace {

struct Resources {
    std::map<std::pair<std::uint32_t, std::uint16_t>, std::pair<std::unique_ptr<std::uint8_t[]>, std::uint32_t>> bodies;
};

const std::uint8_t* getResource(void* user, std::uint32_t type, std::uint16_t id, std::uint32_t* size) {
    auto* resources = static_cast<Resources*>(user);
    auto it = resources->bodies.find({type, id});
    if (it == resources->bodies.end()) return nullptr;
    *size = it->second.second;
    return it->second.first.get();
}

std::uint16_t textWidth(void*, std::uint8_t font, const char* text, std::uint16_t length) {
    unsigned width = 0;
    for (std::uint16_t i = 0; i < length; ++i) width += 4u + (static_cast<unsigned char>(text[i]) & 3u) + (font & 1u);
    return static_cast<std::uint16_t>(width > 0xFFFF ? 0xFFFF : width);
}

std::uint16_t fontHeight(void*, std::uint8_t font) { return font == SKV_FONT_LARGE ? 14 : 11; }

void runScript(skv_context* ctx, const std::uint8_t* script, std::size_t length, std::uint8_t density) {
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t op = script[i];
        switch (op >> 5) {
        case 0:
        case 1:  // tap at a place derived from the byte
            skv_tap(ctx, static_cast<std::int16_t>((op & 7) * 20 * density + 5),
                    static_cast<std::int16_t>(((op >> 3) & 15) * 10 * density + 3));
            break;
        case 2: skv_key(ctx, static_cast<std::uint8_t>(op & 3)); break;
        case 3: skv_scroll_to(ctx, static_cast<std::int16_t>((op & 31) * 200 - 100)); break;
        default: {
            const std::uint16_t action = skv_command(ctx, static_cast<std::uint16_t>(op & 15));
            if (action & SKV_ACTION_COPY) {
                skv_copy_summary summary;
                if (skv_copy_prepare(ctx, &summary) == SKV_OK) {
                    skv_record record;
                    skv_copy_summary done{};
                    while (skv_copy_next(ctx, &record)) done.events++;
                    skv_copy_finished(ctx, &done);
                }
            }
        }
        }
        std::uint16_t count = 0;
        const skv_item* items = skv_display(ctx, &count);
        for (std::uint16_t k = 0; k < count; ++k) {
            if (items[k].text) textWidth(nullptr, items[k].font, items[k].text, items[k].length);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t density = (data[0] & 1) ? 2 : 1;
    skedlin::bytes::ByteReader input(std::span<const std::uint8_t>(data, size));
    const std::size_t scriptLength = std::min<std::size_t>(input.read16be(1), size - 3);
    const std::uint8_t* script = data + 3;
    std::size_t at = 3 + scriptLength;

    Resources resources;
    while (size - at >= 8) {
        const std::uint32_t type = input.read32be(at);
        const std::uint16_t id = input.read16be(at + 4);
        std::size_t length = input.read16be(at + 6);
        at += 8;
        if (length > size - at) length = size - at;
        std::unique_ptr<std::uint8_t[]> body(new std::uint8_t[length ? length : 1]);
        std::copy(data + at, data + at + length, body.get());
        resources.bodies[{type, id}] = {std::move(body), static_cast<std::uint32_t>(length)};
        at += length;
    }

    // The pure parts on every record as it is.
    for (const auto& [key, body] : resources.bodies) {
        skv_record record;
        skv_bitmap bitmap;
        if (key.first == SKV_TYPE_EVENT) skv_datebook_record(body.first.get(), body.second, &record);
        if (key.first == SKV_TYPE_CONTACT) skv_addressbook_record(body.first.get(), body.second, &record);
        if (key.first == SKV_TYPE_BITMAP) skv_bitmap_choose(body.first.get(), body.second, density, &bitmap);
    }

    skv_host host{};
    host.user = &resources;
    host.get_resource = getResource;
    host.text_width = textWidth;
    host.font_height = fontHeight;
    std::uint32_t contextSize = 0;
    if (skv_measure(&host, &contextSize) != SKV_OK) return 0;
    std::vector<std::uint32_t> memory(contextSize / 4 + 1);
    skv_context* ctx = nullptr;
    if (skv_open(memory.data(), contextSize, &host, density, &ctx) != SKV_OK) return 0;
    runScript(ctx, script, scriptLength, density);
    return 0;
}
