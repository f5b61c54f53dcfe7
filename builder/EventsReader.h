#pragma once
// Reading the events and contact ids of one group: each event becomes a Palm
// `Nevt` record and a Pocket PC event record under the next event id, each
// contact id an entry of the shared contact index list.

#include <string_view>

#include "builder/PackageBuilder.h"

namespace skedlin::builder {

// Opens the group's entry in the group tables, then reads its `events` and
// `contact-ids`. Fails with code 8, 9, 11, or the code of a missing or out-of-range item.
BuildResult readGroupEventsAndContacts(PackageBuilder& builder, const xml::Element& group, std::string_view groupOwner);

// One `event`. Fails with code 8, 9, or the code of a missing or out-of-range item. On
// failure nothing is added and the event id counter stays.
BuildResult readEvent(PackageBuilder& builder, const xml::Element& event);

}  // namespace skedlin::builder
