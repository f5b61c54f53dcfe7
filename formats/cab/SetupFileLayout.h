#pragma once
// Layout of the Windows CE setup file (the ".000" member of an installer
// cabinet). All numbers are little-endian; texts are Windows-1252 with a zero
// byte. The header points at every section, so sections follow one another
// without padding.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace skedlin::cabwiz::setupfile {

inline constexpr std::string_view kSignature = "MSCE";
inline constexpr std::size_t kHeaderSize = 100;

// Header fields (byte offsets).
inline constexpr std::size_t kOffsetSignature = 0;
inline constexpr std::size_t kOffsetReserved0 = 4;
inline constexpr std::size_t kOffsetTotalLength = 8;
inline constexpr std::size_t kOffsetReserved1 = 12;
inline constexpr std::size_t kOffsetAlwaysOne = 16;
inline constexpr std::size_t kOffsetProcessorType = 20;
inline constexpr std::size_t kOffsetVersionMinMajor = 24;
inline constexpr std::size_t kOffsetVersionMinMinor = 28;
inline constexpr std::size_t kOffsetVersionMaxMajor = 32;
inline constexpr std::size_t kOffsetVersionMaxMinor = 36;
inline constexpr std::size_t kOffsetBuildMin = 40;
inline constexpr std::size_t kOffsetBuildMax = 44;
inline constexpr std::size_t kOffsetSectionCounts = 48;   // six u16, in SectionIndex order
inline constexpr std::size_t kOffsetSectionOffsets = 60;  // six u32, in SectionIndex order
inline constexpr std::size_t kOffsetAppName = 84;         // u16 offset, u16 length
inline constexpr std::size_t kOffsetProvider = 88;
inline constexpr std::size_t kOffsetUnsupported = 92;
inline constexpr std::size_t kOffsetReserved2 = 96;  // two u16, both 0

inline constexpr std::uint32_t kAlwaysOne = 1;

enum SectionIndex : std::size_t {
    kStrings = 0,
    kDirectories = 1,
    kFiles = 2,
    kRegistryHives = 3,
    kRegistryKeys = 4,
    kShortcuts = 5,
    kSectionCount = 6,
};

// The header's three texts are addressed with 16-bit offsets.
inline constexpr std::size_t kMaxTextOffset = 0xFFFF;

// Registry roots of a hive entry.
inline constexpr std::uint16_t kRootClassesRoot = 1;
inline constexpr std::uint16_t kRootCurrentUser = 2;
inline constexpr std::uint16_t kRootLocalMachine = 3;
inline constexpr std::uint16_t kRootUsers = 4;

// Registry value types of a key entry (the AddReg flags values).
inline constexpr std::uint32_t kRegistryTypeString = 0x00000000;
inline constexpr std::uint32_t kRegistryTypeMultiString = 0x00010000;
inline constexpr std::uint32_t kRegistryTypeBinary = 0x00000001;
inline constexpr std::uint32_t kRegistryTypeDword = 0x00010001;
inline constexpr std::uint32_t kRegistryTypeMask = 0x00010001;
inline constexpr std::uint32_t kRegistryKeepExisting = 0x00000002;

// Shortcut entry: what the target id names.
inline constexpr std::uint16_t kShortcutTargetFolder = 0;
inline constexpr std::uint16_t kShortcutTargetFile = 1;

}  // namespace skedlin::cabwiz::setupfile
