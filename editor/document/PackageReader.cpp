#include "editor/document/PackageReader.h"

#include <QFile>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <string>

#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DocumentMessages.h"
#include "editor/document/ProgramDirectory.h"
#include "editor/document/XmlTextEncoding.h"
#include "model/XmlDocument.h"

namespace skedlin {
namespace {

using xml::Element;

constexpr const char* kFileNameDataKind = "filename";

// The leading decimal integer of a text: optional white space and sign, then
// digits; reading stops at the first other character; no digits give 0.
// Values beyond 32 bits are clamped.
std::int64_t leadingInteger(const std::string& text, int base = 10) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (base == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 33;
    for (; i < text.size(); ++i) {
        const int c = std::tolower(static_cast<unsigned char>(text[i]));
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0) break;
        value = std::min(value * base + digit, kLimit);
    }
    return negative ? -value : value;
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// One read, with the document it fills and the first failure's details.
class Reader {
public:
    Reader(CSkedlinDoc& document) : document_(document), folder_(document.documentFolder()) {}

    // Reads the package into the document; the contacts read reach it even
    // when a later part fails.
    OpenResult read(const Element& root) {
        OpenResult result = readParts(root);
        for (const ContactEntry& contact : contacts_) document_.appendContactUnchecked(contact);
        return result;
    }

private:
    OpenResult readParts(const Element& root);
    static OpenResult fail(builder::ExitCode code, const QString& details) { return OpenResult(code, details); }
    static OpenResult missingElement(const char* name, const Element& parent) {
        return fail(builder::kExitXmlParser, QString::fromLatin1(messages::kMissingElement)
                                                     .arg(QLatin1String(name), QString::fromStdString(parent.name())) +
                                                 lineSuffix(parent));
    }
    static OpenResult missingAttribute(const char* name, const Element& element) {
        return fail(builder::kExitXmlParser, QString::fromLatin1(messages::kMissingAttribute)
                                                     .arg(QLatin1String(name), QString::fromStdString(element.name())) +
                                                 lineSuffix(element));
    }
    static QString lineSuffix(const Element& element) {
        return QLatin1Char(' ') + QString::fromLatin1(messages::kLineNumber).arg(element.line()).trimmed();
    }
    static QString text(const Element& element) {
        QString value = decodeXmlText(element.text());
        value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        return value;
    }
    // The text of an optional child; empty when it is absent.
    static QString childText(const Element& parent, const char* name) {
        const Element child = parent.firstChild(name);
        return child ? text(child) : QString();
    }

    OpenResult readImages(const Element& list, ImageList& images);
    OpenResult readContact(const Element& element);
    OpenResult readEvents(const Element& events, const QString& groupName);
    OpenResult readEvent(const Element& element, const QString& groupName);
    OpenResult readDate(const Element& element, DateTimeValue& date);
    OpenResult readContactIds(const Element& contactIds, const QString& groupName);
    QString resolvedPath(const QString& path) const;

