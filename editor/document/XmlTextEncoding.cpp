#include "editor/document/XmlTextEncoding.h"

#include <QList>
#include <QStringView>

#include <string>

#include "model/Windows1252.h"

namespace skedlin {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendCharacterReference(QByteArray& out, char32_t codePoint) {
    out += "&#x";
    out += QByteArray::number(static_cast<uint>(codePoint), 16).toUpper();
    out += ';';
}

// Whether XML 1.0 allows the character in a document at all.
bool isXmlCharacter(char32_t c) {
    if (c == 0x9 || c == 0xA || c == 0xD) return true;
    if (c < 0x20) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    return c <= 0x10FFFF;
}

// The Windows-1252 character of a C1 control's byte; the control itself for
// the five bytes the code page leaves undefined.
char32_t windows1252CharacterOfControl(char32_t c) {
    const std::string mapped = windows1252ToUtf8(std::string(1, static_cast<char>(c)));
    const QList<uint> ucs4 = QString::fromUtf8(mapped.data(), static_cast<qsizetype>(mapped.size())).toUcs4();
    return ucs4.size() == 1 ? ucs4.front() : c;
}

QByteArray escape(const QString& text, bool attribute) {
    QByteArray out;
    out.reserve(text.size() + 8);
    for (char32_t c : text.toUcs4()) {
        switch (c) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '"': out += "&quot;"; continue;
        case '\'': out += "&apos;"; continue;
        case '\n': out += "&#x0a;"; continue;
        case '\r': continue;
        case '\t':
            if (attribute) {
                out += "&#x09;";
                continue;
            }
            break;
        default: break;
        }
        if (c < 0x20 && c != '\t') continue;  // no way to hold it in XML 1.0
        if (c >= 0x80 && c <= 0x9F) c = windows1252CharacterOfControl(c);
        if (!isXmlCharacter(c)) c = kReplacementCharacter;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
        } else {
            appendCharacterReference(out, c);
        }
    }
    return out;
}

}  // namespace

QByteArray escapeXmlText(const QString& text) { return escape(text, false); }

QByteArray escapeXmlAttribute(const QString& text) { return escape(text, true); }

QByteArray encodeLiteral(const QString& text, bool escapeQuote) {
    QByteArray out;
    for (char32_t c : text.toUcs4()) {
        if (!(escapeQuote && c == '"') && c >= 0x20 && c <= 0xFF && !(c >= 0x7F && c < 0xA0)) {
            out += static_cast<char>(c);
            continue;
        }
        const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
        for (char byte : utf8) {
            out += '%';
            out += QByteArray::number(static_cast<uchar>(byte), 16).toUpper().rightJustified(2, '0');
        }
    }
    return out;
}

QString decodeXmlText(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || c > 0x9F) continue;
        const std::string mapped = windows1252ToUtf8(std::string(1, static_cast<char>(c)));
        const QString replacement = QString::fromUtf8(mapped.data(), static_cast<qsizetype>(mapped.size()));
        if (replacement.size() == 1) text[i] = replacement[0];
    }
    return text;
}

}  // namespace skedlin
