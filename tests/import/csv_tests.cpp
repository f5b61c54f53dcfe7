// CSV import: the field splitter, the header check, the columns, and a web
// calendar's real export.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "import_test_support.h"
#include "editor/document/CSkedlinDoc.h"
#include "editor/document/CsvReader.h"
#include "editor/document/PackageImport.h"

namespace skedlin {
namespace {

using testing::RecordingSink;

QStringList split(const QStringList& lines, bool* complete = nullptr) {
    qsizetype next = 0;
    QStringList fields;
    const bool ok = splitCsvRecord(lines, next, fields);
    if (complete) *complete = ok;
    return fields;
}

TEST(CsvSplitter, QuotesCommasAndLineBreaks) {
    EXPECT_EQ(split({"a,\"b, c\",,d"}), QStringList({"a", "b, c", "", "d"}));
    EXPECT_EQ(split({"\"ha \"\"ha\"\" ha\""}), QStringList({"ha ha ha"}));
    EXPECT_EQ(split({"\"two", "lines\",x"}), QStringList({"two\r\nlines", "x"}));
    EXPECT_EQ(split({""}), QStringList({""}));
    bool complete = true;
    split({"\"never closed", "still open"}, &complete);
    EXPECT_FALSE(complete);
}

class CsvImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useZoneAndLocale("UTC0", QLocale(QLocale::English, QLocale::UnitedStates));
        document.newDocument(nullptr);
        document.setModified(false);
    }
    ImportOutcome import(const QByteArray& text) {
        return importPackageFile(document, testing::writeFile(dir, "events.csv", text), sink);
    }
    QTemporaryDir dir;
    CSkedlinDoc document;
    RecordingSink sink;
};

TEST_F(CsvImportTest, ColumnsFillTheEvent) {
    ASSERT_EQ(import("Subject,Start Date,Start Time,End Time,All day event,Categories,Note\r\n"
                     "Dinner,3/15/2004,7:30 PM,9:00 PM,False,Dinner;Family,\"Bring \"\"wine\"\"\"\r\n"
                     "Fair,2004-03-20,,,,,\"Two\r\nlines\"\r\n"),
              ImportOutcome::Imported);
    ASSERT_EQ(document.events().size(), 2);
    const EventEntry& dinner = document.events()[0];
    EXPECT_EQ(dinner.title, "Dinner");
    EXPECT_EQ(dinner.date.date(), QDate(2004, 3, 15));
    EXPECT_EQ(dinner.startTime.time(), QTime(19, 30));
    EXPECT_EQ(dinner.endTime.time(), QTime(21, 0));
    EXPECT_EQ(dinner.allDay, 0);
    EXPECT_EQ(dinner.groupName, "Dinner");
    EXPECT_EQ(dinner.note, "Bring wine");
    EXPECT_TRUE(document.groupExists("Dinner"));  // created when missing

    const EventEntry& fair = document.events()[1];
    EXPECT_EQ(fair.allDay, 1);  // an empty "All day event" field counts as true
    EXPECT_EQ(fair.groupName, document.groups().front().name);
    EXPECT_EQ(fair.note, "Two\r\nlines");
    EXPECT_TRUE(document.isModified());
}

TEST_F(CsvImportTest, ShortRowsAndUntimedColumn) {
    ASSERT_EQ(import("text,date,untimed,group\nA,2004-01-02,x,Work\nB,2004-01-03\n"), ImportOutcome::Imported);
    ASSERT_EQ(document.events().size(), 2);
    EXPECT_EQ(document.events()[0].allDay, 1);
    EXPECT_EQ(document.events()[0].groupName, "Work");
    EXPECT_EQ(document.events()[1].allDay, 0);  // missing fields read as empty
    EXPECT_EQ(document.events()[1].groupName, document.groups().front().name);
}

TEST_F(CsvImportTest, RefusalsAddNothing) {
    EXPECT_EQ(import("Name,Address\nA,B\n"), ImportOutcome::Failed);
    ASSERT_EQ(sink.texts.size(), 2);
    EXPECT_EQ(sink.icons[0], ImportMessageIcon::Exclamation);
    EXPECT_TRUE(sink.texts[0].startsWith("The column header of this CSV file does not contain"));
    EXPECT_EQ(sink.texts[1], "Unable to read the CSV file.  Skedlin may not understand the format used.");

    sink.texts.clear();
    EXPECT_EQ(import(""), ImportOutcome::Failed);
    EXPECT_EQ(sink.texts, QStringList{"Unable to read the CSV file.  Skedlin may not understand the format used."});

    // A date that cannot be read refuses the whole file, naming the row.
    sink.texts.clear();
    EXPECT_EQ(import("Subject,Date\nGood,2004-01-01\nBad,31st of Smarch\n"), ImportOutcome::Failed);
    ASSERT_EQ(sink.texts.size(), 2);
    EXPECT_TRUE(sink.texts[0].contains("Row 3"));
    EXPECT_TRUE(sink.texts[0].contains("31st of Smarch"));
    EXPECT_TRUE(document.events().isEmpty());
    EXPECT_FALSE(document.isModified());

    // The generic CSV samples have no calendar columns.
    sink.texts.clear();
    EXPECT_EQ(importPackageFile(document, testing::corpusPath("csv/csv-spectrum/newlines.csv"), sink),
              ImportOutcome::Failed);
    EXPECT_TRUE(document.events().isEmpty());
}

