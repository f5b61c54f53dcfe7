#pragma once
// Layout of 32-bit little-endian ELF executables as the ARM cross linker
// writes them: the file header, the section header table and the symbol
// table, with the ARM numbers the Pocket PC link step checks.

#include <cstdint>

namespace skedlin::elf {

// File header
inline constexpr std::uint32_t kIdentSize = 16;
inline constexpr std::uint32_t kIdentClass = 4;  // 1: 32-bit
inline constexpr std::uint32_t kIdentData = 5;   // 1: little-endian
inline constexpr std::uint8_t kClass32 = 1;
inline constexpr std::uint8_t kDataLittleEndian = 1;
inline constexpr std::uint32_t kTypeField = 16;
inline constexpr std::uint32_t kMachineField = 18;
inline constexpr std::uint32_t kEntryField = 24;
inline constexpr std::uint32_t kSectionTableField = 32;
inline constexpr std::uint32_t kSectionEntrySizeField = 46;
inline constexpr std::uint32_t kSectionCountField = 48;
inline constexpr std::uint32_t kSectionNamesIndexField = 50;
inline constexpr std::uint32_t kHeaderSize = 52;
static_assert(kSectionNamesIndexField + 2 == kHeaderSize);
inline constexpr std::uint16_t kTypeExecutable = 2;
inline constexpr std::uint16_t kMachineArm = 40;

// Section header
inline constexpr std::uint32_t kSectionNameField = 0;
inline constexpr std::uint32_t kSectionTypeField = 4;
inline constexpr std::uint32_t kSectionFlagsField = 8;
inline constexpr std::uint32_t kSectionAddressField = 12;
inline constexpr std::uint32_t kSectionOffsetField = 16;
inline constexpr std::uint32_t kSectionSizeField = 20;
inline constexpr std::uint32_t kSectionLinkField = 24;
inline constexpr std::uint32_t kSectionEntrySize = 40;
inline constexpr std::uint32_t kSectionTypeSymbols = 2;
inline constexpr std::uint32_t kSectionTypeNoBits = 8;
inline constexpr std::uint32_t kSectionFlagWrite = 1;
inline constexpr std::uint32_t kSectionFlagAlloc = 2;
inline constexpr std::uint32_t kSectionFlagExecute = 4;

// Symbol
inline constexpr std::uint32_t kSymbolNameField = 0;
inline constexpr std::uint32_t kSymbolValueField = 4;
inline constexpr std::uint32_t kSymbolSectionField = 14;
inline constexpr std::uint32_t kSymbolSize = 16;
static_assert(kSymbolSectionField + 2 == kSymbolSize);
inline constexpr std::uint16_t kUndefinedSection = 0;

// ARM mapping symbols mark ARM code ($a), Thumb code ($t) and data ($d).
inline constexpr char kMappingSymbolPrefix = '$';
inline constexpr char kMappingArm = 'a';
inline constexpr char kMappingThumb = 't';
inline constexpr char kMappingData = 'd';

}  // namespace skedlin::elf
