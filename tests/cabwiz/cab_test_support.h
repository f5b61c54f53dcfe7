#pragma once
// Helpers for tests that run programs and read installer cabinets back:
// a scratch folder, running a command line, and an independent reader of the
// Windows CE setup file (written from the format notes, sharing no code with
// the writer). Header-only, so that other test programs can use it too.

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace skedlin::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> names() const;  // sorted file names in the folder

private:
    std::string path_;
};

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs argv (no shell) with its working directory unchanged.
CommandResult runProgram(const std::vector<std::string>& argv);

std::string readFileText(const std::string& path);
std::vector<std::string> folderNames(const std::string& folder);  // sorted
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
std::string shellQuote(const std::string& text);

// Lists the members of a cabinet in stored order with cabextract, and extracts them.
std::vector<std::string> cabinetMembers(const std::string& cabinetPath);
bool extractCabinet(const std::string& cabinetPath, const std::string& folder);
bool cabinetTestsClean(const std::string& cabinetPath);

struct SetupFile {
    std::uint32_t totalLength = 0;
    std::uint32_t processorType = 0;
    std::uint32_t versionMinMajor = 0, versionMinMinor = 0, versionMaxMajor = 0, versionMaxMinor = 0;
    std::uint16_t counts[6] = {};
    std::uint32_t sectionOffsets[6] = {};
    std::uint16_t appNameOffset = 0, providerOffset = 0, unsupportedOffset = 0, unsupportedLength = 0;
    std::string appName;
    std::string provider;
    std::vector<std::string> unsupported;
    std::map<int, std::string> strings;
    std::map<int, std::string> directories;  // id -> path joined with '\'

    struct File {
        int id, directoryId;
        std::uint32_t flags;
        std::string name;
    };
    std::vector<File> files;

    struct Hive {
        int id, root;
        std::string key;
    };
    std::vector<Hive> hives;

    struct Value {
        int id, hiveId, expand;
        std::uint32_t type;
        std::string name;
        std::vector<std::uint8_t> data;
    };
    std::vector<Value> values;

    struct Link {
        int id, directoryId, base, target, targetIsFile;
        std::string name;
    };
    std::vector<Link> shortcuts;

    // "%CE11%\Conference.lnk" from the shortcut's folder and name.
    std::string shortcutPath(const Link& link) const;
    const File* file(int id) const;
};

// Parses the setup file; on malformed input returns false and says why in error.
bool parseSetupFile(const std::string& bytes, SetupFile& out, std::string& error);

inline TempDir::TempDir() {
    std::string pattern = "/tmp/skedlin-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

inline TempDir::~TempDir() {
    if (!path_.empty()) std::system(("rm -rf " + shellQuote(path_)).c_str());
}

inline std::vector<std::string> TempDir::names() const { return folderNames(path_); }

inline std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> result;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") result.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(result.begin(), result.end());
    return result;
}

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted.push_back(c);
    }
    return quoted + "'";
}

inline std::string readFileText(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream << bytes;
}

inline bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

