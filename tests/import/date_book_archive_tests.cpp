// Date Book Archive import: archives are assembled byte by byte here, in the
// layout a desktop organiser writes, so each test states the bytes it feeds.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/DateBookArchiveReader.h"
#include "editor/document/PackageImport.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

class ArchiveBytes {
public:
    ArchiveBytes& u8(int v) {
        bytes.append(static_cast<char>(v & 0xFF));
        return *this;
    }
    ArchiveBytes& u16(int v) { return u8(v).u8(v >> 8); }
    ArchiveBytes& u32(std::int64_t v) {
        return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>((v >> 16) & 0xFFFF));
    }
    ArchiveBytes& str(const QByteArray& text) {
        u8(static_cast<int>(text.size()));
        bytes.append(text);
        return *this;
    }
    ArchiveBytes& field(std::int64_t v) { return u32(1).u32(v); }
    ArchiveBytes& stringField(const QByteArray& text) { return u32(5).u32(0).str(text); }
    QByteArray bytes;
};

struct Appointment {
    QByteArray title = "Board meeting";
    QByteArray note;
    std::int64_t start = 0;
    std::int64_t end = 0;
    bool untimed = false;
    int exceptions = 0;
    int repeatKind = 0;  // 0: no repeat
    int interval = 1;
    std::int64_t repeatEnd = 0;
    int daysMask = 0;
    bool classDefinition = true;
    int classNameLength = 11;
};

ArchiveBytes header(int recordCount, int categoryCount = 0, int fieldCount = 15) {
    ArchiveBytes a;
    a.u8(0x00).u8(0x01).u8(0x42).u8(0x44);  // version tag
    a.str("Fed.dba").str("").u32(128).u32(categoryCount);
    a.u32(54).u32(15).u32(0).u32(1).u32(2);
    a.u16(fieldCount);
    for (int i = 0; i < fieldCount; ++i) a.u16(1);
    a.u32(static_cast<std::int64_t>(recordCount) * fieldCount);
    return a;
}

void appendRecord(ArchiveBytes& a, const Appointment& p) {
    a.field(0).field(0).field(0);
    a.field(p.start).field(p.end);
    a.stringField(p.title);
    a.field(60);
    a.stringField(p.note);
    a.field(p.untimed ? 1 : 0);
    for (int i = 0; i < 5; ++i) a.field(0);
    a.u32(8);  // repeat field type
    a.u16(p.exceptions);
    for (int i = 0; i < p.exceptions; ++i) a.u32(p.start + 86400 * (i + 1));
    if (p.repeatKind == 0) {
        a.u16(0);
        return;
    }
    if (p.classDefinition) {
        a.u16(0xFFFF).u16(1).u16(p.classNameLength);
        for (int i = 0; i < p.classNameLength; ++i) a.u8('C');
    } else {
        a.u16(0x8001);
    }
    a.u32(p.repeatKind).u32(p.interval).u32(p.repeatEnd).u32(0);
    if (p.repeatKind <= 3) a.u32(0);
    if (p.repeatKind == 2) a.u8(p.daysMask);
    if (p.repeatKind == 3) a.u32(0);
    if (p.repeatKind >= 4) a.u32(15);
    if (p.repeatKind == 5) a.u32(3);
}

QByteArray archive(const QList<Appointment>& appointments) {
    ArchiveBytes a = header(static_cast<int>(appointments.size()));
    for (const Appointment& p : appointments) appendRecord(a, p);
    return a.bytes;
}

std::int64_t utcSeconds(int y, int m, int d, int h = 0, int min = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC).toSecsSinceEpoch();
}

class DateBookArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { testing::useZoneAndLocale("UTC0", QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST_F(DateBookArchiveTest, TimedAndUntimedAppointments) {
    Appointment timed;
    timed.start = utcSeconds(2004, 3, 9, 14, 30);
    timed.end = utcSeconds(2004, 3, 9, 16, 0);
    timed.note = "Bring \x80 5 for coffee";  // Windows-1252 euro sign
    Appointment untimed;
    untimed.title = "Holiday";
    untimed.start = untimed.end = utcSeconds(2004, 12, 25);
    untimed.untimed = true;

    DateBookArchiveReader reader("Events");
    ASSERT_TRUE(reader.readBytes(archive({timed, untimed})).ok());
    ASSERT_EQ(reader.events().size(), 2);
    const EventEntry& a = reader.events()[0];
    EXPECT_EQ(a.title, "Board meeting");
    EXPECT_EQ(a.note, QString::fromUtf8("Bring \u20AC 5 for coffee"));
    EXPECT_EQ(a.date.date(), QDate(2004, 3, 9));
    EXPECT_EQ(a.allDay, 0);
    EXPECT_EQ(a.startTime.time(), QTime(14, 30));
    EXPECT_EQ(a.endTime.time(), QTime(16, 0));
    EXPECT_EQ(a.groupName, "Events");
    const EventEntry& b = reader.events()[1];
    EXPECT_EQ(b.allDay, 1);
    EXPECT_EQ(b.date.date(), QDate(2004, 12, 25));
    EXPECT_EQ(b.repeatType, kRepeatNone);
}

TEST_F(DateBookArchiveTest, RepeatRulesAreKeptAndExceptionsDropped) {
    Appointment weekly;
    weekly.start = weekly.end = utcSeconds(2004, 1, 5, 9);
    weekly.repeatKind = 2;
    weekly.interval = 3;
    weekly.daysMask = 0x22;  // Monday and Friday
    weekly.repeatEnd = utcSeconds(2004, 6, 30);
    weekly.exceptions = 3;
    Appointment yearly;
    yearly.start = yearly.end = utcSeconds(2004, 2, 14);
    yearly.repeatKind = 5;
    yearly.classDefinition = false;  // a class already defined earlier in the file
    Appointment monthly;
    monthly.start = monthly.end = utcSeconds(2004, 2, 3);
    monthly.repeatKind = 3;

    DateBookArchiveReader reader("Events");
    ASSERT_TRUE(reader.readBytes(archive({weekly, yearly, monthly})).ok());
    ASSERT_EQ(reader.events().size(), 3);
    const EventEntry& w = reader.events()[0];
    EXPECT_EQ(w.repeatType, kRepeatWeekly);
    EXPECT_EQ(w.frequency, 3);
    EXPECT_EQ(w.repeatOnMask, 0x22);
    EXPECT_EQ(w.repeatEndDate.date(), QDate(2004, 6, 30));
    EXPECT_TRUE(w.exceptionDates.isEmpty());
    EXPECT_EQ(reader.events()[1].repeatType, kRepeatYearly);
    EXPECT_EQ(reader.events()[2].repeatType, kRepeatMonthByDay);
}

// Untimed days are stored as the writer's local midnight in universal time;
// the day read must not depend on the zone of the computer that imports.
TEST_F(DateBookArchiveTest, UntimedDaysKeepTheirDateInEveryZone) {
    Appointment pacific;  // 25 Dec 2004 written in a US Pacific zone: 08:00Z
    pacific.start = pacific.end = utcSeconds(2004, 12, 25, 8);
    pacific.untimed = true;
    Appointment tokyo;  // 1 Jan 2005 written in Tokyo: 31 Dec 2004 15:00Z
    tokyo.start = tokyo.end = utcSeconds(2004, 12, 31, 15);
    tokyo.untimed = true;
    Appointment timed;
    timed.start = utcSeconds(2004, 12, 25, 8);
    timed.end = utcSeconds(2004, 12, 25, 9);
    for (const char* zone : {"Pacific/Honolulu", "UTC0", "America/Los_Angeles", "Asia/Tokyo", "Pacific/Kiritimati"}) {
        testing::useZoneAndLocale(zone, QLocale::c());
        DateBookArchiveReader reader("Events");
        ASSERT_TRUE(reader.readBytes(archive({pacific, tokyo, timed})).ok());
        EXPECT_EQ(reader.events()[0].date.date(), QDate(2004, 12, 25)) << zone;
        EXPECT_EQ(reader.events()[1].date.date(), QDate(2005, 1, 1)) << zone;
    }
    // Timed appointments still take the importing computer's local time.
    testing::useZoneAndLocale("Pacific/Honolulu", QLocale::c());
    DateBookArchiveReader reader("Events");
    ASSERT_TRUE(reader.readBytes(archive({timed})).ok());
    EXPECT_EQ(reader.events()[0].startTime.toDateTime(), QDateTime(QDate(2004, 12, 24), QTime(22, 0)));
}

TEST_F(DateBookArchiveTest, EndDatePastTheHandheldsLastDayMeansNoEnd) {
    Appointment endless;
    endless.start = endless.end = utcSeconds(2004, 2, 14);
    endless.repeatKind = 5;
    endless.repeatEnd = 0x749E77BF;  // 1 Jan 2032, 03:59:59 universal time
    Appointment lastDay = endless;
    lastDay.repeatEnd = utcSeconds(2031, 12, 31);
    DateBookArchiveReader reader("Events");
    ASSERT_TRUE(reader.readBytes(archive({endless, lastDay})).ok());
    EXPECT_TRUE(reader.events()[0].repeatEndDate.isZero());
    EXPECT_EQ(reader.events()[1].repeatEndDate.date(), QDate(2031, 12, 31));
}

TEST_F(DateBookArchiveTest, RefusesWhatItCannotRead) {
    Appointment ok;
    ok.start = ok.end = utcSeconds(2004, 1, 1);
    const QByteArray good = archive({ok, ok});

    DateBookArchiveReader reader("Events");
    QByteArray wrongTag = good;
    wrongTag[2] = 'X';
    EXPECT_EQ(reader.readBytes(wrongTag).code(), DateBookArchiveError::WrongVersionTag);

    ArchiveBytes categories = header(0, 1);
    EXPECT_EQ(reader.readBytes(categories.bytes).code(), DateBookArchiveError::HasCategories);

    // Cut inside the second record: the first one must not be kept either.
    EXPECT_EQ(reader.readBytes(good.left(good.size() - 10)).code(), DateBookArchiveError::Damaged);
    EXPECT_TRUE(reader.events().isEmpty());

    ArchiveBytes noFields = header(1, 0, 0);
    EXPECT_EQ(reader.readBytes(noFields.bytes).code(), DateBookArchiveError::Damaged);

    Appointment longClass = ok;
    longClass.repeatKind = 1;
    longClass.classNameLength = 203;
    EXPECT_EQ(reader.readBytes(archive({longClass})).code(), DateBookArchiveError::Damaged);

    Appointment badKind = ok;
    badKind.repeatKind = 7;
    EXPECT_EQ(reader.readBytes(archive({badKind})).code(), DateBookArchiveError::Damaged);

    for (int length = 0; length < 16; ++length) {
        EXPECT_FALSE(reader.readBytes(good.left(length)).ok()) << length;
    }
}

TEST_F(DateBookArchiveTest, ImportAddsToFirstGroupOrTellsWhyNot) {
    QTemporaryDir dir;
    Appointment p;
    p.start = p.end = utcSeconds(2004, 1, 1, 10);
    const QString good = testing::writeFile(dir, "holidays.DBA", archive({p, p}));
    const QString junk = testing::writeFile(dir, "junk.dba", QByteArray("not an archive at all"));

    CSkedlinDoc document;
    document.newDocument(nullptr);
    document.appendGroupUnchecked(GroupEntry{"Second", "", ""});
    const QString firstGroup = document.groups().front().name;
    document.setModified(false);

    RecordingSink sink;
    EXPECT_EQ(importPackageFile(document, good, sink), ImportOutcome::Imported);
    EXPECT_TRUE(sink.texts.isEmpty());
    ASSERT_EQ(document.events().size(), 2);
    EXPECT_EQ(document.events()[0].groupName, firstGroup);
    EXPECT_TRUE(document.isModified());

    EXPECT_EQ(importPackageFile(document, junk, sink), ImportOutcome::Failed);
    EXPECT_EQ(importPackageFile(document, dir.filePath("missing.dba"), sink), ImportOutcome::Failed);
    QDir(dir.path()).mkdir("folder.dba");
    EXPECT_EQ(importPackageFile(document, dir.filePath("folder.dba"), sink), ImportOutcome::Failed);
    ASSERT_EQ(sink.texts.size(), 3);
    EXPECT_TRUE(sink.texts[0].contains("not a Date Book Archive"));
    EXPECT_EQ(sink.texts[1], "Failed to open the file for import.");
    EXPECT_EQ(sink.texts[2], "Failed to open the file for import.");
    EXPECT_EQ(document.events().size(), 2);
}

}  // namespace
}  // namespace skedlin
