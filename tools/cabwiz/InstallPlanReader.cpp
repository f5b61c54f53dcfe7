#include "tools/cabwiz/InstallPlanReader.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <utility>

#include "tools/cabwiz/CabinetNames.h"
#include "formats/Bytes.h"
#include "formats/RegularFile.h"
#include "formats/cab/SetupFileLayout.h"
#include "tools/cabwiz/Windows1252.h"

namespace skedlin::cabwiz {
namespace {

namespace sf = setupfile;

// Section and key names of the installation description.
constexpr std::string_view kVersionSection = "Version";
constexpr std::string_view kProviderKey = "Provider";
constexpr std::string_view kCeSignatureKey = "CESignature";
constexpr std::string_view kCeSignatureValue = "$Windows CE$";
constexpr std::string_view kStringsSection = "Strings";
constexpr std::string_view kCeStringsSection = "CEStrings";
constexpr std::string_view kAppNameKey = "AppName";
constexpr std::string_view kInstallDirKey = "InstallDir";
constexpr std::string_view kDeviceSection = "CEDevice";
constexpr std::string_view kProcessorTypeKey = "ProcessorType";
constexpr std::string_view kUnsupportedPlatformsKey = "UnsupportedPlatforms";
constexpr std::string_view kVersionMinKey = "VersionMin";
constexpr std::string_view kVersionMaxKey = "VersionMax";
constexpr std::string_view kBuildMinKey = "BuildMin";
constexpr std::string_view kBuildMaxKey = "BuildMax";
constexpr std::string_view kSourceDisksNamesSection = "SourceDisksNames";
constexpr std::string_view kSourceDisksFilesSection = "SourceDisksFiles";
constexpr std::string_view kDefaultInstallSection = "DefaultInstall";
constexpr std::string_view kCopyFilesKey = "CopyFiles";
constexpr std::string_view kAddRegKey = "AddReg";
constexpr std::string_view kShortcutsKey = "CEShortcuts";
constexpr std::string_view kDestinationDirsSection = "DestinationDirs";
constexpr std::string_view kDefaultDestDirKey = "DefaultDestDir";

// Macros resolved on the device rather than here.
constexpr std::string_view kInstallDirMacro = "%InstallDir%";
constexpr std::string_view kCeMacroPrefix = "%CE";
constexpr unsigned kMaxCeMacro = 17;
constexpr std::string_view kAppNameMacroName = "AppName";
// Stands for an escaped percent sign ("%%") while a folder's text is checked
// for macros: a control character that no description has reason to hold.
constexpr char kEscapedPercent = '\x01';

constexpr std::string_view kLinkExtension = ".lnk";
constexpr std::size_t kSourceDiskPathField = 3;  // "id = description, tag file, unused, path"
constexpr std::size_t kRegistryDataField = 4;    // "root, key, value name, flags, data..."
constexpr std::uint32_t kShortcutToFile = 0;
constexpr std::uint32_t kShortcutToFolder = 1;

struct RegistryRootName {
    std::string_view name;
    std::uint16_t code;
};
constexpr RegistryRootName kRegistryRoots[] = {
    {"HKCR", sf::kRootClassesRoot},
    {"HKCU", sf::kRootCurrentUser},
    {"HKLM", sf::kRootLocalMachine},
    {"HKU", sf::kRootUsers},
};

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// Decimal, or hexadecimal after "0x"; no sign; must fit 32 bits.
bool parseNumber(std::string_view text, std::uint32_t& value) {
    unsigned base = 10;
    if (startsWithIgnoringCase(text, "0x")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    std::uint64_t result = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        result = result * base + digit;
        if (result > 0xFFFFFFFFull) return false;
    }
    value = static_cast<std::uint32_t>(result);
    return true;
}

// "3.0" -> 3, 0; "4" -> 4, 0.
bool parseVersion(std::string_view text, OsVersion& version) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        version.minor = 0;
        return parseNumber(text, version.major) && !startsWithIgnoringCase(text, "0x");
    }
    const auto major = text.substr(0, dot);
    const auto minor = text.substr(dot + 1);
    return !startsWithIgnoringCase(major, "0x") && !startsWithIgnoringCase(minor, "0x") &&
           parseNumber(major, version.major) && parseNumber(minor, version.minor);
}

