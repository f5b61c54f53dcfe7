#include "editor/document/ICalendarReader.h"

#include <libical/ical.h>

#include <QDateTime>
#include <QHash>
#include <QSet>

#include "editor/document/CalendarExchangeMessages.h"
#include "editor/document/ICalendarRecurrence.h"
#include "editor/document/ICalendarStructure.h"

namespace skedlin {
namespace {

// The years a handheld date can hold.
const QDate kFirstDay(1904, 1, 1);
const QDate kLastDay(2031, 12, 31);
// Events named in a report, at most; the rest are counted.
constexpr int kMaxNamedInReport = 10;

bool inHandheldRange(const QDate& date) { return date >= kFirstDay && date <= kLastDay; }

QString text(const char* utf8) {
    QString value = QString::fromUtf8(utf8 ? utf8 : "");
    value.remove(u'\r');  // notes keep line feeds only
    return value;
}

// The time zone named by a property's TZID: the file's own VTIMEZONE first,
// then the zone database. Empty `unknown` when the property names none.
icaltimezone* zoneOf(icalproperty* property, icalcomponent* calendar, QString& unknown) {
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (parameter == nullptr) return nullptr;
    const char* tzid = icalparameter_get_tzid(parameter);
    if (tzid == nullptr || *tzid == '\0') return nullptr;
    if (icaltimezone* zone = icalcomponent_get_timezone(calendar, tzid)) return zone;
    if (icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid)) return zone;
    if (icaltimezone* zone = icaltimezone_get_builtin_timezone_from_tzid(tzid)) return zone;
    unknown = QString::fromUtf8(tzid);
    return nullptr;
}

// The local wall-clock time of an iCalendar time: universal times and times
// in a known zone are converted, floating times and dates are taken as they are.
QDateTime toLocal(icaltimetype time, icaltimezone* zone) {
    const QDate date(time.year, time.month, time.day);
    if (time.is_date) return QDateTime(date, QTime(0, 0));
    const QTime clock(time.hour, time.minute, time.second);
    if (icaltime_is_utc(time)) return QDateTime(date, clock, Qt::UTC).toLocalTime();
    if (zone != nullptr) {
        icaltimetype utc = time;
        utc.zone = nullptr;
        icaltimezone_convert_time(&utc, zone, icaltimezone_get_utc_timezone());
        return QDateTime(QDate(utc.year, utc.month, utc.day), QTime(utc.hour, utc.minute, utc.second), Qt::UTC)
            .toLocalTime();
    }
    return QDateTime(date, clock);
}

QString shortDate(const QDate& date) { return date.toString(Qt::ISODate); }

QString namedList(const QStringList& names) {
    QStringList shown = names.mid(0, kMaxNamedInReport);
    if (names.size() > kMaxNamedInReport) shown.append(QStringLiteral("..."));
    return shown.join(QStringLiteral("; "));
}

}  // namespace

struct ICalendarPendingEvent {
    EventEntry entry;
    int line = 0;
    icalcomponent* component = nullptr;  // owned by the parsed tree
    icaltimetype start{};
    icaltimezone* zone = nullptr;
    qint64 durationSeconds = 0;
    QString uid;
    bool isOverride = false;  // a changed occurrence of another event (RECURRENCE-ID)
    bool cancelled = false;
    QDate overriddenDate;      // local date of the occurrence it replaces
    bool expand = false;       // the rule must become single events
    QSet<QDate> skippedDates;  // EXDATEs and replaced occurrences, local dates
    QList<EventEntry> expanded;
};

struct ICalendarReader::Impl {
    QString defaultGroup;
    icalcomponent* root = nullptr;
    QList<ICalendarPendingEvent> events;
    QStringList outOfRange;
    QStringList noStart;
    QStringList unknownZones;
    int unknownZoneEvents = 0;
    bool expandedDone = false;
    int expandedEvents = 0;
    ExpansionWindow window;
    long steps = 0;

    ~Impl() {
        if (root != nullptr) icalcomponent_free(root);
    }

