#include "tools/inspect/PeReport.h"

#include <map>
#include <string>
#include <utility>

#include "builder/ResourceIds.h"
#include "formats/Bytes.h"
#include "formats/pe/PeLayout.h"
#include "formats/pe/ResourceTree.h"
#include "formats/pe/StringTableBlock.h"
#include "tools/inspect/BitmapReports.h"
#include "tools/inspect/PackageWords.h"
#include "tools/inspect/PocketPcRecords.h"

namespace skedlin::inspect {

namespace {

constexpr std::uint16_t kFirstPackageId = 4000;
constexpr std::uint16_t kLastContactId = builder::kFirstEventId - 1;
constexpr std::uint16_t kLastGroupNameId = kFirstPackageId + 2999;  // strings 6000 to 6999

struct Section {
    std::string name;
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0;
};

std::string typeName(std::uint16_t type) {
    switch (type) {
    case 1: return "cursor";
    case pe::kResourceTypeBitmap: return "bitmap";
    case pe::kResourceTypeIcon: return "icon";
    case 4: return "menu";
    case 5: return "dialog";
    case pe::kResourceTypeStringTable: return "string table";
    case 9: return "accelerators";
    case pe::kResourceTypeRawData: return "raw data";
    case 12: return "cursor group";
    case pe::kResourceTypeGroupIcon: return "icon group";
    case pe::kResourceTypeVersion: return "version";
    default: return "type " + std::to_string(type);
    }
}

std::string resourceName(std::uint16_t type, std::uint16_t id) { return typeName(type) + " " + std::to_string(id); }

// UTF-16 to UTF-8 (an unpaired surrogate becomes U+FFFD), carriage return
// plus line feed made a single line feed.
std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The headers and the section table; a message when they do not fit.
std::optional<std::vector<Section>> readSections(std::span<const std::uint8_t> image, Node& headers,
                                                 std::string* problem) {
    bytes::ByteReader in(image);
    const std::uint32_t nt = in.read32le(pe::kDosNewHeaderOffsetField);
    const std::uint32_t signature = in.read32le(nt);
    const std::uint16_t machine = in.read16le(std::uint64_t{nt} + pe::kMachineField);
    const std::uint16_t sectionCount = in.read16le(std::uint64_t{nt} + pe::kNumberOfSectionsField);
    const std::uint16_t optionalSize = in.read16le(std::uint64_t{nt} + pe::kSizeOfOptionalHeaderField);
    const std::uint16_t subsystem = in.read16le(std::uint64_t{nt} + pe::kSubsystemField);
    const std::uint32_t imageSize = in.read32le(std::uint64_t{nt} + pe::kSizeOfImageField);
    if (in.failed() || signature != pe::kNtSignature) {
        *problem = "its PE headers are missing or cut off";
        return std::nullopt;
    }
    headers.add("machine", machine == pe::kMachineArm ? std::string("ARM") : "machine " + std::to_string(machine));
    headers.add("subsystem", subsystem == pe::kSubsystemWindowsCeGui ? std::string("Windows CE GUI")
                                                                     : "subsystem " + std::to_string(subsystem));
    headers.addNumber("imageSize", imageSize);
    const std::uint64_t table = std::uint64_t{nt} + pe::kOptionalHeaderOffset + optionalSize;
    std::vector<Section> sections;
    Node list = Node::list();
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + std::uint64_t{pe::kSectionHeaderSize} * i;
        Section section;
        const auto name = in.slice(at, pe::kSectionNameSize);
        for (const std::uint8_t c : name) {
            if (c == 0) break;
            section.name += static_cast<char>(c);
        }
        section.virtualSize = in.read32le(at + pe::kSectionVirtualSizeField);
        section.virtualAddress = in.read32le(at + pe::kSectionVirtualAddressField);
        section.rawSize = in.read32le(at + pe::kSectionSizeOfRawDataField);
        section.rawOffset = in.read32le(at + pe::kSectionPointerToRawDataField);
        if (in.failed()) {
            *problem = "its section table is cut off";
            return std::nullopt;
        }
        Node entry = Node::object();
        entry.add("name", section.name);
        entry.addNumber("virtualSize", section.virtualSize);
        entry.addNumber("rawSize", section.rawSize);
        list.append(std::move(entry));
        sections.push_back(section);
    }
    headers.add("sections", std::move(list));
    return sections;
}

std::optional<std::vector<std::uint16_t>> wordList(std::uint16_t id, const std::vector<std::uint8_t>& body,
                                                   Findings& findings) {
    bytes::ByteReader in(body);
    const std::uint16_t count = in.read16le(0);
    if (in.failed() || body.size() != 2 + 2u * count) {
        findings.problems.push_back(resourceName(pe::kResourceTypeRawData, id) + " holds " +
                                    std::to_string(body.size()) + " bytes, not a count and its values");
        return std::nullopt;
    }
    std::vector<std::uint16_t> values;
    for (std::uint16_t i = 0; i < count; ++i) values.push_back(in.read16le(2 + 2u * i));
    return values;
}

struct PeReader {
    PackageContent content;
    Findings findings;
    std::map<std::uint16_t, std::string> strings;  // every slot of every package string block
    std::map<std::string, std::int64_t> viewerResources;
    std::optional<Node> logo;
    Node icons = Node::list();
    Node iconGroup = Node::list();
    bool anyPackageResource = false;