// A [Strings] text with each "%%" written as `percent`.
std::string unescapedPercents(std::string_view text, char percent) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            out.push_back(percent);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// "%CE11%" -> 11.
bool ceMacroNumber(std::string_view text, unsigned& number) {
    if (!startsWithIgnoringCase(text, kCeMacroPrefix) || text.size() < kCeMacroPrefix.size() + 2 ||
        text.back() != '%') {
        return false;
    }
    std::uint32_t value = 0;
    const auto digits = text.substr(kCeMacroPrefix.size(), text.size() - kCeMacroPrefix.size() - 1);
    if (digits.size() > 2 || !parseNumber(digits, value) || startsWithIgnoringCase(digits, "0x")) return false;
    if (value < 1 || value > kMaxCeMacro) return false;
    number = value;
    return true;
}

bool holdsDeviceMacro(std::string_view text) {
    for (std::size_t start = text.find('%'); start != std::string_view::npos; start = text.find('%', start + 1)) {
        const std::size_t end = text.find('%', start + 1);
        if (end == std::string_view::npos) return false;
        const auto candidate = text.substr(start, end - start + 1);
        unsigned number = 0;
        if (equalsIgnoringCase(candidate, kInstallDirMacro) || ceMacroNumber(candidate, number)) return true;
    }
    return false;
}

// True when the text holds "%word%" with a word of letters, digits and '_':
// the shape of a macro, known or not.
bool holdsMacroWord(std::string_view text) {
    for (std::size_t start = text.find('%'); start != std::string_view::npos; start = text.find('%', start + 1)) {
        std::size_t end = start + 1;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
        if (end > start + 1 && end < text.size() && text[end] == '%') return true;
    }
    return false;
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> components;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) components.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) components.push_back(std::move(current));
    return components;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A folder on the device as a line names it.
struct Folder {
    std::vector<std::string> components;
    bool baseOnly = false;  // the text was a single macro: %InstallDir% or %CEn%
    std::uint16_t base = 0;
};

class PlanReader {
public:
    PlanReader(const InfDocument& inf, const std::string& cpu, const std::string& infFolder, InstallPlan& plan)
        : inf_(inf), cpu_(cpu), infFolder_(infFolder), plan_(plan) {}

    CabwizResult run() {
        CabwizResult status = readStrings();
        if (status.ok()) status = readVersion();
        if (status.ok()) status = readCeStrings();
        if (status.ok()) status = readDevice();
        if (status.ok()) status = readInstall();
        return status;
    }

private:
    CabwizResult failAt(int line, const std::string& message, CabwizError kind = CabwizError::Plan) const {
        return CabwizResult(kind, inf_.where(line) + message);
    }

    CabwizResult missingSection(std::string_view name) const {
        return CabwizResult(CabwizError::Plan,
                            inf_.fileName() + ": the section [" + std::string(name) + "] is missing");
    }

    // "[Name.<cpu>]" when present, else "[Name]".
    const InfSection* cpuSection(std::string_view name) const {
        if (!cpu_.empty()) {
            if (const auto* section = inf_.section(std::string(name) + "." + cpu_)) return section;
        }
        return inf_.section(name);
    }

    std::string cpuSectionName(std::string_view name) const {
        return cpu_.empty() ? std::string(name) : std::string(name) + "." + cpu_ + "] or [" + std::string(name);
    }

    // Replaces %name% by its [Strings] text (and %AppName% by the application
    // name) and %% by %, also inside a [Strings] text. Device macros and
    // unknown names stay as they are: they are checked where a folder is
    // expected.
    std::string expand(std::string_view text) const { return expandWith(text, '%'); }