    ICalendarResult readEvent(icalcomponent* component, icalcomponent* calendar, int line);
    // The end date of a mapped rule with COUNT or UNTIL, in local time;
    // beyondRange when it lies after the handheld's last year.
    ICalendarResult findRepeatEnd(ICalendarPendingEvent& event, const icalrecurrencetype& rule, QDate& end,
                                  bool& beyondRange);
    ICalendarResult expandEvent(ICalendarPendingEvent& event);
    void noteUnknownZone(const QString& zone) {
        ++unknownZoneEvents;
        if (!unknownZones.contains(zone)) unknownZones.append(zone);
    }
};

ExpansionWindow ExpansionWindow::nextTwoYears() {
    const QDate today = QDate::currentDate();
    return {today, today.addYears(2)};
}

ICalendarReader::ICalendarReader(QString defaultGroupName) : impl_(std::make_unique<Impl>()) {
    impl_->defaultGroup = std::move(defaultGroupName);
}

ICalendarReader::~ICalendarReader() = default;

ICalendarResult ICalendarReader::read(const QByteArray& bytes) {
    // libical's default is to abort the program on some errors.
    icalerror_set_errors_are_fatal(0);
    const ICalendarStructure structure = checkICalendarStructure(bytes);
    if (!structure.result) return structure.result;
    impl_->root = icalparser_parse_string(structure.text.constData());
    if (impl_->root == nullptr)
        return ICalendarResult(ICalendarError::Malformed, QString::fromLatin1(messages::kICalendarUnparsable));
    QList<icalcomponent*> calendars;
    if (icalcomponent_isa(impl_->root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(impl_->root, ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(impl_->root, ICAL_VCALENDAR_COMPONENT)) {
            calendars.append(c);
        }
    } else {
        calendars.append(impl_->root);
    }
    int eventIndex = 0;
    for (icalcomponent* calendar : calendars) {
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            const int line = eventIndex < structure.eventLines.size() ? structure.eventLines[eventIndex] : 0;
            ++eventIndex;
            if (ICalendarResult read = impl_->readEvent(e, calendar, line); !read) return read;
        }
    }

    // A changed occurrence replaces one occurrence of its repeating event.
    QHash<QString, int> masters;
    for (int i = 0; i < impl_->events.size(); ++i) {
        const ICalendarPendingEvent& event = impl_->events[i];
        if (!event.isOverride && !event.uid.isEmpty() && event.entry.repeatType != kRepeatNone)
            masters.insert(event.uid, i);
        if (!event.isOverride && !event.uid.isEmpty() && event.expand) masters.insert(event.uid, i);
    }
    for (ICalendarPendingEvent& event : impl_->events) {
        if (!event.isOverride) continue;
        const auto master = masters.constFind(event.uid);
        if (master == masters.cend()) continue;
        ICalendarPendingEvent& repeating = impl_->events[*master];
        repeating.skippedDates.insert(event.overriddenDate);
        const DateTimeValue date = DateTimeValue::fromDate(event.overriddenDate);
        if (!repeating.expand && !repeating.entry.exceptionDates.contains(date)) {
            repeating.entry.exceptionDates.append(date);
        }
    }
    return ICalendarResult::success();
}

