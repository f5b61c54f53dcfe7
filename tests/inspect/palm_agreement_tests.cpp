// The report of a built .prc agrees with the tests' own Palm readers: the
// database header, the strings, the group tables, every event and contact
// record, and the bitmap families.

#include <gtest/gtest.h>

#include <cstdio>

#include "inspect_test_support.h"
#include "model/Windows1252.h"
#include "tests/builder/contacts_events_decoders.h"
#include "tests/palm/prc_test_reader.h"

namespace skedlin::inspecttest {
namespace {

using inspect::Node;

std::string dateOf(std::uint16_t palm) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", 1904 + (palm >> 9), (palm >> 5) & 0xF, palm & 0x1F);
    return text;
}

std::string timeOf(std::uint16_t palm) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", palm >> 8, palm & 0xFF);
    return text;
}

std::vector<std::string> stringListOf(const prctest::Resource& resource) {
    std::vector<std::string> texts;
    std::size_t at = 1;  // after the empty prefix
    const std::size_t count = prctest::be16(resource.data, at);
    at += 2;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        while (resource.data.at(at) != 0) text += static_cast<char>(resource.data[at++]);
        ++at;
        texts.push_back(windows1252ToUtf8(text));
    }
    return texts;
}

std::vector<std::uint16_t> wordListOf(const prctest::Database& db, std::uint16_t id) {
    const prctest::Resource* resource = db.find("wrdl", id);
    std::vector<std::uint16_t> values;
    if (!resource) return values;
    for (std::size_t i = 0; i < prctest::be16(resource->data, 0); ++i)
        values.push_back(prctest::be16(resource->data, 2 + 2 * i));
    return values;
}

