// Export to iCalendar and vCard 3.0: the files are read by independent readers
// (the icalendar and vobject packages for Python), and SkedlinTool's export
// followed by an import into an empty package gives back the same events and
// contacts.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>

#include "document_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/ICalendarWriter.h"
#include "editor/document/PackageExport.h"

namespace skedlin {
namespace {

EventEntry makeEvent(const QString& title, const QDate& date, const QString& group) {
    EventEntry event;
    event.title = title;
    event.date = DateTimeValue::fromDate(date);
    event.groupName = group;
    return event;
}

EventEntry timed(EventEntry event, const QTime& start, const QTime& end) {
    event.allDay = 0;
    event.startTime = DateTimeValue::fromTime(start);
    event.endTime = DateTimeValue::fromTime(end);
    return event;
}

// A package with every kind of event and contact the formats can carry.
void fillPackage(CSkedlinDoc& document) {
    QList<EventEntry> events;
    EventEntry keynote = timed(makeEvent("Keynote: \"Tomorrow\", today; again", QDate(2026, 3, 2), "Talks"),
                               QTime(9, 30), QTime(10, 45));
    keynote.note = QString::fromUtf8("Hall A\nBring a badge, please; no backslash \\ lost. Grüße");
    events.append(keynote);
    events.append(makeEvent("Holiday", QDate(2026, 12, 25), "Events"));

    EventEntry weekly = timed(makeEvent("Training", QDate(2026, 3, 3), "Sport"), QTime(18, 0), QTime(19, 30));
    weekly.repeatType = kRepeatWeekly;
    weekly.frequency = 2;
    weekly.repeatOnMask = (1 << 2) | (1 << 4);  // Tuesday and Thursday
    weekly.repeatEndDate = DateTimeValue::fromDate(2026, 6, 30);
    weekly.exceptionDates = {DateTimeValue::fromDate(2026, 3, 17), DateTimeValue::fromDate(2026, 4, 2)};
    events.append(weekly);

    EventEntry lastFriday = timed(makeEvent("Pub quiz", QDate(2026, 1, 30), "Social"), QTime(20, 0), QTime(23, 0));
    lastFriday.repeatType = kRepeatMonthByDay;
    events.append(lastFriday);

    EventEntry secondTuesday = makeEvent("Board", QDate(2026, 1, 13), "Events");
    secondTuesday.repeatType = kRepeatMonthByDay;
    secondTuesday.frequency = 3;
    events.append(secondTuesday);

    EventEntry rent = makeEvent("Rent", QDate(2026, 1, 15), "Events");
    rent.repeatType = kRepeatMonthByDate;
    rent.repeatEndDate = DateTimeValue::fromDate(2027, 1, 15);
    events.append(rent);

    EventEntry daily = timed(makeEvent("Stand-up", QDate(2026, 2, 2), "Events"), QTime(9, 0), QTime(9, 15));
    daily.repeatType = kRepeatDaily;
    daily.repeatEndDate = DateTimeValue::fromDate(2026, 2, 27);
    daily.exceptionDates = {DateTimeValue::fromDate(2026, 2, 14)};
    events.append(daily);

    EventEntry birthday = makeEvent("Birthday", QDate(2026, 7, 4), "Events");
    birthday.repeatType = kRepeatYearly;
    events.append(birthday);
    document.addEvents(events);

    ContactEntry anne;
    anne.firstName = "Anne";
    anne.lastName = QString::fromUtf8("Smith-Ødegård");
    anne.title = "Chair";
    anne.company = "Acme, Inc.";
    anne.street = "1 Main St\nFloor 2";
    anne.city = "Springfield";
    anne.state = "IL";
    anne.zip = "62701";
    anne.country = "USA";
    anne.note = "Call before noon; ask for \\ extension";
    anne.phoneNumbers = {"555-0100", "555-0101", "555-0102", "anne@example.org", "555-0104"};
    anne.phoneTypes = {kPhoneWork, kPhoneMobile, kPhoneFax, kPhoneEmail, kPhonePager};
    anne.phoneCount = 5;
    anne.memberGroups = {"Talks", "Board members"};
    document.addContact(anne);

    ContactEntry venue;
    venue.company = "Conference Centre";
    venue.phoneNumbers = {"555-0200", "555-0201", "555-0202", "", ""};
    venue.phoneTypes = {kPhoneMain, kPhoneHome, kPhoneOther, kPhoneEmail, kPhoneOther};
    venue.phoneCount = 3;
    document.addContact(venue);
}

// What must survive the round trip, in a form that compares and prints well.
QStringList describeEvents(const CSkedlinDoc& document) {
    QStringList lines;
    for (const EventEntry& e : document.events()) {
        QStringList exceptions;
        for (const DateTimeValue& d : e.exceptionDates) exceptions.append(d.date().toString(Qt::ISODate));
        const std::uint8_t mask = e.repeatType == kRepeatWeekly ? e.repeatOnMask : 0;
        lines.append(QStringList{e.title, e.note, e.date.date().toString(Qt::ISODate), QString::number(e.allDay),
                                 e.allDay ? QString() : e.startTime.time().toString(),
                                 e.allDay ? QString() : e.endTime.time().toString(), QString::number(e.repeatType),
                                 QString::number(e.frequency),
                                 e.repeatEndDate.isZero() ? QString() : e.repeatEndDate.date().toString(Qt::ISODate),
                                 QString::number(mask), exceptions.join(u','), e.groupName}
                         .join(u'|'));
    }
    lines.sort();
    return lines;
}

QStringList describeContacts(const CSkedlinDoc& document) {
    QStringList lines;
    for (const ContactEntry& c : document.contacts()) {
        QStringList phones;
        for (int slot = 0; slot < kPhoneSlotCount; ++slot) {
            if (!c.phoneNumbers[slot].isEmpty())
                phones.append(phoneTypeName(c.phoneTypes[slot]) + u'=' + c.phoneNumbers[slot]);
        }
        lines.append(QStringList{c.firstName, c.lastName, c.title, c.company, c.street, c.city, c.state, c.zip,
                                 c.country, c.note, phones.join(u','), c.memberGroups.join(u',')}
                         .join(u'|'));
    }
    lines.sort();
    return lines;
}

class ExportRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        test::prepareEnvironment();
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        ASSERT_TRUE(dir_.isValid());
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    int runTool(const QStringList& arguments, QString* err = nullptr) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
        process.setProcessEnvironment(environment);
        process.start(test::binaryPath("SkedlinTool"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (err) *err = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -999;
    }

    QTemporaryDir dir_;
};

TEST_F(ExportRoundTrip, ExportThenImportIntoAnEmptyPackageGivesTheSameEntries) {
    CSkedlinDoc original;
    original.newDocument(nullptr);
    fillPackage(original);
    ASSERT_TRUE(original.saveDocument(path("original.xml")).ok());

    QString err;
    ASSERT_EQ(runTool({"export", path("original.xml"), path("out.ics")}, &err), 0) << err.toStdString();
    ASSERT_EQ(runTool({"export", path("original.xml"), path("out.VCF")}, &err), 0) << err.toStdString();
    ASSERT_EQ(runTool({"new", path("copy.xml")}), 0);
    ASSERT_EQ(runTool({"import", path("copy.xml"), path("out.ics"), path("out.VCF")}, &err), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();

    CSkedlinDoc reopened;
    ASSERT_TRUE(reopened.openDocument(path("original.xml")).ok());
    CSkedlinDoc copy;
    ASSERT_TRUE(copy.openDocument(path("copy.xml")).ok());
    EXPECT_EQ(describeEvents(copy), describeEvents(reopened));
    EXPECT_EQ(describeContacts(copy), describeContacts(reopened));
}

TEST_F(ExportRoundTrip, IndependentReadersSeeTheSameEventsAndContacts) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    fillPackage(document);
    ASSERT_TRUE(exportPackage(document, path("out.ics")).ok());
    ASSERT_TRUE(exportPackage(document, path("out.vcf")).ok());

    QProcess python;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    python.setProcessEnvironment(environment);
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(SKEDLIN_SOURCE_DIR "/tests/document/reference/read_exports.py"), path("out.ics"),
                  path("out.vcf")});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QStringList events;
    QStringList cards;
    for (const QString& line : lines) (line.startsWith("EVENT") ? events : cards).append(line);
    ASSERT_EQ(events.size(), document.events().size());
    ASSERT_EQ(cards.size(), document.contacts().size());

