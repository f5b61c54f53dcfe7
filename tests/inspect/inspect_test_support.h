#pragma once
// Built packages for the inspection tests: the example and generated
// packages, each built once per test program with the real SkedlinBuilder,
// and the inspection of their bytes.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <dirent.h>
#include <unistd.h>

#include "tools/inspect/Inspect.h"

namespace skedlin::inspecttest {

struct BuiltOutputs {
    std::string prc;
    std::string cab;
};

inline std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a command line through the shell; its exit status.
inline int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A folder for the whole test program, removed at its end.
inline const std::string& scratchFolder() {
    struct Folder {
        std::string path;
        Folder() {
            char pattern[] = "/tmp/skedlin-inspect-XXXXXX";
            if (::mkdtemp(pattern)) path = pattern;
        }
        ~Folder() {
            if (!path.empty()) run("rm -rf " + shellQuoted(path));
        }
    };
    static const Folder folder;
    return folder.path;
}

inline std::string bin(const std::string& program) { return std::string(SKEDLIN_BIN_DIR) + "/" + program; }

// Builds xml (both targets) into the scratch folder as name.prc and name.cab.
inline BuiltOutputs buildOutputs(const std::string& xml, const std::string& name) {
    const std::string base = scratchFolder() + "/" + name;
    EXPECT_EQ(run(shellQuoted(bin("SkedlinBuilder")) + " " + shellQuoted(xml) + " " + shellQuoted(base) +
                  " /PALM /WINCE >/dev/null"),
              0)
        << xml;
    return {base + ".prc", base + ".cab"};
}

inline const BuiltOutputs& exampleOutputs() {
    static const BuiltOutputs outputs =
        buildOutputs(std::string(SKEDLIN_SOURCE_DIR) + "/examples/conference/Conference.xml", "Conference");
    return outputs;
}

// A package of the project's generator: repeat rules, exceptions, phones of every label.
inline const BuiltOutputs& generatedOutputs() {
    static const BuiltOutputs outputs = [] {
        const std::string xml = scratchFolder() + "/Generated.xml";
        EXPECT_EQ(run(shellQuoted(bin("generate_package")) + " --events 240 --contacts 40 --groups 5 --seed 11 --dtd " +
                      shellQuoted(bin("CalendarPackage.dtd")) + " " + shellQuoted(xml) + " >/dev/null"),
                  0);
        return buildOutputs(xml, "Generated");
    }();
    return outputs;
}

inline std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string fileText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The Pocket PC executable of a cabinet, taken out with cabextract.
inline std::vector<std::uint8_t> executableOf(const std::string& cabinet, const std::string& name) {
    const std::string folder = scratchFolder() + "/" + name + "-extracted";
    EXPECT_EQ(run("mkdir -p " + shellQuoted(folder) + " && cabextract -q -d " + shellQuoted(folder) + " " +
                  shellQuoted(cabinet)),
              0);
    std::vector<std::uint8_t> bytes;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string member = entry->d_name;
            if (member.size() > 4 && member.substr(member.size() - 4) == ".001")
                bytes = fileBytes(folder + "/" + member);
        }
        ::closedir(dir);
    }
    return bytes;
}

inline inspect::InspectResult inspectBytesOf(const std::vector<std::uint8_t>& bytes) {
    return inspect::inspectBytes(bytes);
}

// The report's list member (an empty list when absent).
inline const inspect::Node& listOf(const inspect::Node& report, const std::string& name) {
    static const inspect::Node empty = inspect::Node::list();
    const inspect::Node* member = report.member(name);
    return member ? *member : empty;
}

inline std::string textOf(const inspect::Node& node, const std::string& name) {
    const inspect::Node* member = node.member(name);
    return member ? member->textValue() : std::string("<absent>");
}

inline std::int64_t numberOf(const inspect::Node& node, const std::string& name) {
    const inspect::Node* member = node.member(name);
    return member ? member->numberValue() : -1;
}

}  // namespace skedlin::inspecttest
