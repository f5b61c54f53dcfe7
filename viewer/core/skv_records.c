/* Parsing of the package's event and contact records. Both follow the
 * handheld's packed Date Book and Address Book layouts, big-endian. */
#include "skv_internal.h"

static skv_status text_status(const skv_cursor *in, uint8_t fixed_ok) {
    if (!fixed_ok) return SKV_ERR_TRUNCATED;
    return in->ok ? SKV_OK : SKV_ERR_TEXT;
}

skv_status skv_parse_event(const uint8_t *bytes, uint32_t size, skv_event *event) {
    skv_cursor in;
    uint8_t fixed_ok;
    skv_mem_set(event, 0, sizeof *event);
    skv_cursor_init(&in, bytes, size);
    event->start_time = skv_read_be16(&in);
    event->end_time = skv_read_be16(&in);
    event->date = skv_read_be16(&in);
    event->flags = skv_read_be16(&in);
    /* An alarm block (two bytes) is not written by the builder but is part of
     * the layout; step over it so such a record still reads. */
    if (event->flags & SKR_EVENT_FLAG_ALARM) skv_skip(&in, 2);
    if (event->flags & SKR_EVENT_FLAG_REPEAT) {
        event->has_repeat = 1;
        event->repeat_type = skv_read_u8(&in);
        skv_read_u8(&in);
        event->repeat_end = skv_read_be16(&in);
        event->frequency = skv_read_u8(&in);
        event->repeat_on = skv_read_u8(&in);
        event->start_of_week = skv_read_u8(&in);
        skv_read_u8(&in);
    }
    if (event->flags & SKR_EVENT_FLAG_EXCEPTIONS) {
        event->exception_count = skv_read_be16(&in);
        event->exceptions = in.ok ? in.bytes + in.at : 0;
        skv_skip(&in, 2u * event->exception_count);
    }
    fixed_ok = in.ok;
    if (!fixed_ok) return SKV_ERR_TRUNCATED;
    if (event->flags & SKR_EVENT_FLAG_DESCRIPTION) {
        event->title = skv_read_text(&in, &event->title_length);
    } else {
        event->title = "";
    }
    if (event->flags & SKR_EVENT_FLAG_NOTE) event->note = skv_read_text(&in, &event->note_length);
    return text_status(&in, fixed_ok);
}

skv_status skv_parse_contact(const uint8_t *bytes, uint32_t size, skv_contact *contact) {
    skv_cursor in;
    uint8_t field;
    skv_mem_set(contact, 0, sizeof *contact);
    skv_cursor_init(&in, bytes, size);
    contact->options = skv_read_be32(&in);
    contact->field_flags = skv_read_be32(&in);
    contact->company_offset = skv_read_u8(&in);
    if (!in.ok) return SKV_ERR_TRUNCATED;
    /* Bits above the note name no field: a record with them is not one of ours. */
    if (contact->field_flags >> SKR_FIELD_COUNT) return SKV_ERR_RANGE;
    for (field = 0; field < SKR_FIELD_COUNT; ++field) {
        if (contact->field_flags & ((uint32_t)1 << field)) {
            contact->field[field] = skv_read_text(&in, &contact->field_length[field]);
            if (!in.ok) return SKV_ERR_TEXT;
        }
    }
    return SKV_OK;
}

uint8_t skv_phone_label(const skv_contact *contact, uint8_t phone) {
    return (uint8_t)(contact->options >> (4 * phone) & 0x0F);
}

const char *skv_phone_label_text(uint8_t label) {
    switch (label) {
    case 0: return "Work";
    case 1: return "Home";
    case 2: return "Fax";
    case 3: return "Other";
    case 4: return "E-mail";
    case 5: return "Main";
    case 6: return "Pager";
    case 7: return "Mobile";
    default: return "Phone";
    }
}

static uint16_t append(char *out, uint16_t at, uint16_t capacity, const char *text, uint16_t length) {
    while (length-- && at < capacity) out[at++] = *text++;
    return at;
}

uint16_t skv_contact_name(const skv_contact *contact, char *out, uint16_t capacity) {
    uint16_t n = 0;
    const char *last = contact->field[SKR_FIELD_LAST_NAME];
    const char *first = contact->field[SKR_FIELD_FIRST_NAME];
    if (last && contact->field_length[SKR_FIELD_LAST_NAME]) {
        n = append(out, n, capacity, last, contact->field_length[SKR_FIELD_LAST_NAME]);
        if (first && contact->field_length[SKR_FIELD_FIRST_NAME]) n = append(out, n, capacity, ", ", 2);
    }
    if (first) n = append(out, n, capacity, first, contact->field_length[SKR_FIELD_FIRST_NAME]);
    if (n == 0 && contact->field[SKR_FIELD_COMPANY])
        n = append(out, n, capacity, contact->field[SKR_FIELD_COMPANY], contact->field_length[SKR_FIELD_COMPANY]);
    if (n == 0) n = append(out, n, capacity, "(no name)", 9);
    return n;
}
