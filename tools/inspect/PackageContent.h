#pragma once
// The content of a calendar package as both handheld targets carry it, read
// back from a built package: texts, group tables, events and contacts. Texts
// are UTF-8 with single line feeds, whichever code page and line ends the
// target stores. The readers of each target fill it; describePackage turns it
// into words.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builder/RepeatRule.h"

namespace skedlin::inspect {

struct DayDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct ClockTime {
    int hours = 0;
    int minutes = 0;
};

struct EventRepeatInfo {
    RepeatType type = RepeatType::None;
    unsigned frequency = 0;
    std::uint8_t mask = 0;         // weekdays (weekly) or week x 7 + weekday (month by day)
    std::optional<DayDate> until;  // absent: for ever
};

struct EventEntry {
    DayDate date;
    std::optional<ClockTime> start;  // both absent: untimed
    std::optional<ClockTime> end;
    std::optional<EventRepeatInfo> repeat;
    std::vector<DayDate> exceptions;
    std::string title;
    std::string note;
};

struct PhoneEntry {
    std::string label;  // "work", "home", ...
    std::string number;
};

struct ContactEntry {
    // Present text fields in record order: name ("lastName", ...) and text.
    std::vector<std::pair<std::string, std::string>> fields;
    std::vector<PhoneEntry> phones;
};

// The five group tables, in id order from the first one.
enum GroupTable : std::size_t {
    kFirstEventIds = 0,
    kEventCounts = 1,
    kFirstContactIndexes = 2,
    kContactCounts = 3,
    kContactIndexList = 4,
    kGroupTableCount = 5,
};

struct PackageContent {
    std::optional<std::string> title;
    std::optional<std::string> welcome;
    std::optional<std::string> author;
    std::optional<std::string> navigation;  // the number as stored
    std::optional<std::vector<std::string>> groupNames;
    std::map<std::uint16_t, std::string> groupDescriptions;  // by string id
    std::array<std::optional<std::vector<std::uint16_t>>, kGroupTableCount> groupTables;
    // Tables that are there but do not decode (already reported by the reader).
    std::array<bool, kGroupTableCount> groupTableDamaged{};
    std::map<std::uint16_t, EventEntry> events;      // by record id
    std::map<std::uint16_t, ContactEntry> contacts;  // by record id
};

// What the readers noticed: damage (a record that does not decode, tables
// that disagree) and resources that belong to neither the viewer nor the
// package.
struct Findings {
    std::vector<std::string> problems;
    std::vector<std::string> unexpected;
};

}  // namespace skedlin::inspect
