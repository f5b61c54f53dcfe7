#pragma once
// One build: the two handheld targets, the reading state, the walk in
// its fixed order, and the output step.
//
// The readers of contacts, groups, events and bitmaps (ContactsReader,
// GroupsReader, EventsReader, BitmapElementsReader) are free functions over a
// PackageBuilder, which is their narrow sink: they read through the helpers
// below and hand every value over through its operations (the dual-target
// setters, "register contact id", "add records for both targets", "warn"),
// which know the targets' resource types and ids. The reading state is
// private. Every step that can end the build returns a BuildResult: the exit
// code of BuilderMessages.h and the message. Warnings are collected; main
// prints them.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "builder/BuilderMessages.h"
#include "builder/GroupTables.h"
#include "builder/palm/PalmResourceDatabase.h"
#include "builder/pocketpc/PocketPcTarget.h"
#include "model/XmlDocument.h"

namespace skedlin::builder {

struct BuildOptions {
    std::string inputPath;
    std::string outputBase;
    bool palmTarget = false;
    bool pocketPcTarget = false;
    // Directory of the running program, ending in a separator; the CAB Wizard
    // and the bundled CalendarPackage.dtd are looked for there.
    std::string builderDirectory;
};

class PackageBuilder {
public:
    explicit PackageBuilder(BuildOptions options);
    ~PackageBuilder();
    PackageBuilder(const PackageBuilder&) = delete;
    PackageBuilder& operator=(const PackageBuilder&) = delete;

    // The whole build: read (load and walk), then write the outputs of the
    // targets asked for.
    BuildResult build();
    // Load the input file and walk it; no file is written.
    BuildResult read();
    // The output step: the .prc (Palm target), then the Pocket PC files.
    BuildResult writeOutputs();

    // ---- Invocation ---------------------------------------------------------
    const BuildOptions& options() const { return options_; }
    const std::string& inputPath() const { return options_.inputPath; }
    const std::string& outputBase() const { return options_.outputBase; }
    const std::string& builderDirectory() const { return options_.builderDirectory; }
    bool palmTarget() const { return options_.palmTarget; }
    bool pocketPcTarget() const { return options_.pocketPcTarget; }
    std::string bundledDtdPath() const;

    // ---- Failures -----------------------------------------------------------
    // A missing element / attribute: kExitMissingRequired with a message naming it.
    static BuildResult missingElement(std::string_view element, const xml::Element& parent);
    static BuildResult missingAttribute(std::string_view attribute, const xml::Element& element);

    // ---- Targets --------------------------------------------------------------
    const palm::PalmResourceDatabase& palmDatabase() const { return palmDatabase_; }
    // Null until a Pocket PC executable (or a test's recorder) is installed.
    // The output step writes it; readers go through the operations below.
    PocketPcTarget* pocketPc() { return pocketPc_.get(); }
    void setPocketPcTarget(std::unique_ptr<PocketPcTarget> target) { pocketPc_ = std::move(target); }
    bool templateLoaded() const { return templateLoaded_; }

    // ---- Dual-target setters --------------------------------------
    // text is Windows-1252.
    void setString(std::uint16_t id, std::string_view text);
    void setNumber(std::uint16_t id, long value);
    void setWordList(std::uint16_t id, std::span<const std::uint16_t> values);

    // ---- Reading helpers (texts come back in Windows-1252) -------------------
    static std::string ansi(std::string_view utf8);
    // Text of the first child element with that name; nullopt when there is none.
    static std::optional<std::string> childText(const xml::Element& parent, std::string_view name);
    static std::optional<std::string> attributeText(const xml::Element& element, std::string_view name);
    // The same for items the format requires: a missing one is
    // kExitMissingRequired with a message naming it.
    static BuildResult requireChild(const xml::Element& parent, std::string_view name, xml::Element& child);
    // The text converted to Windows-1252, with a warning when some character
    // became "?".
    BuildResult requireChildText(const xml::Element& parent, std::string_view name, std::string& text);
    static BuildResult requireAttribute(const xml::Element& element, std::string_view name, std::string& text);

    // ---- Operations of the readers -------------------------------------------
    // Registers a contact's XML id under the record id its contact will get;
    // false (and nothing registered) when a contact of that id came before.
    bool registerContactId(long xmlId);
    // The contact record id an XML contact id was registered under; nullopt when none.
    std::optional<std::uint16_t> contactRecordIdOf(long xmlId) const;
    // Adds one contact, in each target's record layout, under the next contact record id.
    void addContactRecords(std::span<const std::uint8_t> palmRecord, std::span<const std::uint8_t> pocketPcRecord);
    // Adds one event, in each target's record layout, under the next event id.
    void addEventRecords(std::span<const std::uint8_t> palmRecord, std::span<const std::uint8_t> pocketPcRecord);
    std::uint16_t nextContactRecordId() const { return contactRecordIdCounter_; }
    std::uint16_t nextEventId() const { return eventIdCounter_; }
    // The group names: one string list on Palm, one string each on Pocket PC.
    void setGroupNames(std::span<const std::string> names);
    // The contact index list; the two viewers want it in different forms.
    void setContactIndexLists(std::span<const std::uint16_t> palm, std::span<const std::uint16_t> pocketPc);
    // The four per-group tables and the contact index list they share.
    GroupTables& groupTables() { return groupTables_; }
    const GroupTables& groupTables() const { return groupTables_; }
    // Launcher icons and logo: the Palm bitmap family, and the one bitmap of
    // each Pocket PC icon size or the logo.
    void setLauncherIconFamily(palm::PalmResource family);
    void addLogoFamily(palm::PalmResource family);
    void addPocketPcIcon(const BmpImage& image);
    void addPocketPcLogo(std::span<const std::uint8_t> packedBitmap);
    // A message for the user that does not stop the build (Windows-1252).
    void warn(std::string message) { warnings_.push_back(std::move(message)); }
    const std::vector<std::string>& warnings() const { return warnings_; }

    const std::string& launcherName() const { return launcherName_; }  // Windows-1252; used by the .inf

private:
    BuildResult walk(const xml::Element& root);
    BuildResult readNavigation(const xml::Element& root);
    BuildResult readAppName(const xml::Element& root);
    BuildResult readPackageTitle(const xml::Element& root);
    BuildResult readAppLauncher(const xml::Element& root);
    BuildResult readWelcome(const xml::Element& root);
    BuildResult writePalmOutput();

    BuildOptions options_;
    palm::PalmResourceDatabase palmDatabase_;
    bool templateLoaded_ = false;
    std::unique_ptr<PocketPcTarget> pocketPc_;
    std::string pocketPcTemplateError_;  // why the Pocket PC template did not load; empty when it did

    // Reading state.
    std::uint16_t contactRecordIdCounter_ = 0;    // from 6000 when calendar-package is read
    std::uint16_t eventIdCounter_ = 0;            // from 7000 when calendar-package is read
    std::map<long, std::uint16_t> contactIdMap_;  // XML contact id -> contact record id
    GroupTables groupTables_;
    std::string launcherName_;
    std::vector<std::string> warnings_;
};

}  // namespace skedlin::builder
