#pragma once
// Resource ids shared by the two handheld targets: one id names the same
// content in the Palm database and in the Pocket PC executable (Overview).

#include <cstdint>

namespace skedlin::builder {

// Strings (Palm tSTR, Pocket PC string table).
inline constexpr std::uint16_t kStringPackageTitle = 4000;
inline constexpr std::uint16_t kStringWelcomeDescription = 4001;
inline constexpr std::uint16_t kStringAuthorInfo = 4004;
inline constexpr std::uint16_t kStringNavigation = 4005;
inline constexpr std::uint16_t kStringFirstGroupDescription = 5000;  // + group index
inline constexpr std::uint16_t kStringFirstGroupName = 6000;         // + group index (Pocket PC only)

// Navigation modes (string 4005).
inline constexpr long kNavigationNone = 0;
inline constexpr long kNavigationGroups = 1;
inline constexpr long kNavigationEvents = 2;

// Group names (Palm tSTL).
inline constexpr std::uint16_t kStringListGroupNames = 4000;

// Group tables (Palm wrdl, Pocket PC RCDATA).
inline constexpr std::uint16_t kWordListFirstEventIds = 4000;
inline constexpr std::uint16_t kWordListEventCounts = 4001;
inline constexpr std::uint16_t kWordListFirstContactIndexes = 4002;
inline constexpr std::uint16_t kWordListContactCounts = 4003;
inline constexpr std::uint16_t kWordListContactIndexList = 4004;

// Record ids (Palm Ncnt / Nevt, Pocket PC RCDATA).
inline constexpr std::uint16_t kFirstContactRecordId = 6000;
inline constexpr std::uint16_t kFirstEventId = 7000;

// Launcher and logo.
inline constexpr std::uint16_t kLauncherResourceId = 1000;
inline constexpr std::uint16_t kLogoBitmapId = 4000;
// The Pocket PC template's launcher icon group, whose entries the icons update.
inline constexpr std::uint16_t kPocketPcIconGroup = 128;

}  // namespace skedlin::builder