void expectAgreement(const std::string& path) {
    SCOPED_TRACE(path);
    const auto db = prctest::parseFile(path);
    ASSERT_TRUE(db);
    const inspect::InspectResult result = inspect::inspectFile(path);
    ASSERT_TRUE(result.hasReport) << result.message;
    EXPECT_EQ(result.status, inspect::InspectStatus::Ok);
    const Node& report = result.report;
    EXPECT_TRUE(listOf(report, "problems").items().empty());
    EXPECT_TRUE(listOf(report, "unexpected").items().empty());

    const Node& database = *report.member("database");
    EXPECT_EQ(textOf(database, "name"), windows1252ToUtf8(db->name));
    EXPECT_EQ(textOf(database, "type"), db->type);
    EXPECT_EQ(textOf(database, "creator"), db->creator);
    EXPECT_EQ(numberOf(database, "resources"), static_cast<std::int64_t>(db->resources.size()));
    EXPECT_EQ(textOf(report, "title"), windows1252ToUtf8(*db->text("tSTR", 4000)));
    EXPECT_EQ(textOf(report, "welcome"), windows1252ToUtf8(*db->text("tSTR", 4001)));
    EXPECT_EQ(numberOf(*report.member("navigation"), "level"), std::stol(*db->text("tSTR", 4005)));

    const std::vector<std::string> names = stringListOf(*db->find("tSTL", 4000));
    const auto firstEvents = wordListOf(*db, 4000);
    const auto eventCounts = wordListOf(*db, 4001);
    const auto firstIndexes = wordListOf(*db, 4002);
    const auto contactCounts = wordListOf(*db, 4003);
    const auto indexList = wordListOf(*db, 4004);
    const auto& groups = listOf(report, "groups").items();
    ASSERT_EQ(groups.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(textOf(groups[i], "name"), names[i]);
        EXPECT_EQ(textOf(groups[i], "description"),
                  windows1252ToUtf8(*db->text("tSTR", static_cast<std::uint16_t>(5000 + i))));
        EXPECT_EQ(numberOf(groups[i], "eventCount"), eventCounts.at(i));
        if (eventCounts[i]) {
            EXPECT_EQ(numberOf(groups[i], "firstEventId"), firstEvents.at(i));
        }
        const auto& contactIds = listOf(groups[i], "contactIds").items();
        ASSERT_EQ(contactIds.size(), contactCounts.at(i));
        for (std::size_t k = 0; k < contactIds.size(); ++k)
            EXPECT_EQ(contactIds[k].numberValue(), indexList.at(firstIndexes.at(i) + k));
    }

    std::vector<const prctest::Resource*> eventResources, contactResources;
    for (const auto& resource : db->resources) {
        if (resource.type == "Nevt") eventResources.push_back(&resource);
        if (resource.type == "Ncnt") contactResources.push_back(&resource);
    }
    const auto& events = listOf(report, "events").items();
    ASSERT_EQ(events.size(), eventResources.size());
    ASSERT_FALSE(events.empty());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const auto record = testing::decodeAppointmentRecord(eventResources[i]->data);
        ASSERT_TRUE(record);
        const Node& event = events[i];
        EXPECT_EQ(numberOf(event, "id"), eventResources[i]->id);
        EXPECT_EQ(textOf(event, "title"), windows1252ToUtf8(record->description));
        EXPECT_EQ(textOf(event, "date"), dateOf(record->date));
        if (record->startTime == 0xFFFF) {
            EXPECT_TRUE(event.member("untimed"));
        } else {
            EXPECT_EQ(textOf(event, "start"), timeOf(record->startTime));
            EXPECT_EQ(textOf(event, "end"), timeOf(record->endTime));
        }
        EXPECT_EQ(textOf(event, "note"), record->note ? windows1252ToUtf8(*record->note) : "<absent>");
        const Node* repeat = event.member("repeat");
        ASSERT_EQ(repeat != nullptr, record->repeats);
        if (repeat) {
            EXPECT_EQ(numberOf(*repeat, "type"), record->repeatType);
            EXPECT_EQ(numberOf(*repeat, "frequency"), record->repeatFrequency);
            EXPECT_EQ(numberOf(*repeat, "mask"), record->repeatOn);
            EXPECT_EQ(textOf(*repeat, "until"),
                      record->repeatEndDate == 0xFFFF ? "for ever" : dateOf(record->repeatEndDate));
        }
        const auto& exceptions = listOf(event, "exceptions").items();
        ASSERT_EQ(exceptions.size(), record->exceptions.size());
        for (std::size_t k = 0; k < exceptions.size(); ++k)
            EXPECT_EQ(exceptions[k].textValue(), dateOf(record->exceptions[k]));
    }

    const auto& contacts = listOf(report, "contacts").items();
    ASSERT_EQ(contacts.size(), contactResources.size());
    static const char* const kLabels[] = {"work", "home", "fax", "other", "email", "main", "pager", "mobile"};
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const auto record = testing::decodeAddressRecord(contactResources[i]->data);
        ASSERT_TRUE(record);
        const Node& contact = contacts[i];
        EXPECT_EQ(numberOf(contact, "id"), contactResources[i]->id);
        const auto field = [&](int index) {
            return record->fields[index] ? windows1252ToUtf8(*record->fields[index]) : std::string("<absent>");
        };
        EXPECT_EQ(textOf(contact, "lastName"), field(testing::Name));
        EXPECT_EQ(textOf(contact, "firstName"), field(testing::FirstName));
        EXPECT_EQ(textOf(contact, "company"), field(testing::Company));
        EXPECT_EQ(textOf(contact, "street"), field(testing::Address));
        EXPECT_EQ(textOf(contact, "note"), field(testing::Note));
        std::vector<std::pair<std::string, std::string>> phones;
        for (int phone = 0; phone < 5; ++phone) {
            if (record->fields[testing::Phone1 + phone])
                phones.emplace_back(kLabels[record->phoneLabel(phone) & 7], field(testing::Phone1 + phone));
        }
        const auto& reported = listOf(contact, "phones").items();
        ASSERT_EQ(reported.size(), phones.size());
        for (std::size_t k = 0; k < phones.size(); ++k) {
            EXPECT_EQ(textOf(reported[k], "label"), phones[k].first);
            EXPECT_EQ(textOf(reported[k], "number"), phones[k].second);
        }
    }

    // Bitmap families: the first bitmap's size and depth, straight from its header.
    const auto firstBitmap = [&](const char* type, std::uint16_t id, const Node* family) {
        const prctest::Resource* resource = db->find(type, id);
        ASSERT_EQ(resource != nullptr, family != nullptr) << type << " " << id;
        if (!resource) return;
        ASSERT_FALSE(family->items().empty());
        EXPECT_EQ(numberOf(family->items()[0], "width"), prctest::be16(resource->data, 0));
        EXPECT_EQ(numberOf(family->items()[0], "height"), prctest::be16(resource->data, 2));
        EXPECT_EQ(numberOf(family->items()[0], "depth"), resource->data.at(8));
    };
    firstBitmap("Tbmp", 4000, report.member("logo"));
    firstBitmap("tAIB", 1000, report.member("launcher")->member("icon"));
    EXPECT_EQ(textOf(*report.member("launcher"), "name"), windows1252ToUtf8(*db->text("tAIN", 1000)));
}

TEST(PalmReportAgreement, ExamplePackage) { expectAgreement(exampleOutputs().prc); }

TEST(PalmReportAgreement, GeneratedPackageWithRepeatsExceptionsAndEveryPhoneLabel) {
    expectAgreement(generatedOutputs().prc);
}

}  // namespace
}  // namespace skedlin::inspecttest
