#include "tools/inspect/SetupFileReport.h"

#include <vector>

#include "formats/Bytes.h"
#include "formats/cab/SetupFileLayout.h"
#include "tools/inspect/RecordTexts.h"

namespace skedlin::inspect {

namespace {

namespace layout = cabwiz::setupfile;

// Reads the sections one entry at a time; the first read outside the file
// fails the reader and the caller gives up.
class SetupReader {
public:
    explicit SetupReader(std::span<const std::uint8_t> bytes) : bytes_(bytes), in_(bytes) {}

    bytes::ByteReader& in() { return in_; }

    // A zero-terminated text of `length` bytes (the zero counted) at `at`.
    std::string text(std::uint64_t at, std::uint64_t length) {
        const auto slice = in_.slice(at, length);
        std::string raw(slice.begin(), slice.end());
        const std::size_t zero = raw.find('\0');
        if (zero != std::string::npos) raw.resize(zero);
        return recordTextToUtf8(raw);
    }

    // Texts of a list of string ids ending with 0 (or running to its length), joined with "\".
    std::string path(std::uint64_t at, std::uint16_t listBytes, const std::map<std::uint16_t, std::string>& strings) {
        std::string joined;
        for (std::uint64_t p = at; p + 2 <= at + listBytes; p += 2) {
            const std::uint16_t id = in_.read16le(p);
            if (id == 0 || in_.failed()) break;
            const auto found = strings.find(id);
            if (!joined.empty()) joined += '\\';
            joined += found != strings.end() ? found->second : "<string " + std::to_string(id) + ">";
        }
        return joined;
    }

private:
    std::span<const std::uint8_t> bytes_;
    bytes::ByteReader in_;
};

std::string rootName(std::uint16_t root) {
    switch (root) {
    case layout::kRootClassesRoot: return "HKCR";
    case layout::kRootCurrentUser: return "HKCU";
    case layout::kRootLocalMachine: return "HKLM";
    case layout::kRootUsers: return "HKU";
    default: return "root " + std::to_string(root);
    }
}

}  // namespace

std::optional<SetupFileFacts> describeSetupFile(std::span<const std::uint8_t> bytes, std::string* problem) {
    SetupReader reader(bytes);
    bytes::ByteReader& in = reader.in();
    const auto signature = in.slice(layout::kOffsetSignature, layout::kSignature.size());
    if (in.failed() || std::string(signature.begin(), signature.end()) != layout::kSignature) {
        *problem = "the setup file does not start with its signature";
        return std::nullopt;
    }
    SetupFileFacts facts;
    Node& report = facts.report;
    std::uint16_t counts[layout::kSectionCount];
    std::uint32_t offsets[layout::kSectionCount];
    for (std::size_t s = 0; s < layout::kSectionCount; ++s) {
        counts[s] = in.read16le(layout::kOffsetSectionCounts + 2 * s);
        offsets[s] = in.read32le(layout::kOffsetSectionOffsets + 4 * s);
    }
    report.add("applicationName",
               reader.text(in.read16le(layout::kOffsetAppName), in.read16le(layout::kOffsetAppName + 2)));
    report.add("provider", reader.text(in.read16le(layout::kOffsetProvider), in.read16le(layout::kOffsetProvider + 2)));
    report.addNumber("processor", in.read32le(layout::kOffsetProcessorType));
    report.add("osVersionMin", std::to_string(in.read32le(layout::kOffsetVersionMinMajor)) + "." +
                                   std::to_string(in.read32le(layout::kOffsetVersionMinMinor)));
    report.add("osVersionMax", std::to_string(in.read32le(layout::kOffsetVersionMaxMajor)) + "." +
                                   std::to_string(in.read32le(layout::kOffsetVersionMaxMinor)));
    Node unsupported = Node::list();
    {
        const std::uint16_t at = in.read16le(layout::kOffsetUnsupported);
        const std::uint16_t length = in.read16le(layout::kOffsetUnsupported + 2);
        const auto list = in.slice(at, length);
        std::string name;
        for (const std::uint8_t c : list) {
            if (c != 0) {
                name += static_cast<char>(c);
            } else if (!name.empty()) {
                unsupported.append(Node::text(recordTextToUtf8(name)));
                name.clear();
            }
        }
    }
    report.add("unsupportedPlatforms", std::move(unsupported));

    std::map<std::uint16_t, std::string> strings;
    std::uint64_t at = offsets[layout::kStrings];
    for (std::uint16_t i = 0; i < counts[layout::kStrings] && !in.failed(); ++i) {
        const std::uint16_t id = in.read16le(at);
        const std::uint16_t length = in.read16le(at + 2);
        strings[id] = reader.text(at + 4, length);
        at += 4 + std::uint64_t{length};
    }
    std::map<std::uint16_t, std::string> directories;
    Node folders = Node::list();
    at = offsets[layout::kDirectories];
    for (std::uint16_t i = 0; i < counts[layout::kDirectories] && !in.failed(); ++i) {
        const std::uint16_t id = in.read16le(at);
        const std::uint16_t length = in.read16le(at + 2);
        directories[id] = reader.path(at + 4, length, strings);
        folders.append(Node::text(directories[id]));
        at += 4 + std::uint64_t{length};
    }
    report.add("folders", std::move(folders));
    Node files = Node::list();
    std::map<std::uint16_t, std::string> filePaths;
    at = offsets[layout::kFiles];
    for (std::uint16_t i = 0; i < counts[layout::kFiles] && !in.failed(); ++i) {
        const std::uint16_t id = in.read16le(at);
        const std::uint16_t directory = in.read16le(at + 2);
        const std::uint32_t flags = in.read32le(at + 6);
        const std::uint16_t length = in.read16le(at + 10);
        const std::string name = reader.text(at + 12, length);
        const std::string folder =
            directories.count(directory) ? directories[directory] : "<folder " + std::to_string(directory) + ">";
        Node file = Node::object();
        file.addNumber("id", id);
        file.add("name", name);
        file.add("folder", folder);
        file.addNumber("flags", flags);
        files.append(std::move(file));
        facts.fileNames[id] = name;
        filePaths[id] = folder + "\\" + name;
        at += 12 + std::uint64_t{length};
    }
    report.add("files", std::move(files));
    std::map<std::uint16_t, std::string> hives;
    at = offsets[layout::kRegistryHives];
    for (std::uint16_t i = 0; i < counts[layout::kRegistryHives] && !in.failed(); ++i) {
        const std::uint16_t id = in.read16le(at);
        const std::uint16_t root = in.read16le(at + 2);
        const std::uint16_t length = in.read16le(at + 6);
        hives[id] = rootName(root) + "\\" + reader.path(at + 8, length, strings);
        at += 8 + std::uint64_t{length};
    }
    Node registry = Node::list();
    at = offsets[layout::kRegistryKeys];
    for (std::uint16_t i = 0; i < counts[layout::kRegistryKeys] && !in.failed(); ++i) {
        const std::uint16_t hive = in.read16le(at + 2);
        const std::uint32_t type = in.read32le(at + 6);
        const std::uint16_t length = in.read16le(at + 10);
        const auto data = in.slice(at + 12, length);
        std::string raw(data.begin(), data.end());
        const std::size_t zero = raw.find('\0');
        Node value = Node::object();
        value.add("key", hives.count(hive) ? hives[hive] : "<hive " + std::to_string(hive) + ">");
        value.add("name", recordTextToUtf8(raw.substr(0, zero)));
        const std::string rest = zero == std::string::npos ? std::string() : raw.substr(zero + 1);
        switch (type & layout::kRegistryTypeMask) {
        case layout::kRegistryTypeString: value.add("string", recordTextToUtf8(rest.substr(0, rest.find('\0')))); break;
        case layout::kRegistryTypeDword: {
            bytes::ByteReader word(
                std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size()));
            value.addNumber("dword", word.read32le(0));
            break;
        }
        default: value.addNumber("dataBytes", static_cast<std::int64_t>(rest.size()));
        }
        registry.append(std::move(value));
        at += 12 + std::uint64_t{length};
    }
    report.add("registry", std::move(registry));
    Node shortcuts = Node::list();
    at = offsets[layout::kShortcuts];
    for (std::uint16_t i = 0; i < counts[layout::kShortcuts] && !in.failed(); ++i) {
        const std::uint16_t directory = in.read16le(at + 2);
        const std::uint16_t base = in.read16le(at + 4);
        const std::uint16_t target = in.read16le(at + 6);
        const std::uint16_t isFile = in.read16le(at + 8);
        const std::uint16_t length = in.read16le(at + 10);
        std::string folder = directory ? (directories.count(directory) ? directories[directory] : "<folder>")
                                       : (base ? "%CE" + std::to_string(base) + "%" : std::string("%InstallDir%"));
        Node shortcut = Node::object();
        shortcut.add("path", folder + "\\" + reader.path(at + 12, length, strings));
        if (isFile == layout::kShortcutTargetFile)
            shortcut.add("target",
                         filePaths.count(target) ? filePaths[target] : "<file " + std::to_string(target) + ">");
        else
            shortcut.add("target",
                         directories.count(target) ? directories[target] : "<folder " + std::to_string(target) + ">");
        shortcuts.append(std::move(shortcut));
        at += 12 + std::uint64_t{length};
    }
    report.add("shortcuts", std::move(shortcuts));
    if (in.failed()) {
        *problem = "a section of the setup file runs past its end";
        return std::nullopt;
    }
    return facts;
}

}  // namespace skedlin::inspect