inline CommandResult runProgram(const std::vector<std::string>& argv) {
    CommandResult result;
    TempDir scratch;
    const std::string outPath = scratch.file("stdout");
    const std::string errPath = scratch.file("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), ::environ) == 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0) {}
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFileText(outPath);
    result.err = readFileText(errPath);
    return result;
}

inline std::vector<std::string> cabinetMembers(const std::string& cabinetPath) {
    // cabextract -l lists "size | date time | name" rows in stored order.
    const CommandResult listing = runProgram({"/usr/bin/cabextract", "-q", "-l", cabinetPath});
    std::vector<std::string> names;
    std::istringstream lines(listing.out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto bar = line.rfind(" | ");
        if (bar == std::string::npos || line.find("Name") != std::string::npos) continue;
        names.push_back(line.substr(bar + 3));
    }
    return names;
}

inline bool extractCabinet(const std::string& cabinetPath, const std::string& folder) {
    return runProgram({"/usr/bin/cabextract", "-q", "-d", folder, cabinetPath}).exitCode == 0;
}

inline bool cabinetTestsClean(const std::string& cabinetPath) {
    return runProgram({"/usr/bin/cabextract", "-t", cabinetPath}).exitCode == 0;
}

namespace setup_reader {

struct Cursor {
    const std::string* source;
    std::size_t pos;
    bool failed = false;

    const std::string& bytes() const { return *source; }
    bool has(std::size_t n) const { return !failed && pos <= bytes().size() && bytes().size() - pos >= n; }
    std::uint32_t take(int width) {
        if (!has(width)) {
            failed = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < width; ++i) value |= std::uint32_t(std::uint8_t(bytes()[pos + i])) << (8 * i);
        pos += width;
        return value;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return take(4); }
    std::string text(std::size_t length) {
        if (!has(length)) {
            failed = true;
            return {};
        }
        std::string result = bytes().substr(pos, length);
        pos += length;
        return result;
    }
    // A counted text whose last byte must be the zero byte.
    std::string zeroEnded(std::size_t length) {
        std::string result = text(length);
        if (result.empty() || result.back() != '\0') {
            failed = true;
            return {};
        }
        result.pop_back();
        return result;
    }
    std::vector<int> ids(std::size_t byteLength) {
        std::vector<int> result;
        if (byteLength % 2 != 0) failed = true;
        for (std::size_t i = 0; i + 2 <= byteLength && !failed; i += 2) result.push_back(u16());
        return result;
    }
};

}  // namespace setup_reader

inline bool parseSetupFile(const std::string& bytes, SetupFile& out, std::string& error) {
    using setup_reader::Cursor;
    Cursor header{&bytes, 0};
    if (header.text(4) != "MSCE") {
        error = "no MSCE signature";
        return false;
    }
    header.u32();
    out.totalLength = header.u32();
    header.u32();
    if (header.u32() != 1) {
        error = "field at 16 is not 1";
        return false;
    }
    out.processorType = header.u32();
    out.versionMinMajor = header.u32();
    out.versionMinMinor = header.u32();
    out.versionMaxMajor = header.u32();
    out.versionMaxMinor = header.u32();
    header.u32();
    header.u32();
    for (auto& count : out.counts) count = header.u16();
    for (auto& offset : out.sectionOffsets) offset = header.u32();
    out.appNameOffset = header.u16();
    const std::uint16_t appNameLength = header.u16();
    out.providerOffset = header.u16();
    const std::uint16_t providerLength = header.u16();
    out.unsupportedOffset = header.u16();
    out.unsupportedLength = header.u16();
    if (header.failed || out.totalLength != bytes.size()) {
        error = "header truncated or total length wrong";
        return false;
    }
    Cursor at{&bytes, out.appNameOffset};
    out.appName = at.zeroEnded(appNameLength);
    at = Cursor{&bytes, out.providerOffset};
    out.provider = at.zeroEnded(providerLength);
    if (out.unsupportedLength > 0) {
        at = Cursor{&bytes, out.unsupportedOffset};
        std::string list = at.text(out.unsupportedLength);
        if (list.size() < 2 || list.substr(list.size() - 2) != std::string(2, '\0')) at.failed = true;
        std::size_t start = 0;
        while (start + 1 < list.size()) {
            const std::size_t end = list.find('\0', start);
            out.unsupported.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    if (at.failed) {
        error = "header texts out of range";
        return false;
    }

    Cursor c{&bytes, out.sectionOffsets[0]};
    for (int i = 0; i < out.counts[0]; ++i) {
        const int id = c.u16();
        out.strings[id] = c.zeroEnded(c.u16());
    }
    c.pos = out.sectionOffsets[1];
    for (int i = 0; i < out.counts[1] && !c.failed; ++i) {
        const int id = c.u16();
        const auto ids = c.ids(c.u16());
        if (ids.empty() || ids.back() != 0) c.failed = true;
        std::string path;
        for (std::size_t k = 0; k + 1 < ids.size(); ++k) path += (k ? "\\" : "") + out.strings.at(ids[k]);
        out.directories[id] = path;
    }
    c.pos = out.sectionOffsets[2];
    for (int i = 0; i < out.counts[2] && !c.failed; ++i) {
        SetupFile::File file{};
        file.id = c.u16();
        file.directoryId = c.u16();
        if (c.u16() != file.id) c.failed = true;
        file.flags = c.u32();
        file.name = c.zeroEnded(c.u16());
        out.files.push_back(file);
    }
    c.pos = out.sectionOffsets[3];
    for (int i = 0; i < out.counts[3] && !c.failed; ++i) {
        SetupFile::Hive hive{};
        hive.id = c.u16();
        hive.root = c.u16();
        if (c.u16() != 0) c.failed = true;
        const auto ids = c.ids(c.u16());
        if (ids.empty() || ids.back() != 0) c.failed = true;
        for (std::size_t k = 0; k + 1 < ids.size(); ++k) hive.key += (k ? "\\" : "") + out.strings.at(ids[k]);
        out.hives.push_back(hive);
    }
    c.pos = out.sectionOffsets[4];
    for (int i = 0; i < out.counts[4] && !c.failed; ++i) {
        SetupFile::Value value{};
        value.id = c.u16();
        value.hiveId = c.u16();
        value.expand = c.u16();
        value.type = c.u32();
        const std::string body = c.text(c.u16());
        const std::size_t zero = body.find('\0');
        if (zero == std::string::npos) {
            c.failed = true;
            break;
        }
        value.name = body.substr(0, zero);
        value.data.assign(body.begin() + zero + 1, body.end());
        out.values.push_back(value);
    }
    c.pos = out.sectionOffsets[5];
    for (int i = 0; i < out.counts[5] && !c.failed; ++i) {
        SetupFile::Link link{};
        link.id = c.u16();
        link.directoryId = c.u16();
        link.base = c.u16();
        link.target = c.u16();
        link.targetIsFile = c.u16();
        const auto ids = c.ids(c.u16());
        for (std::size_t k = 0; k < ids.size(); ++k) link.name += (k ? "\\" : "") + out.strings.at(ids[k]);
        out.shortcuts.push_back(link);
    }
    if (c.failed) {
        error = "a section runs past the end or is malformed";
        return false;
    }
    return true;
}

inline std::string SetupFile::shortcutPath(const Link& link) const {
    std::string folder;
    if (link.directoryId != 0)
        folder = directories.at(link.directoryId);
    else if (link.base == 0)
        folder = "%InstallDir%";
    else
        folder = "%CE" + std::to_string(link.base) + "%";
    return folder + "\\" + link.name;
}

inline const SetupFile::File* SetupFile::file(int id) const {
    for (const auto& f : files) {
        if (f.id == id) return &f;
    }
    return nullptr;
}

}  // namespace skedlin::test
