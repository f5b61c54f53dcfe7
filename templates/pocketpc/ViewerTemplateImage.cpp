#include "templates/pocketpc/ViewerTemplateImage.h"

#include <algorithm>
#include <cstring>
#include <string>
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
constexpr std::uint32_t kImageBase = ce::kImageBase;  // where Windows CE loads programs
constexpr std::uint8_t kLinkerMajor = 6, kLinkerMinor = 0;
// Windows CE 3.0, the oldest system the installer accepts.
constexpr std::uint16_t kSystemMajor = 3, kSystemMinor = 0;
constexpr std::uint32_t kStackReserve = 0x10000, kStackCommit = 0x1000;
constexpr std::uint32_t kHeapReserve = 0x100000, kHeapCommit = 0x1000;

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

std::vector<std::uint8_t> resourceSection(std::uint32_t resourceRva) {
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
    return tree.serialize(resourceRva);
}

// One section of the image: where it is in memory and in the file.
struct Section {
    std::string name;
    std::uint32_t rva = 0, memorySize = 0, rawSize = 0, fileOffset = 0, characteristics = 0;
    const std::vector<std::uint8_t>* bytes = nullptr;
};

std::uint32_t characteristicsOf(const ce::ProgramSection& s) {
    if (s.executable) return pe::kSectionCode | pe::kSectionExecute | pe::kSectionRead;
    return pe::kSectionInitializedData | pe::kSectionRead | (s.writable ? pe::kSectionWrite : 0);
}

void putDataDirectory(std::vector<std::uint8_t>& image, std::uint32_t index, std::uint32_t rva, std::uint32_t size) {
    bytes::ByteWriter writer(image);
    const std::uint32_t at = kNtHeadersOffset + pe::kDataDirectoriesField + index * pe::kDataDirectoryEntrySize;
    writer.patch32le(at, rva);
    writer.patch32le(at + 4, size);
}

void putDosHeader(std::vector<std::uint8_t>& image) {
    bytes::ByteWriter writer(image);
    writer.patch16le(0, pe::kDosSignature);
    writer.patch16le(0x02, static_cast<std::uint16_t>(kNtHeadersOffset % 512));          // bytes on the last page
    writer.patch16le(0x04, static_cast<std::uint16_t>((kNtHeadersOffset + 511) / 512));  // pages
    writer.patch16le(0x08, kDosParagraphsInHeader);
    writer.patch16le(0x0C, kDosMaxAlloc);
    writer.patch16le(0x10, kDosInitialSp);
    writer.patch16le(0x18, kDosRelocationTableOffset);
    writer.patch32le(pe::kDosNewHeaderOffsetField, kNtHeadersOffset);
    std::memcpy(image.data() + pe::kDosHeaderSize, kDosStubCode, sizeof kDosStubCode);
    std::memcpy(image.data() + pe::kDosHeaderSize + sizeof kDosStubCode, kDosStubMessage, sizeof kDosStubMessage - 1);
}

}  // namespace