    // The same with each escaped percent sign written as kEscapedPercent, so
    // that a folder's text still tells an escaped "%%CE2%%" from the macro.
    std::string expandMarkingEscapes(std::string_view text) const { return expandWith(text, kEscapedPercent); }

    static std::string withEscapesRestored(std::string text) {
        for (char& c : text)
            if (c == kEscapedPercent) c = '%';
        return text;
    }

    std::string expandWith(std::string_view text, char escapedPercent) const {
        std::string out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t start = text.find('%', pos);
            if (start == std::string_view::npos) break;
            const std::size_t end = text.find('%', start + 1);
            if (end == std::string_view::npos) break;
            out.append(text.substr(pos, start - pos));
            const auto name = text.substr(start + 1, end - start - 1);
            if (name.empty()) {
                out.push_back(escapedPercent);
            } else if (const std::string* value = stringValue(name)) {
                out.append(unescapedPercents(*value, escapedPercent));
            } else if (equalsIgnoringCase(name, kAppNameMacroName) && appNameRead_) {
                out.append(plan_.appName);
            } else {
                out.append(text.substr(start, end - start + 1));
            }
            pos = end + 1;
        }
        out.append(text.substr(pos));
        return out;
    }

    const std::string* stringValue(std::string_view name) const {
        for (const auto& [key, value] : strings_) {
            if (equalsIgnoringCase(key, name)) return &value;
        }
        return nullptr;
    }

    // text as the line holds it, not yet expanded.
    CabwizResult resolveFolder(std::string_view text, int line, Folder& folder) const {
        std::string path = expandMarkingEscapes(text);
        folder = Folder{};
        bool fromInstallDir = false;
        if (startsWithIgnoringCase(path, kInstallDirMacro)) {
            if (!installDir_) {
                return failAt(line, "%InstallDir% is used, but [CEStrings] has no InstallDir");
            }
            if (path.size() == kInstallDirMacro.size()) {
                folder.baseOnly = true;
                folder.base = 0;
            }
            path = expandMarkingEscapes(*installDir_) + path.substr(kInstallDirMacro.size());
            fromInstallDir = true;
        }
        folder.components = splitPath(path);
        if (folder.components.empty()) return failAt(line, "an empty folder name");
        for (std::size_t i = 0; i < folder.components.size(); ++i) {
            const std::string& component = folder.components[i];
            if (!holdsMacroWord(component)) continue;  // a lone '%' is an ordinary character
            unsigned number = 0;
            if (i == 0 && ceMacroNumber(component, number)) {
                if (folder.components.size() == 1 && !fromInstallDir) {
                    folder.baseOnly = true;
                    folder.base = static_cast<std::uint16_t>(number);
                }
                continue;
            }
            return failAt(line, "unknown directory macro in '" + withEscapesRestored(component) + "'");
        }
        for (std::string& component : folder.components) component = withEscapesRestored(std::move(component));
        return CabwizResult::success();
    }

    std::uint16_t directoryId(const std::vector<std::string>& components) {
        for (std::size_t i = 0; i < plan_.directories.size(); ++i) {
            if (plan_.directories[i].components == components) return static_cast<std::uint16_t>(i + 1);
        }
        plan_.directories.push_back(DirectoryEntry{components});
        return static_cast<std::uint16_t>(plan_.directories.size());
    }

    CabwizResult readStrings() {
        const InfSection* section = inf_.section(kStringsSection);
        if (section == nullptr) return CabwizResult::success();
        for (const auto& line : section->lines) {
            if (!line.hasKey) return failAt(line.number, "expected 'name = text' in [Strings]");
            strings_.emplace_back(line.key, line.field(0));
        }
        return CabwizResult::success();
    }

    CabwizResult readVersion() {
        const InfSection* section = inf_.section(kVersionSection);
        if (section == nullptr) return missingSection(kVersionSection);
        const InfLine* provider = section->find(kProviderKey);
        if (provider == nullptr) return failAt(section->headerLine, "[Version] has no Provider");
        plan_.provider = expand(provider->field(0));
        const InfLine* signature = section->find(kCeSignatureKey);
        if (signature == nullptr) return failAt(section->headerLine, "[Version] has no CESignature");
        if (!equalsIgnoringCase(signature->field(0), kCeSignatureValue)) {
            return failAt(signature->number, "CESignature must be \"$Windows CE$\"");
        }
        return CabwizResult::success();
    }

    CabwizResult readCeStrings() {
        const InfSection* section = inf_.section(kCeStringsSection);
        if (section == nullptr) return missingSection(kCeStringsSection);
        const InfLine* appName = section->find(kAppNameKey);
        if (appName == nullptr) return failAt(section->headerLine, "[CEStrings] has no AppName");
        plan_.appName = expand(appName->field(0));
        if (plan_.appName.empty()) return failAt(appName->number, "AppName is empty");
        appNameRead_ = true;
        if (const InfLine* installDir = section->find(kInstallDirKey)) {
            const std::string& value = installDir->field(0);
            if (startsWithIgnoringCase(expandMarkingEscapes(value), kInstallDirMacro)) {
                return failAt(installDir->number, "InstallDir cannot refer to itself");
            }
            Folder folder;
            const CabwizResult status = resolveFolder(value, installDir->number, folder);
            if (!status.ok()) return status;
            installDir_ = value;  // as written: expanded where it is used
            // The installation folder conventionally comes first, as directory 1.
            directoryId(folder.components);
        }
        return CabwizResult::success();
    }

    CabwizResult readDevice() {
        const InfSection* section = cpuSection(kDeviceSection);
        if (section == nullptr) return CabwizResult::success();  // no requirements on the device
        for (const auto& line : section->lines) {
            if (!line.hasKey) return failAt(line.number, "expected 'key = value' in [" + section->name + "]");
            const std::string& value = line.field(0);
            bool valid = true;
            if (equalsIgnoringCase(line.key, kProcessorTypeKey)) {
                valid = parseNumber(value, plan_.processorType);
            } else if (equalsIgnoringCase(line.key, kVersionMinKey)) {
                valid = parseVersion(value, plan_.versionMin);
            } else if (equalsIgnoringCase(line.key, kVersionMaxKey)) {
                valid = parseVersion(value, plan_.versionMax);
            } else if (equalsIgnoringCase(line.key, kBuildMinKey)) {
                valid = parseNumber(value, plan_.buildMin);
            } else if (equalsIgnoringCase(line.key, kBuildMaxKey)) {
                valid = parseNumber(value, plan_.buildMax);
            } else if (equalsIgnoringCase(line.key, kUnsupportedPlatformsKey)) {
                plan_.unsupportedPlatforms.clear();
                for (const auto& field : line.fields) {
                    if (!field.empty()) plan_.unsupportedPlatforms.push_back(expand(field));
                }
            }
            if (!valid) return failAt(line.number, "'" + value + "' is not a valid value for " + line.key);
        }
        return CabwizResult::success();
    }

    // The sections that a [DefaultInstall] key names, each of which must exist.
    CabwizResult namedSections(const InfLine* line, std::vector<const InfSection*>& sections) const {
        sections.clear();
        if (line == nullptr) return CabwizResult::success();
        for (const auto& name : line->fields) {
            if (name.empty()) continue;
            const InfSection* section = inf_.section(name);
            if (section == nullptr) return failAt(line->number, "the section [" + name + "] named here is missing");
            sections.push_back(section);
        }
        return CabwizResult::success();
    }

    // The folder that [DestinationDirs] gives a file list or shortcut list.
    CabwizResult destinationOf(const InfSection& list, int line, Folder& folder) const {
        const InfSection* destinations = inf_.section(kDestinationDirsSection);
        const InfLine* entry = nullptr;
        if (destinations != nullptr) {
            entry = destinations->find(list.name);
            if (entry == nullptr) entry = destinations->find(kDefaultDestDirKey);
        }
        if (entry == nullptr) {
            return failAt(line, "[DestinationDirs] gives no folder for [" + list.name + "] and no DefaultDestDir");
        }
        // ", folder" as the tool writes it; a bare folder is accepted too.
        std::string text = entry->field(1);
        if (entry->fields.size() == 1) text = entry->field(0);
        if (text.empty()) return failAt(entry->number, "no folder is given for " + entry->key);
        return resolveFolder(text, entry->number, folder);
    }

    CabwizResult sourceFolderOf(const std::string& sourceName, int line, std::string& folder) const {
        const InfSection* files = cpuSection(kSourceDisksFilesSection);
        if (files == nullptr) return missingSection(cpuSectionName(kSourceDisksFilesSection));
        const InfLine* fileEntry = files->find(sourceName);
        if (fileEntry == nullptr) {
            return failAt(line, "'" + sourceName + "' is not listed in [" + files->name + "]");
        }
        const InfSection* disks = cpuSection(kSourceDisksNamesSection);
        if (disks == nullptr) return missingSection(cpuSectionName(kSourceDisksNamesSection));
        const InfLine* disk = disks->find(fileEntry->field(0));
        if (disk == nullptr) {
            return failAt(fileEntry->number,
                          "disk '" + fileEntry->field(0) + "' is not listed in [" + disks->name + "]");
        }
        std::string path = localName(expand(disk->field(kSourceDiskPathField)));
        if (path.empty()) {
            folder = infFolder_;
            return CabwizResult::success();
        }
        // A folder written on Windows uses backslashes.
        if (!isDirectory(path) && path.find('\\') != std::string::npos) {
            for (char& c : path) {
                if (c == '\\') c = '/';
            }
        }
        if (path.front() != '/') path = infFolder_ + "/" + path;
        folder = path;
        return CabwizResult::success();
    }

    // A text of the description as a file name of this computer.
    std::string localName(const std::string& text) const { return inf_.wasUtf8() ? windows1252ToUtf8(text) : text; }

    CabwizResult readSource(const std::string& path, int line, std::vector<std::uint8_t>& bytes) {
        const std::uint64_t room = kMaxPayloadBytes - payloadBytes_;
        const Result<FileReadError> read = readRegularFile(path, room, bytes);
        switch (read.code()) {
        case FileReadError::None: break;
        case FileReadError::CannotOpen:
            return failAt(line, "cannot read the source file '" + path + "': " + read.message(),
                          CabwizError::SourceFile);
        case FileReadError::NotRegularFile:
            return failAt(line, "the source file '" + path + "' is not a regular file", CabwizError::SourceFile);
        case FileReadError::TooLarge:
            return failAt(line,
                          "the source file '" + path + "' makes the cabinet larger than " +
                              std::to_string(kMaxPayloadBytes) + " bytes",
                          CabwizError::Limit);
        case FileReadError::Unreadable:
            return failAt(line, "the source file '" + path + "' could not be read whole", CabwizError::SourceFile);
        }
        payloadBytes_ += bytes.size();
        return CabwizResult::success();
    }

    CabwizResult readFileList(const InfSection& list, int copyFilesLine) {
        Folder destination;
        CabwizResult status = destinationOf(list, copyFilesLine, destination);
        if (!status.ok()) return status;
        for (const auto& line : list.lines) {
            if (line.hasKey) return failAt(line.number, "expected 'name, source, , flags' in a file list");
            PayloadFile file;
            file.installName = expand(line.field(0));
            if (file.installName.empty()) return failAt(line.number, "a file list line without a file name");
            std::string sourceName = line.field(1).empty() ? file.installName : expand(line.field(1));
            if (!line.field(3).empty() && !parseNumber(line.field(3), file.flags)) {
                return failAt(line.number, "'" + line.field(3) + "' is not a valid file flags value");
            }
            if (plan_.files.size() >= kMaxFileId) {
                return failAt(line.number, "more than " + std::to_string(kMaxFileId) + " files", CabwizError::Limit);
            }
            std::string folder;
            status = sourceFolderOf(sourceName, line.number, folder);
            if (!status.ok()) return status;
            std::string relative = localName(sourceName);
            for (char& c : relative) {
                if (c == '\\') c = '/';
            }
            file.sourcePath = folder + "/" + relative;
            status = readSource(file.sourcePath, line.number, file.bytes);
            if (!status.ok()) return status;
            file.id = static_cast<std::uint16_t>(plan_.files.size() + 1);
            file.directoryId = directoryId(destination.components);
            file.cabinetName = cabinetMemberName(sourceName, file.id);
            plan_.files.push_back(std::move(file));
        }
        return CabwizResult::success();
    }

    CabwizResult readRegistryLine(const InfLine& line) {
        if (line.hasKey) return failAt(line.number, "expected 'root, key, value name, flags, data' in a registry list");
        RegistryHive hive;
        bool rootKnown = false;
        for (const auto& root : kRegistryRoots) {
            if (equalsIgnoringCase(line.field(0), root.name)) {
                hive.root = root.code;
                rootKnown = true;
            }
        }
        if (!rootKnown) return failAt(line.number, "unknown registry root '" + line.field(0) + "'");
        hive.keyPath = splitPath(expand(line.field(1)));
        if (hive.keyPath.empty()) return failAt(line.number, "the registry key is empty");

        RegistryValue value;
        value.name = expand(line.field(2));
        std::uint32_t flags = 0;
        if (!line.field(3).empty() && !parseNumber(line.field(3), flags)) {
            return failAt(line.number, "'" + line.field(3) + "' is not a valid registry flags value");
        }
        if ((flags & ~(sf::kRegistryTypeMask | sf::kRegistryKeepExisting)) != 0) {
            return failAt(line.number, "unsupported registry flags '" + line.field(3) + "'");
        }
        value.type = flags;
        const std::uint32_t type = flags & sf::kRegistryTypeMask;
        if (type == sf::kRegistryTypeString) {
            const std::string text = expand(line.field(kRegistryDataField));
            value.expandMacros = holdsDeviceMacro(text);
            value.data.assign(text.begin(), text.end());
            value.data.push_back(0);
        } else if (type == sf::kRegistryTypeMultiString) {
            for (std::size_t i = kRegistryDataField; i < line.fields.size(); ++i) {
                const std::string text = expand(line.fields[i]);
                value.expandMacros = value.expandMacros || holdsDeviceMacro(text);
                value.data.insert(value.data.end(), text.begin(), text.end());
                value.data.push_back(0);
            }
            value.data.push_back(0);
        } else if (type == sf::kRegistryTypeDword) {
            std::uint32_t number = 0;
            if (!parseNumber(line.field(kRegistryDataField), number)) {
                return failAt(line.number, "'" + line.field(kRegistryDataField) + "' is not a valid DWORD value");
            }
            bytes::ByteWriter(value.data).put32le(number);
        } else {
            for (std::size_t i = kRegistryDataField; i < line.fields.size(); ++i) {
                std::uint32_t byte = 0;
                std::string_view digits = line.fields[i];
                if (startsWithIgnoringCase(digits, "0x")) digits.remove_prefix(2);
                if (digits.empty() || digits.size() > 2 || !parseNumber("0x" + std::string(digits), byte)) {
                    return failAt(line.number, "'" + line.fields[i] + "' is not a hexadecimal byte");
                }
                value.data.push_back(static_cast<std::uint8_t>(byte));
            }
        }
        if (value.name.size() + 1 + value.data.size() > 0xFFFF) {
            return failAt(line.number, "the registry value is longer than 65535 bytes", CabwizError::Limit);
        }
        value.hiveId = 0;
        for (std::size_t i = 0; i < plan_.hives.size(); ++i) {
            if (plan_.hives[i].root == hive.root && plan_.hives[i].keyPath == hive.keyPath) {
                value.hiveId = static_cast<std::uint16_t>(i + 1);
            }
        }
        if (value.hiveId == 0) {
            plan_.hives.push_back(std::move(hive));
            value.hiveId = static_cast<std::uint16_t>(plan_.hives.size());
        }
        plan_.values.push_back(std::move(value));
        return CabwizResult::success();
    }

    CabwizResult readShortcutLine(const InfSection& list, const InfLine& line) {
        if (line.hasKey) return failAt(line.number, "expected 'name, type, target, folder' in a shortcut list");
        Shortcut shortcut;
        std::string name = expand(line.field(0));
        if (name.empty()) return failAt(line.number, "a shortcut without a name");
        if (!endsWithIgnoringCase(name, kLinkExtension)) name += kLinkExtension;
        shortcut.nameComponents = splitPath(name);
        if (shortcut.nameComponents.empty()) return failAt(line.number, "a shortcut without a name");

        std::uint32_t type = kShortcutToFile;
        if (!line.field(1).empty() && !parseNumber(line.field(1), type)) type = kShortcutToFolder + 1;
        const std::string target = expand(line.field(2));
        if (type == kShortcutToFile) {
            shortcut.targetIsFile = true;
            for (const auto& file : plan_.files) {
                if (equalsIgnoringCase(file.installName, target)) {
                    shortcut.targetId = file.id;
                    break;
                }
            }
            if (shortcut.targetId == 0) {
                return failAt(line.number, "the shortcut target '" + target + "' is not a file of this cabinet");
            }
        } else if (type == kShortcutToFolder) {
            shortcut.targetIsFile = false;
            Folder folder;
            const CabwizResult status = resolveFolder(line.field(2), line.number, folder);
            if (!status.ok()) return status;
            shortcut.targetId = directoryId(folder.components);
        } else {
            return failAt(line.number, "the shortcut type must be 0 (file) or 1 (folder), not '" + line.field(1) + "'");
        }

        Folder folder;
        const CabwizResult status = line.field(3).empty() ? destinationOf(list, line.number, folder)
                                                          : resolveFolder(line.field(3), line.number, folder);
        if (!status.ok()) return status;
        if (folder.baseOnly) {
            shortcut.directoryId = 0;
            shortcut.base = folder.base;
        } else {
            shortcut.directoryId = directoryId(folder.components);
        }
        plan_.shortcuts.push_back(std::move(shortcut));
        return CabwizResult::success();
    }

    CabwizResult readInstall() {
        const InfSection* install = inf_.section(kDefaultInstallSection);
        if (install == nullptr) return missingSection(kDefaultInstallSection);

        std::vector<const InfSection*> lists;
        const InfLine* copyFiles = install->find(kCopyFilesKey);
        CabwizResult status = namedSections(copyFiles, lists);
        for (const InfSection* list : lists) {
            if (status.ok()) status = readFileList(*list, copyFiles->number);
        }
        if (!status.ok()) return status;

        status = namedSections(install->find(kAddRegKey), lists);
        for (const InfSection* list : lists) {
            for (const auto& line : list->lines) {
                if (status.ok()) status = readRegistryLine(line);
            }
        }
        if (!status.ok()) return status;

        status = namedSections(install->find(kShortcutsKey), lists);
        for (const InfSection* list : lists) {
            for (const auto& line : list->lines) {
                if (status.ok()) status = readShortcutLine(*list, line);
            }
        }
        return status;
    }

    const InfDocument& inf_;
    const std::string& cpu_;
    const std::string& infFolder_;
    InstallPlan& plan_;
    std::vector<std::pair<std::string, std::string>> strings_;
    std::optional<std::string> installDir_;  // the InstallDir text as written
    bool appNameRead_ = false;
    std::uint64_t payloadBytes_ = 0;
};

}  // namespace

CabwizResult readInstallPlan(const InfDocument& inf, const std::string& cpu, const std::string& infFolder,
                             InstallPlan& plan) {
    InstallPlan result;
    PlanReader reader(inf, cpu, infFolder, result);
    const CabwizResult status = reader.run();
    if (status.ok()) plan = std::move(result);
    return status;
}

}  // namespace skedlin::cabwiz
