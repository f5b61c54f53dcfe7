#pragma once
// The two records of one contact: the Palm address book record (resource
// `Ncnt`, big-endian) and the Pocket PC contact record (RCDATA, a fixed run of
// zero-terminated texts). Filled field by field as the contact is read; texts
// are Windows-1252 with single line feeds.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/records/PackageRecordLayout.h"

namespace skedlin {

// Palm address book phone label numbers, named by the package's `type` words.
enum class PhoneLabel : std::uint8_t {
    Work = SKR_LABEL_WORK,
    Home = SKR_LABEL_HOME,
    Fax = SKR_LABEL_FAX,
    Other = SKR_LABEL_OTHER,
    Email = SKR_LABEL_EMAIL,
    Main = SKR_LABEL_MAIN,
    Pager = SKR_LABEL_PAGER,
    Mobile = SKR_LABEL_MOBILE,
};

// nullopt for a word that is none of the eight.
std::optional<PhoneLabel> phoneLabelOfType(std::string_view type);

// The text fields of a contact, in the order of their flag bits.
enum class ContactText {
    LastName,
    FirstName,
    Company,
    Street,
    City,
    State,
    Zip,
    Country,
    Title,
    Note,
};

inline constexpr std::size_t kMaxContactPhones = SKR_PHONE_COUNT;
// Phone options before any phone is read: phones 1 to 5 labelled work, home,
// fax, other, email; the top byte is fixed.
inline constexpr std::uint32_t kDefaultPhoneOptions = 0xAA043210;

class ContactRecord {
public:
    // An empty text leaves the field out of the Palm record.
    void setText(ContactText field, std::string text);

    // The next phone (at most five; false when five are taken). The number is
    // kept even when empty. The label is the one written to the Palm record;
    // pocketPcSlotOf tells where the Pocket PC record files it.
    bool addPhone(PhoneLabel label, std::string number);
    std::size_t phoneCount() const { return phoneCount_; }

    std::uint32_t phoneOptions() const { return phoneOptions_; }
    std::uint32_t fieldFlags() const;
    // 1 plus the bytes of the last and first name texts with their zero
    // bytes. It is one byte in the record, so names longer than 254 bytes
    // together put a company out of its reach.
    std::size_t companyOffset() const;
    bool companyOffsetFits() const;

    // Bytes of each record, whether or not it fits.
    std::size_t palmRecordSize() const;
    std::size_t pocketPcRecordSize() const;

    // nullopt when the record would pass its buffer or a present company sits
    // beyond the reach of its offset; nothing is cut.
    std::optional<std::vector<std::uint8_t>> palmRecord() const;
    std::optional<std::vector<std::uint8_t>> pocketPcRecord() const;

private:
    enum PocketPcPhone {
        FirstWork,
        SecondWork,
        FirstHome,
        SecondHome,
        MobilePhone,
        PagerPhone,
        FaxPhone,
        FirstEmail,
        SecondEmail,
        PocketPcPhoneCount
    };
    void fileForPocketPc(PhoneLabel label, const std::string& number);
    const std::string& text(ContactText field) const;
    std::vector<const std::string*> pocketPcTexts(const std::string& street, const std::string& note) const;

    std::array<std::string, 10> texts_;
    std::array<std::string, kMaxContactPhones> phones_;
    std::size_t phoneCount_ = 0;
    std::uint32_t phoneOptions_ = kDefaultPhoneOptions;
    std::array<std::string, PocketPcPhoneCount> pocketPcPhones_;
};

}  // namespace skedlin
