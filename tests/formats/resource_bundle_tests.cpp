// Resource bundles hand the Palm viewer's resources from the host tools to the
// template generator: what one tool encodes the generator must read back
// whole, and a cut file must be refused rather than read short.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "formats/palm/ResourceBundle.h"

namespace skedlin::palm {
namespace {

std::vector<BundleResource> sample() {
    return {{0x636F6465 /* code */, 1, {0x4E, 0x75}}, {0x74465242 /* tFRM */, 1000, {}}, {0x64617461, 0, {1, 2, 3}}};
}

TEST(ResourceBundle, WhatIsEncodedDecodesToTheSameResources) {
    const Bytes encoded = encodeBundle(sample());
    std::vector<BundleResource> decoded;
    ASSERT_TRUE(decodeBundle(encoded, decoded).ok());
    ASSERT_EQ(decoded.size(), 3u);
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        EXPECT_EQ(decoded[i].type, sample()[i].type);
        EXPECT_EQ(decoded[i].id, sample()[i].id);
        EXPECT_EQ(decoded[i].bytes, sample()[i].bytes);
    }
}

TEST(ResourceBundle, EveryCutInsideAnEntryIsRefusedAndNamesTheEntry) {
    const Bytes encoded = encodeBundle(sample());
    const std::size_t entryEnds[] = {12, 22, 35};  // header 10 + body of each entry
    for (std::size_t length = 1; length < encoded.size(); ++length) {
        if (std::find(std::begin(entryEnds), std::end(entryEnds), length) != std::end(entryEnds)) continue;
        std::vector<BundleResource> decoded;
        const BundleResult result = decodeBundle(Bytes(encoded.begin(), encoded.begin() + length), decoded);
        ASSERT_FALSE(result.ok()) << "cut at " << length;
        EXPECT_EQ(result.code(), BundleError::Truncated);
        const std::size_t entry = length < 12 ? 1 : length < 22 ? 2 : 3;
        EXPECT_EQ(result.message(), "entry " + std::to_string(entry) + " runs past the end of the bundle");
    }
}

}  // namespace
}  // namespace skedlin::palm
