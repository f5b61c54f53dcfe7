#pragma once
// Appending the fields of a handheld record to its bytes, with the byte order
// written at every call: Palm records are big-endian, Pocket PC records
// little-endian.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skedlin::record {

using Bytes = std::vector<std::uint8_t>;

inline void putByte(Bytes& out, std::uint8_t value) { out.push_back(value); }

inline void putBigEndian16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void putBigEndian32(Bytes& out, std::uint32_t value) {
    putBigEndian16(out, static_cast<std::uint16_t>(value >> 16));
    putBigEndian16(out, static_cast<std::uint16_t>(value));
}

inline void putLittleEndian16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The text's bytes and a terminating zero byte.
inline void putText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

// The Pocket PC viewer shows texts with Windows line ends.
inline std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace skedlin::record
