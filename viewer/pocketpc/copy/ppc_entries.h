#ifndef PPC_ENTRIES_H
#define PPC_ENTRIES_H
/* The package's events and contacts as the copy takes them: the fields of the
 * Pocket PC records, decoded. Texts point into the records (Windows-1252,
 * line breaks as carriage return plus line feed, not zero-terminated). */

#include <stdint.h>

#include "formats/records/PackageRecordLayout.h"

typedef struct ppc_text {
    const uint8_t *bytes;
    uint32_t length;
} ppc_text;

typedef struct ppc_day {
    uint16_t year; /* 0: no date */
    uint8_t month, day;
} ppc_day;

typedef struct ppc_event {
    ppc_day date;
    uint8_t start_hour, start_minute; /* SKR_PPC_NO_TIME: an untimed event */
    uint8_t end_hour, end_minute;
    int16_t recurrence;
    uint8_t frequency; /* every n days, weeks, months or years */
    /* weekly: bit n for weekday n (Sunday = bit 0); month by day:
     * week * 7 + weekday, 28 + weekday for the last such weekday */
    uint8_t mask;
    ppc_day repeat_end; /* year 0: repeats for ever */
    uint16_t exception_count;
    const uint8_t *exceptions; /* exception_count * SKR_PPC_EXCEPTION_SIZE bytes */
    ppc_text title, note;
} ppc_event;

typedef struct ppc_contact {
    ppc_text texts[SKR_PPC_CONTACT_TEXT_COUNT];
    /* The record's flag byte: set when the contact has a work phone or a
     * company, so its address is a business address. */
    uint8_t business;
} ppc_contact;

enum { PPC_ENTRY_EVENT = 1, PPC_ENTRY_CONTACT = 2 };

typedef struct ppc_entry {
    uint8_t kind;    /* PPC_ENTRY_EVENT or PPC_ENTRY_CONTACT */
    uint8_t refused; /* nonzero: the viewer cannot copy it; counted, not written */
    ppc_event event;
    ppc_contact contact;
} ppc_entry;

#endif