ICalendarResult ICalendarReader::Impl::readEvent(icalcomponent* component, icalcomponent* calendar, int line) {
    ICalendarPendingEvent event;
    event.component = component;
    event.line = line;
    event.uid = text(icalcomponent_get_uid(component));
    EventEntry& entry = event.entry;
    entry.title = text(icalcomponent_get_summary(component));
    entry.groupName = defaultGroup;
    const QString description = text(icalcomponent_get_description(component));
    const QString location = text(icalcomponent_get_location(component));
    // The place comes first in the note, where a handheld shows it at a glance.
    entry.note = location.isEmpty()
                     ? description
                     : (description.isEmpty() ? location : location + QStringLiteral("\n\n") + description);
    if (icalproperty* categories = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY)) {
        const QString first = text(icalproperty_get_categories(categories)).section(u',', 0, 0).trimmed();
        if (!first.isEmpty()) entry.groupName = first;
    }
    const QString label = entry.title.isEmpty() ? QStringLiteral("(line %1)").arg(line) : entry.title;

    icalproperty* startProperty = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
    if (startProperty == nullptr) {
        noStart.append(label);
        return ICalendarResult::success();
    }
    QString unknown;
    event.start = icalproperty_get_dtstart(startProperty);
    event.zone = zoneOf(startProperty, calendar, unknown);
    if (!unknown.isEmpty()) noteUnknownZone(unknown);
    const QDateTime localStart = toLocal(event.start, event.zone);
    const QDate zoneStartDate(event.start.year, event.start.month, event.start.day);
    const int dayShift = static_cast<int>(zoneStartDate.daysTo(localStart.date()));

    if (event.start.is_date) {
        entry.allDay = 1;
        entry.date = DateTimeValue::fromDate(localStart.date());
    } else {
        entry.allDay = 0;
        QDateTime localEnd = localStart;
        if (icalproperty* endProperty = icalcomponent_get_first_property(component, ICAL_DTEND_PROPERTY)) {
            QString endUnknown;
            const icaltimetype end = icalproperty_get_dtend(endProperty);
            icaltimezone* endZone = zoneOf(endProperty, calendar, endUnknown);
            if (endZone == nullptr && endUnknown.isEmpty() && !icaltime_is_utc(end)) endZone = event.zone;
            localEnd = toLocal(end, endZone);
        } else if (icalproperty* duration = icalcomponent_get_first_property(component, ICAL_DURATION_PROPERTY)) {
            localEnd = localStart.addSecs(icaldurationtype_as_int(icalproperty_get_duration(duration)));
        }
        if (localEnd < localStart) localEnd = localStart;
        event.durationSeconds = localStart.secsTo(localEnd);
        entry.date = entry.startTime = DateTimeValue::fromDateTime(localStart);
        entry.endTime = DateTimeValue::fromDateTime(localEnd);
    }

    if (icalproperty* status = icalcomponent_get_first_property(component, ICAL_STATUS_PROPERTY)) {
        event.cancelled = icalproperty_get_status(status) == ICAL_STATUS_CANCELLED;
    }
    if (icalproperty* recurrenceId = icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY)) {
        QString idUnknown;
        const icaltimetype id = icalproperty_get_recurrenceid(recurrenceId);
        icaltimezone* idZone = zoneOf(recurrenceId, calendar, idUnknown);
        event.isOverride = !event.uid.isEmpty();
        event.overriddenDate = toLocal(id, idZone ? idZone : (icaltime_is_utc(id) ? nullptr : event.zone)).date();
    }

    if (!inHandheldRange(localStart.date())) {
        outOfRange.append(QStringLiteral("%1 (%2)").arg(label, shortDate(localStart.date())));
        return ICalendarResult::success();
    }

    // Exception dates, in local time.
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
        QString exUnknown;
        const icaltimetype ex = icalproperty_get_exdate(p);
        icaltimezone* exZone = zoneOf(p, calendar, exUnknown);
        if (exZone == nullptr && !icaltime_is_utc(ex) && !ex.is_date) exZone = event.zone;
        const QDate date = ex.is_date ? QDate(ex.year, ex.month, ex.day) : toLocal(ex, exZone).date();
        event.skippedDates.insert(date);
    }

    const int ruleCount = icalcomponent_count_properties(component, ICAL_RRULE_PROPERTY);
    const bool hasDates = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY) != nullptr;
    if (ruleCount == 1 && !hasDates) {
        const icalrecurrencetype rule =
            icalproperty_get_rrule(icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY));
        if (mapICalendarRule(rule, zoneStartDate, dayShift, entry)) {
            if (rule.count > 0 || !icaltime_is_null_time(rule.until)) {
                QDate last;
                bool beyond = false;
                if (ICalendarResult found = findRepeatEnd(event, rule, last, beyond); !found) return found;
                if (!beyond) entry.repeatEndDate = DateTimeValue::fromDate(last);
            }
            QList<QDate> dates(event.skippedDates.begin(), event.skippedDates.end());
            std::sort(dates.begin(), dates.end());
            for (const QDate& date : dates) {
                if (inHandheldRange(date)) entry.exceptionDates.append(DateTimeValue::fromDate(date));
            }
        } else {
            entry.repeatType = kRepeatNone;
            entry.frequency = 1;
            entry.repeatOnMask = 0;
            event.expand = true;
        }
    } else if (ruleCount > 0 || hasDates) {
        event.expand = true;
    }
    if (event.isOverride && event.cancelled) return ICalendarResult::success();
    events.append(event);
    return ICalendarResult::success();
}

