#pragma once
// The event and contact records of the Pocket PC package (raw data resources
// 7000 upwards and 6000 upwards), decoded. Each decoder reads only inside the
// record and says in words what is wrong with one that does not decode.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/inspect/PackageContent.h"

namespace skedlin::inspect {

std::optional<EventEntry> decodePocketPcEvent(std::span<const std::uint8_t> record, std::string* problem);
std::optional<ContactEntry> decodePocketPcContact(std::span<const std::uint8_t> record, std::string* problem);

}  // namespace skedlin::inspect
