#include "builder/ContactsReader.h"

#include <cstdio>

#include "builder/ContactRecord.h"
#include "builder/PackageDateTime.h"
#include "builder/RecordLimits.h"
#include "builder/RecordMessages.h"
#include "builder/RecordText.h"
#include "formats/prc/PalmResourceTypes.h"
#include "model/Windows1252.h"

namespace skedlin::builder {
namespace {

constexpr std::string_view kContactElement = "contact";
constexpr std::string_view kIdAttribute = "id";
constexpr std::string_view kPhoneNumbersElement = "phone-numbers";
constexpr std::string_view kPhoneNumberElement = "phone-number";
constexpr std::string_view kTypeAttribute = "type";
// An unknown phone type keeps its number on the Palm under the neutral label.
constexpr PhoneLabel kUnknownPhoneTypeLabel = PhoneLabel::Other;

struct TextElement {
    std::string_view element;
    ContactText field;
};

// The order in which a contact's texts are read.
constexpr TextElement kTextElements[] = {
    {"last-name", ContactText::LastName}, {"first-name", ContactText::FirstName}, {"title", ContactText::Title},
    {"company", ContactText::Company},    {"street", ContactText::Street},        {"city", ContactText::City},
    {"state", ContactText::State},        {"country", ContactText::Country},      {"zip", ContactText::Zip},
    {"contact-note", ContactText::Note},
};

BuildResult readPhones(PackageBuilder& builder, const xml::Element& phones, std::string_view owner,
                       ContactRecord& record) {
    for (xml::Element phone = phones.firstChildElement(); phone && record.phoneCount() < kMaxContactPhones;
         phone = phone.nextSiblingElement()) {
        if (phone.name() != kPhoneNumberElement) continue;
        const auto type = phone.attribute(kTypeAttribute);
        if (!type) return PackageBuilder::missingAttribute(kTypeAttribute, phone);
        auto label = phoneLabelOfType(*type);
        if (!label) {
            builder.warn(unknownPhoneTypeWarning(PackageBuilder::ansi(*type), owner));
            label = kUnknownPhoneTypeLabel;
        }
        record.addPhone(*label, recordText(builder, phone.text(), "<phone-number>", owner));
    }
    return BuildResult::success();
}

BuildResult readContact(PackageBuilder& builder, const xml::Element& contact) {
    const auto idText = contact.attribute(kIdAttribute);
    if (!idText) return PackageBuilder::missingAttribute(kIdAttribute, contact);
    const long id = leadingInteger(*idText);
    if (!builder.registerContactId(id)) {
        return BuildResult(kExitDuplicateContactId, "");
    }

    const std::string warningOwner = "contact " + PackageBuilder::ansi(*idText);
    ContactRecord record;
    for (const auto& [element, field] : kTextElements) {
        if (auto text = recordChildText(builder, contact, element, warningOwner))
            record.setText(field, std::move(*text));
    }
    if (const xml::Element phones = contact.firstChild(kPhoneNumbersElement)) {
        if (BuildResult result = readPhones(builder, phones, warningOwner, record); !result.ok()) return result;
    }

    const std::string owner =
        contactName(PackageBuilder::ansi(*idText), PackageBuilder::ansi(contact.childText("last-name").value_or("")),
                    PackageBuilder::ansi(contact.childText("first-name").value_or("")));
    if (!record.companyOffsetFits()) {
        return BuildResult(kExitRecordLimit, companyOutOfReachMessage(owner, record.companyOffset()));
    }
    const auto palmRecord = record.palmRecord();
    if (!palmRecord) {
        return BuildResult(kExitRecordLimit,
                           recordTooLongMessage(owner, "Palm", record.palmRecordSize(), kPalmRecordCapacity));
    }
    const auto pocketPcRecord = record.pocketPcRecord();
    if (!pocketPcRecord) {
        return BuildResult(kExitRecordLimit, recordTooLongMessage(owner, "Pocket PC", record.pocketPcRecordSize(),
                                                                  kPocketPcRecordCapacity));
    }
    builder.addContactRecords(*palmRecord, *pocketPcRecord);
    return BuildResult::success();
}

}  // namespace

BuildResult readContacts(PackageBuilder& builder, const xml::Element& contacts) {
    // Contact record ids must stay below the first event id.
    std::size_t count = 0;
    for (xml::Element child = contacts.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() == kContactElement) ++count;
    }
    if (count > kMaxContacts) {
        return BuildResult(kExitRecordLimit, tooManyMessage("contacts", count, kMaxContacts));
    }
    for (xml::Element child = contacts.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (child.name() != kContactElement) continue;
        if (BuildResult result = readContact(builder, child); !result.ok()) return result;
    }
    return BuildResult::success();
}

}  // namespace skedlin::builder
