#pragma once
// The package file's text encoding. The file is declared ISO-8859-1: characters
// of that set are written as single bytes, every other character as a numeric
// character reference, so no text is lost and the file stays valid. On reading,
// the characters U+0080 to U+009F stand for the Windows-1252 characters of those
// bytes, which is what older files written in that code page hold there.

#include <QByteArray>
#include <QString>

namespace skedlin {

// Escapes markup characters ("&", "<", ">", the double quote and the
// apostrophe), writes a line feed as "&#x0a;", drops carriage returns and the
// control characters an XML file cannot hold, and encodes the rest as above.
// A C1 control U+0080 to U+009F is written as the Windows-1252 character of
// its byte, which is what reading the file gives back, so a saved text reads
// back as it was saved.
QByteArray escapeXmlText(const QString& text);
// The same for an attribute value, where a parser turns a raw tab into a
// space: tabs are written as "&#x09;".
QByteArray escapeXmlAttribute(const QString& text);

// Encodes text as ISO-8859-1 without markup escaping, for the declaration line
// and the DOCTYPE's system literal: characters outside the set become URI
// percent-escapes of their UTF-8 bytes, and so does the double quote when
// escapeQuote is set (inside the system literal).
QByteArray encodeLiteral(const QString& text, bool escapeQuote);

// A text from the XML parser (UTF-8) with U+0080..U+009F mapped to Windows-1252.
QString decodeXmlText(const std::string& utf8);

}  // namespace skedlin
