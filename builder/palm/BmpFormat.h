#pragma once
// Layout of the Windows bitmap file: offsets of the fields the loader reads
// and the values it recognises. All numbers in the file are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>

namespace skedlin::bmp {

// File header (14 bytes): "BM", file size, two reserved words, data offset.
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kDataOffsetField = 10;

// Information header, which starts with its own size. 40 is the classic
// header; 52 and 56 add colour masks; 64 is the OS/2 2.x header, whose first
// 40 bytes read the same; 108 and 124 are the version 4 and 5 headers.
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kOs2InfoHeaderSize = 64;
inline constexpr std::uint32_t kAlphaMaskHeaderSize = 56;
inline constexpr std::array<std::uint32_t, 6> kInfoHeaderSizes{40, 52, 56, 64, 108, 124};

// Field offsets from the start of the file.
inline constexpr std::size_t kWidthField = 18;
inline constexpr std::size_t kHeightField = 22;
inline constexpr std::size_t kBitCountField = 28;
inline constexpr std::size_t kCompressionField = 30;
inline constexpr std::size_t kColoursUsedField = 46;

inline constexpr std::uint32_t kCompressionNone = 0;
inline constexpr std::uint32_t kCompressionBitFields = 3;

inline constexpr std::uint32_t kMask555Red = 0x7C00;
inline constexpr std::uint32_t kMask555Green = 0x03E0;
inline constexpr std::uint32_t kMask555Blue = 0x001F;
inline constexpr std::uint32_t kMask565Red = 0xF800;
inline constexpr std::uint32_t kMask565Green = 0x07E0;
inline constexpr std::uint32_t kMask565Blue = 0x001F;

}  // namespace skedlin::bmp
