#include "builder/palm/BmpImage.h"

#include "builder/palm/BmpFormat.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

namespace skedlin {

namespace {

std::uint16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t readLe32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void writeLe16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint16_t value)
{
    out[offset] = static_cast<std::uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void writeLe32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

BmpLoadResult fail(BmpError error, std::string detail)
{
    return BmpLoadResult{error, std::move(detail)};
}

bool isKnownInfoHeaderSize(std::uint32_t size)
{
    for (std::uint32_t known : bmp::kInfoHeaderSizes)
        if (size == known)
            return true;
    return false;
}

bool isLoadableBitCount(unsigned bitCount)
{
    return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24;
}

// A 5-6-5 pixel in the 5-5-5 form the rest of the builder works with; the
// lowest green bit has no place there.
std::uint16_t rgb565To555(std::uint16_t pixel)
{
    const unsigned red = (pixel >> 11) & 0x1F;
    const unsigned green = (pixel >> 6) & 0x1F;
    const unsigned blue = pixel & 0x1F;
    return static_cast<std::uint16_t>((red << 10) | (green << 5) | blue);
}

unsigned hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return 16;
}

}  // namespace

int bmpExitCode(BmpError error)
{
    switch (error) {
    case BmpError::None:
        return 0;
    case BmpError::Unreadable:
    case BmpError::Malformed:
        return 4;
    case BmpError::TooWide:
    case BmpError::TooTall:
        return 5;
    case BmpError::UnsupportedColours:
        return 6;
    case BmpError::NotBitmap:
        return 7;
    }
    return 4;
}