    EXPECT_EQ(events[0], QString::fromUtf8("EVENT\tKeynote: \"Tomorrow\", today; again\t2026-03-02T09:30:00\t"
                                           "2026-03-02T10:45:00\t\t\tTalks\tHall A\\nBring a badge, please; no "
                                           "backslash \\\\ lost. Grüße"));
    EXPECT_EQ(events[1], "EVENT\tHoliday\t2026-12-25\t2026-12-26\t\t\tEvents\t");
    EXPECT_EQ(events[2],
              "EVENT\tTraining\t2026-03-03T18:00:00\t2026-03-03T19:30:00\t"
              "FREQ=WEEKLY;UNTIL=20260630T235959;INTERVAL=2;BYDAY=TU,TH;WKST=SU\t"
              "2026-03-17T18:00:00,2026-04-02T18:00:00\tSport\t");
    EXPECT_EQ(events[3].section(u'\t', 4, 4), "FREQ=MONTHLY;BYDAY=-1FR");
    EXPECT_EQ(events[4].section(u'\t', 4, 4), "FREQ=MONTHLY;INTERVAL=3;BYDAY=2TU");
    EXPECT_EQ(events[5].section(u'\t', 4, 4), "FREQ=MONTHLY;UNTIL=20270115;BYMONTHDAY=15");
    EXPECT_EQ(events[7].section(u'\t', 4, 4), "FREQ=YEARLY");

