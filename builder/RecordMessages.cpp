#include "builder/RecordMessages.h"

#include "builder/PackageDateTime.h"

namespace skedlin::builder {

std::string unrepresentableTextWarning(std::string_view what, std::string_view owner) {
    return "Warning: " + std::string(what) + " of " + std::string(owner) +
           " holds characters that the handhelds cannot show; each became \"?\".";
}

std::string unknownPhoneTypeWarning(std::string_view type, std::string_view owner) {
    return "Warning: unknown phone type \"" + std::string(type) + "\" in " + std::string(owner) +
           "; the number is labelled \"other\".";
}

std::string contactName(std::string_view xmlId, std::string_view lastName, std::string_view firstName) {
    std::string name = "contact " + std::string(xmlId);
    if (!lastName.empty() || !firstName.empty()) {
        std::string full(lastName);
        if (!lastName.empty() && !firstName.empty()) full += ", ";
        full += firstName;
        name += " (" + full + ")";
    }
    return name;
}

std::string eventName(std::string_view title, std::string_view dateText) {
    std::string name = "event \"" + std::string(title.substr(0, 60)) + (title.size() > 60 ? "...\"" : "\"");
    if (!dateText.empty()) name += " on " + std::string(dateText);
    return name;
}

std::string groupName(std::string_view name) {
    return "group \"" + std::string(name.substr(0, 60)) + (name.size() > 60 ? "...\"" : "\"");
}

std::string recordTooLongMessage(std::string_view owner, std::string_view handheld, std::size_t bytes,
                                 std::size_t limit) {
    return "The texts of " + std::string(owner) + " are too long: its " + std::string(handheld) +
           " record would take " + std::to_string(bytes) + " bytes, more than the " + std::to_string(limit) +
           " it can hold. Shorten them and build again.";
}

std::string companyOutOfReachMessage(std::string_view owner, std::size_t offset) {
    return "The last and first name of " + std::string(owner) + " are too long together (" +
           std::to_string(offset - 1) +
           " bytes with their terminators, at most 254) for a Palm handheld "
           "to find the company behind them. Shorten them and build again.";
}

std::string tooManyMessage(std::string_view what, std::size_t count, std::size_t limit) {
    return "The package has " + std::to_string(count) + " " + std::string(what) + "; at most " + std::to_string(limit) +
           " fit the handheld records.";
}

std::string tooManyContactIdsMessage(std::string_view groupOwner, std::size_t limit) {
    return "The groups list more than " + std::to_string(limit) + " contact ids together (" + std::string(groupOwner) +
           " passes that number); the handheld group tables cannot hold more.";
}

std::string groupNamesTooLongMessage(std::string_view owner, std::size_t limit) {
    return "The group names are too long together: with " + std::string(owner) + " they pass the " +
           std::to_string(limit) + " bytes of the group list.";
}

std::string dayOutOfRangeMessage(std::string_view dateText, long day) {
    return fillMessage(kMsgInvalidDate, dateText) + " (the day count " + std::to_string(day) +
           " lies outside the years " + std::to_string(kFirstPalmYear) + " to " + std::to_string(kLastPalmYear) +
           " that a Palm handheld can hold)";
}

std::string badFrequencyMessage(std::string_view frequency, std::string_view owner) {
    return "Invalid frequency \"" + std::string(frequency) + "\" of <repeating-event> in " + std::string(owner) +
           ": it must be a number from 1 to 255.";
}

}  // namespace skedlin::builder
