#include "builder/ContactRecord.h"

#include "formats/Bytes.h"
#include "formats/LineEnds.h"
#include "builder/RecordLimits.h"

#include <algorithm>
#include <utility>

namespace skedlin {
namespace {

using bytes::Bytes;
using bytes::ByteWriter;

// Flag bits of the Palm contact record: the fields in ContactText order, the
// five phones from bit 3, the note alone at bit 18.
constexpr std::uint32_t kLastNameFlag = 1u << SKR_FIELD_LAST_NAME;
constexpr std::uint32_t kFirstNameFlag = 1u << SKR_FIELD_FIRST_NAME;
constexpr std::uint32_t kCompanyFlag = 1u << SKR_FIELD_COMPANY;
constexpr int kFirstPhoneFlagBit = SKR_FIELD_PHONE1;
constexpr std::uint32_t kStreetFlag = 1u << SKR_FIELD_STREET;
constexpr std::uint32_t kCityFlag = 1u << SKR_FIELD_CITY;
constexpr std::uint32_t kStateFlag = 1u << SKR_FIELD_STATE;
constexpr std::uint32_t kZipFlag = 1u << SKR_FIELD_ZIP;
constexpr std::uint32_t kCountryFlag = 1u << SKR_FIELD_COUNTRY;
constexpr std::uint32_t kTitleFlag = 1u << SKR_FIELD_TITLE;
constexpr std::uint32_t kNoteFlag = 1u << SKR_FIELD_NOTE;

constexpr int kPhoneLabelBits = SKR_PHONE_LABEL_BITS;
constexpr std::uint32_t kPhoneLabelMask = SKR_PHONE_LABEL_MASK;
constexpr std::uint8_t kMaxCompanyOffset = 0xFF;

// Phone options, flags, company offset.
constexpr std::size_t kPalmContactHeaderSize = SKR_PALM_CONTACT_HEADER_SIZE;
// Nineteen texts with their zero bytes and the flag byte.
constexpr std::size_t kPocketPcContactFixedSize = SKR_PPC_CONTACT_FIXED_SIZE;

struct TextField {
    ContactText field;
    std::uint32_t flag;
};

// The order of the texts in the Palm record (the phones go after the company).
constexpr TextField kNamesAndCompany[] = {
    {ContactText::LastName, kLastNameFlag},
    {ContactText::FirstName, kFirstNameFlag},
    {ContactText::Company, kCompanyFlag},
};
constexpr TextField kAddressAndRest[] = {
    {ContactText::Street, kStreetFlag}, {ContactText::City, kCityFlag},       {ContactText::State, kStateFlag},
    {ContactText::Zip, kZipFlag},       {ContactText::Country, kCountryFlag}, {ContactText::Title, kTitleFlag},
    {ContactText::Note, kNoteFlag},
};

}  // namespace

std::optional<PhoneLabel> phoneLabelOfType(std::string_view type) {
    static constexpr std::pair<std::string_view, PhoneLabel> kTypes[] = {
        {"work", PhoneLabel::Work},   {"home", PhoneLabel::Home},     {"fax", PhoneLabel::Fax},
        {"other", PhoneLabel::Other}, {"email", PhoneLabel::Email},   {"main", PhoneLabel::Main},
        {"pager", PhoneLabel::Pager}, {"mobile", PhoneLabel::Mobile},
    };
    for (const auto& [word, label] : kTypes) {
        if (type == word) return label;
    }
    return std::nullopt;
}

void ContactRecord::setText(ContactText field, std::string text) {
    texts_[static_cast<std::size_t>(field)] = std::move(text);
}

const std::string& ContactRecord::text(ContactText field) const { return texts_[static_cast<std::size_t>(field)]; }

bool ContactRecord::addPhone(PhoneLabel label, std::string number) {
    if (phoneCount_ >= kMaxContactPhones) return false;
    const int shift = static_cast<int>(phoneCount_) * kPhoneLabelBits;
    phoneOptions_ = (phoneOptions_ & ~(kPhoneLabelMask << shift)) | (static_cast<std::uint32_t>(label) << shift);
    fileForPocketPc(label, number);
    phones_[phoneCount_++] = std::move(number);
    return true;
}

void ContactRecord::fileForPocketPc(PhoneLabel label, const std::string& number) {
    // Work, home and e-mail have two fields: the first keeps the first number,
    // the second the latest of the others. Other and main have no field.
    const auto fileTwice = [&](PocketPcPhone first, PocketPcPhone second) {
        pocketPcPhones_[pocketPcPhones_[first].empty() ? first : second] = number;
    };
    switch (label) {
    case PhoneLabel::Work: fileTwice(FirstWork, SecondWork); break;
    case PhoneLabel::Home: fileTwice(FirstHome, SecondHome); break;
    case PhoneLabel::Email: fileTwice(FirstEmail, SecondEmail); break;
    case PhoneLabel::Fax: pocketPcPhones_[FaxPhone] = number; break;
    case PhoneLabel::Pager: pocketPcPhones_[PagerPhone] = number; break;
    case PhoneLabel::Mobile: pocketPcPhones_[MobilePhone] = number; break;
    case PhoneLabel::Other:
    case PhoneLabel::Main: break;
    }
}

std::uint32_t ContactRecord::fieldFlags() const {
    std::uint32_t flags = 0;
    for (const auto& [field, flag] : kNamesAndCompany) {
        if (!text(field).empty()) flags |= flag;
    }
    for (std::size_t phone = 0; phone < phoneCount_; ++phone) {
        flags |= 1u << (kFirstPhoneFlagBit + phone);
    }
    for (const auto& [field, flag] : kAddressAndRest) {
        if (!text(field).empty()) flags |= flag;
    }
    return flags;
}

std::size_t ContactRecord::companyOffset() const {
    std::size_t offset = 1;
    for (ContactText field : {ContactText::LastName, ContactText::FirstName}) {
        if (!text(field).empty()) offset += text(field).size() + 1;
    }
    return offset;
}

bool ContactRecord::companyOffsetFits() const {
    return text(ContactText::Company).empty() || companyOffset() <= kMaxCompanyOffset;
}

std::size_t ContactRecord::palmRecordSize() const {
    std::size_t size = kPalmContactHeaderSize;
    for (const std::string& t : texts_) {
        if (!t.empty()) size += t.size() + 1;
    }
    for (std::size_t phone = 0; phone < phoneCount_; ++phone) size += phones_[phone].size() + 1;
    return size;
}

std::optional<std::vector<std::uint8_t>> ContactRecord::palmRecord() const {
    const std::size_t size = palmRecordSize();
    if (size > kPalmRecordCapacity || !companyOffsetFits()) return std::nullopt;

    Bytes out;
    out.reserve(size);
    ByteWriter(out).put32be(phoneOptions_);
    ByteWriter(out).put32be(fieldFlags());
    // Without a company the byte is not looked at; keep it in range anyway.
    ByteWriter(out).put8(static_cast<std::uint8_t>(std::min<std::size_t>(companyOffset(), kMaxCompanyOffset)));
    for (const auto& [field, flag] : kNamesAndCompany) {
        if (!text(field).empty()) ByteWriter(out).putText(text(field));
    }
    for (std::size_t phone = 0; phone < phoneCount_; ++phone) ByteWriter(out).putText(phones_[phone]);
    for (const auto& [field, flag] : kAddressAndRest) {
        if (!text(field).empty()) ByteWriter(out).putText(text(field));
    }
    return out;
}

// The nineteen texts in record order; null stands for the flag byte.
std::vector<const std::string*> ContactRecord::pocketPcTexts(const std::string& street, const std::string& note) const {
    return {
        &text(ContactText::LastName),
        &text(ContactText::FirstName),
        &text(ContactText::Title),
        &text(ContactText::Company),
        nullptr,
        &street,
        &text(ContactText::City),
        &text(ContactText::State),
        &text(ContactText::Zip),
        &text(ContactText::Country),
        &pocketPcPhones_[FirstWork],
        &pocketPcPhones_[SecondWork],
        &pocketPcPhones_[FirstHome],
        &pocketPcPhones_[SecondHome],
        &pocketPcPhones_[MobilePhone],
        &pocketPcPhones_[PagerPhone],
        &pocketPcPhones_[FaxPhone],
        &pocketPcPhones_[FirstEmail],
        &pocketPcPhones_[SecondEmail],
        &note,
    };
}

std::size_t ContactRecord::pocketPcRecordSize() const {
    const std::string street = withCrLf(text(ContactText::Street));
    const std::string note = withCrLf(text(ContactText::Note));
    std::size_t size = kPocketPcContactFixedSize;
    for (const std::string* field : pocketPcTexts(street, note)) {
        if (field) size += field->size();
    }
    return size;
}

std::optional<std::vector<std::uint8_t>> ContactRecord::pocketPcRecord() const {
    const std::size_t size = pocketPcRecordSize();
    if (size > kPocketPcRecordCapacity) return std::nullopt;

    const std::string street = withCrLf(text(ContactText::Street));
    const std::string note = withCrLf(text(ContactText::Note));
    // The flag byte tells the viewer that the contact has a company or a work phone.
    const bool business = !text(ContactText::Company).empty() || !pocketPcPhones_[FirstWork].empty();
    Bytes out;
    out.reserve(size);
    for (const std::string* field : pocketPcTexts(street, note)) {
        if (field) {
            ByteWriter(out).putText(*field);
        } else {
            ByteWriter(out).put8(business ? 1 : 0);
        }
    }
    return out;
}

}  // namespace skedlin
