#include "tools/cabwiz/SetupFileWriter.h"

#include <array>
#include <limits>
#include <string>

#include "formats/Bytes.h"
#include "formats/cab/SetupFileLayout.h"

namespace skedlin::cabwiz {
namespace {

namespace sf = setupfile;

constexpr std::size_t kMax16 = std::numeric_limits<std::uint16_t>::max();

// Every path component and shortcut name is a numbered string; equal texts share one id.
class StringTable {
public:
    std::uint16_t idOf(const std::string& text) {
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            if (texts_[i] == text) return static_cast<std::uint16_t>(i + 1);
        }
        texts_.push_back(text);
        return static_cast<std::uint16_t>(texts_.size());  // checked against kMax16 before writing
    }
    std::vector<std::uint16_t> idsOf(const std::vector<std::string>& texts) {
        std::vector<std::uint16_t> ids;
        for (const auto& text : texts) ids.push_back(idOf(text));
        return ids;
    }
    const std::vector<std::string>& texts() const { return texts_; }

private:
    std::vector<std::string> texts_;
};

class SetupFileBuilder {
public:
    explicit SetupFileBuilder(const InstallPlan& plan) : plan_(plan) {}

    CabwizResult build(std::vector<std::uint8_t>& out) {
        if (CabwizResult status = assignStringIds(); !status.ok()) return status;
        if (CabwizResult status = writeHeader(); !status.ok()) return status;
        if (CabwizResult status = writeStrings(); !status.ok()) return status;
        writeDirectories();
        if (CabwizResult status = writeFiles(); !status.ok()) return status;
        writeHives();
        if (CabwizResult status = writeValues(); !status.ok()) return status;
        writeShortcuts();

        if (bytes_.size() > std::numeric_limits<std::uint32_t>::max()) {
            return CabwizResult(CabwizError::Limit, "the setup file would be larger than 4 GiB");
        }
        writer_.patch32le(sf::kOffsetTotalLength, static_cast<std::uint32_t>(bytes_.size()));
        out = std::move(bytes_);
        return CabwizResult::success();
    }

private:
    // Assigns string ids in the order the sections use them, and checks that
    // every count and id list fits its 16-bit field.
    CabwizResult assignStringIds() {
        for (const auto& directory : plan_.directories) directoryIds_.push_back(strings_.idsOf(directory.components));
        for (const auto& hive : plan_.hives) hiveIds_.push_back(strings_.idsOf(hive.keyPath));
        for (const auto& shortcut : plan_.shortcuts) shortcutIds_.push_back(strings_.idsOf(shortcut.nameComponents));

        counts_ = {strings_.texts().size(), plan_.directories.size(), plan_.files.size(),
                   plan_.hives.size(),      plan_.values.size(),      plan_.shortcuts.size()};
        static constexpr std::array<const char*, sf::kSectionCount> kSectionNames = {
            "strings", "directories", "files", "registry keys", "registry values", "shortcuts"};
        for (std::size_t i = 0; i < counts_.size(); ++i) {
            if (counts_[i] > kMax16) {
                return CabwizResult(CabwizError::Limit, std::string("too many ") + kSectionNames[i] +
                                                            " for a setup file (" + std::to_string(counts_[i]) +
                                                            ", at most 65535)");
            }
        }
        for (const auto* lists : {&directoryIds_, &hiveIds_, &shortcutIds_}) {
            for (const auto& ids : *lists) {
                if (2 * (ids.size() + 1) > kMax16)
                    return CabwizResult(CabwizError::Limit, "a path has too many components");
            }
        }
        return CabwizResult::success();
    }

    // The fixed header, then the texts it points at.
    CabwizResult writeHeader() {
        writer_.putChars(sf::kSignature);
        writer_.putZeros(sf::kHeaderSize - sf::kSignature.size());
        writer_.patch32le(sf::kOffsetAlwaysOne, sf::kAlwaysOne);
        writer_.patch32le(sf::kOffsetProcessorType, plan_.processorType);
        writer_.patch32le(sf::kOffsetVersionMinMajor, plan_.versionMin.major);
        writer_.patch32le(sf::kOffsetVersionMinMinor, plan_.versionMin.minor);
        writer_.patch32le(sf::kOffsetVersionMaxMajor, plan_.versionMax.major);
        writer_.patch32le(sf::kOffsetVersionMaxMinor, plan_.versionMax.minor);
        writer_.patch32le(sf::kOffsetBuildMin, plan_.buildMin);
        writer_.patch32le(sf::kOffsetBuildMax, plan_.buildMax);

        CabwizResult status = headerText(sf::kOffsetAppName, plan_.appName + '\0', "application name");
        if (status.ok()) status = headerText(sf::kOffsetProvider, plan_.provider + '\0', "provider");
        if (status.ok() && !plan_.unsupportedPlatforms.empty()) {
            std::string list;
            for (const auto& platform : plan_.unsupportedPlatforms) list += platform + '\0';
            status = headerText(sf::kOffsetUnsupported, list + '\0', "list of unsupported platforms");
        }
        return status;
    }

