#include "formats/Bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace skedlin::bytes;

TEST(ByteReader, ReadsEachByteOrderAsAsked) {
    const std::vector<std::uint8_t> data = {0x12, 0x34, 0x56, 0x78, 0x9A};
    ByteReader in(data);
    EXPECT_EQ(in.read16le(0), 0x3412);
    EXPECT_EQ(in.read16be(0), 0x1234);
    EXPECT_EQ(in.read32le(1), 0x9A785634u);
    EXPECT_EQ(in.read32be(1), 0x3456789Au);
    EXPECT_EQ(in.read8(4), 0x9A);
    EXPECT_FALSE(in.failed());
}

TEST(ByteReader, AReadPastTheEndGivesZeroAndStaysFailed) {
    const std::vector<std::uint8_t> data = {1, 2, 3};
    ByteReader in(data);
    EXPECT_EQ(in.read32le(0), 0u) << "one byte short";
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.read8(0), 1) << "later reads inside still work";
    EXPECT_TRUE(in.failed()) << "but the failure is not forgotten";

    ByteReader far(data);
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max() - 1;
    EXPECT_FALSE(far.has(huge, 4)) << "offset plus count must not wrap around";
    EXPECT_FALSE(far.has(2, huge));
    EXPECT_EQ(far.read16be(huge), 0);
    EXPECT_TRUE(far.slice(1, huge).empty());
    EXPECT_TRUE(far.failed());
    EXPECT_TRUE(ByteReader(data).has(3, 0)) << "an empty range at the end is inside";
}

TEST(ByteWriter, AppendsInTheGivenOrderAndPatchesOnlyWhatWasWritten) {
    Bytes out;
    ByteWriter writer(out);
    writer.put16be(0x0102);
    writer.put16le(0x0304);
    writer.put32be(0x05060708);
    writer.put32le(0x090A0B0C);
    writer.putText("ab");
    writer.putZeros(2);
    EXPECT_EQ(out, (Bytes{1, 2, 4, 3, 5, 6, 7, 8, 0x0C, 0x0B, 0x0A, 9, 'a', 'b', 0, 0, 0}));

    EXPECT_TRUE(writer.patch32be(0, 0xA1A2A3A4));
    EXPECT_TRUE(writer.patch16le(15, 0xB1B2)) << "the last two bytes";
    const Bytes before = out;
    EXPECT_FALSE(writer.patch16le(16, 0xFFFF)) << "one byte of it lies past the end";
    EXPECT_FALSE(writer.patch32le(std::numeric_limits<std::size_t>::max() - 1, 0xFFFFFFFF));
    EXPECT_EQ(out, before) << "a refused patch writes nothing";
    EXPECT_EQ(out[0], 0xA1);
    EXPECT_EQ(out[16], 0xB1);
}
