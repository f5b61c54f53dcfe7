#pragma once
// Test-side helpers for bitmaps: a small .bmp encoder that makes images of any
// depth, and an independent decoder of Palm bitmap families back to pixels.
// Neither shares code with the builder, so the two sides check each other.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace bitmap_test {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

// A classic bottom-up .bmp with a 40-byte header. `pixel(x, y)` gives, for y
// counted from the top, a palette index (1 to 8 bits) or a raw pixel value
// (16 bits: 5-5-5; 24 bits: 0xRRGGBB).
inline std::vector<std::uint8_t> makeBmp(int width, int height, int bitCount, const std::vector<Rgb>& palette,
                                         const std::function<std::uint32_t(int, int)>& pixel) {
    const std::uint32_t rowSize = (bitCount * width + 31) / 32 * 4;
    const std::uint32_t dataOffset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
    std::vector<std::uint8_t> out{'B', 'M'};
    putLe(out, dataOffset + rowSize * height, 4);
    putLe(out, 0, 4);
    putLe(out, dataOffset, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width), 4);
    putLe(out, static_cast<std::uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(bitCount), 2);
    putLe(out, 0, 4);
    putLe(out, rowSize * height, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, static_cast<std::uint32_t>(palette.size()), 4);
    putLe(out, 0, 4);
    for (const Rgb& c : palette) {
        out.push_back(static_cast<std::uint8_t>(c.blue));
        out.push_back(static_cast<std::uint8_t>(c.green));
        out.push_back(static_cast<std::uint8_t>(c.red));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowSize, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bitCount <= 8) {
                const int bit = x * bitCount;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bitCount - bit % 8));
            } else if (bitCount == 16) {
                row[2 * x] = static_cast<std::uint8_t>(v & 0xFF);
                row[2 * x + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
            } else {
                row[3 * x] = static_cast<std::uint8_t>(v & 0xFF);
                row[3 * x + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
                row[3 * x + 2] = static_cast<std::uint8_t>((v >> 16) & 0xFF);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

inline std::vector<Rgb> greyRamp16() {
    std::vector<Rgb> palette;
    for (int i = 0; i < 16; ++i) palette.push_back({i * 17, i * 17, i * 17});
    return palette;
}

// One bitmap of a decoded family.
struct PalmBitmap {
    std::size_t offset = 0;  // where its header starts in the resource
    int width = 0, height = 0, rowBytes = 0, flags = 0, pixelSize = 0, version = 0;
    std::size_t nextOffsetField = 0;  // as stored: 4-byte units (v2) or bytes (v3)
    int transparentIndex = 0;         // v2
    int compression = 0;
    int density = 72;                    // v3
    std::uint32_t transparentValue = 0;  // v3
    int pixelFormat = 0;                 // v3
    std::vector<Rgb> colourTable;
    bool precededByMarker = false;
    // Decoded pixels, top row first: for 1 and 4 bits the level (1: 1 = black;
    // 4: 15 = black), for 8 bits the index, for 16 bits the RGB565 value.
    std::vector<std::vector<std::uint32_t>> pixels;
};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint32_t be(std::size_t at, int n) const {
        if (at + n > bytes_.size())
            throw std::runtime_error("read past the end of the resource at " + std::to_string(at));
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | bytes_[at + i];
        return v;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

// Walks a family through its next-bitmap offsets, as the handheld does, and
// decodes every bitmap. Throws on any structural inconsistency.
inline std::vector<PalmBitmap> decodeFamily(const std::vector<std::uint8_t>& bytes) {
    Reader r(bytes);
    std::vector<PalmBitmap> family;
    std::size_t at = 0;
    bool afterMarker = false;
    while (true) {
        PalmBitmap b;
        b.offset = at;
        b.width = static_cast<int>(r.be(at, 2));
        b.height = static_cast<int>(r.be(at + 2, 2));
        b.rowBytes = static_cast<int>(r.be(at + 4, 2));
        b.flags = static_cast<int>(r.be(at + 6, 2));
        b.pixelSize = static_cast<int>(r.be(at + 8, 1));
        b.version = static_cast<int>(r.be(at + 9, 1));
        if (b.version == 1 && b.pixelSize == 0xFF) {
            if (b.width || b.height || b.rowBytes || b.flags || r.be(at + 10, 4) || r.be(at + 14, 2))
                throw std::runtime_error("malformed high-density marker");
            if (afterMarker) throw std::runtime_error("second marker");
            afterMarker = true;
            at += 16;
            continue;
        }
        std::size_t p = at;
        if (b.version == 2) {
            b.nextOffsetField = r.be(at + 10, 2);
            b.transparentIndex = static_cast<int>(r.be(at + 12, 1));
            b.compression = static_cast<int>(r.be(at + 13, 1));
            p += 16;
            if (b.pixelSize == 16) {
                if (r.be(p, 1) != 5 || r.be(p + 1, 1) != 6 || r.be(p + 2, 1) != 5 || r.be(p + 3, 1) != 0)
                    throw std::runtime_error("bad direct colour information");
                p += 8;
            }
        } else if (b.version == 3) {
            if (r.be(at + 10, 1) != 24) throw std::runtime_error("bad version 3 header size");
            b.pixelFormat = static_cast<int>(r.be(at + 11, 1));
            b.compression = static_cast<int>(r.be(at + 13, 1));
            b.density = static_cast<int>(r.be(at + 14, 2));
            b.transparentValue = r.be(at + 16, 4);
            b.nextOffsetField = r.be(at + 20, 4);
            p += 24;
        } else {
            throw std::runtime_error("unexpected bitmap version " + std::to_string(b.version) + " at " +
                                     std::to_string(at));
        }
        b.precededByMarker = afterMarker;
        if (b.flags & 0x4000) {
            const std::uint32_t count = r.be(p, 2);
            p += 2;
            for (std::uint32_t i = 0; i < count; ++i, p += 4)
                b.colourTable.push_back({static_cast<int>(r.be(p + 1, 1)), static_cast<int>(r.be(p + 2, 1)),
                                         static_cast<int>(r.be(p + 3, 1))});
        }
        for (int y = 0; y < b.height; ++y) {
            std::vector<std::uint32_t> row;
            const std::size_t rowStart = p + static_cast<std::size_t>(y) * b.rowBytes;
            for (int x = 0; x < b.width; ++x) {
                if (b.pixelSize == 16) {
                    row.push_back(r.be(rowStart + 2 * x, 2));
                } else {
                    const int bit = x * b.pixelSize;
                    const std::uint32_t byte = r.be(rowStart + bit / 8, 1);
                    row.push_back((byte >> (8 - b.pixelSize - bit % 8)) & ((1u << b.pixelSize) - 1));
                }
            }
            b.pixels.push_back(row);
        }
        family.push_back(b);
        if (b.nextOffsetField == 0) break;
        at += b.version == 2 ? 4 * b.nextOffsetField : b.nextOffsetField;
    }
    return family;
}

inline std::string corpus(const std::string& relative) { return std::string(SKEDLIN_CORPUS) + "/bmp/" + relative; }

}  // namespace bitmap_test
