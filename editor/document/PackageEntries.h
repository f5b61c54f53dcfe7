#pragma once
// The entries a calendar package document holds by value: image references,
// events, contacts and groups. Texts are Unicode; multi-line texts use line
// feeds ("\n") only (the writer drops any carriage return).

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

#include "editor/document/DateTimeValue.h"

namespace skedlin {

// Transparent colour of an image: -1 for none, otherwise a colour reference
// value (red in bits 0-7, green in bits 8-15, blue in bits 16-23).
constexpr std::int32_t kNoTransparentColor = -1;

struct ImageReference {
    QString path;  // absolute as the user chose it (see the reader for relative paths)
    std::int32_t transparentColor = kNoTransparentColor;
    // Empty for a file path. A file may instead carry the bitmap inline (its
    // `data` attribute other than "filename"): then this holds that attribute
    // and path holds the inline text, both kept so that saving loses nothing.
    QString inlineDataKind;

    bool isInline() const { return !inlineDataKind.isEmpty(); }
    friend bool operator==(const ImageReference& a, const ImageReference& b) {
        return a.path == b.path && a.transparentColor == b.transparentColor && a.inlineDataKind == b.inlineDataKind;
    }
    friend bool operator!=(const ImageReference& a, const ImageReference& b) { return !(a == b); }
};
using ImageList = QList<ImageReference>;

// Navigation levels of the package (attribute `navigation`).
enum NavigationLevel : std::int32_t {
    kNavigationNone = 0,    // "none": the entire package must be added
    kNavigationGroups = 1,  // "groups"
    kNavigationEvents = 2,  // "events"
};

enum RepeatType : std::uint8_t {
    kRepeatNone = 0,
    kRepeatDaily = 1,
    kRepeatWeekly = 2,
    kRepeatMonthByDay = 3,
    kRepeatMonthByDate = 4,
    kRepeatYearly = 5,
};
// "daily", "weekly", ...; an empty text for kRepeatNone or an unknown type.
QString repeatTypeName(int repeatType);
// The repeat type of a name, or kRepeatNone when the name is none of the five.
int repeatTypeFromName(const QString& name);

struct EventEntry {
    QString title;
    QString note;
    DateTimeValue date;       // the day; a time of day left by an importer is compared by the sort only
    std::uint8_t allDay = 1;  // 1: no times
    DateTimeValue startTime;  // only the time of day is written
    DateTimeValue endTime;
    std::uint8_t repeatType = kRepeatNone;
    std::uint8_t frequency = 1;     // every n days, weeks, months or years
    DateTimeValue repeatEndDate;    // zero: repeats for ever
    std::uint8_t repeatOnMask = 0;  // weekly: bit n for weekday n, Sunday = bit 0
    QList<DateTimeValue> exceptionDates;
    QString groupName;

    bool operator==(const EventEntry&) const = default;
};

enum PhoneType : std::int32_t {
    kPhoneWork = 0,
    kPhoneHome = 1,
    kPhoneFax = 2,
    kPhoneOther = 3,
    kPhoneEmail = 4,
    kPhoneMain = 5,
    kPhonePager = 6,
    kPhoneMobile = 7,
};
constexpr int kPhoneSlotCount = 5;
// The slot types of a new contact: work, home, mobile, email, other.
constexpr std::array<std::int32_t, kPhoneSlotCount> kDefaultPhoneTypes = {kPhoneWork, kPhoneHome, kPhoneMobile,
                                                                          kPhoneEmail, kPhoneOther};
// "work", "home", ...; a type outside 0 to 7 gives "work".
QString phoneTypeName(int phoneType);
// The type of a name, or -1 when it is none of the eight.
int phoneTypeFromName(const QString& name);

struct ContactEntry {
    std::int32_t id = 0;
    QString firstName;
    QString lastName;
    QString title;
    QString company;
    QString street;
    QString city;
    QString state;
    QString country;
    QString zip;
    QString note;
    std::array<QString, kPhoneSlotCount> phoneNumbers;
    std::array<std::int32_t, kPhoneSlotCount> phoneTypes = kDefaultPhoneTypes;
    std::int32_t phoneCount = 0;  // slots filled by reading or importing
    QStringList memberGroups;     // group names, in order; a name may repeat

    bool isMemberOf(const QString& groupName) const { return memberGroups.contains(groupName); }
    bool operator==(const ContactEntry&) const = default;
};

struct GroupEntry {
    QString name;
    QString description;
    // Empty except while the groups page renames the group: then the name the
    // group had before its first rename.
    QString previousName;

    // Renaming remembers the first old name so the rename can be carried into
    // events and contacts later (CSkedlinDoc::setGroupList).
    void rename(const QString& newName) {
        if (previousName.isEmpty()) previousName = name;
        name = newName;
    }
    // Equal when name and description are equal.
    friend bool operator==(const GroupEntry& a, const GroupEntry& b) {
        return a.name == b.name && a.description == b.description;
    }
    friend bool operator!=(const GroupEntry& a, const GroupEntry& b) { return !(a == b); }
};

}  // namespace skedlin