std::vector<std::uint8_t> decodeInlineHex(std::string_view text)
{
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

BmpLoadResult BmpImage::loadFile(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return fail(BmpError::Unreadable, "the file does not exist");
    if (!std::filesystem::is_regular_file(status))
        return fail(BmpError::Unreadable, "not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return fail(BmpError::Unreadable, "the file size cannot be read");
    if (size > kMaxFileBytes)
        return fail(BmpError::Unreadable, "the file is larger than any usable bitmap");

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return fail(BmpError::Unreadable, "the file cannot be opened");
    // Read at most one byte more than the limit, in case the file grew since it was measured.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()))
        return fail(BmpError::Unreadable, "the file cannot be read");
    if (got > kMaxFileBytes)
        return fail(BmpError::Unreadable, "the file is larger than any usable bitmap");
    bytes.resize(got);
    return loadBytes(bytes);
}

BmpLoadResult BmpImage::loadInlineHex(std::string_view text)
{
    const std::vector<std::uint8_t> bytes = decodeInlineHex(text);
    return loadBytes(bytes);
}

BmpLoadResult BmpImage::loadBytes(std::span<const std::uint8_t> bytes)
{
    BmpImage loaded;
    loaded.transparent_ = transparent_;
    BmpLoadResult result = loaded.parse(bytes);
    if (result)
        *this = std::move(loaded);
    return result;
}

BmpLoadResult BmpImage::parse(std::span<const std::uint8_t> bytes)
{
    using namespace bmp;
    const std::uint64_t size = bytes.size();
    // Data too short for the file and information headers cannot be parsed at
    // all, whatever it begins with.
    if (size < kFileHeaderSize + kInfoHeaderSize)
        return fail(BmpError::Malformed, "the data is too short to hold the bitmap headers");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return fail(BmpError::NotBitmap, "the data does not begin with \"BM\"");

    const std::uint32_t dataOffset = readLe32(bytes, kDataOffsetField);
    const std::uint32_t headerSize = readLe32(bytes, kFileHeaderSize);
    if (!isKnownInfoHeaderSize(headerSize))
        return fail(BmpError::NotBitmap, "unknown information header size " + std::to_string(headerSize));
    const std::uint64_t headerEnd = kFileHeaderSize + std::uint64_t{headerSize};
    if (size < headerEnd)
        return fail(BmpError::Malformed, "the information header is truncated");

    const auto width = static_cast<std::int32_t>(readLe32(bytes, kWidthField));
    const auto height = static_cast<std::int32_t>(readLe32(bytes, kHeightField));
    const unsigned bitCount = readLe16(bytes, kBitCountField);
    const std::uint32_t compression = readLe32(bytes, kCompressionField);
    const std::uint32_t coloursUsed = readLe32(bytes, kColoursUsedField);

    if (width <= 0)
        return fail(BmpError::Malformed, "the width is not positive");
    if (height == 0 || height == std::numeric_limits<std::int32_t>::min())
        return fail(BmpError::Malformed, "the height is zero or out of range");
    const bool topDown = height < 0;
    const std::int64_t rowCount = topDown ? -std::int64_t{height} : std::int64_t{height};

    if (bitCount == 32)
        return fail(BmpError::Malformed, "32-bit bitmaps are not supported");
    if (!isLoadableBitCount(bitCount))
        return fail(BmpError::Malformed, "invalid bit count " + std::to_string(bitCount));

    // Where the palette starts: after the information header, and after the
    // three colour masks that follow a 40-byte header when bit fields are used.
    std::uint64_t paletteOffset = headerEnd;
    bool convert565 = false;
    const bool os2Header = headerSize == kOs2InfoHeaderSize;
    if (compression == kCompressionBitFields && !os2Header && bitCount == 16) {
        const std::uint64_t masksOffset = kFileHeaderSize + kInfoHeaderSize;
        if (size < masksOffset + 12)
            return fail(BmpError::Malformed, "the colour masks are truncated");
        if (headerSize == kInfoHeaderSize)
            paletteOffset += 12;
        const std::uint32_t red = readLe32(bytes, masksOffset);
        const std::uint32_t green = readLe32(bytes, masksOffset + 4);
        const std::uint32_t blue = readLe32(bytes, masksOffset + 8);
        // Headers of 56 bytes and more carry an alpha mask too; the handhelds have no alpha.
        if (headerSize >= kAlphaMaskHeaderSize && readLe32(bytes, masksOffset + 12) != 0)
            return fail(BmpError::Malformed, "16-bit bitmaps with an alpha channel are not supported");
        if (red == kMask555Red && green == kMask555Green && blue == kMask555Blue)
            convert565 = false;
        else if (red == kMask565Red && green == kMask565Green && blue == kMask565Blue)
            convert565 = true;
        else
            return fail(BmpError::Malformed, "16-bit colour masks other than 5-5-5 and 5-6-5 are not supported");
    } else if (compression != kCompressionNone) {
        return fail(BmpError::Malformed, "compressed bitmaps (RLE, JPEG, PNG, bit fields) are not supported");
    }

    std::uint64_t paletteCount = coloursUsed;
    if (paletteCount == 0 && bitCount <= 8)
        paletteCount = std::uint64_t{1} << bitCount;
    if (paletteOffset > size || paletteCount > (size - paletteOffset) / 4)
        return fail(BmpError::Malformed, "the palette runs past the end of the data");

    const std::uint64_t rowSize = (std::uint64_t{bitCount} * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    if (dataOffset < headerEnd || dataOffset > size)
        return fail(BmpError::Malformed, "the data offset points outside the pixel data");
    // The row size is below 2^33 and the row count at most 2^31: the product fits in 64 bits.
    const std::uint64_t pixelBytes = rowSize * static_cast<std::uint64_t>(rowCount);
    if (pixelBytes > size - dataOffset)
        return fail(BmpError::Malformed, "the data ends before the last row");

    width_ = width;
    height_ = static_cast<int>(rowCount);
    bitCount_ = static_cast<int>(bitCount);
    rowSize_ = static_cast<std::size_t>(rowSize);

    palette_.resize(static_cast<std::size_t>(paletteCount));
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(paletteOffset) + 4 * i;
        palette_[i] = BmpPaletteEntry{bytes[at], bytes[at + 1], bytes[at + 2]};
    }

    rows_.resize(static_cast<std::size_t>(pixelBytes));
    for (std::int64_t r = 0; r < rowCount; ++r) {
        // Rows are kept bottom row first; a top-down file stores the top row first.
        const std::int64_t sourceRow = topDown ? rowCount - 1 - r : r;
        const auto source = bytes.subspan(static_cast<std::size_t>(dataOffset + sourceRow * rowSize), rowSize_);
        std::copy(source.begin(), source.end(), rows_.begin() + static_cast<std::ptrdiff_t>(r * rowSize));
    }
    if (convert565) {
        for (int r = 0; r < height_; ++r) {
            std::uint8_t* row = rows_.data() + static_cast<std::size_t>(r) * rowSize_;
            for (int x = 0; x < width_; ++x) {
                const auto pixel = static_cast<std::uint16_t>(row[2 * x] | (row[2 * x + 1] << 8));
                const std::uint16_t converted = rgb565To555(pixel);
                row[2 * x] = static_cast<std::uint8_t>(converted & 0xFF);
                row[2 * x + 1] = static_cast<std::uint8_t>(converted >> 8);
            }
        }
    }
    computeGreyFlag();
    return {};
}

void BmpImage::computeGreyFlag()
{
    // Any 4-bit palette of up to 16 entries counts, not only a full one: a
    // grey icon saved with a short palette is just as grey.
    grey_ = false;
    if (bitCount_ != 4 || palette_.empty() || palette_.size() > 16)
        return;
    bool used[16] = {};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            used[paletteIndexAt(x, y)] = true;
    for (std::size_t i = 0; i < 16; ++i) {
        if (!used[i])
            continue;
        if (i >= palette_.size())
            return;  // a pixel of a colour the palette does not define
        const BmpPaletteEntry& entry = palette_[i];
        if (entry.red != entry.green || entry.green != entry.blue)
            return;
    }
    grey_ = true;
}

BmpError BmpImage::checkSize(int maxWidth, int maxHeight) const
{
    if (width_ > maxWidth)
        return BmpError::TooWide;
    if (height_ > maxHeight)
        return BmpError::TooTall;
    return BmpError::None;
}

bool BmpImage::hasAcceptedBitCount() const
{
    switch (bitCount_) {
    case 1:
    case 8:
    case 16:
    case 24:
        return true;
    case 4:
        return grey_;
    default:
        return false;
    }
}

std::span<const std::uint8_t> BmpImage::storedRow(int index) const
{
    if (index < 0 || index >= height_)
        return {};
    return std::span<const std::uint8_t>(rows_).subspan(static_cast<std::size_t>(index) * rowSize_, rowSize_);
}

unsigned BmpImage::paletteIndexAt(int x, int yFromTop) const
{
    if (bitCount_ > 8 || x < 0 || x >= width_ || yFromTop < 0 || yFromTop >= height_)
        return 0;
    const auto row = storedRow(height_ - 1 - yFromTop);
    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount_);
    const unsigned byte = row[bit / 8];
    const unsigned shift = 8 - static_cast<unsigned>(bitCount_) - static_cast<unsigned>(bit % 8);
    return (byte >> shift) & ((1u << bitCount_) - 1);
}

RgbColour BmpImage::colourAt(int x, int yFromTop) const
{
    if (x < 0 || x >= width_ || yFromTop < 0 || yFromTop >= height_)
        return {};
    if (bitCount_ <= 8) {
        const unsigned index = paletteIndexAt(x, yFromTop);
        if (index >= palette_.size())
            return {};
        const BmpPaletteEntry& entry = palette_[index];
        return RgbColour{entry.red, entry.green, entry.blue};
    }
    const auto row = storedRow(height_ - 1 - yFromTop);
    if (bitCount_ == 16) {
        const unsigned pixel = row[2 * x] | (row[2 * x + 1] << 8);
        // Five bits per channel, widened to eight by repeating the top bits.
        const auto widen = [](unsigned five) { return static_cast<std::uint8_t>((five << 3) | (five >> 2)); };
        return RgbColour{widen((pixel >> 10) & 0x1F), widen((pixel >> 5) & 0x1F), widen(pixel & 0x1F)};
    }
    const std::size_t at = 3 * static_cast<std::size_t>(x);
    return RgbColour{row[at + 2], row[at + 1], row[at]};
}

std::vector<std::uint8_t> BmpImage::infoHeader() const
{
    using namespace bmp;
    std::vector<std::uint8_t> header(kInfoHeaderSize, 0);
    writeLe32(header, 0, kInfoHeaderSize);
    writeLe32(header, 4, static_cast<std::uint32_t>(width_));
    writeLe32(header, 8, static_cast<std::uint32_t>(height_));
    writeLe16(header, 12, 1);  // planes
    writeLe16(header, 14, static_cast<std::uint16_t>(bitCount_));
    writeLe32(header, 16, kCompressionNone);
    writeLe32(header, 20, static_cast<std::uint32_t>(rows_.size()));
    writeLe32(header, 32, static_cast<std::uint32_t>(palette_.size()));
    return header;
}

std::vector<std::uint8_t> BmpImage::fileBytes() const
{
    using namespace bmp;
    const std::vector<std::uint8_t> info = infoHeader();
    const std::size_t dataOffset = kFileHeaderSize + info.size() + 4 * palette_.size();
    std::vector<std::uint8_t> file(kFileHeaderSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    writeLe32(file, 2, static_cast<std::uint32_t>(dataOffset + rows_.size()));
    writeLe32(file, kDataOffsetField, static_cast<std::uint32_t>(dataOffset));
    file.insert(file.end(), info.begin(), info.end());
    for (const BmpPaletteEntry& entry : palette_)
        file.insert(file.end(), {entry.blue, entry.green, entry.red, std::uint8_t{0}});
    file.insert(file.end(), rows_.begin(), rows_.end());
    return file;
}

}  // namespace skedlin
