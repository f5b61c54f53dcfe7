#include "formats/bmp/BmpImage.h"

#include <array>
#include <limits>

#include "formats/Bytes.h"
#include "formats/RegularFile.h"
#include "formats/bmp/BmpLayout.h"

namespace skedlin {

namespace {

using bytes::ByteReader;
using bytes::ByteWriter;

BmpLoadResult fail(BmpError error, std::string detail) { return BmpLoadResult(error, std::move(detail)); }

bool isKnownInfoHeaderSize(std::uint32_t size) {
    for (std::uint32_t known : bmp::kInfoHeaderSizes)
        if (size == known) return true;
    return false;
}

bool isLoadableBitCount(unsigned bitCount) {
    return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24;
}

// A 5-6-5 pixel in the 5-5-5 form the rest of the builder works with; the
// lowest green bit has no place there.
std::uint16_t rgb565To555(std::uint16_t pixel) {
    const unsigned red = (pixel >> 11) & 0x1F;
    const unsigned green = (pixel >> 6) & 0x1F;
    const unsigned blue = pixel & 0x1F;
    return static_cast<std::uint16_t>((red << 10) | (green << 5) | blue);
}

unsigned hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 16;
}

}  // namespace

std::vector<std::uint8_t> decodeInlineHex(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned high = hexDigitValue(text[i]);
        if (high > 15) {
            ++i;
            continue;
        }
        const unsigned low = i + 1 < text.size() ? hexDigitValue(text[i + 1]) : 16;
        bytes.push_back(static_cast<std::uint8_t>(low > 15 ? high : (high << 4) | low));
        i += 2;
    }
    return bytes;
}

BmpLoadResult BmpImage::loadFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const Result<FileReadError> read = readRegularFile(path, kMaxFileBytes, bytes);
    if (!read) {
        const bool tooLarge = read.code() == FileReadError::TooLarge;
        return fail(BmpError::Unreadable, tooLarge ? "the file is larger than any usable bitmap" : read.message());
    }
    return loadBytes(bytes);
}

BmpLoadResult BmpImage::loadInlineHex(std::string_view text) {
    const std::vector<std::uint8_t> bytes = decodeInlineHex(text);
    return loadBytes(bytes);
}

BmpLoadResult BmpImage::loadBytes(std::span<const std::uint8_t> bytes) {
    BmpImage loaded;
    loaded.transparent_ = transparent_;
    BmpLoadResult result = loaded.parse(bytes);
    if (result) {
        loaded.source_.assign(bytes.begin(), bytes.end());
        *this = std::move(loaded);
    }
    return result;
}

// The fields of the headers that decoding needs, read before anything is decoded.
struct BmpImage::Header {
    std::uint32_t dataOffset = 0;
    std::uint32_t headerSize = 0;
    std::uint64_t headerEnd = 0;
    std::int32_t width = 0;
    std::int64_t rowCount = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::uint64_t paletteOffset = 0;
    bool convert565 = false;
};

BmpLoadResult BmpImage::parse(std::span<const std::uint8_t> bytes) {
    Header header;
    if (BmpLoadResult result = readHeader(bytes, header); !result) return result;
    if (BmpLoadResult result = readMasks(bytes, header); !result) return result;
    if (BmpLoadResult result = readPalette(bytes, header); !result) return result;
    if (BmpLoadResult result = readRows(bytes, header); !result) return result;
    if (header.convert565) convert565To555();
    computeGreyFlag();
    return {};
}