// Runs libical's iterator over an event's rule, counting every step against
// the file's budget.
template <typename Visit>
static ICalendarResult iterateRule(ICalendarReader::Impl& impl, const ICalendarPendingEvent& event,
                                   const icalrecurrencetype& rule, Visit visit) {
    icalrecur_iterator* iterator = icalrecur_iterator_new(rule, event.start);
    if (iterator == nullptr) return ICalendarResult::success();
    ICalendarResult result;
    for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator)) {
        if (++impl.steps > kMaxRecurrenceSteps) {
            result = ICalendarResult(
                ICalendarError::BeyondLimits,
                QString::fromLatin1(messages::kICalendarTooManySteps).arg(event.entry.title).arg(event.line));
            break;
        }
        if (!visit(next)) break;
    }
    icalrecur_iterator_free(iterator);
    return result;
}

// The wall-clock date of a time in its own zone: within a day of the local date.
static QDate wallDate(const icaltimetype& time) { return QDate(time.year, time.month, time.day); }

ICalendarResult ICalendarReader::Impl::findRepeatEnd(ICalendarPendingEvent& event, const icalrecurrencetype& rule,
                                                     QDate& end, bool& beyondRange) {
    // Only the last occurrence is turned into local time: the conversion costs
    // far more than a step of the rule.
    icaltimetype lastTime = event.start;
    const QDate stopAfter = kLastDay.addDays(1);
    beyondRange = false;
    ICalendarResult result = iterateRule(*this, event, rule, [&](const icaltimetype& occurrence) {
        if (wallDate(occurrence) > stopAfter) {
            beyondRange = true;
            return false;
        }
        lastTime = occurrence;
        return true;
    });
    end = toLocal(lastTime, event.zone).date();
    if (!result || beyondRange || end > kLastDay) {
        beyondRange = beyondRange || end > kLastDay;
        return result;
    }
    if (rule.count > 0 || icaltime_is_null_time(rule.until) || icaltime_is_utc(rule.until)) return result;

    // A local UNTIL after the last occurrence (as this program writes the end
    // date it holds): the package keeps that date as the end, unless the rule
    // has another occurrence on it (after UNTIL's time), which the package
    // would then show.
    const QDate untilDate = toLocal(rule.until, event.zone).date();
    if (untilDate <= end || untilDate > kLastDay) return result;
    icalrecurrencetype open = rule;
    open.until = icaltime_null_time();
    QDate nextDate;
    result = iterateRule(*this, event, open, [&](const icaltimetype& occurrence) {
        if (icaltime_compare(occurrence, lastTime) <= 0) return true;
        nextDate = toLocal(occurrence, event.zone).date();
        return false;
    });
    if (!nextDate.isValid() || nextDate > untilDate) end = untilDate;
    return result;
}

