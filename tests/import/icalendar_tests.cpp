// iCalendar import: real exports checked against an independent reading of
// the same files (the icalendar package for Python, run from the test), repeat
// rules mapped or expanded, time zones, unreadable and hostile files.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <set>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ICalendarReader.h"
#include "editor/document/PackageImport.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

const ExpansionWindow kWindow2009{QDate(2009, 1, 1), QDate(2010, 12, 31)};

class ICalendarImport : public ::testing::Test {
protected:
    void SetUp() override { testing::useZoneAndLocale("Europe/Berlin", QLocale::c()); }

    // Reads text (lines joined by CR LF); expects success.
    QList<EventEntry> read(const QString& text, const ExpansionWindow& window = kWindow2009) {
        ICalendarReader reader("Events");
        const ICalendarResult read = reader.read(text.toUtf8());
        EXPECT_TRUE(read.ok()) << read.message().toStdString();
        if (!read) return {};
        const ICalendarResult expanded = reader.expand(window);
        EXPECT_TRUE(expanded.ok()) << expanded.message().toStdString();
        report_ = reader.report();
        return reader.events();
    }
    // Reads text; expects failure and returns the message.
    QString failure(const QString& text, const ExpansionWindow& window = kWindow2009) {
        ICalendarReader reader("Events");
        const ICalendarResult read = reader.read(text.toUtf8());
        if (!read) return read.message();
        const ICalendarResult expanded = reader.expand(window);
        EXPECT_FALSE(expanded.ok()) << "expected the expansion to fail";
        return expanded.message();
    }
    QList<EventEntry> readFile(const char* corpusName, const ExpansionWindow& window = kWindow2009) {
        QFile file(testing::corpusPath(corpusName));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        ICalendarReader reader("Events");
        const ICalendarResult read = reader.read(file.readAll());
        EXPECT_TRUE(read.ok()) << read.message().toStdString();
        EXPECT_TRUE(reader.expand(window).ok());
        report_ = reader.report();
        return reader.events();
    }
    static const EventEntry* find(const QList<EventEntry>& events, const QString& title) {
        for (const EventEntry& event : events) {
            if (event.title == title) return &event;
        }
        return nullptr;
    }

    QStringList report_;
};

QString calendar(const QString& body) {
    return QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\n") + body + QStringLiteral("\nEND:VCALENDAR\n");
}

QString event(const QString& properties) {
    return QStringLiteral("BEGIN:VEVENT\n") + properties + QStringLiteral("\nEND:VEVENT");
}

QString localStart(const EventEntry& event) {
    if (event.allDay) return event.date.date().toString(Qt::ISODate);
    return event.date.date().toString(Qt::ISODate) + u' ' + event.startTime.time().toString(QStringLiteral("HH:mm"));
}

// ---------------------------------------------------------------------------
// Real exports against the independent reading.

TEST_F(ICalendarImport, CorpusAgreesWithAnIndependentReader) {
    const char* files[] = {"ics/giggity-kielux_2020.ics", "ics/giggity-linux_conf_au_2020.ics",
                           "ics/giggity-jres_2022.ics",   "ics/drupal-date-USHolidays.ics",
                           "ics/gammu-UK32Holidays.ics",  "ics/syncevolution-eds_event.ics",
                           "ics/gammu-rrule.ics",         "ics/biweekly-outlook-2010.ics"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        QProcess python;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
        python.setProcessEnvironment(environment);
        python.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(SKEDLIN_SOURCE_DIR "/tests/import/reference/ics_events.py"), testing::corpusPath(name)});
        ASSERT_TRUE(python.waitForFinished(60000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        const QStringList reference =
            QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(reference.isEmpty());

        // Events that do not repeat are compared one by one (title and local
        // start); the first occurrence of a repeating event that the package
        // holds as a repeat is compared too.
        const QList<EventEntry> ours = readFile(name, {QDate(1904, 1, 1), QDate(1904, 1, 2)});
        std::multiset<QString> mine;
        for (const EventEntry& e : ours) mine.insert(e.title.simplified() + u'\t' + localStart(e));
        std::multiset<QString> theirs;
        for (const QString& line : reference) {
            const QStringList fields = line.split(u'\t');
            if (fields.size() == 3 && fields[2] == QLatin1String("0"))
                theirs.insert(fields[0].simplified() + u'\t' + fields[1]);
        }
        std::multiset<QString> all;
        int compared = 0;
        for (const QString& line : reference) {
            const QStringList fields = line.split(u'\t');
            ASSERT_EQ(fields.size(), 3);
            const QString key = fields[0].simplified() + u'\t' + fields[1];
            all.insert(key);
            if (fields[2] == QLatin1String("0")) {
                EXPECT_EQ(mine.count(key), theirs.count(key)) << key.toStdString();
                ++compared;
            }
        }
        for (const EventEntry& e : ours) {
            if (e.repeatType == kRepeatNone) continue;
            const QString key = e.title.simplified() + u'\t' + localStart(e);
            EXPECT_GT(all.count(key), 0u) << key.toStdString();
            ++compared;
        }
        EXPECT_GT(compared, 0);
    }
}

