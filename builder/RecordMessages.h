#pragma once
// Messages of the contact, event and group readers that go beyond the builder's
// string table: warnings on standard output, and the refusals of packages that
// pass a handheld record limit. Every refusal names what it refuses.

#include <cstddef>
#include <string>
#include <string_view>

#include "builder/BuilderMessages.h"

namespace skedlin::builder {

// A package that passes a limit of the handheld records (a text too long for its
// record, too many contacts, events or groups) is refused with the published
// code of "string length limits": the build stops and writes nothing.
inline constexpr ExitCode kExitRecordLimit = kExitNonFatal;

// A value the format defines but that is out of range (a frequency of 0, a
// `day` count past what the handhelds hold) is refused like a file that does
// not validate.
inline constexpr ExitCode kExitInvalidValue = kExitXmlParser;

// Standard output, one line each.
// what: "<last-name>", "the name".
std::string unrepresentableTextWarning(std::string_view what, std::string_view owner);
std::string unknownPhoneTypeWarning(std::string_view type, std::string_view owner);

// How a contact, an event and a group are named in messages.
std::string contactName(std::string_view xmlId, std::string_view lastName, std::string_view firstName);
std::string eventName(std::string_view title, std::string_view dateText);
std::string groupName(std::string_view name);

std::string recordTooLongMessage(std::string_view owner, std::string_view handheld, std::size_t bytes,
                                 std::size_t limit);
std::string companyOutOfReachMessage(std::string_view owner, std::size_t offset);
std::string tooManyMessage(std::string_view what, std::size_t count, std::size_t limit);
std::string tooManyContactIdsMessage(std::string_view groupOwner, std::size_t limit);
std::string groupNamesTooLongMessage(std::string_view owner, std::size_t limit);
std::string dayOutOfRangeMessage(std::string_view dateText, long day);
std::string badFrequencyMessage(std::string_view frequency, std::string_view owner);

}  // namespace skedlin::builder
