#include "templates/palm/PalmTemplate.h"

#include <cstddef>

#include "formats/Bytes.h"

// Defined in the generated PalmTemplateData.cpp.
extern const unsigned char kSkedlinPalmTemplateBlob[];
extern const std::size_t kSkedlinPalmTemplateBlobSize;

namespace skedlin::templates {

std::span<const std::uint8_t> palmTemplateBlob() {
    return {reinterpret_cast<const std::uint8_t*>(kSkedlinPalmTemplateBlob), kSkedlinPalmTemplateBlobSize};
}

std::span<const std::uint8_t> palmTemplateImage() {
    const auto blob = palmTemplateBlob();
    if (blob.size() < 4) return {};
    const std::size_t count = bytes::ByteReader(blob).read32le(0);
    if (count > blob.size() - 4) return {};
    return blob.subspan(4, count);
}

}  // namespace skedlin::templates