    void viewer(std::uint16_t type) { ++viewerResources[typeName(type)]; }

    void readStrings(std::uint16_t blockId, const std::vector<std::uint8_t>& body) {
        const std::uint32_t firstString = (std::uint32_t{blockId} - 1) * pe::kStringsPerBlock;
        if (blockId == 0 || firstString < kFirstPackageId || firstString > kLastGroupNameId) {
            viewer(pe::kResourceTypeStringTable);
            return;
        }
        anyPackageResource = true;
        const auto slots = decodeStringTable(body);
        if (!slots) {
            findings.problems.push_back(resourceName(pe::kResourceTypeStringTable, blockId) +
                                        " is shorter than its sixteen lengths say");
            return;
        }
        for (std::size_t slot = 0; slot < slots->size(); ++slot)
            strings[static_cast<std::uint16_t>(firstString + slot)] = utf16ToUtf8((*slots)[slot]);
    }

    void readRawData(std::uint16_t id, const std::vector<std::uint8_t>& body) {
        std::string problem;
        if (id >= builder::kWordListFirstEventIds && id <= builder::kWordListContactIndexList) {
            content.groupTables[id - builder::kWordListFirstEventIds] = wordList(id, body, findings);
            content.groupTableDamaged[id - builder::kWordListFirstEventIds] =
                !content.groupTables[id - builder::kWordListFirstEventIds];
        } else if (id >= builder::kFirstContactRecordId && id <= kLastContactId) {
            if (auto contact = decodePocketPcContact(body, &problem))
                content.contacts[id] = std::move(*contact);
            else
                findings.problems.push_back("contact " + std::to_string(id) + " does not decode: " + problem);
        } else if (id >= builder::kFirstEventId) {
            if (auto event = decodePocketPcEvent(body, &problem))
                content.events[id] = std::move(*event);
            else
                findings.problems.push_back("event " + std::to_string(id) + " does not decode: " + problem);
        } else if (id < kFirstPackageId) {
            viewer(pe::kResourceTypeRawData);
            return;
        } else {
            findings.unexpected.push_back(resourceName(pe::kResourceTypeRawData, id) + " (" +
                                          std::to_string(body.size()) + " bytes)");
            return;
        }
        anyPackageResource = true;
    }

    void readIcon(std::uint16_t id, const std::vector<std::uint8_t>& body) {
        std::string problem;
        auto icon = describeDeviceIndependentBitmap(body, true, &problem);
        if (!icon) {
            findings.problems.push_back(resourceName(pe::kResourceTypeIcon, id) + ": " + problem);
            return;
        }
        Node entry = Node::object();
        entry.addNumber("id", id);
        for (auto& [name, value] : icon->members()) entry.add(name, value);
        icons.append(std::move(entry));
    }

    void readIconGroup(std::uint16_t id, const std::vector<std::uint8_t>& body) {
        viewer(pe::kResourceTypeGroupIcon);
        if (id != builder::kPocketPcIconGroup) return;
        bytes::ByteReader in(body);
        const std::uint16_t count = in.read16le(pe::kGroupIconCountField);
        for (std::uint16_t i = 0; i < count && !in.failed(); ++i) {
            const std::uint64_t at = pe::kGroupIconHeaderSize + std::uint64_t{pe::kGroupIconEntrySize} * i;
            Node entry = Node::object();
            const std::uint8_t width = in.read8(at + pe::kGroupIconEntryWidthField);
            const std::uint8_t height = in.read8(at + pe::kGroupIconEntryHeightField);
            const std::uint16_t depth = in.read16le(at + pe::kGroupIconEntryBitCountField);
            const std::uint16_t iconId = in.read16le(at + pe::kGroupIconEntryIdField);
            if (in.failed()) break;
            entry.addNumber("width", width ? width : 256);
            entry.addNumber("height", height ? height : 256);
            entry.addNumber("depth", depth);
            entry.addNumber("iconId", iconId);
            iconGroup.append(std::move(entry));
        }
        if (in.failed())
            findings.problems.push_back(resourceName(pe::kResourceTypeGroupIcon, id) + " is shorter than its entries");
    }

