#pragma once
// The one byte reader and the one byte writer of every binary format. The byte
// order is part of each call (read16le, put32be), never the host's. The reader
// is bounds-checked: a read that does not lie inside its bytes gives 0 and
// marks the reader failed, so a parser can read a group of fields and check
// once. The writer appends to a byte vector and patches fields written
// earlier (sizes and offsets known only at the end).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace skedlin::bytes {

using Bytes = std::vector<std::uint8_t>;

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    // True when count bytes from offset lie inside the bytes (no overflow for any arguments).
    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    bool failed() const { return failed_; }

    std::uint8_t read8(std::uint64_t offset) { return has(offset, 1) ? bytes_[offset] : fail(); }
    std::uint16_t read16le(std::uint64_t offset) { return static_cast<std::uint16_t>(readLe(offset, 2)); }
    std::uint16_t read16be(std::uint64_t offset) { return static_cast<std::uint16_t>(readBe(offset, 2)); }
    std::uint32_t read32le(std::uint64_t offset) { return readLe(offset, 4); }
    std::uint32_t read32be(std::uint64_t offset) { return readBe(offset, 4); }
    // count bytes from offset; empty (and failed) when they do not lie inside.
    std::span<const std::uint8_t> slice(std::uint64_t offset, std::uint64_t count) {
        if (!has(offset, count)) {
            failed_ = true;
            return {};
        }
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

private:
    std::uint8_t fail() {
        failed_ = true;
        return 0;
    }
    std::uint32_t readLe(std::uint64_t offset, unsigned width) {
        if (!has(offset, width)) return fail();
        std::uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i) value |= std::uint32_t{bytes_[offset + i]} << (8 * i);
        return value;
    }
    std::uint32_t readBe(std::uint64_t offset, unsigned width) {
        if (!has(offset, width)) return fail();
        std::uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i) value = (value << 8) | bytes_[offset + i];
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    bool failed_ = false;
};

class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : out_(out) {}

    std::size_t size() const { return out_.size(); }

    void put8(std::uint8_t value) { out_.push_back(value); }
    void put16le(std::uint16_t value) { putLe(value, 2); }
    void put16be(std::uint16_t value) { putBe(value, 2); }
    void put32le(std::uint32_t value) { putLe(value, 4); }
    void put32be(std::uint32_t value) { putBe(value, 4); }
    void putBytes(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void putChars(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }
    // The text's bytes and a terminating zero byte.
    void putText(std::string_view text) {
        putChars(text);
        out_.push_back(0);
    }
    void putZeros(std::size_t count) { out_.insert(out_.end(), count, 0); }

    // Overwrite a field written earlier. False, and nothing written, when the
    // field does not lie wholly inside the bytes written so far.
    bool patch8(std::size_t position, std::uint8_t value) { return patchLe(position, value, 1); }
    bool patch16le(std::size_t position, std::uint16_t value) { return patchLe(position, value, 2); }
    bool patch16be(std::size_t position, std::uint16_t value) { return patchBe(position, value, 2); }
    bool patch32le(std::size_t position, std::uint32_t value) { return patchLe(position, value, 4); }
    bool patch32be(std::size_t position, std::uint32_t value) { return patchBe(position, value, 4); }

private:
    bool fits(std::size_t position, unsigned width) const {
        return position <= out_.size() && width <= out_.size() - position;
    }
    void putLe(std::uint32_t value, unsigned width) {
        for (unsigned i = 0; i < width; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void putBe(std::uint32_t value, unsigned width) {
        for (unsigned i = width; i-- > 0;) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    bool patchLe(std::size_t position, std::uint32_t value, unsigned width) {
        if (!fits(position, width)) return false;
        for (unsigned i = 0; i < width; ++i) out_[position + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return true;
    }
    bool patchBe(std::size_t position, std::uint32_t value, unsigned width) {
        if (!fits(position, width)) return false;
        for (unsigned i = 0; i < width; ++i)
            out_[position + i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
        return true;
    }

    Bytes& out_;
};

}  // namespace skedlin::bytes
