// The bitmap loader on raw file bytes and on inline hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/bmp/BmpImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    skedlin::BmpImage image;
    (void)image.loadBytes(std::span<const std::uint8_t>(data, size));
    skedlin::BmpImage inlineImage;
    (void)inlineImage.loadInlineHex(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
