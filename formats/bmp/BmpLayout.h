#pragma once
// Layout of the Windows bitmap file: offsets of the fields the loader reads
// and writes, and the values it recognises. All numbers in the file are
// little-endian.

#include <array>
#include <cstddef>
#include <cstdint>

#include "formats/bmp/BmpInfoHeader.h"

namespace skedlin::bmp {

// File header (14 bytes): "BM", file size, two reserved words, data offset.
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kFileSizeField = 2;
inline constexpr std::size_t kDataOffsetField = 10;

// Information header, which starts with its own size. 40 is the classic
// header; 52 and 56 add colour masks; 64 is the OS/2 2.x header, whose first
// 40 bytes read the same; 108 and 124 are the version 4 and 5 headers.
inline constexpr std::uint32_t kInfoHeaderSize = SKF_BMP_INFO_HEADER_SIZE;
inline constexpr std::uint32_t kOs2InfoHeaderSize = 64;
inline constexpr std::uint32_t kAlphaMaskHeaderSize = 56;
inline constexpr std::array<std::uint32_t, 6> kInfoHeaderSizes{40, 52, 56, 64, 108, 124};

// Fields of the information header, from its start.
inline constexpr std::size_t kInfoSizeField = SKF_BMP_INFO_SIZE;
inline constexpr std::size_t kInfoWidthField = SKF_BMP_INFO_WIDTH;
inline constexpr std::size_t kInfoHeightField = SKF_BMP_INFO_HEIGHT;
inline constexpr std::size_t kInfoPlanesField = SKF_BMP_INFO_PLANES;
inline constexpr std::size_t kInfoBitCountField = SKF_BMP_INFO_BIT_COUNT;
inline constexpr std::size_t kInfoCompressionField = SKF_BMP_INFO_COMPRESSION;
inline constexpr std::size_t kInfoImageSizeField = SKF_BMP_INFO_IMAGE_SIZE;
inline constexpr std::size_t kInfoColoursUsedField = SKF_BMP_INFO_COLOURS_USED;
static_assert(kInfoColoursUsedField + 8 == kInfoHeaderSize, "colours used and colours important end the header");

// The same fields from the start of the file.
inline constexpr std::size_t kWidthField = kFileHeaderSize + kInfoWidthField;
inline constexpr std::size_t kHeightField = kFileHeaderSize + kInfoHeightField;
inline constexpr std::size_t kBitCountField = kFileHeaderSize + kInfoBitCountField;
inline constexpr std::size_t kCompressionField = kFileHeaderSize + kInfoCompressionField;
inline constexpr std::size_t kColoursUsedField = kFileHeaderSize + kInfoColoursUsedField;

// Colour masks (red, green, blue, then alpha in headers of 56 bytes and more)
// follow the classic header's 40 bytes.
inline constexpr std::size_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;
inline constexpr std::size_t kThreeMasksSize = 12;

inline constexpr std::size_t kPaletteEntrySize = 4;  // blue, green, red, zero

inline constexpr std::uint32_t kCompressionNone = 0;
inline constexpr std::uint32_t kCompressionBitFields = 3;

inline constexpr std::uint32_t kMask555Red = 0x7C00;
inline constexpr std::uint32_t kMask555Green = 0x03E0;
inline constexpr std::uint32_t kMask555Blue = 0x001F;
inline constexpr std::uint32_t kMask565Red = 0xF800;
inline constexpr std::uint32_t kMask565Green = 0x07E0;
inline constexpr std::uint32_t kMask565Blue = 0x001F;

}  // namespace skedlin::bmp