TEST_F(ICalendarImport, CorpusRulesAreMappedAsTheFilesMeanThem) {
    const QList<EventEntry> eds = readFile("ics/syncevolution-eds_event.ics", {QDate(2006, 4, 1), QDate(2006, 4, 30)});
    const EventEntry* weekly = find(eds, "recurrence weekly, limited");
    ASSERT_NE(weekly, nullptr);
    EXPECT_EQ(weekly->repeatType, kRepeatWeekly);
    EXPECT_EQ(weekly->repeatOnMask, 1 << 4);  // Thursday
    EXPECT_EQ(weekly->repeatEndDate.date(), QDate(2006, 4, 27));
    const EventEntry* daily = find(eds, "recurrence, daily, with exceptions");
    ASSERT_NE(daily, nullptr);
    EXPECT_EQ(daily->repeatType, kRepeatDaily);
    EXPECT_FALSE(daily->exceptionDates.isEmpty());
    const EventEntry* allDay = find(eds, "all day event");
    ASSERT_NE(allDay, nullptr);
    EXPECT_EQ(allDay->allDay, 1);
    EXPECT_EQ(allDay->date.date(), QDate(2006, 4, 6));

    // Yearly on the last Monday of May: monthly by weekday every twelve months.
    const QList<EventEntry> uk = readFile("ics/gammu-UK32Holidays.ics");
    const EventEntry* bankHoliday = nullptr;
    for (const EventEntry& e : uk) {
        if (e.title == QLatin1String("Spring Holiday") && e.repeatType == kRepeatMonthByDay) bankHoliday = &e;
    }
    ASSERT_NE(bankHoliday, nullptr);
    EXPECT_EQ(bankHoliday->frequency, 12);
    EXPECT_EQ(bankHoliday->date.date().dayOfWeek(), Qt::Monday);
    EXPECT_GT(bankHoliday->date.date().day() + 7, bankHoliday->date.date().daysInMonth());

    // Weekly (written in mixed case) for ten occurrences, in a zone the file
    // defines after the event: 14:00 Pacific is 23:00 in Berlin.
    const QList<EventEntry> coffee = readFile("ics/gammu-rrule.ics");
    ASSERT_EQ(coffee.size(), 1);
    EXPECT_EQ(localStart(coffee[0]), "2002-10-28 23:00");
    EXPECT_EQ(coffee[0].repeatType, kRepeatWeekly);
    EXPECT_EQ(coffee[0].repeatEndDate.date(), QDate(2002, 12, 30));

    // A zone known only by its Windows name, defined in the file.
    const QList<EventEntry> meeting = readFile("ics/biweekly-outlook-2010.ics");
    ASSERT_EQ(meeting.size(), 1);
    EXPECT_EQ(localStart(meeting[0]), "2013-06-10 18:00");
}