TEST_F(CsvImportTest, BlankRowsHoldNoEvent) {
    ASSERT_EQ(import("Subject,Start Date\r\nA,2004-01-02\r\n\r\n,\r\n  ,\r\nB,2004-01-03\r\n\r\n"),
              ImportOutcome::Imported);
    ASSERT_EQ(document.events().size(), 2);
    EXPECT_EQ(document.events()[1].title, "B");
}

// Numeric dates: the locale's order, month first in the C locale, the other
// order for a date the preferred one cannot give, ISO dates always.
TEST(CsvDates, NumericOrderByLocaleAndByWhatIsPossible) {
    const QLocale c = QLocale::c();
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(parseCsvDate("10/15/2003", c).date(), QDate(2003, 10, 15));
    EXPECT_EQ(parseCsvDate("2/14/2009", c).date(), QDate(2009, 2, 14));
    EXPECT_EQ(parseCsvDate("2/3/2009", c).date(), QDate(2009, 2, 3));
    EXPECT_EQ(parseCsvDate("15/10/2003", c).date(), QDate(2003, 10, 15));
    EXPECT_EQ(parseCsvDate("2/3/2009", british).date(), QDate(2009, 3, 2));
    EXPECT_EQ(parseCsvDate("10/15/2003", british).date(), QDate(2003, 10, 15));
    EXPECT_EQ(parseCsvDate("15.10.2003", german).date(), QDate(2003, 10, 15));
    EXPECT_EQ(parseCsvDate("10.15.2003", german).date(), QDate(2003, 10, 15));
    EXPECT_EQ(parseCsvDate("3/15/04", us).date(), QDate(2004, 3, 15));
    for (const QLocale& locale : {c, us, german})
        EXPECT_EQ(parseCsvDate("2003-02-01", locale).date(), QDate(2003, 2, 1));
    EXPECT_FALSE(parseCsvDate("13/13/2003", c).isValid());

    NumericDate numeric;
    parseCsvDate("2/3/2009", british, &numeric);
    EXPECT_TRUE(numeric.ambiguous);
    EXPECT_EQ(numeric.order, NumericDateOrder::DayFirst);
    parseCsvDate("3/3/2009", british, &numeric);
    EXPECT_FALSE(numeric.ambiguous);  // the same date either way
    parseCsvDate("13/3/2009", c, &numeric);
    EXPECT_FALSE(numeric.ambiguous);
    EXPECT_EQ(numeric.order, NumericDateOrder::DayFirst);
}

TEST_F(CsvImportTest, TheUserIsToldWhichOrderAmbiguousDatesWereReadIn) {
    testing::useZoneAndLocale("UTC0", QLocale::c());
    CsvReader reader("Events");
    ASSERT_TRUE(reader.read({"Subject,Start Date", "A,10/15/2003", "B,2/3/2009", "C,4/5/2009"}).ok());
    ASSERT_EQ(reader.events().size(), 3);
    EXPECT_EQ(reader.events()[0].date.date(), QDate(2003, 10, 15));
    EXPECT_EQ(reader.events()[1].date.date(), QDate(2009, 2, 3));
    EXPECT_EQ(reader.dateOrderNote(),
              "Some dates of the CSV file, such as \"2/3/2009\", can be read with the day or the "
              "month first; they were read month first (month/day/year).");

    CsvReader clear("Events");
    ASSERT_TRUE(clear.read({"Subject,Start Date", "A,10/15/2003", "B,2003-02-03"}).ok());
    EXPECT_TRUE(clear.dateOrderNote().isEmpty());

    // The import tells the user, without an alarm, and adds the events.
    ASSERT_EQ(import("Subject,Start Date\r\nA,2/3/2009\r\n"), ImportOutcome::Imported);
    ASSERT_EQ(sink.texts.size(), 1);
    EXPECT_EQ(sink.icons[0], ImportMessageIcon::None);
    EXPECT_TRUE(sink.texts[0].startsWith("Some dates of the CSV file, such as \"2/3/2009\""));
    EXPECT_EQ(document.events().size(), 1);
}

TEST_F(CsvImportTest, WebCalendarExport) {
    ASSERT_EQ(importPackageFile(document, testing::corpusPath("csv/drupal-date-Yahoo.csv"), sink),
              ImportOutcome::Imported)
        << sink.texts.join("\n").toStdString();
    ASSERT_FALSE(document.events().isEmpty());
    bool sawTimed = false;
    bool sawAllDay = false;
    for (const EventEntry& event : document.events()) {
        EXPECT_TRUE(event.date.isValid());
        EXPECT_GT(event.date.date().year(), 1990);
        if (event.allDay)
            sawAllDay = true;
        else if (event.startTime.time() == QTime(8, 0))
            sawTimed = true;
    }
    EXPECT_TRUE(sawTimed);
    EXPECT_TRUE(sawAllDay);
}

}  // namespace
}  // namespace skedlin
