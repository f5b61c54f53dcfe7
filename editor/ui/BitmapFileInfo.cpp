#include "editor/ui/BitmapFileInfo.h"

#include <QFile>

#include <cstdint>

namespace skedlin {

namespace {

// Layout of the two headers at the start of every .bmp file (little-endian).
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr int kWidthOffset = kFileHeaderSize + 4;
constexpr int kHeightOffset = kFileHeaderSize + 8;
constexpr int kBitCountOffset = kFileHeaderSize + 14;
constexpr int kCompressionOffset = kFileHeaderSize + 16;
constexpr int kColoursUsedOffset = kFileHeaderSize + 32;
constexpr int kPaletteEntrySize = 4;
constexpr uint32_t kUncompressed = 0;  // BI_RGB; RLE8, RLE4 and bit fields are refused

uint32_t readLe32(const QByteArray& bytes, int offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + offset;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t readLe16(const QByteArray& bytes, int offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + offset;
    return uint16_t(p[0] | (p[1] << 8));
}

// Entries of the colour table when the colours-used field is 0.
int defaultPaletteCount(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}  // namespace

bool readBitmapInfo(const QByteArray& bytes, BitmapFileInfo& info) {
    if (bytes.size() < kHeadersSize || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const auto width = int32_t(readLe32(bytes, kWidthOffset));
    const auto height = int32_t(readLe32(bytes, kHeightOffset));
    const int bitsPerPixel = readLe16(bytes, kBitCountOffset);
    const uint32_t compression = readLe32(bytes, kCompressionOffset);
    const uint32_t coloursUsed = readLe32(bytes, kColoursUsedOffset);

    if (width <= 0 || height <= 0 || compression != kUncompressed)
        return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24)
        return false;

    // 64-bit arithmetic: a hostile header must not wrap the size computation.
    const int64_t paletteCount = coloursUsed != 0 ? int64_t(coloursUsed) : defaultPaletteCount(bitsPerPixel);
    const int64_t rowSize = ((int64_t(bitsPerPixel) * width + 7) / 8 + 3) / 4 * 4;
    const int64_t needed = kHeadersSize + paletteCount * kPaletteEntrySize + rowSize * height;
    if (needed > bytes.size())
        return false;

    info.width = width;
    info.height = height;
    info.bitsPerPixel = bitsPerPixel;
    return true;
}

bool readBitmapFileInfo(const QString& path, BitmapFileInfo& info) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    return readBitmapInfo(bytes, info);
}

}  // namespace skedlin
