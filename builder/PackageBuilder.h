#pragma once
// One build: the two handheld targets, the reading state, the walk in
// its fixed order, and the output step.
//
// The readers of contacts, groups, bitmaps and the Pocket PC output (ContactsReader, GroupsReader,
// BitmapElementsReader, PocketPcOutputStep) are free functions over a
// PackageBuilder: they read through the helpers below, put values into both
// targets through the dual-target setters, and on failure set the error
// message and return one of the exit codes of BuilderMessages.h.

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
    // targets asked for. Returns 0 or an exit code; errorMessage() says why.
    int build();
    // Load the input file and walk it; no file is written.
    int read();
    // The output step: the .prc (Palm target), then the Pocket PC files.
    int writeOutputs();

    // ---- Invocation ---------------------------------------------------------
    const BuildOptions& options() const { return options_; }
    const std::string& inputPath() const { return options_.inputPath; }
    const std::string& outputBase() const { return options_.outputBase; }
    const std::string& builderDirectory() const { return options_.builderDirectory; }
    bool palmTarget() const { return options_.palmTarget; }
    bool pocketPcTarget() const { return options_.pocketPcTarget; }
    std::string bundledDtdPath() const;

    // ---- Error message ------------------------------------------------------
    const std::string& errorMessage() const { return errorMessage_; }
    void setErrorMessage(std::string message) { errorMessage_ = std::move(message); }
    // Sets the message for a missing element / attribute and returns kExitMissingRequired.
    int failMissingElement(std::string_view element, const xml::Element& parent);
    int failMissingAttribute(std::string_view attribute, const xml::Element& element);

    // ---- Targets --------------------------------------------------------------
    palm::PalmResourceDatabase& palmDatabase() { return palmDatabase_; }
    const palm::PalmResourceDatabase& palmDatabase() const { return palmDatabase_; }
    // Null until a Pocket PC executable (or a test's recorder) is installed.
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
    // The same for items the format requires: a missing one sets the message
    // and returns kExitMissingRequired, else 0.
    int requireChild(const xml::Element& parent, std::string_view name, xml::Element& child);
    // The text converted to Windows-1252, with a warning when some character
    // became "?".
    int requireChildText(const xml::Element& parent, std::string_view name, std::string& text);
    int requireAttribute(const xml::Element& element, std::string_view name, std::string& text);

    // ---- Reading state ------------------------------------
    std::uint16_t contactRecordIdCounter = 0;  // from 6000 when calendar-package is read
    std::uint16_t eventIdCounter = 0;          // from 7000 when calendar-package is read
    std::map<long, std::uint16_t> contactIdMap;  // XML contact id -> contact record id
    // The four per-group tables and the contact index list they share.
    skedlin::GroupTables groupTables;
    std::string launcherName;  // Windows-1252; used by the .inf

private:
    int walk(const xml::Element& root);
    int readNavigation(const xml::Element& root);
    int readAppName(const xml::Element& root);
    int readPackageTitle(const xml::Element& root);
    int readAppLauncher(const xml::Element& root);
    int readWelcome(const xml::Element& root);
    int writePalmOutput();

    BuildOptions options_;
    std::string errorMessage_;
    palm::PalmResourceDatabase palmDatabase_;
    bool templateLoaded_ = false;
    std::unique_ptr<PocketPcTarget> pocketPc_;
    std::string pocketPcTemplateError_;  // why the Pocket PC template did not load; empty when it did
};

}  // namespace skedlin::builder