    CSkedlinDoc& document_;
    const QString folder_;
    // The contacts are gathered here until the groups have named their members:
    // a package has up to a thousand contacts and each group lists its own,
    // so they are found by id through an index, not by searching the list.
    QList<ContactEntry> contacts_;
    QHash<std::int32_t, qsizetype> contactIndexById_;
};

OpenResult Reader::readParts(const Element& root) {
    if (!root || root.name() != "calendar-package")
        return fail(builder::kExitXmlParser, QString::fromLatin1(messages::kMissingElement)
                                                 .arg(QStringLiteral("calendar-package"), QStringLiteral("document")));
    const std::optional<std::string> navigation = root.attribute("navigation");
    if (!navigation) return missingAttribute("navigation", root);
    std::int32_t level = kNavigationEvents;
    if (*navigation == "none")
        level = kNavigationNone;
    else if (*navigation == "groups")
        level = kNavigationGroups;

    // An empty title, application file name or launcher name is left out by
    // the writer, so their absence reads as an empty text.
    const QString appFileName = childText(root, "app-name");
    const QString title = childText(root, "package-title");

    const Element launcher = root.firstChild("app-launcher");
    if (!launcher) return missingElement("app-launcher", root);
    const QString launcherName = childText(launcher, "launcher-name");
    ImageList launcherIcons;
    if (const Element icons = launcher.firstChild("launcher-icon")) {
        if (OpenResult failed = readImages(icons, launcherIcons); !failed) return failed;
    }

    const Element welcome = root.firstChild("welcome");
    if (!welcome) return missingElement("welcome", root);
    const Element description = welcome.firstChild("description");
    if (!description) return missingElement("description", welcome);
    const QString welcomeText = text(description);
    const QString infoText = childText(welcome, "author-info");
    ImageList logoImages;
    if (const Element images = welcome.firstChild("image")) {
        if (OpenResult failed = readImages(images, logoImages); !failed) return failed;
    }
    document_.setPropertiesUnchecked(level, appFileName, title, launcherName, welcomeText, infoText);
    document_.setImagesUnchecked(launcherIcons, logoImages);

    if (const Element contacts = root.firstChild("contacts")) {
        for (Element child = contacts.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (child.name() != "contact") continue;
            if (OpenResult failed = readContact(child); !failed) return failed;
        }
    }

    const Element groups = root.firstChild("groups");
    if (!groups) return missingElement("groups", root);
    QStringList groupNames;
    for (Element child = groups.firstChildElement(); child; child = child.nextSiblingElement()) {
        const std::optional<std::string> name = child.attribute("name");
        if (!name) return missingAttribute("name", child);
        const Element groupDescription = child.firstChild("group-description");
        if (!groupDescription) return missingElement("group-description", child);
        GroupEntry group;
        group.name = decodeXmlText(*name);
        group.description = text(groupDescription);
        document_.appendGroupUnchecked(group);
        groupNames.append(group.name);
    }
    qsizetype groupNumber = 0;
    for (Element child = groups.firstChildElement(); child; child = child.nextSiblingElement(), ++groupNumber) {
        const QString& groupName = groupNames[groupNumber];
        if (const Element events = child.firstChild("events")) {
            if (OpenResult failed = readEvents(events, groupName); !failed) return failed;
        }
        if (const Element contactIds = child.firstChild("contact-ids")) {
            if (OpenResult failed = readContactIds(contactIds, groupName); !failed) return failed;
        }
    }
    return OpenResult::success();
}

// A path relative to the package file (".\name", "./name" or a bare file
// name) is made absolute against the document's folder, so the editor finds
// the file whatever its working directory and a later "save as" elsewhere
// still names it. The writer makes it relative again on saving.
QString Reader::resolvedPath(const QString& path) const {
    if (folder_.isEmpty() || path.isEmpty()) return path;
    if (path.startsWith(QLatin1String(".\\")) || path.startsWith(QLatin1String("./"))) return folder_ + path.mid(2);
    const bool hasSeparator = path.contains(QLatin1Char('\\')) || path.contains(QLatin1Char('/'));
    const bool hasDrive = path.size() >= 2 && path[1] == QLatin1Char(':');
    if (!hasSeparator && !hasDrive) return folder_ + path;
    return path;
}

OpenResult Reader::readImages(const Element& list, ImageList& images) {
    for (Element child = list.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() != "bitmap") continue;
        ImageReference image;
        if (const std::optional<std::string> color = child.attribute("transparent-color"))
            image.transparentColor = static_cast<std::int32_t>(static_cast<std::uint32_t>(leadingInteger(*color, 16)));
        const std::optional<std::string> data = child.attribute("data");
        if (!data) return missingAttribute("data", child);
        if (*data == kFileNameDataKind) {
            image.path = resolvedPath(text(child).trimmed());
        } else {
            image.inlineDataKind = decodeXmlText(*data);
            image.path = text(child);
        }
        images.append(image);
    }
    return OpenResult::success();
}

OpenResult Reader::readContact(const Element& element) {
    const std::optional<std::string> id = element.attribute("id");
    if (!id) return missingAttribute("id", element);
    ContactEntry contact;
    contact.id = clampToInt32(leadingInteger(*id));
    if (contactIndexById_.contains(contact.id)) return fail(builder::kExitDuplicateContactId, QString());
    contact.lastName = childText(element, "last-name");
    contact.firstName = childText(element, "first-name");
    contact.title = childText(element, "title");
    contact.company = childText(element, "company");
    contact.street = childText(element, "street");
    contact.city = childText(element, "city");
    contact.state = childText(element, "state");
    contact.country = childText(element, "country");
    contact.zip = childText(element, "zip");
    contact.note = childText(element, "contact-note");
    if (const Element phones = element.firstChild("phone-numbers")) {
        // An unknown type name keeps the type of the number before it; the
        // first number of a contact starts from its slot's usual type.
        std::int32_t type = kDefaultPhoneTypes[0];
        for (Element phone = phones.firstChildElement(); phone; phone = phone.nextSiblingElement()) {
            if (phone.name() != "phone-number") continue;
            const std::optional<std::string> typeName = phone.attribute("type");
            if (!typeName) return missingAttribute("type", phone);
            const int known = phoneTypeFromName(QString::fromStdString(*typeName));
            if (known >= 0) type = known;
            if (contact.phoneCount >= kPhoneSlotCount) continue;  // a sixth number is dropped
            contact.phoneNumbers[contact.phoneCount] = text(phone);
            contact.phoneTypes[contact.phoneCount] = type;
            ++contact.phoneCount;
        }
    }
    contactIndexById_.insert(contact.id, contacts_.size());
    contacts_.append(contact);
    return OpenResult::success();
}

OpenResult Reader::readDate(const Element& element, DateTimeValue& date) {
    if (const std::optional<std::string> day = element.attribute("day")) {
        const std::int64_t days = leadingInteger(*day);
        if (days != 0) {
            date = DateTimeValue::fromDaysSince1900(static_cast<long>(days));
            if (date.date().isValid()) return OpenResult::success();
        }
    }
    const QString dateText = text(element);
    date = parseDateText(dateText, QLocale::system());
    if (date.isValid()) return OpenResult::success();
    return fail(builder::kExitInvalidDate, QString::fromLatin1(messages::kInvalidDate).arg(dateText));
}

// Hours are the leading number (out of 0-23 gives 0); minutes follow the
// first ":" or, without one, the first "." (out of 0-59 gives 0).
DateTimeValue parseTimeText(const QString& text) {
    const std::string bytes = text.toStdString();
    std::int64_t hour = leadingInteger(bytes);
    if (hour < 0 || hour > 23) hour = 0;
    std::size_t separator = bytes.find(':');
    if (separator == std::string::npos) separator = bytes.find('.');
    std::int64_t minute = 0;
    if (separator != std::string::npos) minute = leadingInteger(bytes.substr(separator + 1));
    if (minute < 0 || minute > 59) minute = 0;
    return DateTimeValue::fromTime(static_cast<int>(hour), static_cast<int>(minute));
}

OpenResult Reader::readEvents(const Element& events, const QString& groupName) {
    for (Element child = events.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() != "event") continue;
        if (OpenResult failed = readEvent(child, groupName); !failed) return failed;
    }
    return OpenResult::success();
}

