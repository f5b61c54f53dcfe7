#include "tools/inspect/PackageWords.h"

#include <cstdio>

namespace skedlin::inspect {

namespace {

constexpr std::uint16_t kFirstGroupDescriptionId = 5000;

const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kOrdinals[] = {"first", "second", "third", "fourth"};

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

std::string every(unsigned frequency, const char* one, const char* many) {
    if (frequency == 1) return std::string("every ") + one;
    return "every " + std::to_string(frequency) + " " + many;
}

std::string weekdayList(std::uint8_t mask) {
    std::string words;
    int remaining = 0;
    for (int day = 0; day < 7; ++day) remaining += (mask >> day) & 1;
    for (int day = 0; day < 7; ++day) {
        if (!((mask >> day) & 1)) continue;
        --remaining;
        if (!words.empty()) words += remaining == 0 ? " and " : ", ";
        words += kWeekdays[day];
    }
    return words.empty() ? "no day" : words;
}

Node eventNode(std::uint16_t id, const EventEntry& event, Findings& findings) {
    Node node = Node::object();
    node.addNumber("id", id);
    node.add("title", event.title);
    node.add("date", dateText(event.date));
    if (isCalendarDay(event.date)) {
        node.add("weekday", weekdayName(weekdayOf(event.date)));
    } else {
        findings.problems.push_back("event " + std::to_string(id) + ": its date " + dateText(event.date) +
                                    " is no day of the calendar");
    }
    if (event.start && event.end) {
        node.add("start", timeText(*event.start));
        node.add("end", timeText(*event.end));
    } else {
        node.addFlag("untimed", true);
    }
    if (event.repeat) {
        Node repeat = Node::object();
        repeat.add("words", repeatWords(*event.repeat, event.date));
        repeat.addNumber("type", static_cast<int>(event.repeat->type));
        repeat.addNumber("frequency", event.repeat->frequency);
        repeat.addNumber("mask", event.repeat->mask);
        repeat.add("until", event.repeat->until ? dateText(*event.repeat->until) : std::string("for ever"));
        node.add("repeat", std::move(repeat));
    }
    if (!event.exceptions.empty()) {
        Node exceptions = Node::list();
        for (const DayDate& date : event.exceptions) exceptions.append(Node::text(dateText(date)));
        node.add("exceptions", std::move(exceptions));
    }
    if (!event.note.empty()) node.add("note", event.note);
    return node;
}

const std::string* contactField(const ContactEntry& contact, const char* name) {
    for (const auto& [field, text] : contact.fields) {
        if (field == name) return &text;
    }
    return nullptr;
}

// "First Last", or the company when there is no name.
std::string contactName(const ContactEntry& contact) {
    const std::string* first = contactField(contact, "firstName");
    const std::string* last = contactField(contact, "lastName");
    std::string name;
    if (first && !first->empty()) name = *first;
    if (last && !last->empty()) name += (name.empty() ? "" : " ") + *last;
    if (name.empty()) {
        if (const std::string* company = contactField(contact, "company")) name = *company;
    }
    return name;
}

Node contactNode(std::uint16_t id, const ContactEntry& contact) {
    Node node = Node::object();
    node.addNumber("id", id);
    node.add("name", contactName(contact));
    for (const auto& [field, text] : contact.fields) node.add(field, text);
    Node phones = Node::list();
    for (const PhoneEntry& phone : contact.phones) {
        Node entry = Node::object();
        entry.add("label", phone.label);
        entry.add("number", phone.number);
        phones.append(std::move(entry));
    }
    node.add("phones", std::move(phones));
    return node;
}

std::string navigationWords(long level) {
    switch (level) {
    case 0: return "the whole package is copied";
    case 1: return "groups can be chosen for copying";
    case 2: return "single events and contacts can be chosen for copying";
    default: return "unknown level";
    }
}

void describeNavigation(const std::optional<std::string>& stored, Node& report, Findings& findings) {
    if (!stored) {
        findings.problems.push_back("the navigation level is missing");
        return;
    }
    long level = -1;
    bool digits = !stored->empty() && stored->size() <= 4;
    for (const char c : *stored) digits = digits && c >= '0' && c <= '9';
    if (digits) level = std::stol(*stored);
    Node navigation = Node::object();
    if (level >= 0 && level <= 2) {
        navigation.addNumber("level", level);
        navigation.add("meaning", navigationWords(level));
    } else {
        navigation.add("stored", *stored);
        navigation.add("meaning", navigationWords(-1));
        findings.problems.push_back("the navigation level \"" + *stored + "\" is not 0, 1 or 2");
    }
    report.add("navigation", std::move(navigation));
}

// The value of group i in table t, when the table is there and long enough.
std::optional<std::uint16_t> tableEntry(const PackageContent& content, GroupTable table, std::size_t group) {
    const auto& values = content.groupTables[table];
    if (!values || group >= values->size()) return std::nullopt;
    return (*values)[group];
}

void describeGroups(const PackageContent& content, Node& report, Findings& findings) {
    static const char* const kTableNames[] = {"first event ids", "event counts", "first contact indexes",
                                              "contact counts", "contact index list"};
    if (!content.groupNames) findings.problems.push_back("the list of group names is missing");
    const std::size_t groupCount = content.groupNames ? content.groupNames->size() : 0;
    for (std::size_t t = 0; t < kGroupTableCount; ++t) {
        const auto& values = content.groupTables[t];
        if (!values && !content.groupTableDamaged[t]) {
            findings.problems.push_back(std::string("the group table of ") + kTableNames[t] + " is missing");
        } else if (t != kContactIndexList && values->size() != groupCount) {
            findings.problems.push_back(std::string("the group table of ") + kTableNames[t] + " has " +
                                        std::to_string(values->size()) + " entries for " + std::to_string(groupCount) +
                                        " groups");
        }
    }
    const std::vector<std::uint16_t> noIndexes;
    const auto& indexList =
        content.groupTables[kContactIndexList] ? *content.groupTables[kContactIndexList] : noIndexes;
    for (const std::uint16_t contactId : indexList) {
        if (!content.contacts.count(contactId) && contactId != 0)
            findings.problems.push_back("the contact index list names contact " + std::to_string(contactId) +
                                        ", which the package does not hold");
    }

    Node groups = Node::list();
    for (std::size_t i = 0; i < groupCount; ++i) {
        const std::string label = "group " + std::to_string(i + 1);
        Node group = Node::object();
        group.add("name", (*content.groupNames)[i]);
        const auto description =
            content.groupDescriptions.find(static_cast<std::uint16_t>(kFirstGroupDescriptionId + i));
        if (description != content.groupDescriptions.end())
            group.add("description", description->second);
        else
            findings.problems.push_back(label + " has no description string");

        const auto firstEvent = tableEntry(content, kFirstEventIds, i);
        const auto eventCount = tableEntry(content, kEventCounts, i);
        if (firstEvent && eventCount) {
            group.addNumber("eventCount", *eventCount);
            for (std::uint32_t id = *firstEvent; id < std::uint32_t{*firstEvent} + *eventCount; ++id) {
                if (id > 0xFFFF || !content.events.count(static_cast<std::uint16_t>(id))) {
                    findings.problems.push_back(label + " names event " + std::to_string(id) +
                                                ", which the package does not hold");
                    break;
                }
            }
            if (*eventCount) {
                group.addNumber("firstEventId", *firstEvent);
                group.addNumber("lastEventId", std::uint32_t{*firstEvent} + *eventCount - 1);
            }
        }
        const auto firstIndex = tableEntry(content, kFirstContactIndexes, i);
        const auto contactCount = tableEntry(content, kContactCounts, i);
        if (firstIndex && contactCount) {
            group.addNumber("contactCount", *contactCount);
            Node contactIds = Node::list();
            if (!content.groupTables[kContactIndexList]) {
                // Already reported: the list itself is missing.
            } else if (std::size_t{*firstIndex} + *contactCount > indexList.size()) {
                findings.problems.push_back(label + " reaches past the end of the contact index list");
            } else {
                for (std::size_t k = 0; k < *contactCount; ++k)
                    contactIds.append(Node::number(indexList[*firstIndex + k]));
            }
            group.add("contactIds", std::move(contactIds));
        }
        groups.append(std::move(group));
    }
    for (const auto& [id, text] : content.groupDescriptions) {
        if (id - kFirstGroupDescriptionId >= static_cast<long>(groupCount))
            findings.unexpected.push_back("group description string " + std::to_string(id) + " of no group");
    }
    report.add("groups", std::move(groups));
}

}  // namespace

bool isCalendarDay(const DayDate& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.year, date.month);
}

