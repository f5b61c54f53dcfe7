#pragma once
// Appends little-endian numbers and zero-terminated texts to a byte vector,
// and patches numbers at known positions (header fields written last).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace skedlin::cabwiz {

class LittleEndianWriter {
public:
    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void u16(std::uint16_t value) { put(value, 2); }
    void u32(std::uint32_t value) { put(value, 4); }
    void raw(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void raw(const std::vector<std::uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    // The text and its zero byte.
    void text(std::string_view value) {
        raw(value);
        bytes_.push_back(0);
    }

    // Overwrites bytes already written; the position must lie inside them.
    void patch16(std::size_t position, std::uint16_t value) { patch(position, value, 2); }
    void patch32(std::size_t position, std::uint32_t value) { patch(position, value, 4); }

private:
    void put(std::uint32_t value, int width) {
        for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void patch(std::size_t position, std::uint32_t value, int width) {
        for (int i = 0; i < width; ++i) bytes_.at(position + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace skedlin::cabwiz
