#pragma once
// A thin layer over libxml2 offering exactly what the package readers need:
// load a file (validating against the DTD named by its DOCTYPE), the parse
// error with reason, line and source text, and read-only element access.
// All texts are UTF-8.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "formats/Result.h"

struct _xmlDoc;
struct _xmlNode;

namespace skedlin::xml {

// Input files larger than this are refused before parsing: a calendar package
// with every id the handheld formats allow stays far below it.
inline constexpr std::size_t kMaxInputBytes = 64u * 1024u * 1024u;
// Documents with more elements are refused while they are parsed: a file of
// the accepted size made of nothing but empty elements would otherwise take
// gigabytes as a tree. A package with every event and contact id the handheld
// formats allow has well under a million.
inline constexpr std::size_t kMaxElements = 2u * 1000u * 1000u;
// A longer text or attribute value is refused: no text a package carries needs it.
inline constexpr std::size_t kMaxTextBytes = 1024u * 1024u;

enum class XmlError {
    None,
    Unreadable,         // the file cannot be opened or read, or is not a file
    TooLarge,           // more than kMaxInputBytes
    ParserUnavailable,  // the XML parser cannot be created
    NotLoaded,          // empty, not well formed, or not valid against its DTD
};

// On failure the message is the reason in words, a sentence.
using XmlLoadResult = Result<XmlError>;

// Where a document failed to load.
struct ParseError {
    long line = 0;           // 1-based line of the error; 0 when the file could not be read
    std::string sourceText;  // the text of that line, read from the file; empty for line 0
};

// A non-owning view of one element; valid while its Document lives.
// A default-constructed Element is "absent": every query on it returns nothing.
class Element {
public:
    Element() = default;
    explicit Element(_xmlNode* node) : node_(node) {}

    explicit operator bool() const { return node_ != nullptr; }
    std::string name() const;

    // First child element with this name, or an absent Element.
    Element firstChild(std::string_view name) const;
    // Walking all child elements in document order (text and comments skipped).
    Element firstChildElement() const;
    Element nextSiblingElement() const;
    // The parent element, or an absent Element for the root.
    Element parent() const;

    // The attribute's value (after DTD defaults were applied), or nullopt when absent.
    std::optional<std::string> attribute(std::string_view name) const;
    // The text of the element: all text and CDATA beneath it, concatenated.
    std::string text() const;
    // Text of the first child element with this name; nullopt when there is no such child.
    std::optional<std::string> childText(std::string_view name) const;

    long line() const;

private:
    _xmlNode* node_ = nullptr;
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // bundledDtdPath: our own CalendarPackage.dtd, used when the DTD named by the
    // DOCTYPE does not exist on this machine. Never touches the network.
    XmlLoadResult loadFile(const std::string& path, const std::string& bundledDtdPath, ParseError& where);
    // Same rules for a document held in memory; baseDirectory resolves a relative DTD path.
    XmlLoadResult loadMemory(std::string_view data, const std::string& baseDirectory, const std::string& bundledDtdPath,
                             ParseError& where);

    Element root() const;
    // Whether the loaded file had a DOCTYPE (and so was validated).
    bool hadDoctype() const { return hadDoctype_; }
    // The DTD the file was validated against (empty without a DOCTYPE).
    const std::string& dtdPathUsed() const { return dtdPathUsed_; }

private:
    XmlLoadResult parse(std::string_view data, const std::string& documentPath, const std::string& baseDirectory,
                        const std::string& bundledDtdPath, ParseError& where);

    _xmlDoc* doc_ = nullptr;
    bool hadDoctype_ = false;
    std::string dtdPathUsed_;
};

}  // namespace skedlin::xml
