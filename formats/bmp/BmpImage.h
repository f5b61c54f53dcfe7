#pragma once
// A Windows bitmap (.bmp) in memory, loaded from a file or from inline bytes.
//
// Whatever the file's own layout (40, 52, 56, 64, 108 or 124-byte information
// header, bottom-up or top-down rows, 5-5-5 or 5-6-5 bit fields for 16 bits),
// the loaded image is held in one normal form: a palette of blue/green/red
// entries and `height()` rows of `rowSize()` bytes, bottom row first, 16-bit
// pixels always 5-5-5. `infoHeader()` gives the classic 40-byte information
// header that describes exactly that form, so the palette and rows can be
// written out again as a plain device-independent bitmap.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Result.h"

namespace skedlin {

// Why a bitmap could not be used. Each kind maps to one builder exit code
// (see bmpExitCode).
enum class BmpError {
    None,
    Unreadable,  // the file cannot be opened or read, is not a regular file, or is too large
    Malformed,   // truncated, inconsistent or unsupported variant (RLE, 32 bits, ...)
    NotBitmap,   // the data does not begin with "BM", or its header is of an unknown kind
    TooWide,
    TooTall,
    UnsupportedColours,  // a bit count the handhelds cannot show (2 bits, coloured 4 bits)
};

// The message says what exactly went wrong, in English, for logs and tests;
// the user-facing message is chosen by the caller from the code.
using BmpLoadResult = Result<BmpError>;

struct BmpPaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;

    bool operator==(const BmpPaletteEntry&) const = default;
};

struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const RgbColour&) const = default;
};

class BmpImage {
public:
    // Files larger than this are refused before anything is read.
    static constexpr std::uint64_t kMaxFileBytes = 32u * 1024u * 1024u;

    // Reads and parses a whole file. Directories, devices and files larger
    // than kMaxFileBytes are refused with Unreadable.
    BmpLoadResult loadFile(const std::string& path);
    // Decodes inline hexadecimal text (see decodeInlineHex) and parses it.
    BmpLoadResult loadInlineHex(std::string_view text);
    // Parses the bytes of a complete .bmp file.
    BmpLoadResult loadBytes(std::span<const std::uint8_t> bytes);

    // Size checks, in this order: width, then height. Returns TooWide, TooTall or None.
    BmpError checkSize(int maxWidth, int maxHeight) const;
    // Bit counts the handhelds can show: 1, 4 when grey, 8, 16, 24.
    bool hasAcceptedBitCount() const;
    // Whether a loaded image can be used as a picture of at most maxWidth x
    // maxHeight: checkSize, then the bit count (UnsupportedColours). The
    // builder and the editor judge every logo and icon through this.
    BmpError checkUsable(int maxWidth, int maxHeight) const;

    int width() const { return width_; }
    int height() const { return height_; }
    int bitCount() const { return bitCount_; }
    // Bytes per stored row: (bitCount x width + 7) / 8 rounded up to a multiple of 4.
    std::size_t rowSize() const { return rowSize_; }

    const std::vector<BmpPaletteEntry>& palette() const { return palette_; }
    // Set for a 4-bit image whose palette entries used by its pixels are all
    // grey (equal red, green and blue).
    bool isGrey() const { return grey_; }

    // Row `index` as stored in a bottom-up bitmap: 0 is the bottom row of the picture.
    std::span<const std::uint8_t> storedRow(int index) const;
    // All rows, bottom row first, rowSize() bytes each.
    const std::vector<std::uint8_t>& rows() const { return rows_; }

    // Palette index of the pixel at column x of row y counted from the TOP
    // (1, 2, 4 and 8 bits only; 0 otherwise).
    unsigned paletteIndexAt(int x, int yFromTop) const;
    // The colour of that pixel; an index beyond the palette gives black.
    RgbColour colourAt(int x, int yFromTop) const;

    // The classic 40-byte information header (little-endian) describing the
    // normal form: positive height, compression 0, colours used = palette size.
    std::vector<std::uint8_t> infoHeader() const;
    // A complete classic .bmp file of the normal form: file header, infoHeader(),
    // palette, rows.
    std::vector<std::uint8_t> fileBytes() const;
    // The bytes the image was loaded from (the decoded bytes of inline text).
    const std::vector<std::uint8_t>& sourceBytes() const { return source_; }

    const std::optional<RgbColour>& transparentColour() const { return transparent_; }
    void setTransparentColour(std::optional<RgbColour> colour) { transparent_ = colour; }

private:
    struct Header;
    BmpLoadResult parse(std::span<const std::uint8_t> bytes);
    static BmpLoadResult readHeader(std::span<const std::uint8_t> bytes, Header& header);
    static BmpLoadResult readMasks(std::span<const std::uint8_t> bytes, Header& header);
    BmpLoadResult readPalette(std::span<const std::uint8_t> bytes, const Header& header);
    BmpLoadResult readRows(std::span<const std::uint8_t> bytes, const Header& header);
    void convert565To555();
    void computeGreyFlag();

    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    std::size_t rowSize_ = 0;
    std::vector<BmpPaletteEntry> palette_;
    std::vector<std::uint8_t> rows_;
    bool grey_ = false;
    std::optional<RgbColour> transparent_;
    std::vector<std::uint8_t> source_;
};

// Inline bitmap text: scanning from the start, a hexadecimal digit starts a
// two-character group read as one byte (a group whose second character is not
// a hexadecimal digit gives the value of the first digit alone); the scan then
// moves on by two. Any other character is skipped.
std::vector<std::uint8_t> decodeInlineHex(std::string_view text);

}  // namespace skedlin
