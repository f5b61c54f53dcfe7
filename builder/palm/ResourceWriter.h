#pragma once
// The writer in which Palm resource bodies are assembled (big-endian, through
// the format layer's byte writer). Its buffer has a fixed capacity, allocated
// once; nothing is ever written past it: a put that does not fit is dropped
// and the writer remembers that it overflowed, so that the caller can refuse
// the build.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/prc/PalmResource.h"

namespace skedlin::palm {

class ResourceWriter {
public:
    static constexpr std::size_t kDefaultCapacity = 65536;

    ResourceWriter(std::uint32_t type, std::uint16_t id, std::size_t capacity = kDefaultCapacity);

    void putByte(std::uint8_t value);
    void putWord(std::uint16_t value);    // 16-bit big-endian
    void putLong(std::uint32_t value);    // 32-bit big-endian
    void putText(std::string_view text);  // the bytes and a zero byte
    void putBytes(std::span<const std::uint8_t> bytes);

    // Overwrite an earlier number; nothing happens unless position + size <= length.
    void patchWord(std::size_t position, std::uint16_t value);
    void patchLong(std::size_t position, std::uint32_t value);

    std::size_t length() const { return buffer_.size(); }
    std::size_t capacity() const { return capacity_; }
    bool overflowed() const { return overflowed_; }
    std::span<const std::uint8_t> bytes() const { return buffer_; }

    // A resource of the writer's type and id holding a copy of the first length bytes.
    PalmResource finish() const;

private:
    bool fits(std::size_t count);

    std::uint32_t type_;
    std::uint16_t id_;
    std::size_t capacity_;
    std::vector<std::uint8_t> buffer_;
    bool overflowed_ = false;
};

}  // namespace skedlin::palm
