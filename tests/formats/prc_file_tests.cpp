#include "formats/prc/PrcFile.h"

#include <gtest/gtest.h>

using namespace skedlin;

namespace {

std::vector<palm::PalmResource> twoResources() {
    return {{palm::fourCharCode("tSTR"), 4000, {'a', 0}}, {palm::fourCharCode("Nevt"), 7000, {1, 2, 3}}};
}

}  // namespace

TEST(PrcFile, HeaderFieldsLandAtTheirOffsetsAndTheImageReadsBack) {
    prc::DatabaseHeader header;
    header.name = "A name longer than the thirty-one characters of the field";
    header.attributes = prc::kAttributeResourceDatabase;
    header.type = palm::fourCharCode("appl");
    header.creator = palm::fourCharCode("SKL0");
    header.creationDate = 0x01020304;
    const prc::HeaderBytes bytes = prc::encodeHeader(header);
    EXPECT_EQ(prc::headerName(bytes), header.name.substr(0, prc::kMaxNameCharacters));
    EXPECT_EQ(bytes[prc::kNameFieldBytes - 1], 0) << "the name always ends in a zero byte";
    EXPECT_EQ(bytes[prc::kOffsetAttributes + 1], 1);
    EXPECT_EQ(bytes[prc::kOffsetCreationDate], 1);
    EXPECT_EQ(bytes[prc::kOffsetType], 'a');
    EXPECT_EQ(bytes[prc::kOffsetCreator + 3], '0');

    const auto resources = twoResources();
    const std::vector<std::uint8_t> image = prc::serializeDatabase(bytes, resources);
    ASSERT_EQ(image.size(), prc::firstDataOffset(2) + 2 + 3);
    EXPECT_EQ(image[prc::kOffsetResourceCount + 1], 2);
    // The second entry's offset: 80 + 10 x 2 + the first resource's two bytes.
    EXPECT_EQ(image[prc::kHeaderBytes + prc::kResourceEntryBytes + 9], 102);

    prc::HeaderBytes readHeader{};
    std::vector<palm::PalmResource> read;
    ASSERT_TRUE(prc::parseDatabase(image, readHeader, read));
    EXPECT_EQ(readHeader, bytes);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].id, 7000);
    EXPECT_EQ(read[1].bytes, resources[1].bytes);
}

TEST(PrcFile, RefusesTruncatedListsAndOffsetsOutsideTheImage) {
    const auto resources = twoResources();
    std::vector<std::uint8_t> image = prc::serializeDatabase(prc::HeaderBytes{}, resources);
    prc::HeaderBytes header{};
    std::vector<palm::PalmResource> read;

    EXPECT_EQ(prc::parseDatabase(std::span(image).first(prc::kHeaderBytes - 1), header, read).code(),
              prc::PrcError::TruncatedHeader);
    EXPECT_EQ(prc::parseDatabase(std::span(image).first(prc::kHeaderBytes + 15), header, read).code(),
              prc::PrcError::TruncatedResourceList)
        << "the list of two entries is cut short";
    std::vector<std::uint8_t> pastEnd = image;
    pastEnd[prc::kHeaderBytes + 9] = 0xFF;  // the first offset beyond the second one
    const auto outOfPlace = prc::parseDatabase(pastEnd, header, read);
    EXPECT_EQ(outOfPlace.code(), prc::PrcError::ResourceOutOfPlace);
    EXPECT_NE(outOfPlace.message().find("resource 1 of 2"), std::string::npos) << outOfPlace.message();
}
