#include "tools/cabwiz/CabinetNames.h"

#include <cstdio>

namespace skedlin::cabwiz {
namespace {

constexpr std::size_t kShortBaseLength = 8;
constexpr std::size_t kTruncatedBaseLength = 6;  // followed by "~1"
constexpr std::string_view kTruncationSuffix = "~1";
constexpr char kPadding = '0';
constexpr char kReplacement = '_';

bool allowedInShortName(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) return true;
    return std::string_view("!#$&'()-@^_`{}~").find(c) != std::string_view::npos;
}

std::string baseOf(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("\\/");
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos && dot > 0) fileName = fileName.substr(0, dot);
    std::string base;
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        const char c = fileName[i];
        base.push_back(allowedInShortName(c) ? c : kReplacement);
        // A UTF-8 sequence (a name from the file system) stands for one character.
        if (static_cast<unsigned char>(c) >= 0xC0) {
            while (i + 1 < fileName.size() && (static_cast<unsigned char>(fileName[i + 1]) & 0xC0) == 0x80) ++i;
        }
    }
    return base;
}

std::string shortBase(std::string base) {
    if (base.size() <= kShortBaseLength) {
        return std::string(kShortBaseLength - base.size(), kPadding) + base;
    }
    std::string truncated = base.substr(0, kTruncatedBaseLength);
    for (char& c : truncated) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return truncated + std::string(kTruncationSuffix);
}

std::string withNumber(const std::string& base, unsigned number) {
    char extension[8];
    std::snprintf(extension, sizeof extension, ".%03u", number);
    return base + extension;
}

}  // namespace

std::string cabinetMemberName(std::string_view sourceFileName, std::uint16_t fileId) {
    return withNumber(shortBase(baseOf(sourceFileName)), fileId);
}

std::string setupMemberName(std::string_view cabinetBaseName) {
    return withNumber(shortBase(baseOf(std::string(cabinetBaseName) + ".x")), 0);
}

}  // namespace skedlin::cabwiz
