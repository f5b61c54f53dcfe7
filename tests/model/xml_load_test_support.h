#pragma once
// A document load's result and place of failure in one value, so that a test
// can state the code, the reason, the line and the source text together.

#include <string>
#include <string_view>

#include "model/XmlDocument.h"

namespace skedlin::xml::test {

struct LoadOutcome {
    XmlError code = XmlError::None;
    std::string reason;  // empty when the document loaded
    long line = 0;
    std::string sourceText;

    bool ok() const { return code == XmlError::None; }
    explicit operator bool() const { return ok(); }
};

inline LoadOutcome outcomeOf(const XmlLoadResult& result, const ParseError& where) {
    return {result.code(), result.message(), where.line, where.sourceText};
}

inline LoadOutcome loadFile(Document& doc, const std::string& path, const std::string& bundledDtd) {
    ParseError where;
    const XmlLoadResult result = doc.loadFile(path, bundledDtd, where);
    return outcomeOf(result, where);
}

inline LoadOutcome loadMemory(Document& doc, std::string_view data, const std::string& baseDirectory,
                              const std::string& bundledDtd) {
    ParseError where;
    const XmlLoadResult result = doc.loadMemory(data, baseDirectory, bundledDtd, where);
    return outcomeOf(result, where);
}

}  // namespace skedlin::xml::test