// The file header and the information header: signature, sizes, dimensions,
// bit count and compression.
BmpLoadResult BmpImage::readHeader(std::span<const std::uint8_t> bytes, Header& header) {
    using namespace bmp;
    ByteReader in(bytes);
    // Data too short for the file and information headers cannot be parsed at
    // all, whatever it begins with.
    if (!in.has(0, kFileHeaderSize + kInfoHeaderSize))
        return fail(BmpError::Malformed, "the data is too short to hold the bitmap headers");
    if (bytes[0] != 'B' || bytes[1] != 'M') return fail(BmpError::NotBitmap, "the data does not begin with \"BM\"");

    header.dataOffset = in.read32le(kDataOffsetField);
    header.headerSize = in.read32le(kFileHeaderSize + kInfoSizeField);
    if (!isKnownInfoHeaderSize(header.headerSize))
        return fail(BmpError::NotBitmap, "unknown information header size " + std::to_string(header.headerSize));
    header.headerEnd = kFileHeaderSize + std::uint64_t{header.headerSize};
    if (!in.has(0, header.headerEnd)) return fail(BmpError::Malformed, "the information header is truncated");

    header.width = static_cast<std::int32_t>(in.read32le(kWidthField));
    const auto height = static_cast<std::int32_t>(in.read32le(kHeightField));
    header.bitCount = in.read16le(kBitCountField);
    header.compression = in.read32le(kCompressionField);
    header.coloursUsed = in.read32le(kColoursUsedField);

    if (header.width <= 0) return fail(BmpError::Malformed, "the width is not positive");
    if (height == 0 || height == std::numeric_limits<std::int32_t>::min())
        return fail(BmpError::Malformed, "the height is zero or out of range");
    header.topDown = height < 0;
    header.rowCount = header.topDown ? -std::int64_t{height} : std::int64_t{height};

    if (header.bitCount == 32) return fail(BmpError::Malformed, "32-bit bitmaps are not supported");
    if (!isLoadableBitCount(header.bitCount))
        return fail(BmpError::Malformed, "invalid bit count " + std::to_string(header.bitCount));
    return {};
}

// The colour masks of a 16-bit bit-fields image, and with them where the
// palette starts: after the information header, and after the three masks
// that follow a 40-byte header when bit fields are used.
BmpLoadResult BmpImage::readMasks(std::span<const std::uint8_t> bytes, Header& header) {
    using namespace bmp;
    ByteReader in(bytes);
    header.paletteOffset = header.headerEnd;
    const bool os2Header = header.headerSize == kOs2InfoHeaderSize;
    if (header.compression == kCompressionBitFields && !os2Header && header.bitCount == 16) {
        if (!in.has(kMasksOffset, kThreeMasksSize)) return fail(BmpError::Malformed, "the colour masks are truncated");
        if (header.headerSize == kInfoHeaderSize) header.paletteOffset += kThreeMasksSize;
        const std::uint32_t red = in.read32le(kMasksOffset);
        const std::uint32_t green = in.read32le(kMasksOffset + 4);
        const std::uint32_t blue = in.read32le(kMasksOffset + 8);
        // Headers of 56 bytes and more carry an alpha mask too; the handhelds have no alpha.
        if (header.headerSize >= kAlphaMaskHeaderSize && in.read32le(kMasksOffset + kThreeMasksSize) != 0)
            return fail(BmpError::Malformed, "16-bit bitmaps with an alpha channel are not supported");
        if (red == kMask555Red && green == kMask555Green && blue == kMask555Blue)
            header.convert565 = false;
        else if (red == kMask565Red && green == kMask565Green && blue == kMask565Blue)
            header.convert565 = true;
        else
            return fail(BmpError::Malformed, "16-bit colour masks other than 5-5-5 and 5-6-5 are not supported");
    } else if (header.compression != kCompressionNone) {
        return fail(BmpError::Malformed, "compressed bitmaps (RLE, JPEG, PNG, bit fields) are not supported");
    }
    return {};
}

