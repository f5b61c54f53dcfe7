// vCalendar import: the property lines, date-time values (universal time
// turned into the local time of that instant), recurrence rules, and real
// exports from phones and desktop programs.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/PackageImport.h"
#include "editor/document/PropertyLineReader.h"
#include "editor/document/VCalendarReader.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

QList<EventEntry> readCalendar(const QString& text) {
    VCalendarReader reader("Events");
    const VCalendarResult read = reader.read(text.split(u'\n'));
    EXPECT_TRUE(read.ok()) << read.message().toStdString();
    return reader.events();
}

TEST(PropertyLine, SplitsNameParametersAndValues) {
    const PropertyLine line = parsePropertyLine("ADR;WORK;PREF:;;1 Main St;Springfield");
    EXPECT_EQ(line.name, "ADR");
    EXPECT_EQ(line.parameters, QStringList({"WORK", "PREF"}));
    EXPECT_EQ(line.values, QStringList({"", "", "1 Main St", "Springfield"}));

    EXPECT_EQ(parsePropertyLine("DESCRIPTION:one\\ntwo=0Dthree=0Afour=3D").value, "one\r\ntwo\rthree\nfour=3D");
    const PropertyLine noColon = parsePropertyLine("just text");
    EXPECT_TRUE(noColon.name.isEmpty());
    EXPECT_EQ(noColon.values.size(), 1);
    EXPECT_EQ(parsePropertyLine("NOTE:a:b").value, "a:b");
}

TEST(VCalendarDateTime, UniversalTimeUsesTheOffsetOfThatInstant) {
    testing::useZoneAndLocale("EST5", QLocale::c());  // five hours behind, no daylight saving
    EXPECT_EQ(parseVCalendarDateTime("20031015T140000Z").toDateTime(), QDateTime(QDate(2003, 10, 15), QTime(9, 0)));

    testing::useZoneAndLocale("Europe/Berlin", QLocale::c());
    EXPECT_EQ(parseVCalendarDateTime("20030115T120000Z").time(), QTime(13, 0));  // winter: +1
    EXPECT_EQ(parseVCalendarDateTime("20030715T120000Z").time(), QTime(14, 0));  // summer: +2
    EXPECT_EQ(parseVCalendarDateTime("20030715T120000").time(), QTime(12, 0));   // floating local time
    EXPECT_EQ(parseVCalendarDateTime("20030715").toDateTime(), QDateTime(QDate(2003, 7, 15), QTime(0, 0)));
    EXPECT_FALSE(parseVCalendarDateTime("garbage").isValid());
    EXPECT_FALSE(parseVCalendarEndDate("#0").isValid());
    EXPECT_FALSE(parseVCalendarEndDate("1+").isValid());
    EXPECT_EQ(parseVCalendarEndDate("20040601").date(), QDate(2004, 6, 1));
}

TEST(VCalendarRecurrence, RulesOfEachKind) {
    EventEntry weekly;
    applyVCalendarRecurrence("W2 MO WE FR 20031231T000000Z", weekly);
    EXPECT_EQ(weekly.repeatType, kRepeatWeekly);
    EXPECT_EQ(weekly.frequency, 2);
    EXPECT_EQ(weekly.repeatOnMask, (1 << 1) | (1 << 3) | (1 << 5));
    EXPECT_EQ(weekly.repeatEndDate.date(), QDate(2003, 12, 31));

    EventEntry byPosition;
    applyVCalendarRecurrence("MP1 1+ TU 20040601", byPosition);
    EXPECT_EQ(byPosition.repeatType, kRepeatMonthByDay);
    EXPECT_EQ(byPosition.frequency, 1);
    EXPECT_EQ(byPosition.repeatEndDate.date(), QDate(2004, 6, 1));

    EventEntry byDate;
    applyVCalendarRecurrence("MD1 15 20040601", byDate);
    EXPECT_EQ(byDate.repeatType, kRepeatMonthByDate);
    EXPECT_EQ(byDate.repeatEndDate.date(), QDate(2004, 6, 1));

    EventEntry endless;
    applyVCalendarRecurrence("D1   #0", endless);
    EXPECT_EQ(endless.repeatType, kRepeatDaily);
    EXPECT_TRUE(endless.repeatEndDate.isZero());

    EventEntry yearly;
    applyVCalendarRecurrence("YM1 4 #2", yearly);
    EXPECT_EQ(yearly.repeatType, kRepeatYearly);
    EXPECT_TRUE(yearly.repeatEndDate.isZero());

    EventEntry none;
    applyVCalendarRecurrence("X9", none);
    EXPECT_EQ(none.repeatType, kRepeatNone);
}

