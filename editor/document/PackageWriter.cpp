#include "editor/document/PackageWriter.h"

#include <QHash>
#include <QSettings>
#include <QStringList>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/SettingsNames.h"
#include "editor/document/XmlTextEncoding.h"

namespace skedlin {
namespace {

constexpr const char* kDefaultPackagePrefix = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>";
constexpr const char* kLineEnd = "\r\n";
// Bitmap paths inside the document's folder are written relative to it.
constexpr const char* kRelativePathPrefix = ".\\";

// A streaming writer of tab-indented tags with a stack of open element names.
// A start tag written "inline" is not followed by a line end; text written
// after it makes the close primitive put its end tag on the same line.
class TagWriter {
public:
    explicit TagWriter(QByteArray& out) : out_(out) {}

    void open(const char* name, bool isInline = false) {
        indent();
        out_ += '<';
        out_ += name;
        out_ += '>';
        finishOpen(name, isInline);
    }
    void open(const char* name, const char* attribute, const QString& value, bool isInline = false) {
        const QByteArray escaped = escapeXmlAttribute(value);
        indent();
        out_ += '<';
        out_ += name;
        appendAttribute(attribute, escaped);
        out_ += '>';
        finishOpen(name, isInline);
    }
    void open(const char* name, const char* attribute1, const QString& value1, const char* attribute2,
              const QString& value2, bool isInline = false) {
        const QByteArray escaped1 = escapeXmlAttribute(value1);
        const QByteArray escaped2 = escapeXmlAttribute(value2);
        indent();
        out_ += '<';
        out_ += name;
        appendAttribute(attribute1, escaped1);
        appendAttribute(attribute2, escaped2);
        out_ += '>';
        finishOpen(name, isInline);
    }
    void textElement(const char* name, const QString& value, bool omitIfEmpty) {
        if (value.isEmpty() && omitIfEmpty) return;
        const QByteArray escaped = escapeXmlText(value);
        indent();
        out_ += '<';
        out_ += name;
        out_ += '>';
        out_ += escaped;
        out_ += "</";
        out_ += name;
        out_ += '>';
        out_ += kLineEnd;
    }
    void text(const QString& value) {
        out_ += escapeXmlText(value);
        textWritten_ = true;
    }
    void close() {
        if (openNames_.isEmpty()) return;
        const QByteArray name = openNames_.takeLast();
        if (!textWritten_) indent();
        out_ += "</";
        out_ += name;
        out_ += '>';
        out_ += kLineEnd;
        textWritten_ = false;
    }
    void numberElement(const char* name, long number) { textElement(name, QString::number(number), true); }
    void dateElement(const char* name, const DateTimeValue& date) {
        open(name, "day", QString::number(date.wholeDaysSince1900()), true);
        text(date.formatFileDate());
        close();
    }
    void timeElement(const char* name, const DateTimeValue& time) { textElement(name, time.formatFileTime(), true); }
    void raw(const QByteArray& bytes) { out_ += bytes; }

private:
    void indent() { out_.append(openNames_.size(), '\t'); }
    void appendAttribute(const char* attribute, const QByteArray& escapedValue) {
        out_ += ' ';
        out_ += attribute;
        out_ += "=\"";
        out_ += escapedValue;
        out_ += '"';
    }
    void finishOpen(const char* name, bool isInline) {
        if (!isInline) out_ += kLineEnd;
        openNames_.append(QByteArray(name));
    }

