#include "templates/pocketpc/ViewerTemplateImage.h"

#include <cstring>
#include <iterator>

#include "formats/Bytes.h"
#include "formats/pe/PeLayout.h"
#include "formats/pe/ResourceTree.h"
#include "templates/pocketpc/TemplatePictures.h"
#include "templates/pocketpc/VersionResource.h"

namespace skedlin::templates {

namespace {

// Layout of the file and of the image in memory.
constexpr std::uint32_t kNtHeadersOffset = 0x80;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kImageBase = 0x00010000;  // where Windows CE loads programs
constexpr std::uint32_t kCodeRva = 0x1000;
constexpr std::uint32_t kResourceRva = 0x2000;
constexpr std::uint16_t kSectionCount = 2;
constexpr std::uint8_t kLinkerMajor = 6, kLinkerMinor = 0;
// Windows CE 3.0, the oldest system the installer accepts.
constexpr std::uint16_t kSystemMajor = 3, kSystemMinor = 0;
constexpr std::uint32_t kStackReserve = 0x10000, kStackCommit = 0x1000;
constexpr std::uint32_t kHeapReserve = 0x100000, kHeapCommit = 0x1000;

// The program's entry point, in 32-bit ARM code (ARMv4, so that it runs on
// every Pocket PC processor). The system calls it like WinMain, with the
// return address in lr; returning from it ends the process, and r0 is the
// process's exit code. The viewer proper is not part of this template.
constexpr std::uint32_t kArmMovR0Zero = 0xE3A00000;  // mov r0, #0    -- exit code 0
constexpr std::uint32_t kArmMovPcLr = 0xE1A0F00E;    // mov pc, lr    -- return to the system
constexpr std::uint32_t kEntryCode[] = {kArmMovR0Zero, kArmMovPcLr};

// The 16-bit program a DOS system runs instead: print the message and exit
// with code 1.
constexpr std::uint8_t kDosStubCode[] = {
    0x0E,              // push cs
    0x1F,              // pop ds
    0xBA, 0x0E, 0x00,  // mov dx, 0x000E  -- the message, right after this code
    0xB4, 0x09,        // mov ah, 9       -- print a $-terminated string
    0xCD, 0x21,        // int 0x21
    0xB8, 0x01, 0x4C,  // mov ax, 0x4C01  -- exit with code 1
    0xCD, 0x21,        // int 0x21
};
constexpr char kDosStubMessage[] = "This program cannot be run in DOS mode.\r\r\n$";
constexpr std::uint16_t kDosParagraphsInHeader = 4;
constexpr std::uint16_t kDosMaxAlloc = 0xFFFF;
constexpr std::uint16_t kDosInitialSp = 0x00B8;
constexpr std::uint16_t kDosRelocationTableOffset = 0x40;

// Resource ids of the template. The builder inserts after these: its strings
// from block 250 on, raw data from 4000, bitmap 4000, icons 3 and 4.
constexpr std::uint16_t kSplashBitmapId = 100;
constexpr std::uint16_t kLargeIconId = 1;
constexpr std::uint16_t kSmallIconId = 2;
constexpr std::uint16_t kViewerStringBlockId = 1;  // strings 0 to 15
constexpr std::uint16_t kViewerNameStringSlot = 1;
constexpr char kViewerName[] = "Skedlin Viewer";
constexpr std::uint16_t kLayoutVersionId = 100;
constexpr std::uint16_t kLayoutVersion = 1;  // version of the resource layouts the viewer reads
constexpr std::uint16_t kLauncherIconGroupId = 128;
constexpr std::uint16_t kVersionResourceId = 1;
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;

void addResource(ResourceTree& tree, std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> body) {
    ResourceItem item;
    item.language = pe::kLanguageEnglishUs;
    item.body = std::move(body);
    item.padWithZeros();
    tree.types[type].items.emplace(id, std::move(item));
}

std::vector<std::uint8_t> groupIconEntry(int size, std::uint16_t iconId, std::size_t iconBytes) {
    std::vector<std::uint8_t> entry(pe::kGroupIconEntrySize, 0);
    entry[pe::kGroupIconEntryWidthField] = static_cast<std::uint8_t>(size);
    entry[pe::kGroupIconEntryHeightField] = static_cast<std::uint8_t>(size);
    entry[pe::kGroupIconEntryColorCountField] = kIconColourCount;
    bytes::ByteWriter(entry).patch16le(pe::kGroupIconEntryPlanesField, 1);
    bytes::ByteWriter(entry).patch16le(pe::kGroupIconEntryBitCountField, kIconBitCount);
    bytes::ByteWriter(entry).patch32le(pe::kGroupIconEntryBytesField, static_cast<std::uint32_t>(iconBytes));
    bytes::ByteWriter(entry).patch16le(pe::kGroupIconEntryIdField, iconId);
    return entry;
}

std::vector<std::uint8_t> resourceSection() {
    ResourceTree tree;
    addResource(tree, pe::kResourceTypeBitmap, kSplashBitmapId, calendarBitmap(kLargeIconSize));

    std::vector<std::uint8_t> largeIcon = calendarIconImage(kLargeIconSize);
    std::vector<std::uint8_t> smallIcon = calendarIconImage(kSmallIconSize);
    std::vector<std::uint8_t> group(pe::kGroupIconHeaderSize, 0);
    bytes::ByteWriter(group).patch16le(2, pe::kGroupIconTypeIcon);
    bytes::ByteWriter(group).patch16le(pe::kGroupIconCountField, 2);
    for (const auto& entry : {groupIconEntry(kLargeIconSize, kLargeIconId, largeIcon.size()),
                              groupIconEntry(kSmallIconSize, kSmallIconId, smallIcon.size())})
        group.insert(group.end(), entry.begin(), entry.end());
    addResource(tree, pe::kResourceTypeIcon, kLargeIconId, std::move(largeIcon));
    addResource(tree, pe::kResourceTypeIcon, kSmallIconId, std::move(smallIcon));
    addResource(tree, pe::kResourceTypeGroupIcon, kLauncherIconGroupId, std::move(group));

    std::vector<std::uint8_t> strings;
    for (std::uint16_t slot = 0; slot < pe::kStringsPerBlock; ++slot) {
        const std::string text = slot == kViewerNameStringSlot ? kViewerName : "";
        bytes::ByteWriter(strings).put16le(static_cast<std::uint16_t>(text.size()));
        for (char c : text) bytes::ByteWriter(strings).put16le(static_cast<std::uint16_t>(c));
    }
    addResource(tree, pe::kResourceTypeStringTable, kViewerStringBlockId, std::move(strings));

    std::vector<std::uint8_t> layout;
    bytes::ByteWriter(layout).put16le(kLayoutVersion);
    addResource(tree, pe::kResourceTypeRawData, kLayoutVersionId, std::move(layout));
    addResource(tree, pe::kResourceTypeVersion, kVersionResourceId, viewerVersionResource());
    return tree.serialize(kResourceRva);
}

}  // namespace

std::vector<std::uint8_t> viewerTemplateImage() {
    const std::vector<std::uint8_t> resources = resourceSection();
    const auto resourceUsed = static_cast<std::uint32_t>(resources.size());
    const std::uint32_t resourceRaw = pe::alignUp(resourceUsed, kFileAlignment);
    const auto codeUsed = static_cast<std::uint32_t>(sizeof kEntryCode);
    const std::uint32_t codeRaw = pe::alignUp(codeUsed, kFileAlignment);
    const std::uint32_t headersEnd = kNtHeadersOffset + pe::kNtHeadersSize + kSectionCount * pe::kSectionHeaderSize;
    const std::uint32_t headersSize = pe::alignUp(headersEnd, kFileAlignment);
    const std::uint32_t codeFileOffset = headersSize;
    const std::uint32_t resourceFileOffset = codeFileOffset + codeRaw;

    std::vector<std::uint8_t> image(resourceFileOffset + resourceRaw, 0);

    // DOS header and stub
    bytes::ByteWriter(image).patch16le(0, pe::kDosSignature);
    bytes::ByteWriter(image).patch16le(0x02, static_cast<std::uint16_t>(kNtHeadersOffset % 512));  // bytes on the last page
    bytes::ByteWriter(image).patch16le(0x04, static_cast<std::uint16_t>((kNtHeadersOffset + 511) / 512));  // pages
    bytes::ByteWriter(image).patch16le(0x08, kDosParagraphsInHeader);
    bytes::ByteWriter(image).patch16le(0x0C, kDosMaxAlloc);
    bytes::ByteWriter(image).patch16le(0x10, kDosInitialSp);
    bytes::ByteWriter(image).patch16le(0x18, kDosRelocationTableOffset);
    bytes::ByteWriter(image).patch32le(pe::kDosNewHeaderOffsetField, kNtHeadersOffset);
    std::memcpy(image.data() + pe::kDosHeaderSize, kDosStubCode, sizeof kDosStubCode);
    std::memcpy(image.data() + pe::kDosHeaderSize + sizeof kDosStubCode, kDosStubMessage, sizeof kDosStubMessage - 1);

    // NT headers
    const std::uint32_t nt = kNtHeadersOffset;
    bytes::ByteWriter(image).patch32le(nt, pe::kNtSignature);
    bytes::ByteWriter(image).patch16le(nt + pe::kMachineField, pe::kMachineArm);
    bytes::ByteWriter(image).patch16le(nt + pe::kNumberOfSectionsField, kSectionCount);
    bytes::ByteWriter(image).patch32le(nt + pe::kTimeDateStampField, 0);  // reproducible builds carry no time
    bytes::ByteWriter(image).patch16le(nt + pe::kSizeOfOptionalHeaderField, pe::kOptionalHeaderSize);
    bytes::ByteWriter(image).patch16le(nt + pe::kCharacteristicsField,
          pe::kFileRelocsStripped | pe::kFileExecutableImage | pe::kFileLineNumsStripped | pe::kFileLocalSymsStripped |
              pe::kFile32BitMachine);
    bytes::ByteWriter(image).patch16le(nt + pe::kMagicField, pe::kPe32Magic);
    image[nt + pe::kLinkerVersionField] = kLinkerMajor;
    image[nt + pe::kLinkerVersionField + 1] = kLinkerMinor;
    bytes::ByteWriter(image).patch32le(nt + pe::kSizeOfCodeField, codeRaw);
    bytes::ByteWriter(image).patch32le(nt + pe::kSizeOfInitializedDataField, resourceRaw);
    bytes::ByteWriter(image).patch32le(nt + pe::kAddressOfEntryPointField, kCodeRva);
    bytes::ByteWriter(image).patch32le(nt + pe::kBaseOfCodeField, kCodeRva);
    bytes::ByteWriter(image).patch32le(nt + pe::kBaseOfDataField, kResourceRva);
    bytes::ByteWriter(image).patch32le(nt + pe::kImageBaseField, kImageBase);
    bytes::ByteWriter(image).patch32le(nt + pe::kSectionAlignmentField, kSectionAlignment);
    bytes::ByteWriter(image).patch32le(nt + pe::kFileAlignmentField, kFileAlignment);
    bytes::ByteWriter(image).patch16le(nt + pe::kOperatingSystemVersionField, kSystemMajor);
    bytes::ByteWriter(image).patch16le(nt + pe::kOperatingSystemVersionField + 2, kSystemMinor);
    bytes::ByteWriter(image).patch16le(nt + pe::kSubsystemVersionField, kSystemMajor);
    bytes::ByteWriter(image).patch16le(nt + pe::kSubsystemVersionField + 2, kSystemMinor);
    bytes::ByteWriter(image).patch32le(nt + pe::kSizeOfImageField, pe::alignUp(kResourceRva + resourceUsed, kSectionAlignment));
    bytes::ByteWriter(image).patch32le(nt + pe::kSizeOfHeadersField, headersSize);
    bytes::ByteWriter(image).patch32le(nt + pe::kCheckSumField, 0);
    bytes::ByteWriter(image).patch16le(nt + pe::kSubsystemField, pe::kSubsystemWindowsCeGui);
    bytes::ByteWriter(image).patch32le(nt + pe::kStackReserveField, kStackReserve);
    bytes::ByteWriter(image).patch32le(nt + pe::kStackCommitField, kStackCommit);
    bytes::ByteWriter(image).patch32le(nt + pe::kHeapReserveField, kHeapReserve);
    bytes::ByteWriter(image).patch32le(nt + pe::kHeapCommitField, kHeapCommit);
    bytes::ByteWriter(image).patch32le(nt + pe::kNumberOfRvaAndSizesField, pe::kDataDirectoryCount);
    bytes::ByteWriter(image).patch32le(nt + pe::kResourceDirectoryRvaField, kResourceRva);
    bytes::ByteWriter(image).patch32le(nt + pe::kResourceDirectorySizeField, resourceUsed);

    // Section table: code, then resources
    struct Section {
        const char* name;
        std::uint32_t used, rva, raw, fileOffset, characteristics;
    };
    const Section sections[kSectionCount] = {
        {".text", codeUsed, kCodeRva, codeRaw, codeFileOffset, pe::kSectionCode | pe::kSectionExecute | pe::kSectionRead},
        {pe::kResourceSectionName, resourceUsed, kResourceRva, resourceRaw, resourceFileOffset,
         pe::kSectionInitializedData | pe::kSectionRead}};
    std::uint32_t header = nt + pe::kNtHeadersSize;
    for (const Section& section : sections) {
        std::memcpy(image.data() + header, section.name, std::strlen(section.name));
        bytes::ByteWriter(image).patch32le(header + pe::kSectionVirtualSizeField, section.used);
        bytes::ByteWriter(image).patch32le(header + pe::kSectionVirtualAddressField, section.rva);
        bytes::ByteWriter(image).patch32le(header + pe::kSectionSizeOfRawDataField, section.raw);
        bytes::ByteWriter(image).patch32le(header + pe::kSectionPointerToRawDataField, section.fileOffset);
        bytes::ByteWriter(image).patch32le(header + pe::kSectionCharacteristicsField, section.characteristics);
        header += pe::kSectionHeaderSize;
    }

    std::uint32_t at = codeFileOffset;
    for (std::uint32_t instruction : kEntryCode) {
        bytes::ByteWriter(image).patch32le(at, instruction);
        at += 4;
    }
    std::memcpy(image.data() + resourceFileOffset, resources.data(), resources.size());
    return image;
}

}  // namespace skedlin::templates
