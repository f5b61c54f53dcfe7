#include "builder/palm/PalmResourceDatabase.h"

#include <algorithm>
#include <cstdio>

#include "formats/Bytes.h"
#include "formats/prc/PalmResourceTypes.h"
#include "builder/palm/ResourceWriter.h"
#include "model/AtomicFile.h"

namespace skedlin::palm {
Result<prc::PrcError> PalmResourceDatabase::load(std::span<const std::uint8_t> image) {
    return prc::parseDatabase(image, header_, resources_);
}

void PalmResourceDatabase::setName(std::string_view name) { prc::setHeaderName(header_, name); }

std::string PalmResourceDatabase::name() const { return prc::headerName(header_); }

std::uint16_t PalmResourceDatabase::attributes() const {
    return bytes::ByteReader(header_).read16be(prc::kOffsetAttributes);
}
std::uint32_t PalmResourceDatabase::type() const { return bytes::ByteReader(header_).read32be(prc::kOffsetType); }
std::uint32_t PalmResourceDatabase::creator() const { return bytes::ByteReader(header_).read32be(prc::kOffsetCreator); }

void PalmResourceDatabase::append(PalmResource resource) { resources_.push_back(std::move(resource)); }

bool PalmResourceDatabase::replace(std::uint32_t type, std::uint16_t id, std::vector<std::uint8_t> bytes) {
    for (PalmResource& resource : resources_) {
        if (resource.type == type && resource.id == id) {
            resource.bytes = std::move(bytes);
            return true;
        }
    }
    return false;
}

const PalmResource* PalmResourceDatabase::find(std::uint32_t type, std::uint16_t id) const {
    for (const PalmResource& resource : resources_) {
        if (resource.type == type && resource.id == id) return &resource;
    }
    return nullptr;
}

void PalmResourceDatabase::addString(std::uint16_t id, std::string_view text) {
    PalmResource resource;
    resource.type = kTypeString;
    resource.id = id;
    bytes::ByteWriter(resource.bytes).putText(text);
    append(std::move(resource));
}

void PalmResourceDatabase::addNumber(std::uint16_t id, long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    addString(id, text);
}

void PalmResourceDatabase::addWordList(std::uint16_t id, std::span<const std::uint16_t> values) {
    PalmResource resource;
    resource.type = kTypeWordList;
    resource.id = id;
    bytes::ByteWriter out(resource.bytes);
    out.put16be(static_cast<std::uint16_t>(values.size()));
    for (std::uint16_t value : values) out.put16be(value);
    append(std::move(resource));
}

bool PalmResourceDatabase::addStringList(std::uint16_t id, std::span<const std::string> texts) {
    ResourceWriter writer(kTypeStringList, id, kStringListCapacity);
    writer.putText("");  // the empty prefix text
    writer.putWord(static_cast<std::uint16_t>(texts.size()));
    for (const std::string& text : texts) writer.putText(text);
    if (writer.overflowed()) return false;
    append(writer.finish());
    return true;
}

bool PalmResourceDatabase::setLauncherName(std::string_view name) {
    std::vector<std::uint8_t> text;
    bytes::ByteWriter(text).putText(name);
    return replace(kTypeAppName, kLauncherNameId, std::move(text));
}

std::vector<std::uint8_t> PalmResourceDatabase::serialize() const {
    return prc::serializeDatabase(header_, resources_);
}

FileWriteResult PalmResourceDatabase::write(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = serialize();
    return writeFileAtomically(path, bytes);
}

}  // namespace skedlin::palm