BmpLoadResult BmpImage::readPalette(std::span<const std::uint8_t> bytes, const Header& header) {
    using namespace bmp;
    std::uint64_t paletteCount = header.coloursUsed;
    if (paletteCount == 0 && header.bitCount <= 8) paletteCount = std::uint64_t{1} << header.bitCount;
    const std::uint64_t size = bytes.size();
    if (header.paletteOffset > size || paletteCount > (size - header.paletteOffset) / kPaletteEntrySize)
        return fail(BmpError::Malformed, "the palette runs past the end of the data");
    palette_.resize(static_cast<std::size_t>(paletteCount));
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(header.paletteOffset) + kPaletteEntrySize * i;
        palette_[i] = BmpPaletteEntry{bytes[at], bytes[at + 1], bytes[at + 2]};
    }
    return {};
}

// The pixel rows, kept bottom row first whatever the file's own order.
BmpLoadResult BmpImage::readRows(std::span<const std::uint8_t> bytes, const Header& header) {
    const std::uint64_t size = bytes.size();
    const std::uint64_t rowSize =
        (std::uint64_t{header.bitCount} * static_cast<std::uint64_t>(header.width) + 31) / 32 * 4;
    if (header.dataOffset < header.headerEnd || header.dataOffset > size)
        return fail(BmpError::Malformed, "the data offset points outside the pixel data");
    // The row size is below 2^33 and the row count at most 2^31: the product fits in 64 bits.
    const std::uint64_t pixelBytes = rowSize * static_cast<std::uint64_t>(header.rowCount);
    if (pixelBytes > size - header.dataOffset) return fail(BmpError::Malformed, "the data ends before the last row");

    width_ = header.width;
    height_ = static_cast<int>(header.rowCount);
    bitCount_ = static_cast<int>(header.bitCount);
    rowSize_ = static_cast<std::size_t>(rowSize);

    rows_.resize(static_cast<std::size_t>(pixelBytes));
    for (std::int64_t r = 0; r < header.rowCount; ++r) {
        // A top-down file stores the top row first.
        const std::int64_t sourceRow = header.topDown ? header.rowCount - 1 - r : r;
        const auto source = bytes.subspan(static_cast<std::size_t>(header.dataOffset + sourceRow * rowSize), rowSize_);
        std::copy(source.begin(), source.end(), rows_.begin() + static_cast<std::ptrdiff_t>(r * rowSize));
    }
    return {};
}

void BmpImage::convert565To555() {
    for (int r = 0; r < height_; ++r) {
        const std::size_t rowStart = static_cast<std::size_t>(r) * rowSize_;
        ByteReader in(std::span<const std::uint8_t>(rows_).subspan(rowStart, rowSize_));
        std::vector<std::uint16_t> converted(static_cast<std::size_t>(width_));
        for (int x = 0; x < width_; ++x)
            converted[static_cast<std::size_t>(x)] = rgb565To555(in.read16le(2 * static_cast<std::size_t>(x)));
        ByteWriter out(rows_);
        for (int x = 0; x < width_; ++x)
            out.patch16le(rowStart + 2 * static_cast<std::size_t>(x), converted[static_cast<std::size_t>(x)]);
    }
}

void BmpImage::computeGreyFlag() {
    // Any 4-bit palette of up to 16 entries counts, not only a full one: a
    // grey icon saved with a short palette is just as grey.
    grey_ = false;
    if (bitCount_ != 4 || palette_.empty() || palette_.size() > 16) return;
    bool used[16] = {};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) used[paletteIndexAt(x, y)] = true;
    for (std::size_t i = 0; i < 16; ++i) {
        if (!used[i]) continue;
        if (i >= palette_.size()) return;  // a pixel of a colour the palette does not define
        const BmpPaletteEntry& entry = palette_[i];
        if (entry.red != entry.green || entry.green != entry.blue) return;
    }
    grey_ = true;
}

BmpError BmpImage::checkSize(int maxWidth, int maxHeight) const {
    if (width_ > maxWidth) return BmpError::TooWide;
    if (height_ > maxHeight) return BmpError::TooTall;
    return BmpError::None;
}

BmpError BmpImage::checkUsable(int maxWidth, int maxHeight) const {
    if (const BmpError size = checkSize(maxWidth, maxHeight); size != BmpError::None) return size;
    return hasAcceptedBitCount() ? BmpError::None : BmpError::UnsupportedColours;
}