std::vector<std::uint8_t> viewerTemplateImage(const ce::ElfProgram& program) {
    std::vector<Section> sections;
    std::uint32_t memoryEnd = kSectionAlignment;
    for (const ce::ProgramSection& s : program.sections) {
        Section out;
        out.name = s.name;
        out.rva = s.address - kImageBase;
        out.memorySize = s.memorySize;
        out.rawSize = pe::alignUp(static_cast<std::uint32_t>(s.bytes.size()), kFileAlignment);
        out.characteristics = characteristicsOf(s);
        out.bytes = &s.bytes;
        memoryEnd = pe::alignUp(out.rva + out.memorySize, kSectionAlignment);
        sections.push_back(out);
    }
    // The resources last, in memory and in the file, so the builder can grow them.
    const std::uint32_t resourceRva = memoryEnd;
    const std::vector<std::uint8_t> resources = resourceSection(resourceRva);
    Section rsrc;
    rsrc.name = pe::kResourceSectionName;
    rsrc.rva = resourceRva;
    rsrc.memorySize = static_cast<std::uint32_t>(resources.size());
    rsrc.rawSize = pe::alignUp(rsrc.memorySize, kFileAlignment);
    rsrc.characteristics = pe::kSectionInitializedData | pe::kSectionRead;
    rsrc.bytes = &resources;
    sections.push_back(rsrc);

    const auto sectionCount = static_cast<std::uint16_t>(sections.size());
    const std::uint32_t headersEnd = kNtHeadersOffset + pe::kNtHeadersSize + sectionCount * pe::kSectionHeaderSize;
    const std::uint32_t headersSize = pe::alignUp(headersEnd, kFileAlignment);
    std::uint32_t fileEnd = headersSize, codeRaw = 0, dataRaw = 0, baseOfData = 0;
    for (Section& s : sections) {
        s.fileOffset = s.rawSize ? fileEnd : 0;
        fileEnd += s.rawSize;
        if (s.characteristics & pe::kSectionCode) {
            codeRaw += s.rawSize;
        } else {
            dataRaw += s.rawSize;
            if (!baseOfData) baseOfData = s.rva;
        }
    }

    std::vector<std::uint8_t> image(fileEnd, 0);
    bytes::ByteWriter writer(image);
    putDosHeader(image);

    // NT headers
    const std::uint32_t nt = kNtHeadersOffset;
    writer.patch32le(nt, pe::kNtSignature);
    writer.patch16le(nt + pe::kMachineField, pe::kMachineArm);
    writer.patch16le(nt + pe::kNumberOfSectionsField, sectionCount);
    writer.patch32le(nt + pe::kTimeDateStampField, 0);  // reproducible builds carry no time
    writer.patch16le(nt + pe::kSizeOfOptionalHeaderField, pe::kOptionalHeaderSize);
    writer.patch16le(nt + pe::kCharacteristicsField, pe::kFileRelocsStripped | pe::kFileExecutableImage |
                                                         pe::kFileLineNumsStripped | pe::kFileLocalSymsStripped |
                                                         pe::kFile32BitMachine);
    writer.patch16le(nt + pe::kMagicField, pe::kPe32Magic);
    image[nt + pe::kLinkerVersionField] = kLinkerMajor;
    image[nt + pe::kLinkerVersionField + 1] = kLinkerMinor;
    writer.patch32le(nt + pe::kSizeOfCodeField, codeRaw);
    writer.patch32le(nt + pe::kSizeOfInitializedDataField, dataRaw);
    writer.patch32le(nt + pe::kAddressOfEntryPointField, program.entry - kImageBase);
    writer.patch32le(nt + pe::kBaseOfCodeField, sections.front().rva);
    writer.patch32le(nt + pe::kBaseOfDataField, baseOfData);
    writer.patch32le(nt + pe::kImageBaseField, kImageBase);
    writer.patch32le(nt + pe::kSectionAlignmentField, kSectionAlignment);
    writer.patch32le(nt + pe::kFileAlignmentField, kFileAlignment);
    writer.patch16le(nt + pe::kOperatingSystemVersionField, kSystemMajor);
    writer.patch16le(nt + pe::kOperatingSystemVersionField + 2, kSystemMinor);
    writer.patch16le(nt + pe::kSubsystemVersionField, kSystemMajor);
    writer.patch16le(nt + pe::kSubsystemVersionField + 2, kSystemMinor);
    writer.patch32le(nt + pe::kSizeOfImageField, pe::alignUp(rsrc.rva + rsrc.memorySize, kSectionAlignment));
    writer.patch32le(nt + pe::kSizeOfHeadersField, headersSize);
    writer.patch32le(nt + pe::kCheckSumField, 0);
    writer.patch16le(nt + pe::kSubsystemField, pe::kSubsystemWindowsCeGui);
    writer.patch32le(nt + pe::kStackReserveField, kStackReserve);
    writer.patch32le(nt + pe::kStackCommitField, kStackCommit);
    writer.patch32le(nt + pe::kHeapReserveField, kHeapReserve);
    writer.patch32le(nt + pe::kHeapCommitField, kHeapCommit);
    writer.patch32le(nt + pe::kNumberOfRvaAndSizesField, pe::kDataDirectoryCount);
    putDataDirectory(image, pe::kImportDirectoryIndex, program.importDirectory - kImageBase,
                     program.importDirectorySize);
    putDataDirectory(image, pe::kResourceDirectoryIndex, rsrc.rva, rsrc.memorySize);
    putDataDirectory(image, pe::kImportAddressTableIndex, program.importAddressTable - kImageBase,
                     program.importAddressTableSize);

    std::uint32_t header = nt + pe::kNtHeadersSize;
    for (const Section& s : sections) {
        std::memcpy(image.data() + header, s.name.data(), std::min<std::size_t>(s.name.size(), pe::kSectionNameSize));
        writer.patch32le(header + pe::kSectionVirtualSizeField, s.memorySize);
        writer.patch32le(header + pe::kSectionVirtualAddressField, s.rva);
        writer.patch32le(header + pe::kSectionSizeOfRawDataField, s.rawSize);
        writer.patch32le(header + pe::kSectionPointerToRawDataField, s.fileOffset);
        writer.patch32le(header + pe::kSectionCharacteristicsField, s.characteristics);
        header += pe::kSectionHeaderSize;
        if (!s.bytes->empty()) std::memcpy(image.data() + s.fileOffset, s.bytes->data(), s.bytes->size());
    }
    return image;
}

}  // namespace skedlin::templates