OpenResult Reader::readEvent(const Element& element, const QString& groupName) {
    EventEntry event;
    // The writer leaves out an empty title, so its absence reads as empty.
    event.title = childText(element, "event-title");
    event.note = childText(element, "event-note");
    const Element date = element.firstChild("date");
    if (!date) return missingElement("date", element);
    if (OpenResult failed = readDate(date, event.date); !failed) return failed;

    if (const Element timeRange = element.firstChild("time-range")) {
        const Element start = timeRange.firstChild("start-time");
        if (!start) return missingElement("start-time", timeRange);
        const Element end = timeRange.firstChild("end-time");
        if (!end) return missingElement("end-time", timeRange);
        event.allDay = 0;
        event.startTime = parseTimeText(text(start));
        event.endTime = parseTimeText(text(end));
    }

    if (const Element repeat = element.firstChild("repeating-event")) {
        const std::optional<std::string> interval = repeat.attribute("interval");
        if (!interval) return missingAttribute("interval", repeat);
        const int type = repeatTypeFromName(QString::fromStdString(*interval));
        event.repeatType = static_cast<std::uint8_t>(type == kRepeatNone ? kRepeatDaily : type);
        if (const std::optional<std::string> frequency = repeat.attribute("frequency")) {
            // A frequency must fit its byte and be at least 1: "every 0 days" has no meaning.
            event.frequency = static_cast<std::uint8_t>(std::clamp<std::int64_t>(leadingInteger(*frequency), 1, 255));
        }
        if (const Element lastDate = repeat.firstChild("last-date")) {
            if (OpenResult failed = readDate(lastDate, event.repeatEndDate); !failed) return failed;
        }
        if (event.repeatType == kRepeatWeekly) {
            if (const Element days = repeat.firstChild("days-of-week")) {
                const QString daysText = text(days);
                if (daysText.size() != 7)
                    return fail(builder::kExitDaysOfWeek, QString::fromLatin1(messages::kBadDaysOfWeek).arg(daysText));
                for (int day = 0; day < 7; ++day) {
                    if (daysText[day] != QLatin1Char('-')) event.repeatOnMask |= static_cast<std::uint8_t>(1u << day);
                }
            } else {
                // Qt numbers Monday 1 to Sunday 7; the mask has Sunday as bit 0.
                event.repeatOnMask = static_cast<std::uint8_t>(1u << (event.date.date().dayOfWeek() % 7));
            }
        }
        if (const Element exceptions = repeat.firstChild("except-days")) {
            for (Element child = exceptions.firstChildElement(); child; child = child.nextSiblingElement()) {
                if (child.name() != "date") continue;
                DateTimeValue exception;
                if (OpenResult failed = readDate(child, exception); !failed) return failed;
                event.exceptionDates.append(exception);
            }
        }
    }
    event.groupName = groupName;
    document_.appendEventUnchecked(event);
    return OpenResult::success();
}

