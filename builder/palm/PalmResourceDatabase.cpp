#include "builder/palm/PalmResourceDatabase.h"

#include <algorithm>
#include <cstdio>

#include "builder/palm/PalmResourceTypes.h"
#include "builder/palm/ResourceWriter.h"
#include "model/AtomicFile.h"

namespace skedlin::palm {
namespace {

std::uint16_t readWord(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

std::uint32_t readLong(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (static_cast<std::uint32_t>(bytes[at]) << 24) | (static_cast<std::uint32_t>(bytes[at + 1]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 8) | static_cast<std::uint32_t>(bytes[at + 3]);
}

void appendWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void appendLong(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

bool PalmResourceDatabase::load(std::span<const std::uint8_t> image) {
    resources_.clear();
    if (image.size() < kHeaderBytes) return false;
    std::copy_n(image.begin(), kHeaderBytesBeforeCount, header_.begin());
    const std::size_t count = readWord(image, kOffsetResourceCount);
    if (image.size() < kHeaderBytes + kResourceEntryBytes * count) return false;

    struct Entry {
        std::uint32_t type;
        std::uint16_t id;
        std::uint32_t offset;
    };
    std::vector<Entry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderBytes + kResourceEntryBytes * i;
        entries.push_back({readLong(image, at), readWord(image, at + 4), readLong(image, at + 6)});
    }
    // A resource's size is the distance to the next one's offset; the last one runs to the end.
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = entries[i].offset;
        const std::size_t end = i + 1 < count ? entries[i + 1].offset : image.size();
        if (begin > end || end > image.size()) return false;
        PalmResource resource;
        resource.type = entries[i].type;
        resource.id = entries[i].id;
        resource.bytes.assign(image.begin() + static_cast<std::ptrdiff_t>(begin),
                              image.begin() + static_cast<std::ptrdiff_t>(end));
        resources_.push_back(std::move(resource));
    }
    return true;
}

void PalmResourceDatabase::setName(std::string_view name) {
    std::fill_n(header_.begin(), kNameFieldBytes, 0);
    const std::size_t length = std::min(name.size(), kMaxNameCharacters);
    std::copy_n(name.begin(), length, header_.begin());
}

std::string PalmResourceDatabase::name() const {
    const auto end = std::find(header_.begin(), header_.begin() + kNameFieldBytes, 0);
    return std::string(header_.begin(), end);
}

std::uint16_t PalmResourceDatabase::attributes() const { return readWord(header_, kOffsetAttributes); }
std::uint32_t PalmResourceDatabase::type() const { return readLong(header_, kOffsetType); }
std::uint32_t PalmResourceDatabase::creator() const { return readLong(header_, kOffsetCreator); }

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
    resource.bytes.assign(text.begin(), text.end());
    resource.bytes.push_back(0);
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
    appendWord(resource.bytes, static_cast<std::uint16_t>(values.size()));
    for (std::uint16_t value : values) appendWord(resource.bytes, value);
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
    std::vector<std::uint8_t> bytes(name.begin(), name.end());
    bytes.push_back(0);
    return replace(kTypeAppName, kLauncherNameId, std::move(bytes));
}

std::vector<std::uint8_t> PalmResourceDatabase::serialize() const {
    std::size_t total = firstDataOffset(resources_.size());
    for (const PalmResource& resource : resources_) total += resource.bytes.size();
    std::vector<std::uint8_t> out;
    out.reserve(total);
    out.insert(out.end(), header_.begin(), header_.end());
    appendWord(out, static_cast<std::uint16_t>(resources_.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(firstDataOffset(resources_.size()));
    for (const PalmResource& resource : resources_) {
        appendLong(out, resource.type);
        appendWord(out, resource.id);
        appendLong(out, offset);
        offset += static_cast<std::uint32_t>(resource.bytes.size());
    }
    out.insert(out.end(), kListGapBytes, 0);
    for (const PalmResource& resource : resources_) out.insert(out.end(), resource.bytes.begin(), resource.bytes.end());
    return out;
}

bool PalmResourceDatabase::write(const std::string& path, std::string& errorText) const {
    const std::vector<std::uint8_t> bytes = serialize();
    return writeFileAtomically(path, bytes, errorText);
}

}  // namespace skedlin::palm