TEST(VCalendarReader, EventsWithAndWithoutEndTimes) {
    testing::useZoneAndLocale("UTC0", QLocale::c());
    const QList<EventEntry> events = readCalendar(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:Opening\nDESCRIPTION:Hall A\\nFirst floor\n"
        "DTSTART:20040301T090000\nDTEND:20040301T100000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nSUMMARY;CHARSET=UTF-8:Holiday\nDTSTART:20040302T000000\nEND:VEVENT\nEND:VCALENDAR");
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].title, "Opening");
    EXPECT_EQ(events[0].note, "Hall A\r\nFirst floor");
    EXPECT_EQ(events[0].allDay, 0);
    EXPECT_EQ(events[0].startTime.time(), QTime(9, 0));
    EXPECT_EQ(events[0].endTime.time(), QTime(10, 0));
    EXPECT_EQ(events[0].groupName, "Events");
    EXPECT_EQ(events[1].title, "Holiday");
    EXPECT_EQ(events[1].allDay, 1);

    VCalendarReader reader("Events");
    EXPECT_EQ(reader.read(QStringList{"BEGIN:VCARD", "END:VCARD"}).code(), VCalendarError::NotACalendar);
}

TEST(VCalendarReader, WeeklyRuleWithoutWeekdayRepeatsOnTheEventsWeekday) {
    testing::useZoneAndLocale("UTC0", QLocale::c());
    // The rule comes before the start, as some exporters write it.
    const QList<EventEntry> events = readCalendar(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nRRULE:W1 #0\nDTSTART:20040303T090000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART:20040303T090000\nRRULE:W1 TU #0\nEND:VEVENT\nEND:VCALENDAR");
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].repeatType, kRepeatWeekly);
    EXPECT_EQ(events[0].repeatOnMask, 1 << 3);  // 3 March 2004 is a Wednesday
    EXPECT_EQ(events[1].repeatOnMask, 1 << 2);  // a named weekday is kept
}

TEST(VCalendarReader, UnreadableStartOrEndRefusesTheFileNamingTheLine) {
    testing::useZoneAndLocale("UTC0", QLocale::c());
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    document.setModified(false);
    RecordingSink sink;
    const QString file = testing::writeFile(
        dir, "bad.vcs",
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:Good\r\nDTSTART:20040301T090000\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nSUMMARY:Bad\r\nDTSTART:next tuesday\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(importPackageFile(document, file, sink), ImportOutcome::Failed);
    ASSERT_EQ(sink.texts.size(), 2);
    EXPECT_EQ(sink.texts[0], "Line 8 of the vCalendar file has a date that cannot be read: \"next tuesday\".");
    EXPECT_EQ(sink.texts[1], "Unable to read the VCAL file.  Skedlin may not understand the format used.");
    EXPECT_TRUE(document.events().isEmpty());
    EXPECT_FALSE(document.isModified());

    VCalendarReader reader("Events");
    const VCalendarResult read =
        reader.read({"BEGIN:VCALENDAR", "BEGIN:VEVENT", "DTSTART:20040301T090000", "DTEND:", "END:VEVENT"});
    EXPECT_EQ(read.code(), VCalendarError::BadDate);
    EXPECT_TRUE(read.message().startsWith("Line 4 "));
}

TEST(VCalendarReader, RealExportsWithSeveralCalendarBlocks) {
    testing::useZoneAndLocale("Europe/Berlin", QLocale::c());
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    RecordingSink sink;
    // Eight calendar blocks in one file: every block's event is read.
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcs/syncevolution-vcal10.vcs"), sink),
              ImportOutcome::Imported);
    EXPECT_EQ(document.events().size(), 8);
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcs/gammu-k770.vcs"), sink), ImportOutcome::Imported);
    EXPECT_EQ(document.events().size(), 10);
    // A file holding only a to-do item is valid and adds nothing.
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("vcs/gammu-02-vtodo.vcs"), sink),
              ImportOutcome::Imported);
    EXPECT_EQ(document.events().size(), 10);
    EXPECT_TRUE(sink.texts.isEmpty());

    // Extensions are compared in capitals; a file that is no calendar is refused whole.
    const QString mixedCase =
        testing::writeFile(dir, "x.Vcs", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:A\nEND:VEVENT\n");
    EXPECT_EQ(importPackageFile(document, mixedCase, sink), ImportOutcome::Imported);
    EXPECT_EQ(document.events().size(), 11);
    const QString notCalendar = testing::writeFile(dir, "y.vcs", "BEGIN:VEVENT\nSUMMARY:A\nEND:VEVENT\n");
    EXPECT_EQ(importPackageFile(document, notCalendar, sink), ImportOutcome::Failed);
    EXPECT_EQ(sink.texts, QStringList{"Unable to read the VCAL file.  Skedlin may not understand the format used."});
    EXPECT_EQ(document.events().size(), 11);
}

TEST(VCalendarReader, BinaryJunkAndLatin1TextDoNotCrash) {
    QTemporaryDir dir;
    CSkedlinDoc document;
    document.newDocument(nullptr);
    RecordingSink sink;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.append(static_cast<char>((i * 131) & 0xFF));
    EXPECT_EQ(importPackageFile(document, testing::writeFile(dir, "junk.vcs", junk), sink), ImportOutcome::Failed);
    // Not UTF-8: read as Windows-1252 so that no character is lost.
    const QString latin =
        testing::writeFile(dir, "l.vcs", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:Caf\xE9\nEND:VEVENT\n");
    EXPECT_EQ(importPackageFile(document, latin, sink), ImportOutcome::Imported);
    ASSERT_EQ(document.events().size(), 1);
    EXPECT_EQ(document.events()[0].title, QString::fromUtf8("Caf\u00E9"));
}

}  // namespace
}  // namespace skedlin
