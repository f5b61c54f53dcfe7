#pragma once
// The numbers of the PE/COFF executable format that the Pocket PC executable
// and its template use. Offsets of header fields are relative to the start of
// the structure that holds them.

#include <cstdint>

namespace skedlin::pe {

// DOS header
inline constexpr std::uint16_t kDosSignature = 0x5A4D;  // "MZ"
inline constexpr std::uint32_t kDosHeaderSize = 64;
inline constexpr std::uint32_t kDosNewHeaderOffsetField = 0x3C;  // e_lfanew

// NT headers: signature, file header, optional header (PE32)
inline constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
inline constexpr std::uint32_t kFileHeaderOffset = 4;
inline constexpr std::uint32_t kFileHeaderSize = 20;
inline constexpr std::uint32_t kOptionalHeaderOffset = kFileHeaderOffset + kFileHeaderSize;
inline constexpr std::uint32_t kOptionalHeaderSize = 224;
inline constexpr std::uint32_t kNtHeadersSize = kOptionalHeaderOffset + kOptionalHeaderSize;  // 248

// File header fields (from the start of the NT headers)
inline constexpr std::uint32_t kMachineField = kFileHeaderOffset + 0;
inline constexpr std::uint32_t kNumberOfSectionsField = kFileHeaderOffset + 2;
inline constexpr std::uint32_t kTimeDateStampField = kFileHeaderOffset + 4;
inline constexpr std::uint32_t kSizeOfOptionalHeaderField = kFileHeaderOffset + 16;
inline constexpr std::uint32_t kCharacteristicsField = kFileHeaderOffset + 18;

inline constexpr std::uint16_t kMachineArm = 0x01C0;
inline constexpr std::uint16_t kFileRelocsStripped = 0x0001;
inline constexpr std::uint16_t kFileExecutableImage = 0x0002;
inline constexpr std::uint16_t kFileLineNumsStripped = 0x0004;
inline constexpr std::uint16_t kFileLocalSymsStripped = 0x0008;
inline constexpr std::uint16_t kFile32BitMachine = 0x0100;

// Optional header fields (from the start of the NT headers)
inline constexpr std::uint32_t kMagicField = kOptionalHeaderOffset + 0;
inline constexpr std::uint32_t kLinkerVersionField = kOptionalHeaderOffset + 2;
inline constexpr std::uint32_t kSizeOfCodeField = kOptionalHeaderOffset + 4;
inline constexpr std::uint32_t kSizeOfInitializedDataField = kOptionalHeaderOffset + 8;
inline constexpr std::uint32_t kAddressOfEntryPointField = kOptionalHeaderOffset + 16;
inline constexpr std::uint32_t kBaseOfCodeField = kOptionalHeaderOffset + 20;
inline constexpr std::uint32_t kBaseOfDataField = kOptionalHeaderOffset + 24;
inline constexpr std::uint32_t kImageBaseField = kOptionalHeaderOffset + 28;
inline constexpr std::uint32_t kSectionAlignmentField = kOptionalHeaderOffset + 32;
inline constexpr std::uint32_t kFileAlignmentField = kOptionalHeaderOffset + 36;
inline constexpr std::uint32_t kOperatingSystemVersionField = kOptionalHeaderOffset + 40;
inline constexpr std::uint32_t kSubsystemVersionField = kOptionalHeaderOffset + 48;
inline constexpr std::uint32_t kSizeOfImageField = kOptionalHeaderOffset + 56;
inline constexpr std::uint32_t kSizeOfHeadersField = kOptionalHeaderOffset + 60;
inline constexpr std::uint32_t kCheckSumField = kOptionalHeaderOffset + 64;
inline constexpr std::uint32_t kSubsystemField = kOptionalHeaderOffset + 68;
inline constexpr std::uint32_t kStackReserveField = kOptionalHeaderOffset + 72;
inline constexpr std::uint32_t kStackCommitField = kOptionalHeaderOffset + 76;
inline constexpr std::uint32_t kHeapReserveField = kOptionalHeaderOffset + 80;
inline constexpr std::uint32_t kHeapCommitField = kOptionalHeaderOffset + 84;
inline constexpr std::uint32_t kNumberOfRvaAndSizesField = kOptionalHeaderOffset + 92;
inline constexpr std::uint32_t kDataDirectoriesField = kOptionalHeaderOffset + 96;
inline constexpr std::uint32_t kDataDirectoryEntrySize = 8;
inline constexpr std::uint32_t kDataDirectoryCount = 16;
inline constexpr std::uint32_t kResourceDirectoryIndex = 2;
inline constexpr std::uint32_t kResourceDirectoryRvaField =
    kDataDirectoriesField + kResourceDirectoryIndex * kDataDirectoryEntrySize;
inline constexpr std::uint32_t kResourceDirectorySizeField = kResourceDirectoryRvaField + 4;
inline constexpr std::uint32_t kImportDirectoryIndex = 1;
inline constexpr std::uint32_t kImportAddressTableIndex = 12;

inline constexpr std::uint16_t kPe32Magic = 0x010B;
inline constexpr std::uint16_t kSubsystemWindowsCeGui = 9;

// Section header
inline constexpr std::uint32_t kSectionHeaderSize = 40;
inline constexpr std::uint32_t kSectionNameSize = 8;
inline constexpr std::uint32_t kSectionVirtualSizeField = 8;
inline constexpr std::uint32_t kSectionVirtualAddressField = 12;
inline constexpr std::uint32_t kSectionSizeOfRawDataField = 16;
inline constexpr std::uint32_t kSectionPointerToRawDataField = 20;
inline constexpr std::uint32_t kSectionCharacteristicsField = 36;

inline constexpr std::uint32_t kSectionCode = 0x00000020;
inline constexpr std::uint32_t kSectionInitializedData = 0x00000040;
inline constexpr std::uint32_t kSectionExecute = 0x20000000;
inline constexpr std::uint32_t kSectionRead = 0x40000000;
inline constexpr std::uint32_t kSectionWrite = 0x80000000;

inline constexpr char kResourceSectionName[] = ".rsrc";

// Resource tree
inline constexpr std::uint32_t kResourceDirectorySize = 16;
inline constexpr std::uint32_t kResourceDirectoryKeptHeaderSize = 12;  // characteristics to minor version
inline constexpr std::uint32_t kResourceDirectoryNamedCountField = 12;
inline constexpr std::uint32_t kResourceDirectoryIdCountField = 14;
inline constexpr std::uint32_t kResourceEntrySize = 8;
inline constexpr std::uint32_t kResourceDataEntrySize = 16;
inline constexpr std::uint32_t kResourceLanguageDirectorySize = kResourceDirectorySize + kResourceEntrySize;
inline constexpr std::uint32_t kResourceSubdirectoryFlag = 0x80000000;
inline constexpr std::uint32_t kResourceNameIsStringFlag = 0x80000000;
inline constexpr std::uint32_t kResourceBodyAlignment = 4;

// Resource types
inline constexpr std::uint16_t kResourceTypeBitmap = 2;
inline constexpr std::uint16_t kResourceTypeIcon = 3;
inline constexpr std::uint16_t kResourceTypeStringTable = 6;
inline constexpr std::uint16_t kResourceTypeRawData = 10;
inline constexpr std::uint16_t kResourceTypeGroupIcon = 14;
inline constexpr std::uint16_t kResourceTypeVersion = 16;

inline constexpr std::uint16_t kLanguageEnglishUs = 1033;

// Group icon resource: a 6-byte header (reserved, type, count) then 14-byte entries
inline constexpr std::uint32_t kGroupIconHeaderSize = 6;
inline constexpr std::uint32_t kGroupIconCountField = 4;
inline constexpr std::uint32_t kGroupIconEntrySize = 14;
inline constexpr std::uint32_t kGroupIconEntryWidthField = 0;
inline constexpr std::uint32_t kGroupIconEntryHeightField = 1;
inline constexpr std::uint32_t kGroupIconEntryColorCountField = 2;
inline constexpr std::uint32_t kGroupIconEntryPlanesField = 4;
inline constexpr std::uint32_t kGroupIconEntryBitCountField = 6;
inline constexpr std::uint32_t kGroupIconEntryBytesField = 8;
inline constexpr std::uint32_t kGroupIconEntryIdField = 12;
inline constexpr std::uint16_t kGroupIconTypeIcon = 1;

// String tables hold 16 strings per resource; a string's block is its id / 16
// and the resource id of block b is b + 1.
inline constexpr std::uint32_t kStringsPerBlock = 16;

inline constexpr std::uint32_t alignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace skedlin::pe
