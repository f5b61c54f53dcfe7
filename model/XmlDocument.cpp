#include "model/XmlDocument.h"

#include "formats/RegularFile.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace skedlin::xml {
namespace {

// Longest source line quoted in an error message; a binary file may be one huge "line".
constexpr std::size_t kMaxSourceTextBytes = 512;

// Largest document type definition read. Ours is a few kilobytes; a DOCTYPE
// naming some big local file must not make the reader (or the quoting of its
// failing line) take it into memory.
constexpr std::uint64_t kMaxDtdBytes = 1024u * 1024u;

// What one load needs while libxml2 calls back into us. libxml2 keeps its
// error handler and entity loader per thread, so this is per thread too.
struct LoadState {
    std::string baseDirectory;
    std::string bundledDtdPath;
    bool hasDoctype = false;
    bool loadingExternalSubset = false;
    bool dtdOpened = false;
    std::string dtdPath;  // the DTD actually read
    bool haveError = false;
    std::string errorReason;
    long errorLine = 0;
    std::string errorFile;  // file the error is in, when not the document
    std::size_t elementCount = 0;
    std::size_t textBytes = 0;  // of the element being read
};

thread_local LoadState* currentLoad = nullptr;

std::string trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\n' || text[begin] == '\r' || text[begin] == '\t'))
        ++begin;
    while (end > begin &&
           (text[end - 1] == ' ' || text[end - 1] == '\n' || text[end - 1] == '\r' || text[end - 1] == '\t'))
        --end;
    return std::string(text.substr(begin, end - begin));
}

void recordError(LoadState& state, std::string reason, long line, std::string file) {
    if (state.haveError) return;  // the first error is the one the user needs
    state.haveError = true;
    state.errorReason = trimmed(reason);
    state.errorLine = line;
    state.errorFile = std::move(file);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// libxml2's own words for the limits that protect memory and time name its
// options and functions; the user needs to know what in the file is wrong.
std::string reasonFor(const xmlError& error) {
    const std::string message = trimmed(error.message ? error.message : "Unknown XML error");
    if (startsWith(message, "Excessive depth in document")) {
        return "The elements are nested too deeply: at most " + std::to_string(xmlParserMaxDepth) +
               " levels are allowed.";
    }
    if (error.code == XML_ERR_ENTITY_LOOP || message.find("amplification") != std::string::npos) {
        return "The entities of the document expand to too much text, or refer to themselves.";
    }
    if (startsWith(message, "AttValue length too long")) return "An attribute value is too long.";
    if (startsWith(message, "Name too long") || message.find("Huge input lookup") != std::string::npos) {
        return "A name or other markup is too long.";
    }
    if (message.find("huge text node") != std::string::npos) return "A text is too long.";
    return message;
}

void structuredErrorHandler(void*, xmlErrorPtr error) {
    if (!currentLoad || !error || error->level < XML_ERR_ERROR) return;  // warnings do not fail a load
    recordError(*currentLoad, reasonFor(*error), error->line, error->file ? error->file : "");
}

void silentGenericHandler(void*, const char*, ...) {}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::uint64_t fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string withForwardSlashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// The DTD a DOCTYPE's system identifier names, when it exists on this machine;
// otherwise our bundled one (a file written on another computer, e.g.
// "C:\Program Files\Skedlin\CalendarPackage.dtd").
std::string resolveDtdPath(const char* systemId, const LoadState& state) {
    if (systemId && *systemId) {
        std::string named = systemId;
        constexpr std::string_view kFileScheme = "file://";
        if (named.compare(0, kFileScheme.size(), kFileScheme) == 0) named.erase(0, kFileScheme.size());
        const bool windowsAbsolute = named.size() > 2 && named[1] == ':';
        if (!windowsAbsolute) {
            std::string candidate = named;
            if (!candidate.empty() && candidate[0] != '/' && candidate[0] != '\\') {
                candidate = state.baseDirectory.empty() ? candidate : state.baseDirectory + "/" + candidate;
            }
            if (isRegularFile(candidate)) return candidate;
            const std::string forward = withForwardSlashes(candidate);
            if (isRegularFile(forward)) return forward;
        }
    }
    return state.bundledDtdPath;
}

void internalSubsetHook(void* context, const xmlChar* name, const xmlChar* externalId, const xmlChar* systemId) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    if (currentLoad) currentLoad->hasDoctype = true;
    // Only a file with a DOCTYPE is validated and gets the DTD's attribute
    // defaults (design.md): switch both on now that we know there is one.
    parser->loadsubset |= XML_DETECT_IDS | XML_COMPLETE_ATTRS;
    parser->validate = 1;
    xmlSAX2InternalSubset(context, name, externalId, systemId);
}

