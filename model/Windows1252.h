#pragma once
// The programs' 8-bit code page is Windows-1252. The XML
// layer hands out UTF-8; the readers convert every text to Windows-1252 before it
// reaches a handheld record, and back to UTF-8 where a text is shown or logged.

#include <string>
#include <string_view>

namespace skedlin {

// Each character that Windows-1252 cannot hold becomes "?"; *replacedSome (when
// not null) tells whether that happened. Invalid UTF-8 bytes count as such
// characters. The C1 controls U+0080 to U+009F map to the bytes 0x80 to 0x9F:
// the editor writes its ANSI bytes unchanged under an ISO-8859-1 declaration
// so a euro sign written as the byte 0x80 reaches us as U+0080 and
// must go back to the handheld as 0x80.
std::string utf8ToWindows1252(std::string_view utf8, bool* replacedSome = nullptr);

// Every byte has a character; the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value.
std::string windows1252ToUtf8(std::string_view windows1252);

// Every Windows-1252 character is one UTF-16 code unit.
std::u16string windows1252ToUtf16(std::string_view text);

}  // namespace skedlin
