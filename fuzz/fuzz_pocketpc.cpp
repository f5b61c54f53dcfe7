// The Pocket PC executable: the first byte picks the case.
//  even: the input is a template; when it loads, a few resources go in.
//  odd:  the real template receives a sequence of insertions whose types,
//        ids and sizes come from the input.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/pocketpc/PocketPcExecutable.h"
#include "templates/pocketpc/PocketPcTemplate.h"

namespace {

void fill(skedlin::PocketPcExecutable& exe, const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 0;
    auto next = [&]() -> std::uint8_t { return pos < size ? data[pos++] : 0; };
    while (pos + 4 <= size) {
        const std::uint8_t kind = next() % 4;
        const std::uint16_t id = static_cast<std::uint16_t>(next() << 8 | next());
        const std::size_t length = next();
        std::vector<std::uint8_t> body(length, 0xA5);
        switch (kind) {
        case 0: exe.addString(id, std::string(length, 'x')); break;
        case 1: exe.addNumber(id, static_cast<long>(length)); break;
        case 2: {
            std::vector<std::uint16_t> words(length % 16, id);
            exe.addWordList(id, words);
            break;
        }
        default: exe.addRecord(id, body); break;
        }
    }
    std::vector<std::uint8_t> image;
    (void)exe.buildImage(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::unique_ptr<skedlin::PocketPcExecutable> exe;
    if (data[0] % 2 == 0) {
        if (skedlin::PocketPcExecutable::load(std::span<const std::uint8_t>(data + 1, size - 1), exe).ok()) {
            static const std::uint8_t kSomeResources[] = {0, 0x0F, 0xA0, 3, 3, 0x1B, 0x58, 9, 2, 0x0F, 0xA4, 5};
            fill(*exe, kSomeResources, sizeof kSomeResources);
        }
        return 0;
    }
    if (skedlin::PocketPcExecutable::load(skedlin::templates::pocketPcTemplateImage(), exe).ok())
        fill(*exe, data + 1, size - 1);
    return 0;
}
