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

}  // namespace

QByteArray escapeXmlText(const QString& text) {
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
        default: break;
        }
        if (c < 0x20 && c != '\t') continue;  // no way to hold it in XML 1.0
        if (!isXmlCharacter(c)) c = kReplacementCharacter;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
        } else {
            appendCharacterReference(out, c);
        }
    }
    return out;
}

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
