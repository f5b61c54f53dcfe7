#pragma once
// Builds a package in-process with the Palm target and a Pocket PC recorder,
// so that tests can read back every record both handhelds would receive.

#include "builder/PackageBuilder.h"
#include "builder/pocketpc/PocketPcTarget.h"
#include "contacts_events_decoders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace skedlin::testing {

class RecordingTarget : public PocketPcTarget {
public:
    std::map<std::uint16_t, std::string> strings;
    std::map<std::uint16_t, std::vector<std::uint16_t>> wordLists;
    std::map<std::uint16_t, Bytes> records;

    void addString(std::uint16_t id, std::string_view text) override { strings[id] = std::string(text); }
    void addNumber(std::uint16_t id, long value) override { strings[id] = std::to_string(value); }
    void addWordList(std::uint16_t id, std::span<const std::uint16_t> values) override {
        wordLists[id].assign(values.begin(), values.end());
    }
    void addRecord(std::uint16_t id, std::span<const std::uint8_t> bytes) override {
        records[id].assign(bytes.begin(), bytes.end());
    }
    void addBitmap(std::uint16_t, std::span<const std::uint8_t>) override {}
    void addIcon(std::uint16_t, const BmpImage&) override {}
    ExecutableResult write(const std::string&) override { return {}; }
};

struct BuiltPackage {
    int code = -1;
    std::string message;
    std::string warnings;           // the build's warnings, one per line
    std::vector<PrcResource> palm;  // resources the package added, in order
    std::shared_ptr<RecordingTarget> pocketPc;

    const PrcResource* palmResource(const std::string& type, std::uint16_t id) const {
        return findResource(palm, type, id);
    }
    std::vector<const PrcResource*> palmOfType(const std::string& type) const {
        std::vector<const PrcResource*> found;
        for (const PrcResource& resource : palm) {
            if (resource.type == type) found.push_back(&resource);
        }
        return found;
    }
};

inline std::string scratchDirectory() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("skedlin-records-" + std::to_string(::getpid())) /
                                      (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::create_directories(dir);
    return dir.string();
}

inline BuiltPackage buildPackageFile(const std::string& path) {
    builder::BuildOptions options;
    options.inputPath = path;
    options.outputBase = scratchDirectory() + "/out";
    options.palmTarget = true;
    options.builderDirectory = std::string(SKEDLIN_BIN_DIR) + "/";
    builder::PackageBuilder packageBuilder(options);
    const std::size_t templateResources = packageBuilder.palmDatabase().resources().size();
    auto recorder = std::make_unique<RecordingTarget>();
    RecordingTarget* recorded = recorder.get();
    packageBuilder.setPocketPcTarget(std::move(recorder));

    BuiltPackage built;
    const builder::BuildResult read = packageBuilder.read();
    built.code = read.code();
    built.message = read.message();
    for (const std::string& warning : packageBuilder.warnings()) built.warnings += warning + "\n";
    const auto& resources = packageBuilder.palmDatabase().resources();
    for (std::size_t i = templateResources; i < resources.size(); ++i) {
        built.palm.push_back({resources[i].typeText(), resources[i].id, resources[i].bytes});
    }
    built.pocketPc = std::make_shared<RecordingTarget>(*recorded);
    return built;
}

// A package around the given contacts and groups (no DOCTYPE: not validated,
// so that hand-made oddities reach the builder's own checks).
inline std::string packageXml(const std::string& contacts, const std::string& groups) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<calendar-package navigation=\"groups\">\n"
           "<package-title>Test</package-title><app-name>Test</app-name>\n"
           "<app-launcher><launcher-name>Test</launcher-name></app-launcher>\n"
           "<welcome><description>Test</description></welcome>\n" +
           contacts + "\n<groups>" + groups + "</groups>\n</calendar-package>\n";
}

inline std::string groupXml(const std::string& events, const std::string& contactIds = "",
                            const std::string& name = "G") {
    return "<group name=\"" + name + "\"><group-description>d</group-description><events>" + events + "</events>" +
           contactIds + "</group>";
}

inline BuiltPackage buildPackageText(const std::string& xml) {
    const std::string path = scratchDirectory() + "/package.xml";
    std::ofstream(path, std::ios::binary) << xml;
    return buildPackageFile(path);
}

inline std::string fixture(const std::string& name) { return std::string(SKEDLIN_TEST_DATA) + "/records/" + name; }

}  // namespace skedlin::testing