TEST_F(ICalendarImport, RfcExamplesMapOrExpand) {
    const QList<EventEntry> events = readFile("ics/drupal-date-rrule.ics");
    // The file's zone (US-Eastern) is unknown: its times are taken as local.
    ASSERT_FALSE(report_.isEmpty());
    EXPECT_TRUE(report_.join(u' ').contains("US-Eastern"));

    const EventEntry* count = find(events, "Daily for 10 occurrences");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->repeatType, kRepeatDaily);
    EXPECT_EQ(count->repeatEndDate.date(), QDate(2009, 7, 11));
    EXPECT_EQ(localStart(*count), "2009-07-02 09:00");

    const EventEntry* biweekly = find(events, "Every other week on Tuesday and Thursday, for 8 occurrences");
    ASSERT_NE(biweekly, nullptr);
    EXPECT_EQ(biweekly->repeatType, kRepeatWeekly);
    EXPECT_EQ(biweekly->frequency, 2);
    EXPECT_EQ(biweekly->repeatOnMask, (1 << 2) | (1 << 4));
    EXPECT_EQ(biweekly->repeatEndDate.date(), QDate(2009, 8, 25));

    // A start that is not an occurrence of its rule (a Saturday for "first
    // Friday") cannot be held: the ten first Fridays become single events.
    QList<QDate> firstFridays;
    for (const EventEntry& e : events) {
        if (e.title == QLatin1String("Monthly on the 1st Friday for ten occurrences")) {
            EXPECT_EQ(e.repeatType, kRepeatNone);
            firstFridays.append(e.date.date());
        }
    }
    ASSERT_EQ(firstFridays.size(), 10);
    EXPECT_EQ(firstFridays.front(), QDate(2009, 10, 2));
    EXPECT_EQ(firstFridays.back(), QDate(2010, 7, 2));

    // Second-to-last Monday cannot be held: single events within the window.
    int secondToLast = 0;
    for (const EventEntry& e : events) {
        if (e.title.startsWith(QLatin1String("Monthly on the second to last Monday"))) {
            EXPECT_EQ(e.repeatType, kRepeatNone);
            ++secondToLast;
        }
    }
    EXPECT_EQ(secondToLast, 6);
}

// ---------------------------------------------------------------------------
// Rules, zones and fields.

TEST_F(ICalendarImport, FieldsZonesAndAllDayEvents) {
    const QList<EventEntry> events = read(calendar(
        event("SUMMARY:Keynote\nLOCATION:Hall A\nDESCRIPTION:Line one\\nLine two, with comma\\, escaped\n"
              "CATEGORIES:Talks,Plenary\nDTSTART:20090615T080000Z\nDURATION:PT1H30M") +
        u'\n' + event("SUMMARY:Holiday\nDTSTART;VALUE=DATE:20091225\nDTEND;VALUE=DATE:20091226") + u'\n' +
        event("SUMMARY:Tokyo\nDTSTART;TZID=Asia/Tokyo:20091201T090000\nDTEND;TZID=Asia/Tokyo:20091201T100000")));
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0].note, "Hall A\n\nLine one\nLine two, with comma, escaped");
    EXPECT_EQ(events[0].groupName, "Talks");
    EXPECT_EQ(events[0].allDay, 0);
    EXPECT_EQ(localStart(events[0]), "2009-06-15 10:00");  // summer time
    EXPECT_EQ(events[0].endTime.time(), QTime(11, 30));
    EXPECT_EQ(events[1].allDay, 1);
    EXPECT_EQ(events[1].date.date(), QDate(2009, 12, 25));
    EXPECT_EQ(events[1].groupName, "Events");
    EXPECT_EQ(localStart(events[2]), "2009-12-01 01:00");
    EXPECT_EQ(events[2].endTime.time(), QTime(2, 0));
}

TEST_F(ICalendarImport, WeeklyDaysFollowTheLocalDate) {
    // Thursday 23:30 universal time is Friday 00:30 in Berlin.
    const QList<EventEntry> events =
        read(calendar(event("SUMMARY:Late\nDTSTART:20090108T233000Z\nRRULE:FREQ=WEEKLY;BYDAY=TH;COUNT=3")));
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].repeatOnMask, 1 << 5);
    EXPECT_EQ(events[0].repeatEndDate.date(), QDate(2009, 1, 23));
    // A monthly rule cannot follow the shift and is expanded.
    const QList<EventEntry> monthly =
        read(calendar(event("SUMMARY:Late\nDTSTART:20090108T233000Z\nRRULE:FREQ=MONTHLY;COUNT=3")));
    ASSERT_EQ(monthly.size(), 3);
    EXPECT_EQ(monthly[2].date.date(), QDate(2009, 3, 9));
}

