// Records in words: repeat rules, exception dates and phone labels of both
// targets, the printers, and the JSON holding the same facts as the text.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "inspect_test_support.h"
#include "tools/inspect/PackageWords.h"
#include "tools/inspect/PalmRecords.h"
#include "tools/inspect/PocketPcRecords.h"
#include "tools/inspect/Printers.h"

namespace skedlin::inspecttest {
namespace {

using namespace skedlin::inspect;

std::vector<std::uint8_t> bytesOf(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

void appendText(std::vector<std::uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

TEST(RepeatWords, EachRepeatTypeInWords) {
    const DayDate tuesday{2026, 5, 12};  // the second Tuesday of May 2026
    EXPECT_EQ(repeatWords({RepeatType::Daily, 1, 0, std::nullopt}, tuesday), "every day for ever");
    EXPECT_EQ(repeatWords({RepeatType::Weekly, 2, 0x55, DayDate{2026, 12, 31}}, tuesday),
              "every 2 weeks on Sunday, Tuesday, Thursday and Saturday until 2026-12-31");
    EXPECT_EQ(repeatWords({RepeatType::MonthByDay, 1, 9, std::nullopt}, tuesday),
              "every month on the second Tuesday for ever");
    EXPECT_EQ(repeatWords({RepeatType::MonthByDay, 1, 33, std::nullopt}, tuesday),
              "every month on the last Friday for ever");
    EXPECT_EQ(repeatWords({RepeatType::MonthByDate, 3, 0, std::nullopt}, tuesday), "every 3 months on day 12 for ever");
    EXPECT_EQ(repeatWords({RepeatType::Yearly, 1, 0, std::nullopt}, tuesday), "every year on 12 May for ever");
    EXPECT_EQ(repeatWords({RepeatType::None, 1, 0, std::nullopt}, tuesday), "does not repeat (repeat type 0)");
    EXPECT_EQ(weekdayName(weekdayOf(DayDate{2000, 2, 29})), "Tuesday");
    EXPECT_EQ(weekdayName(weekdayOf(DayDate{1904, 1, 1})), "Friday");
}

TEST(RecordDecoding, PalmEventWithRepeatExceptionsAndNote) {
    auto record = bytesOf({0x09, 0x05, 0x0A, 0x1E, 0xFF, 0xFF, 0x3C, 0x00});  // 09:05 to 10:30, flags below
    const std::uint16_t date = (2026 - 1904) << 9 | 5 << 5 | 12;
    record[4] = date >> 8;
    record[5] = date & 0xFF;
    const auto repeat = bytesOf({2, 0, 0xFF, 0xFF, 1, 0x04, 0, 0, 0, 1, date >> 8, (date + 7) & 0xFF});
    record.insert(record.end(), repeat.begin(), repeat.end());
    appendText(record, "Stand-up");
    appendText(record, "Room 2\nBring notes");
    std::string problem;
    const auto event = decodePalmEvent(record, &problem);
    ASSERT_TRUE(event) << problem;
    EXPECT_EQ(timeText(*event->start), "09:05");
    EXPECT_EQ(timeText(*event->end), "10:30");
    ASSERT_TRUE(event->repeat);
    EXPECT_EQ(repeatWords(*event->repeat, event->date), "every week on Tuesday for ever");
    ASSERT_EQ(event->exceptions.size(), 1u);
    EXPECT_EQ(dateText(event->exceptions[0]), "2026-05-19");
    EXPECT_EQ(event->note, "Room 2\nBring notes");

    record.push_back(0);  // a byte after the last text
    EXPECT_FALSE(decodePalmEvent(record, &problem));
    EXPECT_EQ(problem, "1 bytes follow its last text");
    record.resize(record.size() - 3);  // the note loses its end
    EXPECT_FALSE(decodePalmEvent(record, &problem));
    EXPECT_EQ(problem, "its note has no end");
}

TEST(RecordDecoding, PocketPcEventExceptionBlockAfterTheNote) {
    auto record = bytesOf({0xEA, 0x07, 5, 12, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 1, 0x04});
    appendText(record, "Stand-up");
    appendText(record, "Room 2\r\nBring notes");
    std::string problem;
    auto event = decodePocketPcEvent(record, &problem);
    ASSERT_TRUE(event) << problem;
    EXPECT_FALSE(event->start);
    EXPECT_EQ(event->note, "Room 2\nBring notes");
    const auto block = bytesOf({2, 0, 0xEA, 0x07, 5, 19, 0xEA, 0x07, 5, 26});
    record.insert(record.end(), block.begin(), block.end());
    event = decodePocketPcEvent(record, &problem);
    ASSERT_TRUE(event) << problem;
    ASSERT_EQ(event->exceptions.size(), 2u);
    EXPECT_EQ(dateText(event->exceptions[1]), "2026-05-26");
    record.pop_back();  // the block one byte short
    EXPECT_FALSE(decodePocketPcEvent(record, &problem));
    record[8] = 0xFF;  // a record that does not repeat carries no block
    record[9] = 0xFF;
    record.push_back(26);
    EXPECT_FALSE(decodePocketPcEvent(record, &problem));
}

TEST(RecordDecoding, ContactsOfBothTargets) {
    // Palm: company only (flags 4, company offset 1), then the same with a "main" phone.
    auto palm = bytesOf({0xAA, 0x04, 0x32, 0x15, 0, 0, 0, 0x0C, 1});
    appendText(palm, "Harbour Hall");
    appendText(palm, "+44 117 496 0000");
    std::string problem;
    auto contact = decodePalmContact(palm, &problem);
    ASSERT_TRUE(contact) << problem;
    ASSERT_EQ(contact->phones.size(), 1u);
    EXPECT_EQ(contact->phones[0].label, "main");
    palm[8] = 2;  // the company offset must point at the company
    EXPECT_FALSE(decodePalmContact(palm, &problem));

    // Pocket PC: twenty fields; the flag byte must agree with company and work phone.
    std::vector<std::uint8_t> pocketPc;
    const char* texts[] = {"Achebe", "Ngozi", "", "Lagos Data Lab"};
    for (const char* text : texts) appendText(pocketPc, text);
    pocketPc.push_back(1);
    for (int field = 5; field < 20; ++field) appendText(pocketPc, field == 14 ? "+234 555" : "");
    contact = decodePocketPcContact(pocketPc, &problem);
    ASSERT_TRUE(contact) << problem;
    ASSERT_EQ(contact->phones.size(), 1u);
    EXPECT_EQ(contact->phones[0].label, "mobile");
    pocketPc[std::string("Achebe Ngozi  Lagos Data Lab ").size()] = 0;
    EXPECT_FALSE(decodePocketPcContact(pocketPc, &problem));
    EXPECT_EQ(problem, "its flag byte does not match its company and work phone");
}

TEST(Printers, TextLabelsListsAndContinuedLines) {
    Node report = Node::object();
    report.add("firstEventId", Node::number(7000));
    report.add("note", "one\ntwo");
    Node ids = Node::list();
    ids.append(Node::number(1));
    ids.append(Node::number(2));
    report.add("contactIds", std::move(ids));
    Node people = Node::list();
    Node person = Node::object();
    person.add("name", "A");
    person.addFlag("untimed", true);
    people.append(std::move(person));
    report.add("contacts", std::move(people));
    report.add("problems", Node::list());
    Node platforms = Node::list();
    platforms.append(Node::text("HPC"));
    report.add("platforms", std::move(platforms));
    EXPECT_EQ(printText(report),
              "First event id: 7000\n"
              "Note: one\n"
              "  two\n"
              "Contact ids: 1, 2\n"
              "Contacts (1):\n"
              "  - Name: A\n"
              "    Untimed: yes\n"
              "Problems: none\n"
              "Platforms (1):\n"
              "  - HPC\n");
}

TEST(Printers, JsonEscapesAndStaysWellFormed) {
    Node report = Node::object();
    report.add("text", std::string("quote \" backslash \\ tab \t bell \a bad \xFF end"));
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(printJson(report)));
    ASSERT_TRUE(document.isObject());
    EXPECT_EQ(document.object()["text"].toString().toStdString(),
              "quote \" backslash \\ tab \t bell \a bad \xEF\xBF\xBD end");
}

TEST(Printers, JsonHoldsTheFactsOfTheTextReport) {
    for (const std::string& path : {exampleOutputs().prc, exampleOutputs().cab}) {
        SCOPED_TRACE(path);
        const InspectResult result = inspectFile(path);
        ASSERT_TRUE(result.hasReport);
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(printJson(result.report)));
        ASSERT_TRUE(document.isObject());
        const QJsonObject json = document.object();
        const std::string text = printText(result.report);
        EXPECT_EQ(json["title"].toString().toStdString(), "Mobile Data Conference 2026");
        EXPECT_NE(text.find("Title: Mobile Data Conference 2026\n"), std::string::npos);
        const QJsonArray events = json["events"].toArray();
        EXPECT_EQ(events.size(), 12);
        EXPECT_NE(text.find("Events (12):\n"), std::string::npos);
        for (const auto& event : events) {
            const std::string title = event.toObject()["title"].toString().toStdString();
            EXPECT_NE(text.find("    Title: " + title + "\n"), std::string::npos) << title;
        }
        EXPECT_EQ(json["groups"].toArray()[1].toObject()["name"].toString(), "Social");
        EXPECT_EQ(json["navigation"].toObject()["level"].toInt(), 1);
        EXPECT_TRUE(json["problems"].toArray().isEmpty());
    }
}

}  // namespace
}  // namespace skedlin::inspecttest