    CabwizResult writeStrings() {
        beginSection(sf::kStrings, counts_[sf::kStrings]);
        for (std::size_t i = 0; i < strings_.texts().size(); ++i) {
            const std::string& text = strings_.texts()[i];
            if (text.size() + 1 > kMax16)
                return CabwizResult(CabwizError::Limit, "the text '" + text.substr(0, 40) + "...' is too long");
            writer_.put16le(static_cast<std::uint16_t>(i + 1));
            writer_.put16le(static_cast<std::uint16_t>(text.size() + 1));
            writer_.putText(text);
        }
        return CabwizResult::success();
    }

    void writeDirectories() {
        beginSection(sf::kDirectories, counts_[sf::kDirectories]);
        for (std::size_t i = 0; i < directoryIds_.size(); ++i) {
            writer_.put16le(static_cast<std::uint16_t>(i + 1));
            idList(directoryIds_[i], true);
        }
    }

    CabwizResult writeFiles() {
        beginSection(sf::kFiles, counts_[sf::kFiles]);
        for (const auto& file : plan_.files) {
            if (file.installName.size() + 1 > kMax16)
                return CabwizResult(CabwizError::Limit, "a file name is too long");
            writer_.put16le(file.id);
            writer_.put16le(file.directoryId);
            writer_.put16le(file.id);
            writer_.put32le(file.flags);
            writer_.put16le(static_cast<std::uint16_t>(file.installName.size() + 1));
            writer_.putText(file.installName);
        }
        return CabwizResult::success();
    }

    void writeHives() {
        beginSection(sf::kRegistryHives, counts_[sf::kRegistryHives]);
        for (std::size_t i = 0; i < plan_.hives.size(); ++i) {
            writer_.put16le(static_cast<std::uint16_t>(i + 1));
            writer_.put16le(plan_.hives[i].root);
            writer_.put16le(0);
            idList(hiveIds_[i], true);
        }
    }

    CabwizResult writeValues() {
        beginSection(sf::kRegistryKeys, counts_[sf::kRegistryKeys]);
        for (std::size_t i = 0; i < plan_.values.size(); ++i) {
            const RegistryValue& value = plan_.values[i];
            const std::size_t length = value.name.size() + 1 + value.data.size();
            if (length > kMax16)
                return CabwizResult(CabwizError::Limit, "the registry value '" + value.name + "' is too long");
            writer_.put16le(static_cast<std::uint16_t>(i + 1));
            writer_.put16le(value.hiveId);
            writer_.put16le(value.expandMacros ? 1 : 0);
            writer_.put32le(value.type);
            writer_.put16le(static_cast<std::uint16_t>(length));
            writer_.putText(value.name);
            writer_.putBytes(value.data);
        }
        return CabwizResult::success();
    }

    void writeShortcuts() {
        beginSection(sf::kShortcuts, counts_[sf::kShortcuts]);
        for (std::size_t i = 0; i < plan_.shortcuts.size(); ++i) {
            const Shortcut& shortcut = plan_.shortcuts[i];
            writer_.put16le(static_cast<std::uint16_t>(i + 1));
            writer_.put16le(shortcut.directoryId);
            writer_.put16le(shortcut.base);
            writer_.put16le(shortcut.targetId);
            writer_.put16le(shortcut.targetIsFile ? sf::kShortcutTargetFile : sf::kShortcutTargetFolder);
            idList(shortcutIds_[i], false);
        }
    }

    CabwizResult headerText(std::size_t field, const std::string& bytes, const char* what) {
        if (writer_.size() > sf::kMaxTextOffset || bytes.size() > kMax16) {
            return CabwizResult(CabwizError::Limit,
                                std::string("the ") + what + " is too long for the setup file header");
        }
        writer_.patch16le(field, static_cast<std::uint16_t>(writer_.size()));
        writer_.patch16le(field + 2, static_cast<std::uint16_t>(bytes.size()));
        writer_.putChars(bytes);
        return CabwizResult::success();
    }

    void beginSection(sf::SectionIndex section, std::size_t count) {
        writer_.patch16le(sf::kOffsetSectionCounts + 2 * section, static_cast<std::uint16_t>(count));
        writer_.patch32le(sf::kOffsetSectionOffsets + 4 * section, static_cast<std::uint32_t>(writer_.size()));
    }

    // u16 byte length, then the ids, with a closing 0 (counted) when asked.
    void idList(const std::vector<std::uint16_t>& ids, bool zeroTerminated) {
        const std::size_t count = ids.size() + (zeroTerminated ? 1 : 0);
        writer_.put16le(static_cast<std::uint16_t>(2 * count));
        for (auto id : ids) writer_.put16le(id);
        if (zeroTerminated) writer_.put16le(0);
    }

    const InstallPlan& plan_;
    StringTable strings_;
    std::vector<std::vector<std::uint16_t>> directoryIds_;
    std::vector<std::vector<std::uint16_t>> hiveIds_;
    std::vector<std::vector<std::uint16_t>> shortcutIds_;
    std::array<std::size_t, sf::kSectionCount> counts_{};
    bytes::Bytes bytes_;
    bytes::ByteWriter writer_{bytes_};
};

}  // namespace

CabwizResult buildSetupFile(const InstallPlan& plan, std::vector<std::uint8_t>& out) {
    SetupFileBuilder builder(plan);
    return builder.build(out);
}

}  // namespace skedlin::cabwiz
