#include "builder/PackageBuilder.h"

#include <cstdio>

#include "builder/BitmapElementsReader.h"
#include "builder/ContactsReader.h"
#include "builder/GroupsReader.h"
#include "builder/PocketPcOutputStep.h"
#include "builder/RecordText.h"
#include "builder/ResourceIds.h"
#include "formats/prc/PalmResourceTypes.h"
#include "model/Windows1252.h"
#include "builder/pocketpc/PocketPcExecutable.h"
#include "templates/palm/PalmTemplate.h"
#include "templates/pocketpc/PocketPcTemplate.h"

namespace skedlin::builder {
namespace {

constexpr std::string_view kRootElement = "calendar-package";
constexpr std::string_view kBundledDtdName = "CalendarPackage.dtd";
constexpr std::string_view kPalmExtension = ".prc";

constexpr std::string_view kNavigationNoneText = "none";
constexpr std::string_view kNavigationGroupsText = "groups";
// Warnings about the package's own texts (title, names, welcome texts) name this owner.
constexpr std::string_view kPackageTextOwner = "the package";

}  // namespace

PackageBuilder::PackageBuilder(BuildOptions options) : options_(std::move(options)) {
    templateLoaded_ = palmDatabase_.load(templates::palmTemplateImage()).ok();
    // Without the Pocket PC target the executable is not made and the setters skip it.
    if (options_.pocketPcTarget) {
        std::unique_ptr<PocketPcExecutable> executable;
        pocketPcTemplateError_ = PocketPcExecutable::load(templates::pocketPcTemplateImage(), executable).message();
        pocketPc_ = std::move(executable);
    }
}

PackageBuilder::~PackageBuilder() = default;

std::string PackageBuilder::bundledDtdPath() const { return options_.builderDirectory + std::string(kBundledDtdName); }

// ---- The build -----------------------------------------------------------------

BuildResult PackageBuilder::build() {
    if (BuildResult result = read(); !result.ok()) return result;
    return writeOutputs();
}

BuildResult PackageBuilder::read() {
    if (!templateLoaded_) return BuildResult(kExitNonFatal, std::string(kMsgTemplateDamaged));
    if (!pocketPcTemplateError_.empty()) return BuildResult(kExitNonFatal, pocketPcTemplateError_);
    xml::Document document;
    xml::ParseError parseError;
    if (const xml::XmlLoadResult loaded = document.loadFile(options_.inputPath, bundledDtdPath(), parseError);
        !loaded.ok()) {
        // The parser's reason, string 2009 with the line, the source text of that line.
        std::string reason = ansi(loaded.message());
        if (!reason.empty() && reason.back() != '.') reason += '.';
        return BuildResult(kExitXmlParser,
                           reason + " " + fillMessage(kMsgLineNumber, parseError.line) + parseError.sourceText);
    }
    const xml::Element root = document.root();
    if (!root || root.name() != kRootElement) {
        return BuildResult(kExitMissingRequired, "The root element must be <" + std::string(kRootElement) + ">, not <" +
                                                     ansi(root.name()) + ">" +
                                                     (root ? " (line " + std::to_string(root.line()) + ")" : "") + ".");
    }
    contactRecordIdCounter_ = kFirstContactRecordId;
    eventIdCounter_ = kFirstEventId;
    return walk(root);
}

// The fixed reading order of a package.
BuildResult PackageBuilder::walk(const xml::Element& root) {
    if (BuildResult result = readNavigation(root); !result.ok()) return result;
    if (BuildResult result = readAppName(root); !result.ok()) return result;
    if (BuildResult result = readPackageTitle(root); !result.ok()) return result;
    if (BuildResult result = readAppLauncher(root); !result.ok()) return result;
    if (BuildResult result = readWelcome(root); !result.ok()) return result;
    if (const xml::Element contacts = root.firstChild("contacts")) {
        if (BuildResult result = readContacts(*this, contacts); !result.ok()) return result;
    }
    xml::Element groups;
    if (BuildResult result = requireChild(root, "groups", groups); !result.ok()) return result;
    return readGroups(*this, groups);
}

BuildResult PackageBuilder::readNavigation(const xml::Element& root) {
    std::string navigation;
    if (BuildResult result = requireAttribute(root, "navigation", navigation); !result.ok()) return result;
    long mode = kNavigationEvents;  // any other text, "Groups" too
    if (navigation == kNavigationNoneText) {
        mode = kNavigationNone;
    } else if (navigation == kNavigationGroupsText) {
        mode = kNavigationGroups;
    }
    setNumber(kStringNavigation, mode);
    return BuildResult::success();
}

BuildResult PackageBuilder::readAppName(const xml::Element& root) {
    std::string appName;
    if (BuildResult result = requireChildText(root, "app-name", appName); !result.ok()) return result;
    palmDatabase_.setName(appName);  // Palm only; cut to 31 characters there
    return BuildResult::success();
}

BuildResult PackageBuilder::readPackageTitle(const xml::Element& root) {
    std::string title;
    if (BuildResult result = requireChildText(root, "package-title", title); !result.ok()) return result;
    setString(kStringPackageTitle, title);
    return BuildResult::success();
}

BuildResult PackageBuilder::readAppLauncher(const xml::Element& root) {
    xml::Element launcher;
    if (BuildResult result = requireChild(root, "app-launcher", launcher); !result.ok()) return result;
    if (BuildResult result = requireChildText(launcher, "launcher-name", launcherName_); !result.ok()) return result;
    palmDatabase_.setLauncherName(launcherName_);
    if (const xml::Element icons = launcher.firstChild("launcher-icon")) {
        if (BuildResult result = readLauncherIcons(*this, icons); !result.ok()) return result;
    }
    return BuildResult::success();
}

BuildResult PackageBuilder::readWelcome(const xml::Element& root) {
    xml::Element welcome;
    if (BuildResult result = requireChild(root, "welcome", welcome); !result.ok()) return result;
    std::string description;
    if (BuildResult result = requireChildText(welcome, "description", description); !result.ok()) return result;
    setString(kStringWelcomeDescription, description);
    if (const auto authorInfo = recordChildText(*this, welcome, "author-info", kPackageTextOwner))
        setString(kStringAuthorInfo, *authorInfo);
    if (const xml::Element image = welcome.firstChild("image")) {
        if (BuildResult result = readWelcomeImage(*this, image); !result.ok()) return result;
    }
    return BuildResult::success();
}

// ---- Output --------------------------------------------------------------------

BuildResult PackageBuilder::writeOutputs() {
    if (options_.pocketPcTarget) {
        if (BuildResult result = checkPocketPcOutputName(*this); !result.ok()) return result;
    }
    if (options_.palmTarget) {
        if (BuildResult result = writePalmOutput(); !result.ok()) return result;
    }
    if (!options_.pocketPcTarget) return BuildResult::success();
    return writePocketPcOutput(*this);
}

BuildResult PackageBuilder::writePalmOutput() {
    const std::string path = options_.outputBase + std::string(kPalmExtension);
    if (const auto written = palmDatabase_.write(path); !written.ok())
        return BuildResult(kExitOutputFile, outputFileMessage(path, written.message()));
    return BuildResult::success();
}

// ---- Dual-target setters -------------------------------------------------------

void PackageBuilder::setString(std::uint16_t id, std::string_view text) {
    palmDatabase_.addString(id, text);
    if (pocketPc_) pocketPc_->addString(id, text);
}

void PackageBuilder::setNumber(std::uint16_t id, long value) {
    palmDatabase_.addNumber(id, value);
    if (pocketPc_) pocketPc_->addNumber(id, value);
}

void PackageBuilder::setWordList(std::uint16_t id, std::span<const std::uint16_t> values) {
    palmDatabase_.addWordList(id, values);
    if (pocketPc_) pocketPc_->addWordList(id, values);
}

// ---- Operations of the readers -------------------------------------------------

bool PackageBuilder::registerContactId(long xmlId) {
    return contactIdMap_.emplace(xmlId, contactRecordIdCounter_).second;
}

std::optional<std::uint16_t> PackageBuilder::contactRecordIdOf(long xmlId) const {
    const auto found = contactIdMap_.find(xmlId);
    if (found == contactIdMap_.end()) return std::nullopt;
    return found->second;
}

void PackageBuilder::addContactRecords(std::span<const std::uint8_t> palmRecord,
                                       std::span<const std::uint8_t> pocketPcRecord) {
    palmDatabase_.append({palm::kTypeContact, contactRecordIdCounter_, {palmRecord.begin(), palmRecord.end()}});
    if (pocketPc_) pocketPc_->addRecord(contactRecordIdCounter_, pocketPcRecord);
    ++contactRecordIdCounter_;
}

void PackageBuilder::addEventRecords(std::span<const std::uint8_t> palmRecord,
                                     std::span<const std::uint8_t> pocketPcRecord) {
    palmDatabase_.append({palm::kTypeEvent, eventIdCounter_, {palmRecord.begin(), palmRecord.end()}});
    if (pocketPc_) pocketPc_->addRecord(eventIdCounter_, pocketPcRecord);
    ++eventIdCounter_;
}

void PackageBuilder::setGroupNames(std::span<const std::string> names) {
    palmDatabase_.addStringList(kStringListGroupNames, names);
    if (!pocketPc_) return;
    for (std::size_t i = 0; i < names.size(); ++i)
        pocketPc_->addString(static_cast<std::uint16_t>(kStringFirstGroupName + i), names[i]);
}

void PackageBuilder::setContactIndexLists(std::span<const std::uint16_t> palm,
                                          std::span<const std::uint16_t> pocketPc) {
    palmDatabase_.addWordList(kWordListContactIndexList, palm);
    if (pocketPc_) pocketPc_->addWordList(kWordListContactIndexList, pocketPc);
}

void PackageBuilder::setLauncherIconFamily(palm::PalmResource family) {
    palmDatabase_.replace(family.type, family.id, std::move(family.bytes));
}

void PackageBuilder::addLogoFamily(palm::PalmResource family) { palmDatabase_.append(std::move(family)); }

void PackageBuilder::addPocketPcIcon(const BmpImage& image) {
    if (pocketPc_) pocketPc_->addIcon(kPocketPcIconGroup, image);
}

void PackageBuilder::addPocketPcLogo(std::span<const std::uint8_t> packedBitmap) {
    if (pocketPc_) pocketPc_->addBitmap(kLogoBitmapId, packedBitmap);
}

// ---- Reading helpers -----------------------------------------------------------

std::string PackageBuilder::ansi(std::string_view utf8) { return utf8ToWindows1252(utf8); }

std::optional<std::string> PackageBuilder::childText(const xml::Element& parent, std::string_view name) {
    const auto text = parent.childText(name);
    if (!text) return std::nullopt;
    return ansi(*text);
}

std::optional<std::string> PackageBuilder::attributeText(const xml::Element& element, std::string_view name) {
    const auto text = element.attribute(name);
    if (!text) return std::nullopt;
    return ansi(*text);
}

BuildResult PackageBuilder::missingElement(std::string_view element, const xml::Element& parent) {
    return BuildResult(kExitMissingRequired, missingElementMessage(element, parent.name(), parent.line()));
}

BuildResult PackageBuilder::missingAttribute(std::string_view attribute, const xml::Element& element) {
    return BuildResult(kExitMissingRequired, missingAttributeMessage(attribute, element.name(), element.line()));
}

BuildResult PackageBuilder::requireChild(const xml::Element& parent, std::string_view name, xml::Element& child) {
    child = parent.firstChild(name);
    if (!child) return missingElement(name, parent);
    return BuildResult::success();
}

BuildResult PackageBuilder::requireChildText(const xml::Element& parent, std::string_view name, std::string& text) {
    const auto value = recordChildText(*this, parent, name, kPackageTextOwner);
    if (!value) return missingElement(name, parent);
    text = *value;
    return BuildResult::success();
}

BuildResult PackageBuilder::requireAttribute(const xml::Element& element, std::string_view name, std::string& text) {
    const auto value = attributeText(element, name);
    if (!value) return missingAttribute(name, element);
    text = *value;
    return BuildResult::success();
}

}  // namespace skedlin::builder
