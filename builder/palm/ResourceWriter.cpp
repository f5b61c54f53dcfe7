#include "builder/palm/ResourceWriter.h"

#include "formats/Bytes.h"

namespace skedlin::palm {

ResourceWriter::ResourceWriter(std::uint32_t type, std::uint16_t id, std::size_t capacity)
    : type_(type), id_(id), capacity_(capacity) {
    buffer_.reserve(capacity);
}

bool ResourceWriter::fits(std::size_t count) {
    if (count > capacity_ - buffer_.size()) {
        overflowed_ = true;
        return false;
    }
    return true;
}

void ResourceWriter::putByte(std::uint8_t value) {
    if (fits(1)) bytes::ByteWriter(buffer_).put8(value);
}

void ResourceWriter::putWord(std::uint16_t value) {
    if (fits(2)) bytes::ByteWriter(buffer_).put16be(value);
}

void ResourceWriter::putLong(std::uint32_t value) {
    if (fits(4)) bytes::ByteWriter(buffer_).put32be(value);
}

void ResourceWriter::putText(std::string_view text) {
    if (fits(text.size() + 1)) bytes::ByteWriter(buffer_).putText(text);
}

void ResourceWriter::putBytes(std::span<const std::uint8_t> bytes) {
    if (fits(bytes.size())) bytes::ByteWriter(buffer_).putBytes(bytes);
}

void ResourceWriter::patchWord(std::size_t position, std::uint16_t value) {
    bytes::ByteWriter(buffer_).patch16be(position, value);
}

void ResourceWriter::patchLong(std::size_t position, std::uint32_t value) {
    bytes::ByteWriter(buffer_).patch32be(position, value);
}

PalmResource ResourceWriter::finish() const {
    PalmResource resource;
    resource.type = type_;
    resource.id = id_;
    resource.bytes = buffer_;
    return resource;
}

}  // namespace skedlin::palm
