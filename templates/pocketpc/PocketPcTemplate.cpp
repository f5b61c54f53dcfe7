#include "templates/pocketpc/PocketPcTemplate.h"

#include "formats/Bytes.h"

namespace skedlin::templates {

namespace {
constexpr std::size_t kCountSize = 4;
}

std::span<const std::uint8_t> pocketPcTemplateImage() {
    const std::span<const std::uint8_t> storage = pocketPcTemplateBlob();
    if (storage.size() < kCountSize) return {};
    const std::uint32_t count = bytes::ByteReader(storage).read32le(0);
    if (count > storage.size() - kCountSize) return {};
    return storage.subspan(kCountSize, count);
}

}  // namespace skedlin::templates
