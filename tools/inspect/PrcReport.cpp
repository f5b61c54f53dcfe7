#include "tools/inspect/PrcReport.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "builder/ResourceIds.h"
#include "formats/Bytes.h"
#include "formats/prc/PalmResourceTypes.h"
#include "formats/prc/PrcFile.h"
#include "tools/inspect/BitmapReports.h"
#include "tools/inspect/PackageWords.h"
#include "tools/inspect/PalmRecords.h"
#include "tools/inspect/RecordTexts.h"

namespace skedlin::inspect {

namespace {

using palm::fourCharCode;
using palm::fourCharText;

struct ResourceView {
    std::uint32_t type;
    std::uint16_t id;
    std::span<const std::uint8_t> bytes;
};

// Resource types of a Palm OS program (code, its data, user interface,
// fonts, version): the viewer's own resources, counted, not decoded.
const std::set<std::uint32_t> kProgramTypes = {
    palm::kTypeCode,      palm::kTypeData,      palm::kTypePreferences, palm::kTypeVersion,   fourCharCode("rloc"),
    fourCharCode("xprf"), fourCharCode("tFRM"), fourCharCode("MBAR"),   fourCharCode("MENU"), fourCharCode("Talt"),
    fourCharCode("tBTN"), fourCharCode("tCBX"), fourCharCode("tFBM"),   fourCharCode("tFLD"), fourCharCode("tGDT"),
    fourCharCode("tGSI"), fourCharCode("tLBL"), fourCharCode("tLST"),   fourCharCode("tPBN"), fourCharCode("tPUL"),
    fourCharCode("tPUT"), fourCharCode("tREP"), fourCharCode("tSCL"),   fourCharCode("tSLT"), fourCharCode("tTBL"),
    fourCharCode("tTTL"), fourCharCode("tint"), fourCharCode("taic"),   fourCharCode("Tbsb"), fourCharCode("NFNT"),
    fourCharCode("nfnt"), fourCharCode("afnt"), fourCharCode("fnti"),   fourCharCode("feat")};
// Types the package shares with the program: the program's own lie outside
// the package's ids (4000 to 8999 hold the package's texts and records).
const std::set<std::uint32_t> kSharedTypes = {palm::kTypeBitmap,  palm::kTypeString,  palm::kTypeStringList,
                                              palm::kTypeAppIcon, palm::kTypeAppName, palm::kTypeWordList};
constexpr std::uint16_t kFirstProgramIdAfterPackage = 9000;

// The last id below the package's own resources; template resources stay below it.
constexpr std::uint16_t kFirstPackageId = 4000;
constexpr std::uint16_t kLastGroupDescriptionId = builder::kStringFirstGroupName - 1;
constexpr std::uint16_t kLastContactId = builder::kFirstEventId - 1;

// Seconds since 1 January 1904 as "YYYY-MM-DD HH:MM:SS" (the handheld's local time).
std::string palmTimestamp(std::uint32_t seconds) {
    if (seconds == 0) return "never";
    long days = static_cast<long>(seconds / 86400);
    const std::uint32_t rest = seconds % 86400;
    int year = 1904;
    while (true) {
        const int yearDays = (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 366 : 365;
        if (days < yearDays) break;
        days -= yearDays;
        ++year;
    }
    int month = 1;
    while (true) {
        DayDate probe{year, month, 1};
        int length = 28;
        while (length < 31 && isCalendarDay(DayDate{probe.year, probe.month, length + 1})) ++length;
        if (days < length) break;
        days -= length;
        ++month;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02u:%02u:%02u", year, month, static_cast<int>(days) + 1,
                  rest / 3600, rest / 60 % 60, rest % 60);
    return text;
}

std::string resourceName(std::uint32_t type, std::uint16_t id) { return fourCharText(type) + " " + std::to_string(id); }

// The text of a tSTR resource; nullopt when it does not end in its zero byte.
std::optional<std::string> stringResource(const ResourceView& resource, Findings& findings) {
    if (resource.bytes.empty() || resource.bytes.back() != 0) {
        findings.problems.push_back(resourceName(resource.type, resource.id) + " does not end in a zero byte");
        return std::nullopt;
    }
    std::size_t at = 0;
    return takeText(resource.bytes, &at);
}

std::optional<std::vector<std::string>> stringList(const ResourceView& resource, Findings& findings) {
    std::size_t at = 0;
    bytes::ByteReader in(resource.bytes);
    std::vector<std::string> texts;
    const auto prefix = takeText(resource.bytes, &at);
    const std::uint16_t count = in.read16be(at);
    at += 2;
    for (std::uint16_t i = 0; prefix && !in.failed() && i < count; ++i) {
        const auto text = takeText(resource.bytes, &at);
        if (!text) break;
        texts.push_back(*text);
    }
    if (!prefix || in.failed() || texts.size() != count || at != resource.bytes.size()) {
        findings.problems.push_back(resourceName(resource.type, resource.id) + " is not a string list of whole texts");
        return std::nullopt;
    }
    return texts;
}

std::optional<std::vector<std::uint16_t>> wordList(const ResourceView& resource, Findings& findings) {
    bytes::ByteReader in(resource.bytes);
    const std::uint16_t count = in.read16be(0);
    if (in.failed() || resource.bytes.size() != 2 + 2u * count) {
        findings.problems.push_back(resourceName(resource.type, resource.id) + " holds " +
                                    std::to_string(resource.bytes.size()) + " bytes, not a count and its values");
        return std::nullopt;
    }
    std::vector<std::uint16_t> values;
    for (std::uint16_t i = 0; i < count; ++i) values.push_back(in.read16be(2 + 2u * i));
    return values;
}

Node bitmapFamily(const ResourceView& resource, Findings& findings) {
    std::string problem;
    if (auto family = describePalmBitmapFamily(resource.bytes, &problem)) return std::move(*family);
    findings.problems.push_back(resourceName(resource.type, resource.id) + ": " + problem);
    return Node::list();
}

Node databaseNode(std::span<const std::uint8_t> image, std::size_t resourceCount) {
    bytes::ByteReader in(image);
    std::string name;
    for (std::size_t i = 0; i < prc::kNameFieldBytes && image[i] != 0; ++i) name += static_cast<char>(image[i]);
    Node database = Node::object();
    database.add("name", recordTextToUtf8(name));
    database.add("type", recordTextToUtf8(fourCharText(in.read32be(prc::kOffsetType))));
    database.add("creator", recordTextToUtf8(fourCharText(in.read32be(prc::kOffsetCreator))));
    database.addNumber("version", in.read16be(prc::kOffsetVersion));
    database.addNumber("attributes", in.read16be(prc::kOffsetAttributes));
    database.add("created", palmTimestamp(in.read32be(prc::kOffsetCreationDate)));
    database.add("modified", palmTimestamp(in.read32be(prc::kOffsetModificationDate)));
    database.add("backedUp", palmTimestamp(in.read32be(prc::kOffsetBackupDate)));
    database.addNumber("resources", static_cast<std::int64_t>(resourceCount));
    return database;
}

// Splits the image into its resources; a message when the list does not fit.
std::optional<std::vector<ResourceView>> splitResources(std::span<const std::uint8_t> image, std::string* problem) {
    bytes::ByteReader in(image);
    const std::uint16_t count = in.read16be(prc::kOffsetResourceCount);
    const std::uint64_t dataStart = prc::firstDataOffset(count);
    if (in.failed() || !in.has(0, dataStart)) {
        *problem = "the list of " + std::to_string(count) + " resources runs past the end of the file";
        return std::nullopt;
    }
    std::vector<ResourceView> resources;
    std::uint64_t previous = dataStart;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t entry = prc::kHeaderBytes + prc::kResourceEntryBytes * i;
        const std::uint32_t type = in.read32be(entry);
        const std::uint16_t id = in.read16be(entry + 4);
        const std::uint32_t offset = in.read32be(entry + 6);
        if (offset < previous || offset > image.size()) {
            *problem = "resource " + resourceName(type, id) + " starts at " + std::to_string(offset) +
                       ", outside the data of the file";
            return std::nullopt;
        }
        resources.push_back({type, id, {}});
        previous = offset;
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t begin = in.read32be(prc::kHeaderBytes + prc::kResourceEntryBytes * i + 6);
        const std::uint64_t end =
            i + 1 < count ? in.read32be(prc::kHeaderBytes + prc::kResourceEntryBytes * (i + 1) + 6) : image.size();
        resources[i].bytes = image.subspan(begin, end - begin);
    }
    return resources;
}

// Everything of the package, with the resource classified as it is read.
struct PrcReader {
    PackageContent content;
    Findings findings;
    std::map<std::string, std::int64_t> viewerResources;
    std::set<std::pair<std::uint32_t, std::uint16_t>> seen;
    std::optional<std::string> launcherName;
    std::optional<Node> launcherIcon, smallIcon, logo;

