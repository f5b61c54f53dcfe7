#include "builder/palm/ResourceWriter.h"

#include <algorithm>

namespace skedlin::palm {

ResourceWriter::ResourceWriter(std::uint32_t type, std::uint16_t id, std::size_t capacity)
    : type_(type), id_(id), buffer_(capacity) {}

bool ResourceWriter::fits(std::size_t count) {
    if (count > buffer_.size() - length_) {
        overflowed_ = true;
        return false;
    }
    return true;
}

void ResourceWriter::putByte(std::uint8_t value) {
    if (!fits(1)) return;
    buffer_[length_++] = value;
}

void ResourceWriter::putWord(std::uint16_t value) {
    if (!fits(2)) return;
    buffer_[length_++] = static_cast<std::uint8_t>(value >> 8);
    buffer_[length_++] = static_cast<std::uint8_t>(value);
}

void ResourceWriter::putLong(std::uint32_t value) {
    if (!fits(4)) return;
    buffer_[length_++] = static_cast<std::uint8_t>(value >> 24);
    buffer_[length_++] = static_cast<std::uint8_t>(value >> 16);
    buffer_[length_++] = static_cast<std::uint8_t>(value >> 8);
    buffer_[length_++] = static_cast<std::uint8_t>(value);
}

void ResourceWriter::putText(std::string_view text) {
    if (!fits(text.size() + 1)) return;
    std::copy(text.begin(), text.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(length_));
    length_ += text.size();
    buffer_[length_++] = 0;
}

void ResourceWriter::putBytes(std::span<const std::uint8_t> bytes) {
    if (!fits(bytes.size())) return;
    std::copy(bytes.begin(), bytes.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(length_));
    length_ += bytes.size();
}

void ResourceWriter::patchWord(std::size_t position, std::uint16_t value) {
    if (position > length_ || length_ - position < 2) return;
    buffer_[position] = static_cast<std::uint8_t>(value >> 8);
    buffer_[position + 1] = static_cast<std::uint8_t>(value);
}

void ResourceWriter::patchLong(std::size_t position, std::uint32_t value) {
    if (position > length_ || length_ - position < 4) return;
    buffer_[position] = static_cast<std::uint8_t>(value >> 24);
    buffer_[position + 1] = static_cast<std::uint8_t>(value >> 16);
    buffer_[position + 2] = static_cast<std::uint8_t>(value >> 8);
    buffer_[position + 3] = static_cast<std::uint8_t>(value);
}

PalmResource ResourceWriter::finish() const {
    PalmResource resource;
    resource.type = type_;
    resource.id = id_;
    resource.bytes.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length_));
    return resource;
}

}  // namespace skedlin::palm
