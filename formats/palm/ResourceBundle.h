#pragma once
// A resource bundle: the resources one host tool makes for the Palm viewer
// template, handed to the template generator in a file. The file is a list
// of entries, each a 4-character type, a 16-bit id and a 32-bit length (all
// big-endian), followed by that many bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"
#include "formats/prc/PalmResource.h"

namespace skedlin::palm {

using Bytes = bytes::Bytes;

inline constexpr std::size_t kBundleEntryHeaderBytes = 10;  // type, id, length
// Bundles and the programs they are made from are far smaller; anything
// larger is not one of ours.
inline constexpr std::uint64_t kMaxBundleInputBytes = 16u * 1024u * 1024u;

struct BundleResource {
    std::uint32_t type = 0;
    std::uint16_t id = 0;
    Bytes bytes;
};

inline Bytes encodeBundle(const std::vector<BundleResource>& resources) {
    Bytes out;
    bytes::ByteWriter writer(out);
    for (const BundleResource& resource : resources) {
        writer.put32be(resource.type);
        writer.put16be(resource.id);
        writer.put32be(static_cast<std::uint32_t>(resource.bytes.size()));
        writer.putBytes(resource.bytes);
    }
    return out;
}

enum class BundleError { None, Truncated };
using BundleResult = Result<BundleError>;

// Decodes a bundle; fails when an entry runs past the end of the data.
inline BundleResult decodeBundle(const Bytes& data, std::vector<BundleResource>& resources) {
    bytes::ByteReader reader(data);
    std::size_t at = 0;
    const auto truncated = [&resources] {
        return BundleResult::failure(BundleError::Truncated, "entry " + std::to_string(resources.size() + 1) +
                                                                 " runs past the end of the bundle");
    };
    while (at < data.size()) {
        if (!reader.has(at, kBundleEntryHeaderBytes)) return truncated();
        BundleResource resource;
        resource.type = reader.read32be(at);
        resource.id = reader.read16be(at + 4);
        const std::uint32_t length = reader.read32be(at + 6);
        at += kBundleEntryHeaderBytes;
        const auto body = reader.slice(at, length);
        if (reader.failed()) return truncated();
        resource.bytes.assign(body.begin(), body.end());
        at += length;
        resources.push_back(std::move(resource));
    }
    return BundleResult::success();
}

}  // namespace skedlin::palm