OpenResult Reader::readContactIds(const Element& contactIds, const QString& groupName) {
    for (Element child = contactIds.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() != "contact-id") continue;
        const auto found = contactIndexById_.constFind(clampToInt32(leadingInteger(child.text())));
        if (found == contactIndexById_.constEnd()) return fail(builder::kExitInvalidContactId, QString());
        contacts_[*found].memberGroups.append(groupName);
    }
    return OpenResult::success();
}

}  // namespace

OpenResult readPackage(const QString& path, CSkedlinDoc& document) {
    document.clear();
    xml::Document xmlDocument;
    xml::ParseError error;
    const std::string bundledDtd = QFile::encodeName(programDirectory() + QLatin1String(kDtdFileName)).toStdString();
    if (const xml::XmlLoadResult loaded =
            xmlDocument.loadFile(QFile::encodeName(path).toStdString(), bundledDtd, error);
        !loaded.ok()) {
        // A space between the parser's reason and the line number, as the
        // builder writes them: the reason does not end in a separator of its own.
        return OpenResult(builder::kExitXmlParser, QString::fromStdString(loaded.message()) + QLatin1Char(' ') +
                                                       QString::fromLatin1(messages::kLineNumber).arg(error.line) +
                                                       QString::fromStdString(error.sourceText));
    }
    return Reader(document).read(xmlDocument.root());
}

}  // namespace skedlin
