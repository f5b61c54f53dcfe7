/* Hands the copy module the chosen entries, decoded by the core. */
#include "viewer.h"

#ifdef PPC_WITH_COPY

#include "viewer/pocketpc/copy/ppc_entries.h"

uint8_t ppc_copy_source_next(void *source, ppc_entry *entry);

static ppc_text text_of(skv_span span) {
    ppc_text text;
    text.bytes = (const uint8_t *)span.text;
    text.length = span.length;
    return text;
}

uint8_t ppc_copy_source_next(void *source, ppc_entry *out) {
    skv_entry entry;
    uint8_t i;
    uint8_t *clear = (uint8_t *)out;
    uint32_t k;
    if (!skv_copy_next_entry((skv_context *)source, &entry)) return 0;
    for (k = 0; k < sizeof *out; ++k) clear[k] = 0;
    out->refused = entry.refused;
    if (entry.kind == SKV_RECORD_EVENT) {
        const skv_entry_event *e = &entry.event;
        out->kind = PPC_ENTRY_EVENT;
        out->event.date.year = e->year;
        out->event.date.month = e->month;
        out->event.date.day = e->day;
        out->event.start_hour = e->start_hour;
        out->event.start_minute = e->start_minute;
        out->event.end_hour = e->end_hour;
        out->event.end_minute = e->end_minute;
        out->event.recurrence = e->recurrence;
        out->event.frequency = e->frequency;
        out->event.mask = e->mask;
        out->event.repeat_end.year = e->end_year;
        out->event.repeat_end.month = e->end_month;
        out->event.repeat_end.day = e->end_day;
        out->event.exception_count = e->exception_count;
        out->event.exceptions = e->exceptions;
        out->event.title = text_of(e->title);
        out->event.note = text_of(e->note);
    } else {
        out->kind = PPC_ENTRY_CONTACT;
        for (i = 0; i < SKR_PPC_CONTACT_TEXT_COUNT && i < SKR_PPC_CONTACT_TEXT_COUNT; ++i)
            out->contact.texts[i] = text_of(entry.contact.field[i]);
        out->contact.business = entry.contact.flag;
    }
    return 1;
}

#endif