ICalendarResult ICalendarReader::Impl::expandEvent(ICalendarPendingEvent& event) {
    QList<QDateTime> starts;
    auto take = [&](const QDateTime& local) {
        const QDate date = local.date();
        if (date < window.first || date > window.last || !inHandheldRange(date)) return;
        if (event.skippedDates.contains(date) || starts.contains(local)) return;
        starts.append(local);
    };
    icalproperty* ruleProperty = icalcomponent_get_first_property(event.component, ICAL_RRULE_PROPERTY);
    const ICalendarResult iterated =
        ruleProperty == nullptr
            ? ICalendarResult::success()
            : iterateRule(*this, event, icalproperty_get_rrule(ruleProperty), [&](const icaltimetype& occurrence) {
                  // Occurrences well before or after the window are told apart by
                  // their own date, without the costly conversion to local time.
                  const QDate date = wallDate(occurrence);
                  if (date < window.first.addDays(-1)) return true;
                  if (date > window.last.addDays(1)) return false;
                  take(toLocal(occurrence, event.zone));
                  return starts.size() + expandedEvents <= kMaxExpandedEvents;
              });
    if (!iterated) return iterated;
    if (ruleProperty == nullptr) {
        take(toLocal(event.start, event.zone));  // the start is the first of an event's dates
    }
    for (icalproperty* p = icalcomponent_get_first_property(event.component, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event.component, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const icaltimetype time = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (icaltime_is_null_time(time)) continue;
        QString unknown;
        icaltimezone* zone = zoneOf(p, icalcomponent_get_parent(event.component), unknown);
        if (zone == nullptr && !icaltime_is_utc(time)) zone = event.zone;
        take(toLocal(time, zone));
    }
    if (starts.size() + expandedEvents > kMaxExpandedEvents) {
        return ICalendarResult(ICalendarError::BeyondLimits, QString::fromLatin1(messages::kICalendarTooManyExpanded)
                                                                 .arg(event.entry.title)
                                                                 .arg(event.line)
                                                                 .arg(kMaxExpandedEvents)
                                                                 .arg(shortDate(window.first), shortDate(window.last)));
    }
    std::sort(starts.begin(), starts.end());
    for (const QDateTime& start : starts) {
        EventEntry single = event.entry;
        if (single.allDay) {
            single.date = DateTimeValue::fromDate(start.date());
        } else {
            single.date = single.startTime = DateTimeValue::fromDateTime(start);
            single.endTime = DateTimeValue::fromDateTime(start.addSecs(event.durationSeconds));
        }
        event.expanded.append(single);
    }
    expandedEvents += static_cast<int>(starts.size());
    return ICalendarResult::success();
}

int ICalendarReader::rulesToExpand() const {
    int count = 0;
    for (const ICalendarPendingEvent& event : impl_->events) count += event.expand ? 1 : 0;
    return count;
}

ICalendarResult ICalendarReader::expand(const ExpansionWindow& window) {
    impl_->window = window;
    impl_->expandedDone = true;
    impl_->expandedEvents = 0;
    for (ICalendarPendingEvent& event : impl_->events) {
        event.expanded.clear();
        if (!event.expand) continue;
        if (ICalendarResult expanded = impl_->expandEvent(event); !expanded) return expanded;
    }
    return ICalendarResult::success();
}

QList<EventEntry> ICalendarReader::events() const {
    QList<EventEntry> result;
    for (const ICalendarPendingEvent& event : impl_->events) {
        if (event.expand) {
            result.append(event.expanded);
        } else {
            result.append(event.entry);
        }
    }
    return result;
}

QStringList ICalendarReader::report() const {
    QStringList lines;
    if (!impl_->outOfRange.isEmpty()) {
        lines.append(QString::fromLatin1(messages::kICalendarOutOfRange)
                         .arg(impl_->outOfRange.size())
                         .arg(namedList(impl_->outOfRange)));
    }
    if (!impl_->noStart.isEmpty()) {
        lines.append(
            QString::fromLatin1(messages::kICalendarNoStart).arg(impl_->noStart.size()).arg(namedList(impl_->noStart)));
    }
    if (impl_->expandedDone && rulesToExpand() > 0) {
        lines.append(QString::fromLatin1(messages::kICalendarExpanded)
                         .arg(rulesToExpand())
                         .arg(impl_->expandedEvents)
                         .arg(shortDate(impl_->window.first), shortDate(impl_->window.last)));
    }
    if (impl_->unknownZoneEvents > 0) {
        lines.append(QString::fromLatin1(messages::kICalendarUnknownZone)
                         .arg(impl_->unknownZoneEvents)
                         .arg(impl_->unknownZones.join(QStringLiteral(", "))));
    }
    return lines;
}

}  // namespace skedlin