std::string dateText(const DayDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

int weekdayOf(const DayDate& date) {
    // Days since 1 March of year 0 in the proleptic Gregorian calendar; day 0 was a Wednesday.
    const int year = date.month <= 2 ? date.year - 1 : date.year;
    const int month = date.month <= 2 ? date.month + 9 : date.month - 3;
    const long days = 365L * year + year / 4 - year / 100 + year / 400 + (153 * month + 2) / 5 + date.day - 1;
    return static_cast<int>((days + 3) % 7);
}

std::string weekdayName(int weekday) { return weekday >= 0 && weekday < 7 ? kWeekdays[weekday] : "?"; }

std::string timeText(const ClockTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", time.hours, time.minutes);
    return text;
}

std::string repeatWords(const EventRepeatInfo& repeat, const DayDate& eventDate) {
    std::string words;
    const unsigned frequency = repeat.frequency;
    switch (repeat.type) {
    case RepeatType::Daily: words = every(frequency, "day", "days"); break;
    case RepeatType::Weekly: words = every(frequency, "week", "weeks") + " on " + weekdayList(repeat.mask); break;
    case RepeatType::MonthByDay: {
        const int weekday = repeat.mask % 7;
        const int week = repeat.mask / 7;
        const std::string which = week >= 4 ? "last" : kOrdinals[week];
        words = every(frequency, "month", "months") + " on the " + which + " " + kWeekdays[weekday];
        if (repeat.mask > 34) words += " (unknown position " + std::to_string(repeat.mask) + ")";
        break;
    }
    case RepeatType::MonthByDate:
        words = every(frequency, "month", "months") + " on day " + std::to_string(eventDate.day);
        break;
    case RepeatType::Yearly:
        words = every(frequency, "year", "years") + " on " + std::to_string(eventDate.day) + " " +
                (eventDate.month >= 1 && eventDate.month <= 12 ? kMonths[eventDate.month - 1] : "?");
        break;
    default: return "does not repeat (repeat type " + std::to_string(static_cast<int>(repeat.type)) + ")";
    }
    words += repeat.until ? " until " + dateText(*repeat.until) : std::string(" for ever");
    return words;
}

std::string palmPhoneLabel(unsigned code) {
    static const char* const kLabels[] = {"work", "home", "fax", "other", "email", "main", "pager", "mobile"};
    return code < 8 ? kLabels[code] : "label " + std::to_string(code);
}

void describePackage(const PackageContent& content, Node& report, Findings& findings) {
    if (content.title)
        report.add("title", *content.title);
    else
        findings.problems.push_back("the package title is missing");
    if (content.welcome)
        report.add("welcome", *content.welcome);
    else
        findings.problems.push_back("the welcome text is missing");
    if (content.author) report.add("author", *content.author);
    describeNavigation(content.navigation, report, findings);
    describeGroups(content, report, findings);

    Node events = Node::list();
    for (const auto& [id, event] : content.events) events.append(eventNode(id, event, findings));
    report.add("events", std::move(events));
    Node contacts = Node::list();
    for (const auto& [id, contact] : content.contacts) contacts.append(contactNode(id, contact));
    report.add("contacts", std::move(contacts));
}

static void addFindings(const Findings& findings, Node& report) {
    Node problems = Node::list();
    for (const std::string& problem : findings.problems) problems.append(Node::text(problem));
    report.add("problems", std::move(problems));
    Node unexpected = Node::list();
    for (const std::string& item : findings.unexpected) unexpected.append(Node::text(item));
    report.add("unexpected", std::move(unexpected));
}

void finishReport(const std::map<std::string, std::int64_t>& viewerResources, const Findings& findings,
                  InspectResult& result) {
    Node viewer = Node::list();
    for (const auto& [type, count] : viewerResources) {
        Node entry = Node::object();
        entry.add("type", type);
        entry.addNumber("count", count);
        viewer.append(std::move(entry));
    }
    result.report.add("viewerResources", std::move(viewer));
    addFindings(findings, result.report);
    result.hasReport = true;
    result.status = findings.problems.empty() ? InspectStatus::Ok : InspectStatus::Damaged;
}

}  // namespace skedlin::inspect
