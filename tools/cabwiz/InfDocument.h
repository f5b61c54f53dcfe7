#pragma once
// An installation description (.inf) split into sections and lines. Each line
// is "key = field, field, ..." or a bare list of fields; quotes are removed
// ("" inside quotes is one quote), blanks around fields are trimmed and ';'
// outside quotes starts a comment. Section names and keys compare without
// regard to case. Nothing here knows what the sections mean.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

struct InfLine {
    int number = 0;  // 1-based line in the file
    bool hasKey = false;
    std::string key;
    std::vector<std::string> fields;  // at least one, possibly empty

    // The field at index, or an empty text when the line has fewer fields.
    const std::string& field(std::size_t index) const;
};

struct InfSection {
    std::string name;
    int headerLine = 0;
    std::vector<InfLine> lines;

    // The first line whose key equals key (ignoring case), or nullptr.
    const InfLine* find(std::string_view key) const;
};

class InfDocument {
public:
    // Files larger than this are refused before they are read: real
    // installation descriptions are a few kilobytes.
    static constexpr std::size_t kMaxFileBytes = 4u * 1024u * 1024u;

    // Reads and splits the file. Text that is UTF-8 is converted to
    // Windows-1252, the code page of the setup file.
    static CabwizResult load(const std::string& path, InfDocument& out);
    static CabwizResult parse(std::string_view bytes, const std::string& fileName, InfDocument& out);

    // The section of that name (ignoring case), or nullptr. Sections given
    // twice are merged in file order.
    const InfSection* section(std::string_view name) const;
    const std::string& fileName() const { return fileName_; }
    // True when the file was UTF-8: texts that name files on this computer
    // must then be converted back before use.
    bool wasUtf8() const { return wasUtf8_; }

    // "file:line: " for messages about a line.
    std::string where(int line) const;

private:
    std::string fileName_;
    bool wasUtf8_ = false;
    std::vector<InfSection> sections_;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace skedlin::cabwiz