    EXPECT_EQ(cards[0], QString::fromUtf8("CARD\tSmith-Ødegård\tAnne\tAcme, Inc.\tVOICE,WORK=555-0100;"
                                          "CELL,VOICE=555-0101;FAX,WORK=555-0102;PAGER=555-0104\t"
                                          "anne@example.org\t1 Main St\\nFloor 2|Springfield|IL|62701|USA\t"
                                          "Talks,Board members\tCall before noon; ask for \\\\ extension"));
    EXPECT_EQ(cards[1], "CARD\t\t\tConference Centre\tMAIN=555-0200;HOME,VOICE=555-0201;VOICE=555-0202\t\t\t\t");
}

TEST_F(ExportRoundTrip, FilesAreWrittenWholeAndLinesFolded) {
    CSkedlinDoc document;
    document.newDocument(nullptr);
    EventEntry longOne = makeEvent(QString(100, QChar(0x00E9)), QDate(2026, 5, 1), "Events");
    document.addEvent(longOne);
    ASSERT_TRUE(exportPackage(document, path("long.ics")).ok());
    const QByteArray bytes = test::readBytes(path("long.ics"));
    for (const QByteArray& line : bytes.split('\n')) EXPECT_LE(line.size(), 76);  // 75 octets and the CR
    // Folding never cuts a two-byte character: the file is valid UTF-8 after unfolding.
    QByteArray unfolded = bytes;
    unfolded.replace("\r\n ", "");
    EXPECT_TRUE(QString::fromUtf8(unfolded).contains(QString(100, QChar(0x00E9))));

    // Neither an unknown type nor an unwritable place leaves a file behind.
    EXPECT_EQ(exportPackage(document, path("out.txt")).code(), ExportError::UnknownType);
    EXPECT_FALSE(QFile::exists(path("out.txt")));
    const ExportResult failed = exportPackage(document, path("missing/folder/out.ics"));
    EXPECT_EQ(failed.code(), ExportError::CannotWrite);
    EXPECT_TRUE(failed.message().contains("could not be written"));
    QString err;
    EXPECT_EQ(runTool({"export", path("none.xml"), path("x.doc")}, &err), 64);
}

}  // namespace
}  // namespace skedlin