bool BmpImage::hasAcceptedBitCount() const {
    switch (bitCount_) {
    case 1:
    case 8:
    case 16:
    case 24: return true;
    case 4: return grey_;
    default: return false;
    }
}

std::span<const std::uint8_t> BmpImage::storedRow(int index) const {
    if (index < 0 || index >= height_) return {};
    return std::span<const std::uint8_t>(rows_).subspan(static_cast<std::size_t>(index) * rowSize_, rowSize_);
}

unsigned BmpImage::paletteIndexAt(int x, int yFromTop) const {
    if (bitCount_ > 8 || x < 0 || x >= width_ || yFromTop < 0 || yFromTop >= height_) return 0;
    const auto row = storedRow(height_ - 1 - yFromTop);
    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount_);
    const unsigned byte = row[bit / 8];
    const unsigned shift = 8 - static_cast<unsigned>(bitCount_) - static_cast<unsigned>(bit % 8);
    return (byte >> shift) & ((1u << bitCount_) - 1);
}

RgbColour BmpImage::colourAt(int x, int yFromTop) const {
    if (x < 0 || x >= width_ || yFromTop < 0 || yFromTop >= height_) return {};
    if (bitCount_ <= 8) {
        const unsigned index = paletteIndexAt(x, yFromTop);
        if (index >= palette_.size()) return {};
        const BmpPaletteEntry& entry = palette_[index];
        return RgbColour{entry.red, entry.green, entry.blue};
    }
    const auto row = storedRow(height_ - 1 - yFromTop);
    if (bitCount_ == 16) {
        const unsigned pixel = ByteReader(row).read16le(2 * static_cast<std::size_t>(x));
        // Five bits per channel, widened to eight by repeating the top bits.
        const auto widen = [](unsigned five) { return static_cast<std::uint8_t>((five << 3) | (five >> 2)); };
        return RgbColour{widen((pixel >> 10) & 0x1F), widen((pixel >> 5) & 0x1F), widen(pixel & 0x1F)};
    }
    const std::size_t at = 3 * static_cast<std::size_t>(x);
    return RgbColour{row[at + 2], row[at + 1], row[at]};
}

std::vector<std::uint8_t> BmpImage::infoHeader() const {
    using namespace bmp;
    std::vector<std::uint8_t> header;
    ByteWriter out(header);
    out.put32le(kInfoHeaderSize);
    out.put32le(static_cast<std::uint32_t>(width_));
    out.put32le(static_cast<std::uint32_t>(height_));
    out.put16le(1);  // planes
    out.put16le(static_cast<std::uint16_t>(bitCount_));
    out.put32le(kCompressionNone);
    out.put32le(static_cast<std::uint32_t>(rows_.size()));
    out.put32le(0);  // horizontal resolution
    out.put32le(0);  // vertical resolution
    out.put32le(static_cast<std::uint32_t>(palette_.size()));
    out.put32le(0);  // colours important
    return header;
}

std::vector<std::uint8_t> BmpImage::fileBytes() const {
    using namespace bmp;
    const std::vector<std::uint8_t> info = infoHeader();
    const std::size_t dataOffset = kFileHeaderSize + info.size() + kPaletteEntrySize * palette_.size();
    std::vector<std::uint8_t> file;
    ByteWriter out(file);
    out.putChars("BM");
    out.put32le(static_cast<std::uint32_t>(dataOffset + rows_.size()));
    out.put32le(0);  // reserved
    out.put32le(static_cast<std::uint32_t>(dataOffset));
    out.putBytes(info);
    for (const BmpPaletteEntry& entry : palette_)
        out.putBytes(std::array<std::uint8_t, kPaletteEntrySize>{entry.blue, entry.green, entry.red, 0});
    out.putBytes(rows_);
    return file;
}

}  // namespace skedlin
