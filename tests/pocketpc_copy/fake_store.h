// A recording stand-in for the handheld's calendar and contact store and for
// the system functions the copy calls: COM objects whose vtables record every
// call with its decoded arguments, strings, and an in-memory registry.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

extern "C" {
#include "poom_call.h"
}

namespace fake {

enum class Kind { App, Item, Appointment, Contact, Pattern };

struct Object;

struct Call {
    std::string object;  // "app", "appointment1", "pattern2", ...
    std::string method;  // "put_Subject", ...
    std::string value;   // the decoded argument, if any
};

// One item as it was when Save was called: property name -> decoded value.
struct SavedItem {
    std::string name;
    std::map<std::string, std::string> properties;
    std::vector<std::string> deletedOccurrences;  // DATE values as text
};

class Store {
public:
    static Store& instance();
    void reset();

    // Calls that fail with E_FAIL, as "object kind.method" ("Contact.Save"),
    // or a system function name ("CoCreateInstance").
    std::set<std::string> failing;
    // Days (DATE integer parts) on which GetOccurrence finds no occurrence.
    std::set<long> noOccurrence;

    std::vector<Call> calls;
    std::vector<SavedItem> saved;              // in order of their last Save
    std::vector<std::string> deleted;          // items deleted after saving
    std::map<std::string, uint32_t> registry;  // "key\\value" -> DWORD
    int comInitialized = 0;
    int liveStrings = 0;

    Object* make(Kind kind, const std::string& name);
    int liveObjects() const;
    std::string callText() const;  // every call, one per line
    const SavedItem* savedItem(const std::string& name) const;

    poom_result dispatch(Object* self, int slot, uintptr_t a, uintptr_t b, uintptr_t c);

private:
    std::vector<std::unique_ptr<Object>> objects_;
    int counter_ = 0;
};

// A DATE as the copy passes it, back to the double it stands for.
double dateValue(uint32_t low, uint32_t high);
// "2026-12-08 09:30" for a DATE.
std::string dateText(double date);

}  // namespace fake