TEST_F(ICalendarImport, LastWeekdayAndFourthWeekday) {
    const QList<EventEntry> events = read(calendar(
        event("SUMMARY:Last Friday\nDTSTART:20090130T180000\nRRULE:FREQ=MONTHLY;BYDAY=-1FR") + u'\n' +
        event("SUMMARY:Setpos\nDTSTART:20090130T180000\nRRULE:FREQ=MONTHLY;BYDAY=FR;BYSETPOS=-1;UNTIL=20090331") +
        u'\n' +
        // The fourth Monday of January 2009 is also its last: the handheld
        // would repeat it on the last Monday, so it is expanded.
        event("SUMMARY:Fourth Monday\nDTSTART:20090126T180000\nRRULE:FREQ=MONTHLY;BYDAY=4MO;COUNT=2") + u'\n' +
        event("SUMMARY:Two days\nDTSTART:20090105T180000\nRRULE:FREQ=MONTHLY;BYDAY=1MO,3MO;COUNT=4")));
    ASSERT_NE(find(events, "Last Friday"), nullptr);
    EXPECT_EQ(find(events, "Last Friday")->repeatType, kRepeatMonthByDay);
    EXPECT_TRUE(find(events, "Last Friday")->repeatEndDate.isZero());
    EXPECT_EQ(find(events, "Setpos")->repeatType, kRepeatMonthByDay);
    // A local UNTIL after the last occurrence is kept as the end date.
    EXPECT_EQ(find(events, "Setpos")->repeatEndDate.date(), QDate(2009, 3, 31));
    int fourth = 0;
    int twoDays = 0;
    for (const EventEntry& e : events) {
        fourth += e.title == QLatin1String("Fourth Monday") ? 1 : 0;
        twoDays += e.title == QLatin1String("Two days") ? 1 : 0;
    }
    EXPECT_EQ(fourth, 2);
    EXPECT_EQ(twoDays, 4);
    EXPECT_TRUE(report_.join(u' ').contains("2 event(s) repeat"));
}

TEST_F(ICalendarImport, ExceptionsRdatesAndChangedOccurrences) {
    const QList<EventEntry> events = read(calendar(
        event("UID:a\nSUMMARY:Class\nDTSTART;TZID=Europe/Berlin:20090105T100000\n"
              "RRULE:FREQ=WEEKLY;UNTIL=20090302T235959Z\nEXDATE;TZID=Europe/Berlin:20090112T100000,20090119T100000") +
        u'\n' +
        event("UID:a\nSUMMARY:Class (moved)\nRECURRENCE-ID;TZID=Europe/Berlin:20090126T100000\n"
              "DTSTART;TZID=Europe/Berlin:20090127T100000") +
        u'\n' + event("UID:b\nSUMMARY:Extra dates\nDTSTART:20090201T100000\nRDATE:20090210T100000,20090220T100000")));
    const EventEntry* weekly = find(events, "Class");
    ASSERT_NE(weekly, nullptr);
    EXPECT_EQ(weekly->repeatType, kRepeatWeekly);
    EXPECT_EQ(weekly->repeatEndDate.date(), QDate(2009, 3, 2));
    ASSERT_EQ(weekly->exceptionDates.size(), 3);
    EXPECT_EQ(weekly->exceptionDates[0].date(), QDate(2009, 1, 12));
    EXPECT_EQ(weekly->exceptionDates[2].date(), QDate(2009, 1, 26));
    EXPECT_EQ(localStart(*find(events, "Class (moved)")), "2009-01-27 10:00");
    int extra = 0;
    for (const EventEntry& e : events) extra += e.title == QLatin1String("Extra dates") ? 1 : 0;
    EXPECT_EQ(extra, 3);
}

TEST_F(ICalendarImport, EventsOutsideTheHandheldYearsAreLeftOutAndNamed) {
    const QList<EventEntry> events = read(calendar(
        event("SUMMARY:Old\nDTSTART;VALUE=DATE:18991231") + u'\n' + event("SUMMARY:Future\nDTSTART:20400101T100000Z") +
        u'\n' + event("SUMMARY:Kept\nDTSTART;VALUE=DATE:20311231\nRRULE:FREQ=YEARLY;UNTIL=20400101")));
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].title, "Kept");
    // An end after 2031 is no end the handheld could hold: it repeats for ever.
    EXPECT_TRUE(events[0].repeatEndDate.isZero());
    ASSERT_EQ(report_.size(), 1);
    EXPECT_TRUE(report_[0].contains("Old (1899-12-31)"));
    EXPECT_TRUE(report_[0].contains("Future (2040-01-01)"));
}