// Counts the elements as the tree is made and stops the parser past the limit.
void startElementHook(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                      int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaultedCount,
                      const xmlChar** attributes) {
    xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
    if (!currentLoad) return;
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    currentLoad->textBytes = 0;
    // Each attribute comes as five pointers: name, prefix, URI, value, end of value.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar* value = attributes[5 * i + 3];
        const xmlChar* end = attributes[5 * i + 4];
        if (static_cast<std::size_t>(end - value) > kMaxTextBytes) {
            recordError(*currentLoad,
                        "An attribute value is too long (more than " + std::to_string(kMaxTextBytes) + " bytes).",
                        parser->input ? parser->input->line : 0, "");
            xmlStopParser(parser);
            return;
        }
    }
    if (++currentLoad->elementCount <= kMaxElements) return;
    recordError(*currentLoad, "The document has more than " + std::to_string(kMaxElements) + " elements.",
                parser->input ? parser->input->line : 0, "");
    xmlStopParser(parser);
}

void endElementHook(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri) {
    xmlSAX2EndElementNs(context, localName, prefix, uri);
    if (currentLoad) currentLoad->textBytes = 0;
}

// No text of a package comes near this; a longer one can only be a mistake or
// an attack, and would otherwise travel into every target before it failed.
void charactersHook(void* context, const xmlChar* characters, int length) {
    xmlSAX2Characters(context, characters, length);
    if (!currentLoad || length <= 0) return;
    currentLoad->textBytes += static_cast<std::size_t>(length);
    if (currentLoad->textBytes <= kMaxTextBytes) return;
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    recordError(*currentLoad, "A text is too long (more than " + std::to_string(kMaxTextBytes) + " bytes).",
                parser->input ? parser->input->line : 0, "");
    xmlStopParser(parser);
}

void externalSubsetHook(void* context, const xmlChar* name, const xmlChar* externalId, const xmlChar* systemId) {
    if (!currentLoad || !currentLoad->hasDoctype) return;
    LoadState& state = *currentLoad;
    state.dtdPath = resolveDtdPath(reinterpret_cast<const char*>(systemId), state);
    state.loadingExternalSubset = true;
    // libxml2 only asks the loader when an identifier is given; the loader
    // below decides which file is read, whatever the identifier says.
    static const xmlChar kBundledName[] = "CalendarPackage.dtd";
    xmlSAX2ExternalSubset(context, name, externalId, systemId ? systemId : kBundledName);
    state.loadingExternalSubset = false;
}

// The only external entity ever read is the DTD of the DOCTYPE; everything
// else (external general or parameter entities, anything over a network) is refused.
xmlParserInputPtr entityLoader(const char* url, const char*, xmlParserCtxtPtr parser) {
    if (!currentLoad) return nullptr;
    LoadState& state = *currentLoad;
    const long line = parser && parser->input ? parser->input->line : 0;
    if (state.loadingExternalSubset && !state.dtdOpened) {
        state.dtdOpened = true;
        if (!isRegularFile(state.dtdPath)) {
            recordError(state, "The document type definition \"" + state.dtdPath + "\" cannot be read.", line, "");
            return nullptr;
        }
        if (fileSize(state.dtdPath) > kMaxDtdBytes) {
            recordError(state,
                        "The document type definition \"" + state.dtdPath + "\" is too large: at most " +
                            std::to_string(kMaxDtdBytes) + " bytes are accepted.",
                        line, "");
            return nullptr;
        }
        return xmlNewInputFromFile(parser, state.dtdPath.c_str());
    }
    recordError(state, std::string("The external entity \"") + (url ? url : "") + "\" is not allowed.", line, "");
    return nullptr;
}

// Line `line` (1-based) of `data`, without its line end, cut to a sane length.
std::string sourceLine(std::string_view data, long line) {
    if (line <= 0) return {};
    std::size_t start = 0;
    for (long current = 1; current < line; ++current) {
        const std::size_t next = data.find('\n', start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    std::size_t end = data.find('\n', start);
    if (end == std::string_view::npos) end = data.size();
    std::string text(data.substr(start, end - start));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > kMaxSourceTextBytes) text.resize(kMaxSourceTextBytes);
    // A binary file's "line" may hold control bytes; keep the message printable.
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t') c = '?';
    }
    return text;
}

