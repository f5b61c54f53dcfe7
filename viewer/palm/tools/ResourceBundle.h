#pragma once
// A resource bundle: the resources one host tool makes for the Palm viewer
// template, handed to the template generator in a file. The file is a list
// of entries, each a 4-character type, a 16-bit id and a 32-bit length (all
// big-endian), followed by that many bytes.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "formats/prc/PalmResource.h"

namespace skedlin::palm {

using Bytes = std::vector<std::uint8_t>;

inline void putByte(Bytes &out, std::uint8_t value) { out.push_back(value); }

inline void putWord(Bytes &out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void putLong(Bytes &out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value >> 16));
    putWord(out, static_cast<std::uint16_t>(value));
}

inline void putText(Bytes &out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

struct BundleResource {
    std::uint32_t type = 0;
    std::uint16_t id = 0;
    Bytes bytes;
};

inline Bytes encodeBundle(const std::vector<BundleResource> &resources) {
    Bytes out;
    for (const BundleResource &resource : resources) {
        putLong(out, resource.type);
        putWord(out, resource.id);
        putLong(out, static_cast<std::uint32_t>(resource.bytes.size()));
        out.insert(out.end(), resource.bytes.begin(), resource.bytes.end());
    }
    return out;
}

// Decodes a bundle; false when an entry runs past the end of the data.
inline bool decodeBundle(const Bytes &data, std::vector<BundleResource> &resources) {
    std::size_t at = 0;
    auto read = [&](int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) value = (value << 8) | data[at++];
        return value;
    };
    while (at < data.size()) {
        if (data.size() - at < 10) return false;
        BundleResource resource;
        resource.type = read(4);
        resource.id = static_cast<std::uint16_t>(read(2));
        const std::uint32_t length = read(4);
        if (length > data.size() - at) return false;
        resource.bytes.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                              data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        resources.push_back(std::move(resource));
    }
    return true;
}

inline bool readFileBytes(const std::string &path, Bytes &out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

inline bool writeFileBytes(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace skedlin::palm
