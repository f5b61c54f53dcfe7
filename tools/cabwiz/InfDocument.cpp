#include "tools/cabwiz/InfDocument.h"

#include "formats/RegularFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "tools/cabwiz/Windows1252.h"

namespace skedlin::cabwiz {
namespace {

constexpr char kCommentStart = ';';
constexpr char kQuote = '"';
constexpr char kFieldSeparator = ',';
constexpr char kKeySeparator = '=';
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits one line (comment already allowed for) into key and fields.
// Returns false when a quote is not closed, its only failure.
bool splitLine(std::string_view text, InfLine& line) {
    std::vector<std::string> parts;
    std::string current;
    std::size_t significantLength = 0;  // length of current up to its last non-blank or quoted char
    bool inQuotes = false;
    bool keyFound = false;
    std::string key;

    auto finishField = [&]() {
        current.resize(significantLength);
        parts.push_back(current);
        current.clear();
        significantLength = 0;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == kQuote) {
                if (i + 1 < text.size() && text[i + 1] == kQuote) {
                    current.push_back(kQuote);
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                current.push_back(c);
            }
            significantLength = current.size();
            continue;
        }
        if (c == kCommentStart) break;
        if (c == kQuote) {
            inQuotes = true;
            significantLength = current.size();
        } else if (c == kFieldSeparator) {
            finishField();
        } else if (c == kKeySeparator && !keyFound && parts.empty()) {
            finishField();
            key = parts.back();
            parts.clear();
            keyFound = true;
        } else if (isBlank(c)) {
            if (!current.empty() || significantLength > 0) current.push_back(c);
        } else {
            current.push_back(c);
            significantLength = current.size();
        }
    }
    if (inQuotes) return false;
    finishField();
    line.hasKey = keyFound;
    line.key = key;
    line.fields = std::move(parts);
    return true;
}

// Strips a comment that lies outside quotes.
std::string_view withoutComment(std::string_view text) {
    bool inQuotes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kQuote) inQuotes = !inQuotes;
        if (text[i] == kCommentStart && !inQuotes) return text.substr(0, i);
    }
    return text;
}

}  // namespace

const std::string& InfLine::field(std::size_t index) const {
    static const std::string kEmpty;
    return index < fields.size() ? fields[index] : kEmpty;
}

const InfLine* InfSection::find(std::string_view wanted) const {
    for (const auto& line : lines) {
        if (line.hasKey && equalsIgnoringCase(line.key, wanted)) return &line;
    }
    return nullptr;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) return false;
    }
    return true;
}

CabwizResult InfDocument::load(const std::string& path, InfDocument& out) {
    std::string bytes;
    const Result<FileReadError> read = readRegularFile(path, kMaxFileBytes, bytes);
    switch (read.code()) {
    case FileReadError::None: return parse(bytes, path, out);
    case FileReadError::NotRegularFile:
        return CabwizResult(CabwizError::Description, path + ": the installation description is not a regular file");
    case FileReadError::TooLarge:
        return CabwizResult(CabwizError::Description, path + ": the installation description is larger than " +
                                                          std::to_string(kMaxFileBytes) + " bytes");
    case FileReadError::Unreadable: return CabwizResult(CabwizError::Description, path + ": read error");
    case FileReadError::CannotOpen: break;
    }
    return CabwizResult(CabwizError::Description,
                        path + ": cannot read the installation description: " + read.message());
}

CabwizResult InfDocument::parse(std::string_view bytes, const std::string& fileName, InfDocument& out) {
    InfDocument document;
    document.fileName_ = fileName;
    bool utf8 = false;
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
        utf8 = true;
    } else {
        utf8 = looksLikeUtf8(bytes);
    }

    document.wasUtf8_ = utf8;
    std::size_t current = SIZE_MAX;  // index of the section being read
    int number = 0;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view raw = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (raw.find('\0') != std::string_view::npos) {
            return CabwizResult(CabwizError::Description,
                                document.where(number) + "the line holds a zero byte; this is not a text file");
        }
        std::string text(raw);
        if (utf8) {
            std::string converted;
            if (!utf8ToWindows1252(raw, converted)) {
                return CabwizResult(
                    CabwizError::Description,
                    document.where(number) + "the line holds a character that Windows-1252 cannot represent");
            }
            text = std::move(converted);
        }
        const std::string_view content = trim(withoutComment(text));
        if (content.empty()) continue;

        if (content.front() == '[') {
            const std::size_t close = content.find(']');
            if (close == std::string_view::npos || !trim(content.substr(close + 1)).empty()) {
                return CabwizResult(CabwizError::Description,
                                    document.where(number) + "malformed section header '" + std::string(content) + "'");
            }
            const std::string name(trim(content.substr(1, close - 1)));
            if (name.empty())
                return CabwizResult(CabwizError::Description, document.where(number) + "section header without a name");
            current = SIZE_MAX;
            for (std::size_t i = 0; i < document.sections_.size(); ++i) {
                if (equalsIgnoringCase(document.sections_[i].name, name)) current = i;
            }
            if (current == SIZE_MAX) {
                document.sections_.push_back(InfSection{name, number, {}});
                current = document.sections_.size() - 1;
            }
            continue;
        }
        if (current == SIZE_MAX) {
            return CabwizResult(CabwizError::Description,
                                document.where(number) + "text before the first section header");
        }
        InfLine line;
        line.number = number;
        if (!splitLine(content, line)) {
            return CabwizResult(CabwizError::Description, document.where(number) + "the quoted text is not closed");
        }
        if (line.hasKey && line.key.empty()) {
            return CabwizResult(CabwizError::Description,
                                document.where(number) + "a line with '=' but no key before it");
        }
        document.sections_[current].lines.push_back(std::move(line));
    }
    out = std::move(document);
    return CabwizResult::success();
}

const InfSection* InfDocument::section(std::string_view name) const {
    for (const auto& section : sections_) {
        if (equalsIgnoringCase(section.name, name)) return &section;
    }
    return nullptr;
}

std::string InfDocument::where(int line) const { return fileName_ + ":" + std::to_string(line) + ": "; }

}  // namespace skedlin::cabwiz