// ---------------------------------------------------------------------------
// Unreadable and hostile files.

TEST_F(ICalendarImport, UnreadableFilesNameTheLine) {
    EXPECT_EQ(failure("BEGIN:VCARD\nEND:VCARD\n"),
              "Line 1 of the iCalendar file: the file must begin with BEGIN:VCALENDAR. Nothing was imported.");
    EXPECT_TRUE(failure("BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:x\nEND:VTODO\nEND:VCALENDAR\n").startsWith("Line 4 "));
    EXPECT_TRUE(failure("BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:x\n").contains("begun on line 2"));
    EXPECT_TRUE(
        failure("BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:x\nDTSTART:20091305T100000\nEND:VEVENT\nEND:VCALENDAR\n")
            .startsWith("Line 4 of the iCalendar file: the value of DTSTART"));
    EXPECT_TRUE(failure("BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20090105\nDESCRIPTION:a\n b\nRRULE:FREQ=NEVER\n"
                        "END:VEVENT\nEND:VCALENDAR\n")
                    .startsWith("Line 6 "));
    EXPECT_TRUE(failure("").startsWith("Line 1 "));

    // Through the document: nothing is added.
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    const qsizetype before = document.events().size();
    RecordingSink sink;
    const QString path = testing::writeFile(dir, "bad.ICS",
                                            "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\n"
                                            "DTSTART:20090105T100000\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n");
    EXPECT_EQ(importPackageFile(document, path, sink), ImportOutcome::Failed);
    EXPECT_EQ(document.events().size(), before);
    ASSERT_EQ(sink.texts.size(), 1);
    EXPECT_TRUE(sink.texts[0].contains("line 6"));
}

// A file that would keep the import busy for hours ends with a message instead
// (a hang would end the test at ctest's time limit; speed is the benchmarks' job).
TEST_F(ICalendarImport, HostileFilesEndWithAMessage) {
    // Every second for two years.
    EXPECT_TRUE(failure(calendar(event("SUMMARY:Tick\nDTSTART:20090101T000000\nRRULE:FREQ=SECONDLY")))
                    .contains("more than 20000 single events"));
    // Every second since 1904, the window far later: too many steps.
    EXPECT_TRUE(failure(calendar(event("SUMMARY:Tick\nDTSTART:19040101T000000\nRRULE:FREQ=SECONDLY;COUNT=1000000000")))
                    .contains("take too long"));
    // A count of a billion on a rule the package holds: no end within its years.
    const QList<EventEntry> billion =
        read(calendar(event("SUMMARY:Daily\nDTSTART:20090101T000000\nRRULE:FREQ=DAILY;COUNT=1000000000")));
    ASSERT_EQ(billion.size(), 1);
    EXPECT_TRUE(billion[0].repeatEndDate.isZero());
    // Deep nesting.
    QString nested = QStringLiteral("BEGIN:VCALENDAR\n");
    for (int i = 0; i < 1000; ++i) nested += QStringLiteral("BEGIN:X\n");
    EXPECT_TRUE(failure(nested).contains("nested more than 16 deep"));
    // A time zone whose rule would make libical iterate every second since 1601.
    EXPECT_TRUE(failure(calendar(QStringLiteral("BEGIN:VTIMEZONE\nTZID:Bad\nBEGIN:STANDARD\nDTSTART:16010101T000000\n"
                                                "RRULE:FREQ=SECONDLY\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0100\n"
                                                "END:STANDARD\nEND:VTIMEZONE\n") +
                                 event("SUMMARY:x\nDTSTART;TZID=Bad:20090101T100000")))
                    .contains("RRULE"));
    // Many events in one large file are read.
    QString many;
    for (int i = 0; i < 20000; ++i)
        many += event(QStringLiteral("SUMMARY:E%1\nDTSTART:20090101T100000Z").arg(i)) + u'\n';
    EXPECT_EQ(read(calendar(many)).size(), 20000);
}

}  // namespace
}  // namespace skedlin