    void read(std::uint16_t type, std::uint16_t id, const std::vector<std::uint8_t>& body) {
        switch (type) {
        case pe::kResourceTypeStringTable: readStrings(id, body); return;
        case pe::kResourceTypeRawData: readRawData(id, body); return;
        case pe::kResourceTypeBitmap:
            if (id != builder::kLogoBitmapId) {
                viewer(type);
                return;
            }
            {
                std::string problem;
                logo = describeDeviceIndependentBitmap(body, false, &problem);
                if (!logo) findings.problems.push_back("the logo bitmap: " + problem);
            }
            return;
        case pe::kResourceTypeIcon: readIcon(id, body); return;
        case pe::kResourceTypeGroupIcon: readIconGroup(id, body); return;
        default: viewer(type);
        }
    }

    // Strings to content, once every block is read.
    void gatherStrings() {
        const auto take = [&](std::uint16_t id) -> std::optional<std::string> {
            const auto found = strings.find(id);
            if (found == strings.end()) return std::nullopt;
            return found->second;
        };
        content.title = take(builder::kStringPackageTitle);
        content.welcome = take(builder::kStringWelcomeDescription);
        const auto author = take(builder::kStringAuthorInfo);
        if (author && !author->empty()) content.author = author;
        content.navigation = take(builder::kStringNavigation);
        const auto& firstEvents = content.groupTables[kFirstEventIds];
        const std::size_t groups = firstEvents ? firstEvents->size() : 0;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < groups; ++i) {
            const auto name = take(static_cast<std::uint16_t>(builder::kStringFirstGroupName + i));
            const auto description = take(static_cast<std::uint16_t>(builder::kStringFirstGroupDescription + i));
            if (!name) findings.problems.push_back("group " + std::to_string(i + 1) + " has no name string");
            names.push_back(name.value_or(""));
            if (description)
                content.groupDescriptions[static_cast<std::uint16_t>(builder::kStringFirstGroupDescription + i)] =
                    *description;
        }
        content.groupNames = names;
        // Strings past the groups in the group blocks are empty slots; a filled one is out of place.
        for (const auto& [id, text] : strings) {
            const bool groupText = id >= builder::kStringFirstGroupDescription;
            const std::size_t index = (id - builder::kStringFirstGroupDescription) % 1000;
            if (groupText && index >= groups && !text.empty())
                findings.unexpected.push_back("string " + std::to_string(id) + " of no group");
        }
    }
};

}  // namespace

bool looksLikePe(std::span<const std::uint8_t> image) {
    bytes::ByteReader in(image);
    return in.read16le(0) == pe::kDosSignature && !in.failed();
}

InspectResult inspectPe(std::span<const std::uint8_t> image) {
    InspectResult result;
    Node headers = Node::object();
    std::string problem;
    const auto sections = readSections(image, headers, &problem);
    if (!sections) {
        result.status = InspectStatus::Damaged;
        result.message = "the executable is damaged: " + problem;
        return result;
    }
    const Section* resources = nullptr;
    for (const Section& section : *sections) {
        if (section.name == pe::kResourceSectionName) resources = &section;
    }
    if (!resources) {
        result.status = InspectStatus::NotPackage;
        result.message = "the executable has no resource section, so it holds no calendar package";
        return result;
    }
    bytes::ByteReader in(image);
    const auto sectionBytes = in.slice(resources->rawOffset, resources->rawSize);
    if (in.failed()) {
        result.status = InspectStatus::Damaged;
        result.message = "the executable is damaged: its resource section runs past the end of the file";
        return result;
    }
    ResourceTree tree;
    if (const ResourceTreeResult parsed = tree.parse(sectionBytes, resources->virtualAddress); !parsed.ok()) {
        result.status = InspectStatus::Damaged;
        result.message = "the executable's resources cannot be read: " + parsed.message();
        return result;
    }
    PeReader reader;
    std::size_t resourceCount = 0;
    for (const auto& [type, resourceType] : tree.types) {
        for (const auto& [id, item] : resourceType.items) {
            reader.read(type, id, item.body);
            ++resourceCount;
        }
    }
    if (!reader.anyPackageResource) {
        result.status = InspectStatus::NotPackage;
        result.message = "the executable holds no calendar package";
        return result;
    }
    reader.gatherStrings();
    headers.addNumber("resources", static_cast<std::int64_t>(resourceCount));
    Node& report = result.report;
    report.add("format", "Pocket PC executable");
    report.add("executable", std::move(headers));
    describePackage(reader.content, report, reader.findings);
    if (reader.logo) report.add("logo", std::move(*reader.logo));
    report.add("icons", std::move(reader.icons));
    report.add("launcherIconGroup", std::move(reader.iconGroup));
    finishReport(reader.viewerResources, reader.findings, result);
    return result;
}

}  // namespace skedlin::inspect
