#include "fake_store.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

extern "C" {
#include "ppc_system.h"
}

namespace fake {
namespace {

constexpr poom_result kFail = static_cast<poom_result>(0x80004005u);
constexpr poom_result kNoInterface = static_cast<poom_result>(0x80004002u);
constexpr poom_result kClassNotRegistered = static_cast<poom_result>(0x80040154u);
constexpr int kSlots = 120;

enum class Arg { None, Text, Long, Bool, Date, Out, Guid };

struct Method {
    const char* name;
    Arg arg;
};

// The methods the stand-in knows, by object kind and vtable slot; the slots
// are the production header's, so a wrong slot there shows up as an unknown
// method here.
const std::map<int, Method>& methods(Kind kind) {
    static const std::map<int, Method> unknown = {{POOM_UNKNOWN_QUERY_INTERFACE, {"QueryInterface", Arg::Guid}},
                                                  {POOM_UNKNOWN_ADD_REF, {"AddRef", Arg::None}},
                                                  {POOM_UNKNOWN_RELEASE, {"Release", Arg::None}}};
    static const std::map<int, Method> app = [] {
        auto m = unknown;
        m.insert({{POOM_APP_LOGON, {"Logon", Arg::Long}},
                  {POOM_APP_LOGOFF, {"Logoff", Arg::None}},
                  {POOM_APP_CREATE_ITEM, {"CreateItem", Arg::Long}}});
        return m;
    }();
    static const std::map<int, Method> appointment = [] {
        auto m = unknown;
        m.insert({{POOM_APPOINTMENT_GET_RECURRENCE_PATTERN, {"GetRecurrencePattern", Arg::Out}},
                  {POOM_APPOINTMENT_PUT_SUBJECT, {"Subject", Arg::Text}},
                  {POOM_APPOINTMENT_PUT_START, {"Start", Arg::Date}},
                  {POOM_APPOINTMENT_PUT_END, {"End", Arg::Date}},
                  {POOM_APPOINTMENT_PUT_ALL_DAY_EVENT, {"AllDayEvent", Arg::Bool}},
                  {POOM_APPOINTMENT_PUT_BODY, {"Body", Arg::Text}},
                  {POOM_APPOINTMENT_PUT_REMINDER_SET, {"ReminderSet", Arg::Bool}},
                  {POOM_APPOINTMENT_SAVE, {"Save", Arg::None}},
                  {POOM_APPOINTMENT_DELETE, {"Delete", Arg::None}}});
        return m;
    }();
    static const std::map<int, Method> pattern = [] {
        auto m = unknown;
        m.insert({{POOM_RECURRENCE_PUT_RECURRENCE_TYPE, {"RecurrenceType", Arg::Long}},
                  {POOM_RECURRENCE_PUT_PATTERN_END_DATE, {"PatternEndDate", Arg::Date}},
                  {POOM_RECURRENCE_PUT_NO_END_DATE, {"NoEndDate", Arg::Bool}},
                  {POOM_RECURRENCE_PUT_INTERVAL, {"Interval", Arg::Long}},
                  {POOM_RECURRENCE_PUT_DAY_OF_WEEK_MASK, {"DayOfWeekMask", Arg::Long}},
                  {POOM_RECURRENCE_PUT_DAY_OF_MONTH, {"DayOfMonth", Arg::Long}},
                  {POOM_RECURRENCE_PUT_INSTANCE, {"Instance", Arg::Long}},
                  {POOM_RECURRENCE_PUT_MONTH_OF_YEAR, {"MonthOfYear", Arg::Long}},
                  {POOM_RECURRENCE_GET_OCCURRENCE, {"GetOccurrence", Arg::Date}}});
        return m;
    }();
    static const std::map<int, Method> contact = [] {
        auto m = unknown;
        m.insert({{POOM_CONTACT_PUT_BUSINESS_FAX_NUMBER, {"BusinessFaxNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_COMPANY_NAME, {"CompanyName", Arg::Text}},
                  {POOM_CONTACT_PUT_EMAIL1_ADDRESS, {"Email1Address", Arg::Text}},
                  {POOM_CONTACT_PUT_MOBILE_TELEPHONE_NUMBER, {"MobileTelephoneNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_PAGER_NUMBER, {"PagerNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_TELEPHONE_NUMBER, {"BusinessTelephoneNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_JOB_TITLE, {"JobTitle", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_TELEPHONE_NUMBER, {"HomeTelephoneNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_EMAIL2_ADDRESS, {"Email2Address", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME2_TELEPHONE_NUMBER, {"Home2TelephoneNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS2_TELEPHONE_NUMBER, {"Business2TelephoneNumber", Arg::Text}},
                  {POOM_CONTACT_PUT_FIRST_NAME, {"FirstName", Arg::Text}},
                  {POOM_CONTACT_PUT_LAST_NAME, {"LastName", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_ADDRESS_STREET, {"HomeAddressStreet", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_ADDRESS_CITY, {"HomeAddressCity", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_ADDRESS_STATE, {"HomeAddressState", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_ADDRESS_POSTAL_CODE, {"HomeAddressPostalCode", Arg::Text}},
                  {POOM_CONTACT_PUT_HOME_ADDRESS_COUNTRY, {"HomeAddressCountry", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_ADDRESS_STREET, {"BusinessAddressStreet", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_ADDRESS_CITY, {"BusinessAddressCity", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_ADDRESS_STATE, {"BusinessAddressState", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_ADDRESS_POSTAL_CODE, {"BusinessAddressPostalCode", Arg::Text}},
                  {POOM_CONTACT_PUT_BUSINESS_ADDRESS_COUNTRY, {"BusinessAddressCountry", Arg::Text}},
                  {POOM_CONTACT_PUT_BODY, {"Body", Arg::Text}},
                  {POOM_CONTACT_SAVE, {"Save", Arg::None}}});
        return m;
    }();
    switch (kind) {
    case Kind::App: return app;
    case Kind::Appointment: return appointment;
    case Kind::Contact: return contact;
    case Kind::Pattern: return pattern;
    default: return unknown;
    }
}

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::App: return "App";
    case Kind::Item: return "Item";
    case Kind::Appointment: return "Appointment";
    case Kind::Contact: return "Contact";
    default: return "Pattern";
    }
}

std::string utf8(const uint16_t* text) {
    std::string out;
    if (!text) return "(null)";
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
    for (uint32_t i = 0; i < bytes / 2; ++i) {
        const uint32_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool sameGuid(const void* a, const poom_guid& b) { return std::memcmp(a, &b, sizeof b) == 0; }

}  // namespace

struct Object {
    const poom_slot* vtable;
    Kind kind;
    std::string name;
    int references = 1;
    Object* owner = nullptr;  // a pattern's or an occurrence's appointment
    std::string occurrence;   // an occurrence: its date
    std::map<std::string, std::string> properties;
};

namespace {

template <int Slot>
poom_result thunk(Object* self, uintptr_t a, uintptr_t b, uintptr_t c) {
    return Store::instance().dispatch(self, Slot, a, b, c);
}

template <std::size_t... Slots>
const poom_slot* makeVtable(std::index_sequence<Slots...>) {
    static const poom_slot table[] = {reinterpret_cast<poom_slot>(&thunk<static_cast<int>(Slots)>)...};
    return table;
}

const poom_slot* vtable() {
    static const poom_slot* table = makeVtable(std::make_index_sequence<kSlots>());
    return table;
}

}  // namespace

double dateValue(uint32_t low, uint32_t high) {
    const uint64_t bits = static_cast<uint64_t>(high) << 32 | low;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string dateText(double date) {
    // Days since 1899-12-30 back to a civil date.
    const long days = static_cast<long>(std::floor(date));
    const long minutes = std::lround((date - static_cast<double>(days)) * 1440.0);
    // Days since 1 March of year 0, in years that start in March.
    const long z = days + 693899;
    const long era = z / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long year = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long day = doy - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    if (month <= 2) ++year;
    char text[96];
    std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld %02ld:%02ld", year, month, day, minutes / 60, minutes % 60);
    return text;
}

Store& Store::instance() {
    static Store store;
    return store;
}

void Store::reset() { *this = Store(); }

Object* Store::make(Kind kind, const std::string& name) {
    auto object = std::make_unique<Object>();
    object->vtable = vtable();
    object->kind = kind;
    object->name = name + std::to_string(++counter_);
    objects_.push_back(std::move(object));
    return objects_.back().get();
}

int Store::liveObjects() const {
    int live = 0;
    for (const auto& object : objects_) live += object->references > 0 ? 1 : 0;
    return live;
}

std::string Store::callText() const {
    std::string text;
    for (const Call& call : calls)
        text += call.object + "." + call.method + (call.value.empty() ? "" : "(" + call.value + ")") + "\n";
    return text;
}

const SavedItem* Store::savedItem(const std::string& name) const {
    for (const SavedItem& item : saved)
        if (item.name == name) return &item;
    return nullptr;
}

poom_result Store::dispatch(Object* self, int slot, uintptr_t a, uintptr_t b, uintptr_t c) {
    const auto& table = methods(self->kind);
    const auto found = table.find(slot);
    Call call{self->name, found == table.end() ? "slot" + std::to_string(slot) : found->second.name, ""};
    const Arg arg = found == table.end() ? Arg::None : found->second.arg;
    // Arguments narrower than a register arrive with undefined upper bits.
    const auto low32 = [](uintptr_t v) { return static_cast<uint32_t>(v); };
    switch (arg) {
    case Arg::Text: call.value = utf8(reinterpret_cast<const uint16_t*>(a)); break;
    case Arg::Long: call.value = std::to_string(static_cast<int32_t>(low32(a))); break;
    case Arg::Bool: call.value = static_cast<int32_t>(low32(a)) == -1 ? "true" : low32(a) == 0 ? "false" : "bad"; break;
    case Arg::Date: call.value = dateText(dateValue(low32(a), low32(b))); break;
    default: break;
    }
    calls.push_back(call);
    if (found == table.end()) return kFail;
    if (failing.count(std::string(kindName(self->kind)) + "." + call.method)) return kFail;

    const std::string method = call.method;
    if (slot == POOM_UNKNOWN_ADD_REF) return ++self->references;
    if (slot == POOM_UNKNOWN_RELEASE) return --self->references;
    if (slot == POOM_UNKNOWN_QUERY_INTERFACE) {
        auto** out = reinterpret_cast<Object**>(b);
        static const poom_guid appointment = POOM_GUID_IID_APPOINTMENT;
        static const poom_guid contact = POOM_GUID_IID_CONTACT;
        *out = nullptr;
        if (self->kind != Kind::Item) return kNoInterface;
        if (sameGuid(reinterpret_cast<const void*>(a), appointment)) {
            *out = make(Kind::Appointment, "appointment");
        } else if (sameGuid(reinterpret_cast<const void*>(a), contact)) {
            *out = make(Kind::Contact, "contact");
        } else {
            return kNoInterface;
        }
        calls.back().value = (*out)->name;
        return 0;
    }
    switch (self->kind) {
    case Kind::App:
        if (method == "CreateItem") *reinterpret_cast<Object**>(b) = make(Kind::Item, "item");
        return 0;
    case Kind::Pattern:
        if (method == "GetOccurrence") {
            auto** out = reinterpret_cast<Object**>(c);
            const double date = dateValue(low32(a), low32(b));
            *out = nullptr;
            if (noOccurrence.count(static_cast<long>(std::floor(date)))) return kFail;
            Object* occurrence = make(Kind::Appointment, "occurrence");
            occurrence->owner = self->owner;
            occurrence->occurrence = dateText(date);
            *out = occurrence;
            return 0;
        }
        self->owner->properties["Recurrence." + method] = call.value;
        return 0;
    case Kind::Appointment:
    case Kind::Contact:
        if (method == "GetRecurrencePattern") {
            Object* pattern = make(Kind::Pattern, "pattern");
            pattern->owner = self;
            *reinterpret_cast<Object**>(a) = pattern;
        } else if (method == "Save") {
            SavedItem item{self->name, self->properties, {}};
            for (auto it = saved.begin(); it != saved.end(); ++it) {
                if (it->name == self->name) {
                    item.deletedOccurrences = it->deletedOccurrences;
                    saved.erase(it);
                    break;
                }
            }
            saved.push_back(item);
        } else if (method == "Delete") {
            if (self->owner) {
                for (SavedItem& item : saved)
                    if (item.name == self->owner->name) item.deletedOccurrences.push_back(self->occurrence);
            } else {
                deleted.push_back(self->name);
                for (auto it = saved.begin(); it != saved.end(); ++it) {
                    if (it->name == self->name) {
                        saved.erase(it);
                        break;
                    }
                }
            }
        } else {
            self->properties[method] = call.value;
        }
        return 0;
    default: return 0;
    }
}

}  // namespace fake

using fake::Store;

namespace {
std::string keyName(ppc_key key, const uint16_t* subkey) {
    std::string name = key == PPC_HKEY_CURRENT_USER ? "HKCU" : *static_cast<std::string*>(key);
    if (subkey) {
        name += "\\";
        for (; *subkey; ++subkey) name += static_cast<char>(*subkey);
    }
    return name;
}

std::string valueName(const uint16_t* name) {
    std::string text;
    for (; name && *name; ++name) text += static_cast<char>(*name);
    return text;
}
}  // namespace

extern "C" {

poom_result CoInitializeEx(void*, uint32_t) {
    if (Store::instance().failing.count("CoInitializeEx")) return static_cast<poom_result>(0x80004005u);
    ++Store::instance().comInitialized;
    return 0;
}

void CoUninitialize(void) { --Store::instance().comInitialized; }

poom_result CoCreateInstance(const void* clsid, void* outer, uint32_t context, const void* iid, void** out) {
    static const poom_guid application = POOM_GUID_CLSID_APPLICATION;
    static const poom_guid app = POOM_GUID_IID_APP;
    Store& store = Store::instance();
    *out = nullptr;
    if (!fake::sameGuid(clsid, application) || !fake::sameGuid(iid, app) || outer ||
        context != PPC_CLSCTX_INPROC_SERVER)
        return fake::kClassNotRegistered;
    if (store.failing.count("CoCreateInstance")) return fake::kFail;
    *out = store.make(fake::Kind::App, "app");
    return 0;
}

poom_bstr SysAllocStringLen(const uint16_t* text, uint32_t length) {
    Store& store = Store::instance();
    if (store.failing.count("SysAllocStringLen")) return nullptr;
    // Length prefix in bytes, the characters, room for a terminator; the
    // characters are left undefined when no text is given.
    auto* block = static_cast<char*>(std::malloc(4 + 2 * (length + 1)));
    const uint32_t bytes = 2 * length;
    std::memcpy(block, &bytes, 4);
    std::memset(block + 4, 0xA5, 2 * (length + 1));
    if (text) std::memcpy(block + 4, text, 2 * length);
    ++store.liveStrings;
    return reinterpret_cast<poom_bstr>(block + 4);
}

void SysFreeString(poom_bstr text) {
    if (!text) return;
    --Store::instance().liveStrings;
    std::free(reinterpret_cast<char*>(text) - 4);
}

int32_t RegOpenKeyExW(ppc_key key, const uint16_t* subkey, uint32_t, uint32_t, ppc_key* result) {
    const std::string name = keyName(key, subkey);
    for (const auto& [path, value] : Store::instance().registry) {
        (void)value;
        if (path.rfind(name + "\\", 0) == 0) {
            *result = new std::string(name);
            return PPC_ERROR_SUCCESS;
        }
    }
    return 2;  // not found
}

int32_t RegCreateKeyExW(ppc_key key, const uint16_t* subkey, uint32_t, uint16_t*, uint32_t, uint32_t, void*,
                        ppc_key* result, uint32_t* disposition) {
    if (Store::instance().failing.count("RegCreateKeyExW")) return 5;
    *result = new std::string(keyName(key, subkey));
    *disposition = 1;
    return PPC_ERROR_SUCCESS;
}

int32_t RegQueryValueExW(ppc_key key, const uint16_t* name, uint32_t*, uint32_t* type, uint8_t* data, uint32_t* size) {
    const auto& registry = Store::instance().registry;
    const auto found = registry.find(*static_cast<std::string*>(key) + "\\" + valueName(name));
    if (found == registry.end()) return 2;
    if (*size < 4) return 234;  // more data
    *type = PPC_REG_DWORD;
    std::memcpy(data, &found->second, 4);
    *size = 4;
    return PPC_ERROR_SUCCESS;
}

int32_t RegSetValueExW(ppc_key key, const uint16_t* name, uint32_t, uint32_t type, const uint8_t* data, uint32_t size) {
    if (type != PPC_REG_DWORD || size != 4) return 87;  // invalid parameter
    uint32_t value;
    std::memcpy(&value, data, 4);
    Store::instance().registry[*static_cast<std::string*>(key) + "\\" + valueName(name)] = value;
    return PPC_ERROR_SUCCESS;
}

int32_t RegCloseKey(ppc_key key) {
    delete static_cast<std::string*>(key);
    return PPC_ERROR_SUCCESS;
}

}  // extern "C"
