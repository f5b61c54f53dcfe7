#pragma once
// Every Palm resource type the builder reads or writes, and the template's own
// resources it replaces. Ids shared with the Pocket PC target are the
// builder's own.

#include <cstdint>

#include "formats/prc/PalmResource.h"

namespace skedlin::palm {

inline constexpr std::uint32_t kTypeString = fourCharCode("tSTR");       // text and zero byte
inline constexpr std::uint32_t kTypeStringList = fourCharCode("tSTL");   // prefix, count, texts
inline constexpr std::uint32_t kTypeWordList = fourCharCode("wrdl");     // count, 16-bit values
inline constexpr std::uint32_t kTypeAppName = fourCharCode("tAIN");      // launcher name
inline constexpr std::uint32_t kTypeAppIcon = fourCharCode("tAIB");      // launcher icon family
inline constexpr std::uint32_t kTypeBitmap = fourCharCode("Tbmp");       // bitmap family
inline constexpr std::uint32_t kTypeContact = fourCharCode("Ncnt");      // contact record
inline constexpr std::uint32_t kTypeEvent = fourCharCode("Nevt");        // event record
inline constexpr std::uint32_t kTypeCode = fourCharCode("code");         // 68k code segments
inline constexpr std::uint32_t kTypeData = fourCharCode("data");         // initialised globals
inline constexpr std::uint32_t kTypePreferences = fourCharCode("pref");  // launch preferences
inline constexpr std::uint32_t kTypeVersion = fourCharCode("tver");      // version text

inline constexpr std::uint32_t kDatabaseTypeApplication = fourCharCode("appl");
inline constexpr std::uint32_t kViewerCreator = fourCharCode("SKL0");

inline constexpr std::uint16_t kLauncherNameId = 1000;  // tAIN 1000
inline constexpr std::uint16_t kLauncherIconId = 1000;  // tAIB 1000
inline constexpr std::uint16_t kSmallIconId = 1001;     // tAIB 1001, the list view's icon

}  // namespace skedlin::palm
