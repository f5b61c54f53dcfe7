// The package inside a cabinet's executable agrees with the tests' own PE
// reader, and says the same about every event and contact as the .prc built
// from the same package.

#include <gtest/gtest.h>

#include <QString>

#include "inspect_test_support.h"
#include "tests/builder/contacts_events_decoders.h"
#include "tests/pocketpc/pe_test_reader.h"

namespace skedlin::inspecttest {
namespace {

using inspect::Node;

constexpr std::uint16_t kStringTable = 6;
constexpr std::uint16_t kRawData = 10;
constexpr std::uint16_t kIcon = 3;
constexpr std::uint16_t kBitmap = 2;

std::string utf8(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

void expectAgreement(const BuiltOutputs& outputs, const std::string& name) {
    SCOPED_TRACE(outputs.cab);
    const std::vector<std::uint8_t> executable = executableOf(outputs.cab, name);
    const test::PeFile pe = test::readPe(executable);
    ASSERT_TRUE(pe.faults.empty()) << pe.faults.front();
    const inspect::InspectResult fromExecutable = inspect::inspectBytes(executable);
    const inspect::InspectResult fromCabinet = inspect::inspectFile(outputs.cab);
    const inspect::InspectResult fromPrc = inspect::inspectFile(outputs.prc);
    ASSERT_TRUE(fromExecutable.hasReport && fromCabinet.hasReport && fromPrc.hasReport) << fromExecutable.message;
    EXPECT_EQ(fromExecutable.status, inspect::InspectStatus::Ok);
    const Node& report = fromExecutable.report;

    const auto strings = test::readStringTable(pe.find(kStringTable, 4000 / 16 + 1)->body);
    ASSERT_EQ(strings.size(), 16u);
    EXPECT_EQ(textOf(report, "title"), utf8(strings[4000 % 16]));
    EXPECT_EQ(textOf(report, "title"), textOf(fromPrc.report, "title"));

    std::vector<std::uint16_t> eventIds;
    for (std::uint16_t id : pe.ids(kRawData)) {
        if (id >= 7000) eventIds.push_back(id);
    }
    const auto& events = listOf(report, "events").items();
    ASSERT_EQ(events.size(), eventIds.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const auto record = testing::decodePocketPcEvent(pe.find(kRawData, eventIds[i])->body);
        EXPECT_EQ(numberOf(events[i], "id"), eventIds[i]);
        if (record) {
            EXPECT_EQ(textOf(events[i], "date").substr(0, 4), std::to_string(record->year));
        }
    }
    std::size_t icons = pe.ids(kIcon).size();
    EXPECT_EQ(listOf(report, "icons").items().size(), icons);
    EXPECT_EQ(report.member("logo") != nullptr, pe.find(kBitmap, 4000) != nullptr);

    // Both targets in the same words: every event and contact, field by field.
    const auto& palmEvents = listOf(fromPrc.report, "events").items();
    ASSERT_EQ(palmEvents.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        for (const char* field : {"id", "title", "date", "weekday", "start", "end", "note"}) {
            const Node* palm = palmEvents[i].member(field);
            const Node* pocketPc = events[i].member(field);
            ASSERT_EQ(palm != nullptr, pocketPc != nullptr) << field;
            if (palm) {
                const auto value = [](const Node* node) {
                    return node->kind() == Node::Kind::Number ? std::to_string(node->numberValue()) : node->textValue();
                };
                EXPECT_EQ(value(palm), value(pocketPc)) << field;
            }
        }
        const Node* palmRepeat = palmEvents[i].member("repeat");
        const Node* pocketPcRepeat = events[i].member("repeat");
        ASSERT_EQ(palmRepeat != nullptr, pocketPcRepeat != nullptr);
        if (palmRepeat) {
            EXPECT_EQ(textOf(*palmRepeat, "words"), textOf(*pocketPcRepeat, "words"));
        }
    }
    const auto& contacts = listOf(report, "contacts").items();
    const auto& palmContacts = listOf(fromPrc.report, "contacts").items();
    ASSERT_EQ(palmContacts.size(), contacts.size());
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        for (const char* field :
             {"name", "lastName", "firstName", "company", "street", "city", "zip", "country", "title", "note"})
            EXPECT_EQ(textOf(contacts[i], field), textOf(palmContacts[i], field)) << field;
    }

    // The cabinet's report carries the executable's package unchanged.
    EXPECT_EQ(listOf(fromCabinet.report, "events").items().size(), events.size());
    EXPECT_EQ(textOf(fromCabinet.report, "welcome"), textOf(report, "welcome"));
}

TEST(PocketPcReportAgreement, ExamplePackage) { expectAgreement(exampleOutputs(), "example"); }

TEST(PocketPcReportAgreement, GeneratedPackage) { expectAgreement(generatedOutputs(), "generated"); }

}  // namespace
}  // namespace skedlin::inspecttest