    QByteArray& out_;
    QList<QByteArray> openNames_;
    bool textWritten_ = false;
};

QString navigationName(std::int32_t level) {
    switch (level) {
    case kNavigationNone: return QStringLiteral("none");
    case kNavigationGroups: return QStringLiteral("groups");
    default: return QStringLiteral("events");
    }
}

QString transparentColorText(std::int32_t color) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(static_cast<quint32>(color), 6, 16, QLatin1Char('0')).toUpper();
}

// A file path as the builder resolves it: backslashes are separators, and a
// path not starting at the root is relative to the package file's folder.
QString absoluteImagePath(const QString& path, const QString& folder) {
    QString unified = path;
    unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (folder.isEmpty() || unified.isEmpty() || unified.startsWith(QLatin1Char('/'))) return path;
    if (unified.startsWith(QLatin1String("./"))) unified.remove(0, 2);
    return folder + unified;
}

void writeImageList(TagWriter& writer, const char* listName, const ImageList& images, const QString& folder,
                    BitmapPaths paths) {
    if (images.isEmpty()) return;
    writer.open(listName);
    for (const ImageReference& image : images) {
        const bool hasColor = image.transparentColor != kNoTransparentColor;
        if (image.isInline() && hasColor) {
            writer.open("bitmap", "transparent-color", transparentColorText(image.transparentColor), "data",
                        image.inlineDataKind, true);
        } else if (image.isInline()) {
            writer.open("bitmap", "data", image.inlineDataKind, true);
        } else if (hasColor) {
            writer.open("bitmap", "transparent-color", transparentColorText(image.transparentColor), true);
        } else {
            writer.open("bitmap", true);
        }
        QString path = image.path;
        if (!image.isInline() && paths == BitmapPaths::Absolute) {
            path = absoluteImagePath(path, folder);
        } else if (!image.isInline() && !folder.isEmpty() && path.startsWith(folder, Qt::CaseSensitive)) {
            path = QLatin1String(kRelativePathPrefix) + path.mid(folder.size());
        }
        writer.text(path);
        writer.close();
    }
    writer.close();
}

void writeContact(TagWriter& writer, const ContactEntry& contact) {
    writer.open("contact", "id", QString::number(contact.id));
    writer.textElement("last-name", contact.lastName, true);
    writer.textElement("first-name", contact.firstName, true);
    writer.textElement("title", contact.title, true);
    writer.textElement("company", contact.company, true);
    writer.textElement("street", contact.street, true);
    writer.textElement("city", contact.city, true);
    writer.textElement("state", contact.state, true);
    writer.textElement("country", contact.country, true);
    writer.textElement("zip", contact.zip, true);
    writer.open("phone-numbers");
    for (int slot = 0; slot < kPhoneSlotCount; ++slot) {
        if (contact.phoneNumbers[slot].isEmpty()) continue;
        writer.open("phone-number", "type", phoneTypeName(contact.phoneTypes[slot]), true);
        writer.text(contact.phoneNumbers[slot]);
        writer.close();
    }
    writer.close();
    writer.textElement("contact-note", contact.note, true);
    writer.close();
}

QString daysOfWeekText(std::uint8_t mask) {
    QString days;
    for (int day = 0; day < 7; ++day) days += (mask & (1u << day)) ? QLatin1Char('X') : QLatin1Char('-');
    return days;
}

void writeEvent(TagWriter& writer, const EventEntry& event) {
    writer.open("event");
    writer.textElement("event-title", event.title, true);
    writer.textElement("event-note", event.note, true);
    writer.dateElement("date", event.date);
    if (event.allDay == 0) {
        writer.open("time-range");
        writer.timeElement("start-time", event.startTime);
        writer.timeElement("end-time", event.endTime);
        writer.close();
    }
    if (event.repeatType != kRepeatNone) {
        const QString interval = repeatTypeName(event.repeatType);
        if (event.frequency == 1) {
            // No line end after this start tag: its first child or end tag follows on the same line.
            writer.open("repeating-event", "interval", interval, true);
        } else {
            writer.open("repeating-event", "interval", interval, "frequency", QString::number(event.frequency));
        }
        if (!event.repeatEndDate.isZero()) writer.dateElement("last-date", event.repeatEndDate);
        if (event.repeatType == kRepeatWeekly)
            writer.textElement("days-of-week", daysOfWeekText(event.repeatOnMask), false);
        if (!event.exceptionDates.isEmpty()) {
            writer.open("except-days");
            for (const DateTimeValue& date : event.exceptionDates) writer.dateElement("date", date);
            writer.close();
        }
        writer.close();
    }
    writer.close();
}

// The events and member contacts of each group name, in list order, gathered
// in one pass so that writing stays linear in the size of the package.
struct GroupMembers {
    QHash<QString, QList<const EventEntry*>> events;
    QHash<QString, QList<std::int32_t>> contactIds;

    explicit GroupMembers(const CSkedlinDoc& document) {
        for (const EventEntry& event : document.events()) events[event.groupName].append(&event);
        for (const ContactEntry& contact : document.contacts()) {
            QStringList seen;  // a contact listed twice under one name is written once
            for (const QString& name : contact.memberGroups) {
                if (seen.contains(name)) continue;
                seen.append(name);
                contactIds[name].append(contact.id);
            }
        }
    }
};

void writeGroup(TagWriter& writer, const GroupMembers& members, const GroupEntry& group) {
    writer.open("group", "name", group.name);
    writer.textElement("group-description", group.description, false);
    writer.open("events");
    for (const EventEntry* event : members.events.value(group.name)) writeEvent(writer, *event);
    writer.close();
    const QList<std::int32_t> contactIds = members.contactIds.value(group.name);
    if (!contactIds.isEmpty()) {
        writer.open("contact-ids");
        for (std::int32_t id : contactIds) writer.numberElement("contact-id", id);
        writer.close();
    }
    writer.close();
}

}  // namespace

QString packagePrefix() {
    QSettings settings(QString::fromLatin1(settings::kCompanyKey), QString::fromLatin1(settings::kApplicationName));
    const QString key = QString::fromLatin1(settings::kPackagePrefixKey);
    QString prefix = settings.value(key).toString();
    if (prefix.isEmpty()) {
        prefix = QString::fromLatin1(kDefaultPackagePrefix);
        settings.setValue(key, prefix);
    }
    return prefix;
}

QByteArray writePackage(const CSkedlinDoc& document, const QString& prefix) {
    return writePackage(document, prefix, BitmapPaths::RelativeToDocument);
}

QByteArray writePackage(const CSkedlinDoc& document, const QString& prefix, BitmapPaths paths) {
    QByteArray out;
    TagWriter writer(out);
    writer.raw(encodeLiteral(prefix, false));
    writer.raw(kLineEnd);
    writer.raw("<!DOCTYPE calendar-package SYSTEM \"");
    writer.raw(encodeLiteral(document.dtdPath(), true));
    writer.raw("\">");
    writer.raw(kLineEnd);

    writer.open("calendar-package", "navigation", navigationName(document.navigationLevel()));
    writer.textElement("package-title", document.title(), true);
    writer.textElement("app-name", document.appFileName(), true);

    const QString folder = document.documentFolder();
    writer.open("app-launcher");
    writer.textElement("launcher-name", document.launcherName(), true);
    writeImageList(writer, "launcher-icon", document.launcherIcons(), folder, paths);
    writer.close();

    writer.open("welcome");
    writer.textElement("description", document.welcomeText(), false);
    writer.textElement("author-info", document.infoText(), false);
    writeImageList(writer, "image", document.logoImages(), folder, paths);
    writer.close();

    writer.open("contacts");
    for (const ContactEntry& contact : document.contacts()) writeContact(writer, contact);
    writer.close();

    writer.open("groups");
    const GroupMembers members(document);
    for (const GroupEntry& group : document.groups()) {
        // A second group of the same name would repeat the first one's events.
        if (document.groupIndex(group.name) != &group - document.groups().data()) continue;
        writeGroup(writer, members, group);
    }
    writer.close();

    writer.close();
    return out;
}

}  // namespace skedlin
