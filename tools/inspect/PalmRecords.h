#pragma once
// The event (Nevt) and contact (Ncnt) records of the Palm package, decoded.
// Each decoder reads only inside the record and says in words what is wrong
// with one that does not decode.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/inspect/PackageContent.h"

namespace skedlin::inspect {

// nullopt (with the reason in *problem) when the record does not decode.
std::optional<EventEntry> decodePalmEvent(std::span<const std::uint8_t> record, std::string* problem);
std::optional<ContactEntry> decodePalmContact(std::span<const std::uint8_t> record, std::string* problem);

// A 16-bit Palm date: year from 1904 in the top seven bits, month, day.
DayDate palmDayDate(std::uint16_t value);

}  // namespace skedlin::inspect
