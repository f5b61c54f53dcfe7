#include "templates/pocketpc/PocketPcTemplate.h"

#include "builder/pocketpc/LittleEndian.h"

namespace skedlin::templates {

namespace {
constexpr std::size_t kCountSize = 4;
}

std::span<const std::uint8_t> pocketPcTemplateImage() {
    const std::span<const std::uint8_t> storage = pocketPcTemplateBlob();
    if (storage.size() < kCountSize) return {};
    const std::uint32_t count = le::read32(storage.data());
    if (count > storage.size() - kCountSize) return {};
    return storage.subspan(kCountSize, count);
}

}  // namespace skedlin::templates
