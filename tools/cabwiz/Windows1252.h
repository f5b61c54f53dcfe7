#pragma once
// Texts in the setup file are 8-bit Windows-1252. Installation descriptions
// written by hand on this platform are usually UTF-8; these helpers tell the
// two apart and convert, with the conversion the builder uses.

#include <string>
#include <string_view>

namespace skedlin::cabwiz {

// True when the text holds a byte of 0x80 or above and is well-formed UTF-8
// throughout (plain ASCII returns false: it needs no conversion).
bool looksLikeUtf8(std::string_view text);

// Converts well-formed UTF-8 to Windows-1252. Returns false, leaving out
// unspecified, when a character has no Windows-1252 form.
bool utf8ToWindows1252(std::string_view utf8, std::string& out);

// The reverse, which always succeeds (unassigned bytes keep their C1 code point).
std::string windows1252ToUtf8(std::string_view text);

}  // namespace skedlin::cabwiz
