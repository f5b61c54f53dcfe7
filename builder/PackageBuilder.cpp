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
    templateLoaded_ = palmDatabase_.load(templates::palmTemplateImage());
    // Without the Pocket PC target the executable is not made and the setters skip it.
    if (options_.pocketPcTarget) {
        pocketPc_ = PocketPcExecutable::load(templates::pocketPcTemplateImage(), pocketPcTemplateError_);
    }
}

PackageBuilder::~PackageBuilder() = default;

std::string PackageBuilder::bundledDtdPath() const { return options_.builderDirectory + std::string(kBundledDtdName); }

// ---- The build -----------------------------------------------------------------

int PackageBuilder::build() {
    if (int code = read()) return code;
    return writeOutputs();
}

int PackageBuilder::read() {
    if (!templateLoaded_) {
        errorMessage_ = kMsgTemplateDamaged;
        return kExitNonFatal;
    }
    if (!pocketPcTemplateError_.empty()) {
        errorMessage_ = pocketPcTemplateError_;
        return kExitNonFatal;
    }
    xml::Document document;
    xml::ParseError parseError;
    if (!document.loadFile(options_.inputPath, bundledDtdPath(), parseError)) {
        // The parser's reason, string 2009 with the line, the source text of that line.
        std::string reason = ansi(parseError.reason);
        if (!reason.empty() && reason.back() != '.') reason += '.';
        errorMessage_ = reason + " " + fillMessage(kMsgLineNumber, parseError.line) + parseError.sourceText;
        return kExitXmlParser;
    }
    const xml::Element root = document.root();
    if (!root || root.name() != kRootElement) {
        errorMessage_ = "The root element must be <" + std::string(kRootElement) + ">, not <" + ansi(root.name()) +
                        ">" + (root ? " (line " + std::to_string(root.line()) + ")" : "") + ".";
        return kExitMissingRequired;
    }
    contactRecordIdCounter_ = kFirstContactRecordId;
    eventIdCounter_ = kFirstEventId;
    return walk(root);
}

// The fixed reading order of a package.
int PackageBuilder::walk(const xml::Element& root) {
    if (int code = readNavigation(root)) return code;
    if (int code = readAppName(root)) return code;
    if (int code = readPackageTitle(root)) return code;
    if (int code = readAppLauncher(root)) return code;
    if (int code = readWelcome(root)) return code;
    if (const xml::Element contacts = root.firstChild("contacts")) {
        if (int code = readContacts(*this, contacts)) return code;
    }
    xml::Element groups;
    if (int code = requireChild(root, "groups", groups)) return code;
    return readGroups(*this, groups);
}

int PackageBuilder::readNavigation(const xml::Element& root) {
    std::string navigation;
    if (int code = requireAttribute(root, "navigation", navigation)) return code;
    long mode = kNavigationEvents;  // any other text, "Groups" too
    if (navigation == kNavigationNoneText) {
        mode = kNavigationNone;
    } else if (navigation == kNavigationGroupsText) {
        mode = kNavigationGroups;
    }
    setNumber(kStringNavigation, mode);
    return kExitSuccess;
}

int PackageBuilder::readAppName(const xml::Element& root) {
    std::string appName;
    if (int code = requireChildText(root, "app-name", appName)) return code;
    palmDatabase_.setName(appName);  // Palm only; cut to 31 characters there
    return kExitSuccess;
}

int PackageBuilder::readPackageTitle(const xml::Element& root) {
    std::string title;
    if (int code = requireChildText(root, "package-title", title)) return code;
    setString(kStringPackageTitle, title);
    return kExitSuccess;
}

int PackageBuilder::readAppLauncher(const xml::Element& root) {
    xml::Element launcher;
    if (int code = requireChild(root, "app-launcher", launcher)) return code;
    if (int code = requireChildText(launcher, "launcher-name", launcherName_)) return code;
    palmDatabase_.setLauncherName(launcherName_);
    if (const xml::Element icons = launcher.firstChild("launcher-icon")) {
        if (int code = readLauncherIcons(*this, icons)) return code;
    }
    return kExitSuccess;
}

int PackageBuilder::readWelcome(const xml::Element& root) {
    xml::Element welcome;
    if (int code = requireChild(root, "welcome", welcome)) return code;
    std::string description;
    if (int code = requireChildText(welcome, "description", description)) return code;
    setString(kStringWelcomeDescription, description);
    if (const auto authorInfo = recordChildText(*this, welcome, "author-info", kPackageTextOwner))
        setString(kStringAuthorInfo, *authorInfo);
    if (const xml::Element image = welcome.firstChild("image")) {
        if (int code = readWelcomeImage(*this, image)) return code;
    }
    return kExitSuccess;
}

// ---- Output --------------------------------------------------------------------

int PackageBuilder::writeOutputs() {
    if (options_.pocketPcTarget) {
        if (int code = checkPocketPcOutputName(*this)) return code;
    }
    if (options_.palmTarget) {
        if (int code = writePalmOutput()) return code;
    }
    if (!options_.pocketPcTarget) return kExitSuccess;
    return writePocketPcOutput(*this);
}

int PackageBuilder::writePalmOutput() {
    const std::string path = options_.outputBase + std::string(kPalmExtension);
    std::string reason;
    if (!palmDatabase_.write(path, reason)) {
        errorMessage_ = outputFileMessage(path, reason);
        return kExitOutputFile;
    }
    return kExitSuccess;
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

int PackageBuilder::failMissingElement(std::string_view element, const xml::Element& parent) {
    errorMessage_ = missingElementMessage(element, parent.name(), parent.line());
    return kExitMissingRequired;
}

int PackageBuilder::failMissingAttribute(std::string_view attribute, const xml::Element& element) {
    errorMessage_ = missingAttributeMessage(attribute, element.name(), element.line());
    return kExitMissingRequired;
}

int PackageBuilder::requireChild(const xml::Element& parent, std::string_view name, xml::Element& child) {
    child = parent.firstChild(name);
    if (!child) return failMissingElement(name, parent);
    return kExitSuccess;
}

int PackageBuilder::requireChildText(const xml::Element& parent, std::string_view name, std::string& text) {
    const auto value = recordChildText(*this, parent, name, kPackageTextOwner);
    if (!value) return failMissingElement(name, parent);
    text = *value;
    return kExitSuccess;
}

int PackageBuilder::requireAttribute(const xml::Element& element, std::string_view name, std::string& text) {
    const auto value = attributeText(element, name);
    if (!value) return failMissingAttribute(name, element);
    text = *value;
    return kExitSuccess;
}

}  // namespace skedlin::builder
