#include "ppc_copy.h"

#include "poom_call.h"
#include "ppc_items.h"
#include "ppc_system.h"

#define FINGERPRINT_DIGITS 8
#define COPIED_MARK 1u

static const poom_guid clsid_application = POOM_GUID_CLSID_APPLICATION;
static const poom_guid iid_app = POOM_GUID_IID_APP;

/* HKEY_CURRENT_USER\Software\Skedlin\Copied holds one DWORD value per copied
 * package, named by its fingerprint in hexadecimal. */
static const uint16_t copied_key[] = u"Software\\Skedlin\\Copied";

static void fingerprint_name(uint32_t fingerprint, uint16_t name[FINGERPRINT_DIGITS + 1]) {
    int i;
    for (i = FINGERPRINT_DIGITS - 1; i >= 0; --i) {
        const uint32_t digit = fingerprint & 0xFu;
        name[i] = (uint16_t)(digit < 10 ? '0' + digit : 'A' + digit - 10);
        fingerprint >>= 4;
    }
    name[FINGERPRINT_DIGITS] = 0;
}

int ppc_copy_seen(uint32_t fingerprint) {
    uint16_t name[FINGERPRINT_DIGITS + 1];
    ppc_key key = 0;
    uint32_t type = 0, value = 0, size = sizeof value;
    int seen;
    if (RegOpenKeyExW(PPC_HKEY_CURRENT_USER, copied_key, 0, 0, &key) != PPC_ERROR_SUCCESS) return 0;
    fingerprint_name(fingerprint, name);
    seen = RegQueryValueExW(key, name, 0, &type, (uint8_t *)&value, &size) == PPC_ERROR_SUCCESS;
    RegCloseKey(key);
    return seen;
}

int ppc_copy_remember(uint32_t fingerprint) {
    uint16_t name[FINGERPRINT_DIGITS + 1];
    ppc_key key = 0;
    uint32_t disposition = 0;
    const uint32_t value = COPIED_MARK;
    int32_t result;
    if (RegCreateKeyExW(PPC_HKEY_CURRENT_USER, copied_key, 0, 0, 0, PPC_KEY_ALL_ACCESS, 0, &key, &disposition) !=
        PPC_ERROR_SUCCESS)
        return 0;
    fingerprint_name(fingerprint, name);
    result = RegSetValueExW(key, name, 0, PPC_REG_DWORD, (const uint8_t *)&value, sizeof value);
    RegCloseKey(key);
    return result == PPC_ERROR_SUCCESS;
}

static void count(skv_copy_summary *done, const ppc_entry *entry, int copied) {
    if (entry->kind == PPC_ENTRY_EVENT) {
        if (copied)
            ++done->events;
        else
            ++done->events_refused;
    } else {
        if (copied)
            ++done->contacts;
        else
            ++done->contacts_refused;
    }
}

static void copy_entries(poom_object *app, ppc_entry_source next, void *source, skv_copy_summary *done) {
    ppc_entry entry;
    while (next(source, &entry)) {
        ppc_item_result result = PPC_ITEM_REFUSED;
        if (!entry.refused) {
            result = entry.kind == PPC_ENTRY_EVENT ? ppc_copy_event(app, &entry.event)
                                                   : ppc_copy_contact(app, &entry.contact);
        }
        count(done, &entry, result == PPC_ITEM_COPIED);
    }
}

ppc_copy_status ppc_copy_run(ppc_entry_source next, void *source, void *window, uint32_t fingerprint,
                             skv_copy_summary *done) {
    poom_object *app = 0;
    ppc_copy_status status = PPC_COPY_OK;
    done->events = done->contacts = done->events_refused = done->contacts_refused = 0;
    if (!POOM_SUCCEEDED(CoInitializeEx(0, PPC_COINIT_MULTITHREADED))) return PPC_COPY_NO_COM;
    if (!POOM_SUCCEEDED(CoCreateInstance(&clsid_application, 0, PPC_CLSCTX_INPROC_SERVER, &iid_app, (void **)&app)) ||
        !app) {
        status = PPC_COPY_NO_STORE;
    } else if (!POOM_SUCCEEDED(poom_call_long(app, POOM_APP_LOGON, (int32_t)(uintptr_t)window))) {
        status = PPC_COPY_NO_LOGON;
    } else {
        copy_entries(app, next, source, done);
        (void)poom_call(app, POOM_APP_LOGOFF);
    }
    poom_release(app);
    CoUninitialize();
    if (status == PPC_COPY_OK && done->events + done->contacts > 0) (void)ppc_copy_remember(fingerprint);
    return status;
}

const char *ppc_copy_status_text(ppc_copy_status status) {
    switch (status) {
    case PPC_COPY_OK: return "";
    case PPC_COPY_NO_COM: return "The system could not start the connection to the calendar. Nothing was copied.";
    case PPC_COPY_NO_STORE: return "The calendar and contacts could not be opened. Nothing was copied.";
    default: return "The calendar and contacts refused the connection. Nothing was copied.";
    }
}
