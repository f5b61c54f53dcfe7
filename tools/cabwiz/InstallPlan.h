#pragma once
// What one installer cabinet installs, as read from the installation
// description: everything the setup file and the cabinet need, with the
// directory, hive and file ids already assigned (each id is its index + 1).

#include <cstdint>
#include <string>
#include <vector>

namespace skedlin::cabwiz {

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// A folder on the device: its first component may be a %CEn% macro that the
// device resolves ("%CE1%" = \Program Files).
struct DirectoryEntry {
    std::vector<std::string> components;
};

struct PayloadFile {
    std::uint16_t id = 0;  // also the number in the in-cabinet name's extension
    std::uint16_t directoryId = 0;
    std::uint32_t flags = 0;  // the file list line's flags field
    std::string installName;  // the name on the device
    std::string sourcePath;   // where it was read from, for messages
    std::string cabinetName;  // 8.3 name inside the cabinet
    std::vector<std::uint8_t> bytes;
};

struct RegistryHive {
    std::uint16_t root = 0;  // one of the kRoot constants of the setup file
    std::vector<std::string> keyPath;
};

struct RegistryValue {
    std::uint16_t hiveId = 0;
    bool expandMacros = false;  // the data holds %InstallDir% or %CEn% for the device to expand
    std::uint32_t type = 0;     // kRegistryType* of the setup file, possibly with kRegistryKeepExisting
    std::string name;
    std::vector<std::uint8_t> data;
};

struct Shortcut {
    std::vector<std::string> nameComponents;  // the last one ends in ".lnk"
    std::uint16_t directoryId = 0;            // 0: the folder is the base macro alone
    std::uint16_t base = 0;                   // 0 = %InstallDir%, n = %CEn%; used when directoryId is 0
    std::uint16_t targetId = 0;               // a file id, or a directory id for a folder shortcut
    bool targetIsFile = true;
};

struct InstallPlan {
    std::string appName;
    std::string provider;
    std::uint32_t processorType = 0;
    OsVersion versionMin;
    OsVersion versionMax;
    std::uint32_t buildMin = 0;
    std::uint32_t buildMax = 0;
    std::vector<std::string> unsupportedPlatforms;
    std::vector<DirectoryEntry> directories;
    std::vector<PayloadFile> files;
    std::vector<RegistryHive> hives;
    std::vector<RegistryValue> values;
    std::vector<Shortcut> shortcuts;
};

}  // namespace skedlin::cabwiz