// Element and attribute names are compared where libxml2 keeps them: looking up
// a child must not allocate, since the readers do it several times per event.
bool nameIs(const xmlChar* name, std::string_view wanted) {
    if (!name) return wanted.empty();
    const char* text = reinterpret_cast<const char*>(name);
    return std::strncmp(text, wanted.data(), wanted.size()) == 0 && text[wanted.size()] == '\0';
}

// The text of a node list that is a single text node, without a copy through
// libxml2's own buffer; nullptr for anything else (entity references, mixed content).
const xmlChar* singleTextContent(const xmlNode* children) {
    if (!children) return reinterpret_cast<const xmlChar*>("");
    if (children->next) return nullptr;
    if (children->type != XML_TEXT_NODE && children->type != XML_CDATA_SECTION_NODE) return nullptr;
    return children->content ? children->content : reinterpret_cast<const xmlChar*>("");
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Installs our handlers for one load and restores the previous ones after it.
class LoadScope {
public:
    explicit LoadScope(LoadState& state)
        : previousLoad_(currentLoad),
          previousLoader_(xmlGetExternalEntityLoader()),
          previousStructured_(xmlStructuredError),
          previousStructuredContext_(xmlStructuredErrorContext),
          previousGeneric_(xmlGenericError),
          previousGenericContext_(xmlGenericErrorContext) {
        currentLoad = &state;
        xmlSetExternalEntityLoader(entityLoader);
        xmlSetStructuredErrorFunc(nullptr, structuredErrorHandler);
        xmlSetGenericErrorFunc(nullptr, silentGenericHandler);
    }
    ~LoadScope() {
        xmlSetExternalEntityLoader(previousLoader_);
        xmlSetStructuredErrorFunc(previousStructuredContext_, previousStructured_);
        xmlSetGenericErrorFunc(previousGenericContext_, previousGeneric_);
        currentLoad = previousLoad_;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    LoadState* previousLoad_;
    xmlExternalEntityLoader previousLoader_;
    xmlStructuredErrorFunc previousStructured_;
    void* previousStructuredContext_;
    xmlGenericErrorFunc previousGeneric_;
    void* previousGenericContext_;
};

}  // namespace

// ---- Element ---------------------------------------------------------------

std::string Element::name() const { return node_ && node_->name ? reinterpret_cast<const char*>(node_->name) : ""; }

Element Element::firstChild(std::string_view wanted) const {
    if (!node_) return {};
    for (xmlNode* child = node_->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && nameIs(child->name, wanted)) return Element(child);
    }
    return {};
}

Element Element::firstChildElement() const {
    if (!node_) return {};
    for (xmlNode* child = node_->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) return Element(child);
    }
    return {};
}

Element Element::nextSiblingElement() const {
    if (!node_) return {};
    for (xmlNode* sibling = node_->next; sibling; sibling = sibling->next) {
        if (sibling->type == XML_ELEMENT_NODE) return Element(sibling);
    }
    return {};
}

Element Element::parent() const {
    if (!node_ || !node_->parent || node_->parent->type != XML_ELEMENT_NODE) return {};
    return Element(node_->parent);
}

