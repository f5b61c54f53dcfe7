#include "editor/document/VCard3Reader.h"

#include <QStringDecoder>

#include <string>

#include "editor/document/VCardReader.h"
#include "model/Windows1252.h"

namespace skedlin {
namespace {

struct ContentLine {
    QString name;       // in capitals, without a group prefix
    QStringList types;  // TYPE values and bare parameters, in capitals
    QString charset;
    bool quotedPrintable = false;
    bool binary = false;
    QString value;  // still escaped
};

bool isBeginCard(const QString& line) {
    return line.trimmed().compare(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive) == 0;
}
bool isEndCard(const QString& line) {
    return line.trimmed().compare(QLatin1String("END:VCARD"), Qt::CaseInsensitive) == 0;
}

// Splits at `separator` outside double quotes.
QStringList splitOutsideQuotes(const QString& text, QChar separator) {
    QStringList parts;
    QString current;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"') quoted = !quoted;
        if (c == separator && !quoted) {
            parts.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current);
    return parts;
}

QString unquote(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"')) text = text.mid(1, text.size() - 2);
    return text;
}

ContentLine parseContentLine(const QString& line) {
    ContentLine content;
    // The value starts after the first colon that is not inside a quoted parameter.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"') quoted = !quoted;
        if (line[i] == u':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0) return content;
    content.value = line.mid(colon + 1);
    const QStringList head = splitOutsideQuotes(line.left(colon), u';');
    QString name = head.front().trimmed().toUpper();
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot >= 0) name = name.mid(dot + 1);
    content.name = name;
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QString parameter = head[i].trimmed();
        const qsizetype equals = parameter.indexOf(u'=');
        const QString key = equals < 0 ? QString() : parameter.left(equals).trimmed().toUpper();
        const QString value = equals < 0 ? parameter : parameter.mid(equals + 1);
        if (key.isEmpty() || key == QLatin1String("TYPE")) {
            // A quoted list ("voice,cell") holds several types too.
            for (const QString& type : QString(value).remove(u'"').split(u',')) {
                const QString upper = type.trimmed().toUpper();
                if (upper == QLatin1String("QUOTED-PRINTABLE"))
                    content.quotedPrintable = true;
                else if (!upper.isEmpty())
                    content.types.append(upper);
            }
        } else if (key == QLatin1String("ENCODING")) {
            const QString encoding = unquote(value).toUpper();
            content.quotedPrintable = encoding == QLatin1String("QUOTED-PRINTABLE");
            content.binary = encoding == QLatin1String("B") || encoding == QLatin1String("BASE64");
        } else if (key == QLatin1String("CHARSET")) {
            content.charset = unquote(value);
        }
    }
    return content;
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - '0';
    if (c >= u'A' && c <= u'F') return c.unicode() - 'A' + 10;
    if (c >= u'a' && c <= u'f') return c.unicode() - 'a' + 10;
    return -1;
}

// "=XX" codes become bytes, which are then read in the card's character set
// (UTF-8 unless the property names another).
QString decodeQuotedPrintable(const QString& value, const QString& charset) {
    QByteArray bytes;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'=' && i + 2 < value.size() && hexDigit(value[i + 1]) >= 0 && hexDigit(value[i + 2]) >= 0) {
            bytes.append(static_cast<char>(hexDigit(value[i + 1]) * 16 + hexDigit(value[i + 2])));
            i += 2;
        } else {
            bytes.append(QString(value[i]).toUtf8());
        }
    }
    if (charset.isEmpty() || charset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(bytes);
        if (!utf8.hasError()) return decoded;
    } else {
        QStringDecoder named(charset.toLatin1().constData(), QStringDecoder::Flag::Stateless);
        if (named.isValid()) {
            const QString decoded = named.decode(bytes);
            if (!named.hasError()) return decoded;
        }
    }
    return QString::fromStdString(windows1252ToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

// Splits an escaped value at unescaped separators, unescaping each part:
// "\n" is a line break; "\," "\;" "\:" and "\\" are the character itself.
QStringList splitEscaped(const QString& value, QChar separator) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            current += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
        } else if (c == separator) {
            parts.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current);
    return parts;
}

QString unescape(const QString& value) { return splitEscaped(value, QChar(0xFFFF)).front(); }

// The text of a property: quoted-printable decoded, then unescaped parts.
QStringList components(const ContentLine& line, QChar separator) {
    const QString raw = line.quotedPrintable ? decodeQuotedPrintable(line.value, line.charset) : line.value;
    QStringList parts = splitEscaped(raw, separator);
    for (QString& part : parts) part.remove(u'\r');
    return parts;
}

QString textOf(const ContentLine& line) {
    QString text = line.quotedPrintable ? decodeQuotedPrintable(line.value, line.charset) : line.value;
    text = unescape(text);
    text.remove(u'\r');
    return text;
}

void addPhoneNumber(ContactEntry& contact, const QString& number, std::int32_t type) {
    if (number.trimmed().isEmpty() || contact.phoneCount >= kPhoneSlotCount) return;
    contact.phoneNumbers[static_cast<std::size_t>(contact.phoneCount)] = number.trimmed();
    contact.phoneTypes[static_cast<std::size_t>(contact.phoneCount)] = type;
    ++contact.phoneCount;
}

