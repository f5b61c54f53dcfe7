#pragma once
// Layout of Palm OS bitmap resources (tAIB, Tbmp): the version 1, 2 and 3
// headers, the high-density marker between the standard and the double-density
// bitmaps of a family, and their flags. All numbers are big-endian.

#include <cstddef>
#include <cstdint>

#include "formats/palm/PalmBitmapHeader.h"

namespace skedlin::palm::bitmap {

// Version 1: the fields below up to the version byte, then the next bitmap in
// 4-byte units (16 bits) and two reserved words.
inline constexpr std::size_t kHeaderV1Bytes = SKF_PALM_BITMAP_HEADER_V1_SIZE;
inline constexpr std::size_t kHeaderV2Bytes = SKF_PALM_BITMAP_HEADER_V2_SIZE;
inline constexpr std::size_t kHeaderV3Bytes = SKF_PALM_BITMAP_HEADER_V3_SIZE;
inline constexpr std::size_t kMarkerBytes = SKF_PALM_BITMAP_MARKER_SIZE;

inline constexpr std::uint8_t kVersion1 = 1;
inline constexpr std::uint8_t kVersion2 = 2;
inline constexpr std::uint8_t kVersion3 = 3;
inline constexpr std::uint8_t kMarkerVersion = 1;
inline constexpr std::uint8_t kMarkerPixelSize = SKF_PALM_BITMAP_MARKER_PIXEL_SIZE;

// Offsets inside both headers.
inline constexpr std::size_t kOffsetWidth = 0;
inline constexpr std::size_t kOffsetHeight = 2;
inline constexpr std::size_t kOffsetRowBytes = 4;
inline constexpr std::size_t kOffsetFlags = 6;
inline constexpr std::size_t kOffsetPixelSize = 8;
inline constexpr std::size_t kOffsetVersion = 9;
// Version 2: next bitmap in 4-byte units (16 bits), transparent index, compression.
inline constexpr std::size_t kOffsetV2NextBitmap = 10;
inline constexpr std::size_t kOffsetV2TransparentIndex = 12;
inline constexpr std::size_t kOffsetV2Compression = 13;
// Version 3: header size, pixel format, compression, density, transparent value,
// next bitmap in bytes (32 bits).
inline constexpr std::size_t kOffsetV3HeaderSize = 10;
inline constexpr std::size_t kOffsetV3PixelFormat = 11;
inline constexpr std::size_t kOffsetV3Compression = 13;
inline constexpr std::size_t kOffsetV3Density = 14;
inline constexpr std::size_t kOffsetV3TransparentValue = 16;
inline constexpr std::size_t kOffsetV3NextBitmap = 20;

inline constexpr std::uint16_t kFlagCompressed = SKF_PALM_BITMAP_FLAG_COMPRESSED;
inline constexpr std::uint16_t kFlagHasColourTable = SKF_PALM_BITMAP_FLAG_COLOUR_TABLE;
inline constexpr std::uint16_t kFlagHasTransparency = SKF_PALM_BITMAP_FLAG_TRANSPARENCY;
inline constexpr std::uint16_t kFlagDirectColour = SKF_PALM_BITMAP_FLAG_DIRECT_COLOUR;

inline constexpr std::uint8_t kCompressionNone = 0;
// Direct-colour bitmaps name "no compression" this way.
inline constexpr std::uint8_t kCompressionNoneDirect = 0xFF;

inline constexpr std::uint8_t kPixelFormatIndexed = 0;
inline constexpr std::uint8_t kPixelFormatRgb565 = 1;

inline constexpr std::uint16_t kDensityStandard = SKF_PALM_BITMAP_DENSITY_STANDARD;
inline constexpr std::uint16_t kDensityDouble = SKF_PALM_BITMAP_DENSITY_DOUBLE;

// Direct colour information after a version 2 header of a 16-bit bitmap:
// red, green and blue bit counts, a reserved byte, a 32-bit transparent colour.
inline constexpr std::uint8_t kDirectRedBits = 5;
inline constexpr std::uint8_t kDirectGreenBits = 6;
inline constexpr std::uint8_t kDirectBlueBits = 5;

// A colour table holds at most this many entries (a 256-colour palette loses its last).
inline constexpr std::size_t kMaxColourTableEntries = 255;
inline constexpr std::uint8_t kNoTransparentIndex = 0xFF;

inline constexpr std::size_t kAlignment = 4;

}  // namespace skedlin::palm::bitmap