std::optional<std::string> Element::attribute(std::string_view wanted) const {
    if (!node_) return std::nullopt;
    for (const xmlAttr* property = node_->properties; property; property = property->next) {
        if (property->ns || !nameIs(property->name, wanted)) continue;
        if (const xmlChar* plain = singleTextContent(property->children)) {
            return std::string(reinterpret_cast<const char*>(plain));
        }
        break;  // an unusual value: let libxml2 assemble it
    }
    // Also finds a default the DTD gives an attribute that is not in the tree.
    const std::string key(wanted);
    xmlChar* value = xmlGetNoNsProp(node_, reinterpret_cast<const xmlChar*>(key.c_str()));
    if (!value) return std::nullopt;
    std::string result(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return result;
}

std::string Element::text() const {
    if (!node_) return {};
    if (const xmlChar* plain = singleTextContent(node_->children)) return reinterpret_cast<const char*>(plain);
    xmlChar* content = xmlNodeGetContent(node_);
    if (!content) return {};
    std::string result(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return result;
}

std::optional<std::string> Element::childText(std::string_view wanted) const {
    const Element child = firstChild(wanted);
    if (!child) return std::nullopt;
    return child.text();
}

long Element::line() const { return node_ ? xmlGetLineNo(node_) : 0; }

// ---- Document --------------------------------------------------------------

Document::Document() = default;

Document::~Document() {
    if (doc_) xmlFreeDoc(doc_);
}

Element Document::root() const { return doc_ ? Element(xmlDocGetRootElement(doc_)) : Element(); }

XmlLoadResult Document::loadFile(const std::string& path, const std::string& bundledDtdPath, ParseError& where) {
    where = {};
    std::string contents;
    FileReadFacts facts;
    const Result<FileReadError> read = readRegularFile(path, kMaxInputBytes, contents, &facts);
    switch (read.code()) {
    case FileReadError::None: break;
    case FileReadError::CannotOpen:
        return {XmlError::Unreadable, "The file \"" + path + "\" cannot be opened: " + read.message() + "."};
    case FileReadError::NotRegularFile: return {XmlError::Unreadable, "\"" + path + "\" is not a file."};
    case FileReadError::TooLarge:
        return {XmlError::TooLarge, "The file \"" + path + "\" is too large: " + std::to_string(facts.size) +
                                        " bytes, at most " + std::to_string(kMaxInputBytes) + " are accepted."};
    case FileReadError::Unreadable:
        return {XmlError::Unreadable, "The file \"" + path + "\" cannot be read: " + read.message() + "."};
    }
    return parse(contents, path, directoryOf(path), bundledDtdPath, where);
}

XmlLoadResult Document::loadMemory(std::string_view data, const std::string& baseDirectory,
                                   const std::string& bundledDtdPath, ParseError& where) {
    where = {};
    if (data.size() > kMaxInputBytes) {
        return {XmlError::TooLarge, "The document is too large: " + std::to_string(data.size()) + " bytes, at most " +
                                        std::to_string(kMaxInputBytes) + " are accepted."};
    }
    return parse(data, baseDirectory + "/document.xml", baseDirectory, bundledDtdPath, where);
}

XmlLoadResult Document::parse(std::string_view data, const std::string& documentPath, const std::string& baseDirectory,
                              const std::string& bundledDtdPath, ParseError& where) {
    if (doc_) {
        xmlFreeDoc(doc_);
        doc_ = nullptr;
    }
    hadDoctype_ = false;
    dtdPathUsed_.clear();

    if (data.find_first_not_of(" \n\r\t") == std::string_view::npos) {
        // libxml2 will not even make a parser for no bytes; say what MSXML says in words.
        where.line = 1;
        return {XmlError::NotLoaded, "The document is empty: an XML document must have a root element."};
    }

    LoadState state;
    state.baseDirectory = baseDirectory;
    state.bundledDtdPath = bundledDtdPath;
    LoadScope scope(state);

    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) return {XmlError::ParserUnavailable, "The XML parser cannot be created (out of memory)."};
    parser->sax->internalSubset = internalSubsetHook;
    parser->sax->externalSubset = externalSubsetHook;
    parser->sax->startElementNs = startElementHook;
    parser->sax->endElementNs = endElementHook;
    parser->sax->characters = charactersHook;
    parser->sax->serror = structuredErrorHandler;

    // No DTD options here: internalSubsetHook switches validation on for a file
    // with a DOCTYPE. Entities are substituted by the parser, which guards
    // against their exponential expansion; external ones never load.
    // The tree is only read, never changed, so short texts may be kept inside
    // their nodes (XML_PARSE_COMPACT): dates, times and ids make up most of a
    // package's texts, and each would otherwise be an allocation of its own.
    const int options = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    xmlDocPtr doc =
        xmlCtxtReadMemory(parser, data.data(), static_cast<int>(data.size()), documentPath.c_str(), nullptr, options);
    const bool wellFormed = parser->wellFormed != 0;
    const bool valid = !state.hasDoctype || parser->valid != 0;
    xmlFreeParserCtxt(parser);

    if (!doc || !wellFormed || !valid || state.haveError) {
        if (doc) xmlFreeDoc(doc);
        std::string reason = state.haveError ? state.errorReason : "The document could not be parsed.";
        where.line = state.errorLine;
        if (!state.errorFile.empty() && state.errorFile != documentPath && isRegularFile(state.errorFile)) {
            // The line and its text are those of the DTD: say so.
            reason = "In \"" + state.errorFile + "\": " + reason;
            std::string other;
            if (readRegularFile(state.errorFile, kMaxInputBytes, other))
                where.sourceText = sourceLine(other, where.line);
        } else {
            where.sourceText = sourceLine(data, where.line);
        }
        return {XmlError::NotLoaded, std::move(reason)};
    }
    doc_ = doc;
    hadDoctype_ = state.hasDoctype;
    dtdPathUsed_ = state.dtdPath;
    return {};
}

}  // namespace skedlin::xml