    bool isPackageResource(const ResourceView& r) const {
        const std::uint32_t t = r.type;
        const std::uint16_t id = r.id;
        if (t == palm::kTypeString)
            return id == builder::kStringPackageTitle || id == builder::kStringWelcomeDescription ||
                   id == builder::kStringAuthorInfo || id == builder::kStringNavigation ||
                   (id >= builder::kStringFirstGroupDescription && id <= kLastGroupDescriptionId);
        if (t == palm::kTypeStringList) return id == builder::kStringListGroupNames;
        if (t == palm::kTypeWordList)
            return id >= builder::kWordListFirstEventIds && id <= builder::kWordListContactIndexList;
        if (t == palm::kTypeContact) return id >= builder::kFirstContactRecordId && id <= kLastContactId;
        if (t == palm::kTypeEvent) return id >= builder::kFirstEventId;
        if (t == palm::kTypeBitmap) return id == builder::kLogoBitmapId;
        if (t == palm::kTypeAppName) return id == palm::kLauncherNameId;
        if (t == palm::kTypeAppIcon) return id == palm::kLauncherIconId || id == palm::kSmallIconId;
        return false;
    }

    void read(const ResourceView& r) {
        if (!isPackageResource(r)) {
            const bool programId = r.id < kFirstPackageId || r.id >= kFirstProgramIdAfterPackage;
            if (kProgramTypes.count(r.type) || (kSharedTypes.count(r.type) && programId)) {
                ++viewerResources[recordTextToUtf8(fourCharText(r.type))];
            } else {
                findings.unexpected.push_back(resourceName(r.type, r.id) + " (" + std::to_string(r.bytes.size()) +
                                              " bytes)");
            }
            return;
        }
        if (!seen.insert({r.type, r.id}).second) {
            findings.unexpected.push_back("a second " + resourceName(r.type, r.id) + " (" +
                                          std::to_string(r.bytes.size()) + " bytes)");
            return;
        }
        std::string problem;
        switch (r.type) {
        case palm::kTypeString: {
            const auto text = stringResource(r, findings);
            if (!text) return;
            if (r.id == builder::kStringPackageTitle)
                content.title = text;
            else if (r.id == builder::kStringWelcomeDescription)
                content.welcome = text;
            else if (r.id == builder::kStringAuthorInfo)
                content.author = text;
            else if (r.id == builder::kStringNavigation)
                content.navigation = text;
            else
                content.groupDescriptions[r.id] = *text;
            return;
        }
        case palm::kTypeStringList: content.groupNames = stringList(r, findings); return;
        case palm::kTypeWordList: {
            const std::size_t table = r.id - builder::kWordListFirstEventIds;
            content.groupTables[table] = wordList(r, findings);
            content.groupTableDamaged[table] = !content.groupTables[table];
        }
            return;
        case palm::kTypeContact:
            if (auto contact = decodePalmContact(r.bytes, &problem))
                content.contacts[r.id] = std::move(*contact);
            else
                findings.problems.push_back("contact " + std::to_string(r.id) + " does not decode: " + problem);
            return;
        case palm::kTypeEvent:
            if (auto event = decodePalmEvent(r.bytes, &problem))
                content.events[r.id] = std::move(*event);
            else
                findings.problems.push_back("event " + std::to_string(r.id) + " does not decode: " + problem);
            return;
        case palm::kTypeBitmap: logo = bitmapFamily(r, findings); return;
        case palm::kTypeAppName: launcherName = stringResource(r, findings); return;
        case palm::kTypeAppIcon:
            (r.id == palm::kLauncherIconId ? launcherIcon : smallIcon) = bitmapFamily(r, findings);
            return;
        default: return;
        }
    }
};

}  // namespace

bool looksLikePrc(std::span<const std::uint8_t> image) {
    // No magic number: a name field ending in a zero byte, the resource
    // attribute and a type of four printable characters tell a resource
    // database from other files.
    bytes::ByteReader in(image);
    const std::uint16_t attributes = in.read16be(prc::kOffsetAttributes);
    const auto type = in.slice(prc::kOffsetType, 4);
    const auto name = in.slice(0, prc::kNameFieldBytes);
    if (in.failed() || image.size() < prc::kHeaderBytes || !(attributes & prc::kAttributeResourceDatabase))
        return false;
    bool nameEnds = false;
    for (const std::uint8_t c : name) nameEnds = nameEnds || c == 0;
    for (const std::uint8_t c : type) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return nameEnds;
}

InspectResult inspectPrc(std::span<const std::uint8_t> image) {
    InspectResult result;
    if (image.size() < prc::kHeaderBytes) {
        result.status = InspectStatus::NotPackage;
        result.message = "the file is shorter than the 78-byte header of a resource database";
        return result;
    }
    std::string problem;
    const auto resources = splitResources(image, &problem);
    if (!resources) {
        result.status = InspectStatus::Damaged;
        result.message = "the resource database is damaged: " + problem;
        return result;
    }
    PrcReader reader;
    for (const ResourceView& resource : *resources) reader.read(resource);
    if (reader.seen.empty()) {
        result.status = InspectStatus::NotPackage;
        result.message = "the resource database holds no calendar package";
        return result;
    }
    Node& report = result.report;
    report.add("format", "Palm OS resource database");
    report.add("database", databaseNode(image, resources->size()));
    describePackage(reader.content, report, reader.findings);

    Node launcher = Node::object();
    if (reader.launcherName) launcher.add("name", *reader.launcherName);
    if (reader.launcherIcon) launcher.add("icon", std::move(*reader.launcherIcon));
    if (reader.smallIcon) launcher.add("smallIcon", std::move(*reader.smallIcon));
    report.add("launcher", std::move(launcher));
    if (reader.logo) report.add("logo", std::move(*reader.logo));
    finishReport(reader.viewerResources, reader.findings, result);
    return result;
}

}  // namespace skedlin::inspect
