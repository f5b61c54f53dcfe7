#pragma once
// One resource of a Palm OS resource database: a four-character
// type, a 16-bit id and an owned copy of its bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skedlin::palm {

// A four-character code as the 32-bit big-endian number the file holds.
constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

inline std::string fourCharText(std::uint32_t code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

struct PalmResource {
    std::uint32_t type = 0;  // four-character code, file byte order
    std::uint16_t id = 0;
    std::vector<std::uint8_t> bytes;

    std::string typeText() const { return fourCharText(type); }
};

}  // namespace skedlin::palm