// The package's phone type for a telephone's TYPE values.
std::int32_t phoneType(const QStringList& types) {
    if (types.contains(QLatin1String("CELL"))) return kPhoneMobile;
    if (types.contains(QLatin1String("FAX"))) return kPhoneFax;
    if (types.contains(QLatin1String("PAGER"))) return kPhonePager;
    if (types.contains(QLatin1String("HOME"))) return kPhoneHome;
    if (types.contains(QLatin1String("WORK"))) return kPhoneWork;
    if (types.contains(QLatin1String("MAIN"))) return kPhoneMain;
    return kPhoneOther;
}

// Joins folded lines, and lines that a quoted-printable value continues with
// a soft line break ("=" at the end of the line).
QStringList unfoldCard(const QStringList& lines) {
    QStringList result;
    for (const QString& raw : lines) {
        QString line = raw;
        while (line.endsWith(u'\r')) line.chop(1);
        if (!result.isEmpty() && !line.isEmpty() && (line[0] == u' ' || line[0] == u'\t')) {
            result.back() += line.mid(1);
            continue;
        }
        if (!result.isEmpty() && result.back().endsWith(u'=') &&
            result.back().contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive)) {
            result.back().chop(1);
            result.back() += line;
            continue;
        }
        result.append(line);
    }
    return result;
}

bool isModernVersion(const QStringList& cardLines) {
    for (const QString& line : cardLines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("VERSION:"), Qt::CaseInsensitive)) {
            const QString version = trimmed.mid(8).trimmed();
            return version == QLatin1String("3.0") || version == QLatin1String("4.0");
        }
    }
    return false;
}

}  // namespace

ContactEntry readVCard3(const QStringList& cardLines) {
    ContactEntry contact;
    QString formattedName;
    bool haveAddress = false;
    bool havePreferredAddress = false;
    for (const QString& line : unfoldCard(cardLines)) {
        const ContentLine content = parseContentLine(line);
        if (content.name.isEmpty() || content.binary) continue;
        const QString& name = content.name;
        if (name == QLatin1String("N")) {
            const QStringList parts = components(content, u';');
            contact.lastName = parts.value(0).trimmed();
            contact.firstName = parts.value(1).trimmed();
        } else if (name == QLatin1String("FN")) {
            formattedName = textOf(content).trimmed();
        } else if (name == QLatin1String("ORG")) {
            QStringList parts = components(content, u';');
            parts.removeAll(QString());
            contact.company = parts.join(QStringLiteral(", "));
        } else if (name == QLatin1String("TITLE")) {
            contact.title = textOf(content);
        } else if (name == QLatin1String("NOTE")) {
            contact.note = textOf(content);
        } else if (name == QLatin1String("TEL")) {
            QString number = textOf(content);
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) number = number.mid(4);
            addPhoneNumber(contact, number, phoneType(content.types));
        } else if (name == QLatin1String("EMAIL")) {
            QString address = textOf(content);
            if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) address = address.mid(7);
            addPhoneNumber(contact, address, kPhoneEmail);
        } else if (name == QLatin1String("ADR") &&
                   (!haveAddress || (!havePreferredAddress && content.types.contains(QLatin1String("PREF"))))) {
            // The package holds one address: the preferred one, else the first.
            havePreferredAddress = content.types.contains(QLatin1String("PREF"));
            const QStringList parts = components(content, u';');
            contact.street = parts.value(2);
            if (!parts.value(1).isEmpty()) {
                contact.street = contact.street.isEmpty() ? parts.value(1) : contact.street + u'\n' + parts.value(1);
            }
            contact.city = parts.value(3);
            contact.state = parts.value(4);
            contact.zip = parts.value(5);
            contact.country = parts.value(6);
            haveAddress = true;
        } else if (name == QLatin1String("CATEGORIES")) {
            for (const QString& category : components(content, u',')) {
                const QString group = category.trimmed();
                if (!group.isEmpty() && !contact.memberGroups.contains(group)) contact.memberGroups.append(group);
            }
        }
    }
    // A card without a structured name: the formatted name, split before its
    // last word, unless it only repeats the company.
    if (contact.lastName.isEmpty() && contact.firstName.isEmpty() && !formattedName.isEmpty() &&
        formattedName != contact.company) {
        const qsizetype space = formattedName.lastIndexOf(u' ');
        if (space < 0) {
            contact.lastName = formattedName;
        } else {
            contact.firstName = formattedName.left(space).trimmed();
            contact.lastName = formattedName.mid(space + 1);
        }
    }
    return contact;
}

QList<ContactEntry> readVCardFile(const QStringList& lines) {
    QList<ContactEntry> contacts;
    qsizetype next = 0;
    while (next < lines.size()) {
        if (!isBeginCard(lines[next])) {
            ++next;
            continue;
        }
        // A card runs to its END:VCARD, the next BEGIN:VCARD or the end of the
        // file; cards are never read inside cards.
        QStringList card{lines[next++]};
        while (next < lines.size() && !isBeginCard(lines[next])) {
            card.append(lines[next]);
            if (isEndCard(lines[next++])) break;
        }
        if (isModernVersion(card)) {
            contacts.append(readVCard3(card));
        } else {
            VCardReader older;
            older.read(card);
            contacts.append(older.contacts());
        }
    }
    return contacts;
}

}  // namespace skedlin
