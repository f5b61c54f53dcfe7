#include "formats/prc/PrcFile.h"

#include <algorithm>

#include "formats/Bytes.h"

namespace skedlin::prc {

HeaderBytes encodeHeader(const DatabaseHeader& header) {
    bytes::Bytes out;
    bytes::ByteWriter writer(out);
    writer.putZeros(kNameFieldBytes);
    writer.put16be(header.attributes);
    writer.put16be(header.version);
    writer.put32be(header.creationDate);
    writer.put32be(header.modificationDate);
    writer.put32be(header.backupDate);
    writer.put32be(header.modificationNumber);
    writer.put32be(header.appInfoOffset);
    writer.put32be(header.sortInfoOffset);
    writer.put32be(header.type);
    writer.put32be(header.creator);
    writer.put32be(header.uniqueIdSeed);
    writer.put32be(header.nextRecordList);
    HeaderBytes bytes{};
    std::copy_n(out.begin(), bytes.size(), bytes.begin());
    setHeaderName(bytes, header.name);
    return bytes;
}

void setHeaderName(HeaderBytes& header, std::string_view name) {
    std::fill_n(header.begin(), kNameFieldBytes, 0);
    const std::size_t length = std::min(name.size(), kMaxNameCharacters);
    std::copy_n(name.begin(), length, header.begin());
}

std::string headerName(const HeaderBytes& header) {
    const auto end = std::find(header.begin(), header.begin() + kNameFieldBytes, 0);
    return std::string(header.begin(), end);
}

std::vector<std::uint8_t> serializeDatabase(const HeaderBytes& header, std::span<const palm::PalmResource> resources) {
    std::size_t total = firstDataOffset(resources.size());
    for (const palm::PalmResource& resource : resources) total += resource.bytes.size();
    std::vector<std::uint8_t> out;
    out.reserve(total);
    bytes::ByteWriter writer(out);
    writer.putBytes(header);
    writer.put16be(static_cast<std::uint16_t>(resources.size()));
    auto offset = static_cast<std::uint32_t>(firstDataOffset(resources.size()));
    for (const palm::PalmResource& resource : resources) {
        writer.put32be(resource.type);
        writer.put16be(resource.id);
        writer.put32be(offset);
        offset += static_cast<std::uint32_t>(resource.bytes.size());
    }
    writer.putZeros(kListGapBytes);
    for (const palm::PalmResource& resource : resources) writer.putBytes(resource.bytes);
    return out;
}

Result<PrcError> parseDatabase(std::span<const std::uint8_t> image, HeaderBytes& header,
                               std::vector<palm::PalmResource>& resources) {
    resources.clear();
    bytes::ByteReader in(image);
    if (!in.has(0, kHeaderBytes))
        return {PrcError::TruncatedHeader, "the file is shorter than a resource database header"};
    std::copy_n(image.begin(), kHeaderBytesBeforeCount, header.begin());
    const std::size_t count = in.read16be(kOffsetResourceCount);
    if (!in.has(kHeaderBytes, kResourceEntryBytes * count))
        return {PrcError::TruncatedResourceList,
                "the list of " + std::to_string(count) + " resources runs past the end of the file"};

    struct Entry {
        std::uint32_t type;
        std::uint16_t id;
        std::uint32_t offset;
    };
    std::vector<Entry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderBytes + kResourceEntryBytes * i;
        entries.push_back({in.read32be(at), in.read16be(at + 4), in.read32be(at + 6)});
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = entries[i].offset;
        const std::size_t end = i + 1 < count ? entries[i + 1].offset : image.size();
        if (begin > end || end > image.size())
            return {PrcError::ResourceOutOfPlace, "resource " + std::to_string(i + 1) + " of " + std::to_string(count) +
                                                      " starts after the next one or past the end of the file"};
        palm::PalmResource resource;
        resource.type = entries[i].type;
        resource.id = entries[i].id;
        resource.bytes.assign(image.begin() + static_cast<std::ptrdiff_t>(begin),
                              image.begin() + static_cast<std::ptrdiff_t>(end));
        resources.push_back(std::move(resource));
    }
    return {};
}

}  // namespace skedlin::prc
