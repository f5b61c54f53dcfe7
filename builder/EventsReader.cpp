#include "builder/EventsReader.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "builder/DateTextParser.h"
#include "builder/EventRecord.h"
#include "builder/RecordLimits.h"
#include "builder/RecordMessages.h"
#include "builder/RecordText.h"
#include "builder/RepeatRule.h"
#include "formats/prc/PalmResourceTypes.h"

namespace skedlin::builder {
namespace {

constexpr std::string_view kEventsElement = "events";
constexpr std::string_view kEventElement = "event";
constexpr std::string_view kContactIdsElement = "contact-ids";
constexpr std::string_view kContactIdElement = "contact-id";
constexpr std::string_view kTitleElement = "event-title";
constexpr std::string_view kNoteElement = "event-note";
constexpr std::string_view kDateElement = "date";
constexpr std::string_view kDayAttribute = "day";
constexpr std::string_view kTimeRangeElement = "time-range";
constexpr std::string_view kStartTimeElement = "start-time";
constexpr std::string_view kEndTimeElement = "end-time";
constexpr std::string_view kRepeatElement = "repeating-event";
constexpr std::string_view kIntervalAttribute = "interval";
constexpr std::string_view kFrequencyAttribute = "frequency";
constexpr std::string_view kLastDateElement = "last-date";
constexpr std::string_view kDaysOfWeekElement = "days-of-week";
constexpr std::string_view kExceptDaysElement = "except-days";

constexpr long kMinFrequency = 1;
constexpr long kMaxFrequency = 255;  // one byte in both records

const DateTextConventions& dateTextConventions() {
    static const DateTextConventions conventions = userDateTextConventions();
    return conventions;
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// The Palm date of a date typed as text whose year the Palm date cannot hold:
// the same day and month in the current year (29 February becomes the 28th in
// a common year, so that the handheld never sees an impossible date).
std::uint16_t substitutePalmDate(const CalendarDate& date) {
    const int year = currentYear();
    return palmDate({year, date.month, std::min(date.day, daysInMonth(year, date.month))});
}

// A date element by the date rule: a non-zero `day` count, else the text.
BuildResult readDate(PackageBuilder& builder, const xml::Element& element, EventDate& out) {
    const std::string text = element.text();
    if (const auto day = element.attribute(kDayAttribute)) {
        const long count = leadingInteger(*day);
        if (count != 0) {
            const auto date = dateFromDayAttribute(count);
            if (!date || !fitsPalmDate(*date)) {
                return BuildResult(kExitInvalidDate, dayOutOfRangeMessage(PackageBuilder::ansi(text), count));
            }
            out = {*date, palmDate(*date)};
            return BuildResult::success();
        }
    }
    const auto date = parseDateText(text, dateTextConventions());
    if (!date) {
        return BuildResult(kExitInvalidDate, fillMessage(kMsgInvalidDate, PackageBuilder::ansi(text)));
    }
    out = {*date, fitsPalmDate(*date) ? palmDate(*date) : substitutePalmDate(*date)};
    return BuildResult::success();
}

BuildResult readTimeRange(PackageBuilder& builder, const xml::Element& timeRange, EventValues& event) {
    const auto start = timeRange.childText(kStartTimeElement);
    if (!start) return PackageBuilder::missingElement(kStartTimeElement, timeRange);
    const auto end = timeRange.childText(kEndTimeElement);
    if (!end) return PackageBuilder::missingElement(kEndTimeElement, timeRange);
    event.start = parseTimeOfDay(*start);
    event.end = parseTimeOfDay(*end);
    return BuildResult::success();
}

BuildResult readRepeat(PackageBuilder& builder, const xml::Element& repeatElement, std::string_view owner,
                       EventValues& event) {
    EventRepeat repeat;
    const auto interval = repeatElement.attribute(kIntervalAttribute);
    if (!interval) return PackageBuilder::missingAttribute(kIntervalAttribute, repeatElement);
    repeat.type = repeatTypeOfInterval(*interval);

    if (const auto frequency = repeatElement.attribute(kFrequencyAttribute)) {
        repeat.frequency = leadingInteger(*frequency);
        if (repeat.frequency < kMinFrequency || repeat.frequency > kMaxFrequency) {
            return BuildResult(kExitInvalidValue, badFrequencyMessage(PackageBuilder::ansi(*frequency), owner));
        }
    }

    if (const xml::Element lastDate = repeatElement.firstChild(kLastDateElement)) {
        EventDate endDate;
        if (BuildResult result = readDate(builder, lastDate, endDate); !result.ok()) return result;
        repeat.endDate = endDate;
    }

    if (repeat.type == RepeatType::Weekly) {
        if (const auto days = repeatElement.childText(kDaysOfWeekElement)) {
            // Seven characters as the handheld counts them: bytes of the code page.
            const std::string ansiDays = PackageBuilder::ansi(*days);
            const auto mask = weekdayMaskOfText(ansiDays);
            if (!mask) {
                return BuildResult(kExitDaysOfWeek, fillMessage(kMsgBadDaysOfWeek, ansiDays));
            }
            repeat.mask = *mask;
        } else {
            repeat.mask = weekdayMaskOfDate(event.date.date);
        }
    } else if (repeat.type == RepeatType::MonthByDay) {
        repeat.mask = monthByDayMask(event.date.date);
    }

    if (const xml::Element exceptDays = repeatElement.firstChild(kExceptDaysElement)) {
        for (xml::Element child = exceptDays.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (child.name() != kDateElement) continue;
            EventDate exception;
            if (BuildResult result = readDate(builder, child, exception); !result.ok()) return result;
            repeat.exceptions.push_back(exception.palm);
            repeat.exceptionDates.push_back(exception.date);
        }
    }
    event.repeat = std::move(repeat);
    return BuildResult::success();
}

}  // namespace

BuildResult readEvent(PackageBuilder& builder, const xml::Element& eventElement) {
    EventValues event;
    // The editor leaves out an empty title: a missing one is an empty title.
    const std::string title = eventElement.childText(kTitleElement).value_or("");
    const xml::Element dateElement = eventElement.firstChild(kDateElement);
    const std::string owner =
        eventName(PackageBuilder::ansi(title), dateElement ? PackageBuilder::ansi(dateElement.text()) : "");
    event.title = recordText(builder, title, "<event-title>", owner);
    if (const auto note = recordChildText(builder, eventElement, kNoteElement, owner)) event.note = *note;

    if (!dateElement) return PackageBuilder::missingElement(kDateElement, eventElement);
    if (BuildResult result = readDate(builder, dateElement, event.date); !result.ok()) return result;

    if (const xml::Element timeRange = eventElement.firstChild(kTimeRangeElement)) {
        if (BuildResult result = readTimeRange(builder, timeRange, event); !result.ok()) return result;
    }
    if (const xml::Element repeat = eventElement.firstChild(kRepeatElement)) {
        if (BuildResult result = readRepeat(builder, repeat, owner, event); !result.ok()) return result;
    }

    const auto palmRecord = palmEventRecord(event);
    if (!palmRecord) {
        return BuildResult(kExitRecordLimit,
                           recordTooLongMessage(owner, "Palm", palmEventRecordSize(event), kPalmRecordCapacity));
    }
    const auto pocketPcRecord = pocketPcEventRecord(event);
    if (!pocketPcRecord) {
        return BuildResult(kExitRecordLimit, recordTooLongMessage(owner, "Pocket PC", pocketPcEventRecordSize(event),
                                                                  kPocketPcRecordCapacity));
    }
    builder.addEventRecords(*palmRecord, *pocketPcRecord);
    return BuildResult::success();
}

BuildResult readGroupEventsAndContacts(PackageBuilder& builder, const xml::Element& group,
                                       std::string_view groupOwner) {
    GroupTables& tables = builder.groupTables();
    tables.beginGroup(builder.nextEventId());

    if (const xml::Element events = group.firstChild(kEventsElement)) {
        for (xml::Element child = events.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (child.name() != kEventElement) continue;
            // A failed event ends the build; its message must not be overtaken
            // by a contact id failure reported with another code.
            if (BuildResult result = readEvent(builder, child); !result.ok()) return result;
            tables.countEvent();
        }
    }

    if (const xml::Element contactIds = group.firstChild(kContactIdsElement)) {
        for (xml::Element child = contactIds.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (child.name() != kContactIdElement) continue;
            const auto recordId = builder.contactRecordIdOf(leadingInteger(child.text()));
            if (!recordId) {
                return BuildResult(kExitInvalidContactId, "");
            }
            if (!tables.addContact(*recordId)) {
                return BuildResult(kExitRecordLimit, tooManyContactIdsMessage(groupOwner, kMaxWordListEntries));
            }
        }
    }
    return BuildResult::success();
}

}  // namespace skedlin::builder
