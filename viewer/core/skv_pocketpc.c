/* The Pocket PC package layout: UTF-16 string tables, little-endian word
 * lists, and the Pocket PC event and contact records. Records are decoded
 * in place; strings are turned into Windows-1252 bytes once, at open. */
#include "skv_internal.h"

#define STRINGS_PER_BLOCK 16u
#define EVENT_HEADER_SIZE 16u
#define EXCEPTION_SIZE 4u
#define DIB_HEADER_SIZE 40u
#define NO_TIME_BYTE 0xFF

/* Windows-1252 bytes 0x80..0x9F; the rest of the code page equals Unicode. */
static uint16_t cp1252_high(uint8_t byte) {
    switch (byte) {
    case 0x80: return 0x20AC;
    case 0x82: return 0x201A;
    case 0x83: return 0x0192;
    case 0x84: return 0x201E;
    case 0x85: return 0x2026;
    case 0x86: return 0x2020;
    case 0x87: return 0x2021;
    case 0x88: return 0x02C6;
    case 0x89: return 0x2030;
    case 0x8A: return 0x0160;
    case 0x8B: return 0x2039;
    case 0x8C: return 0x0152;
    case 0x8E: return 0x017D;
    case 0x91: return 0x2018;
    case 0x92: return 0x2019;
    case 0x93: return 0x201C;
    case 0x94: return 0x201D;
    case 0x95: return 0x2022;
    case 0x96: return 0x2013;
    case 0x97: return 0x2014;
    case 0x98: return 0x02DC;
    case 0x99: return 0x2122;
    case 0x9A: return 0x0161;
    case 0x9B: return 0x203A;
    case 0x9C: return 0x0153;
    case 0x9E: return 0x017E;
    case 0x9F: return 0x0178;
    default: return byte; /* the five unassigned bytes pass through */
    }
}

uint16_t skv_cp1252_unicode(uint8_t byte) { return (byte >= 0x80 && byte <= 0x9F) ? cp1252_high(byte) : byte; }

static uint8_t unicode_cp1252(uint16_t unit) {
    uint16_t byte;
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return (uint8_t)unit;
    for (byte = 0x80; byte <= 0x9F; ++byte)
        if (cp1252_high((uint8_t)byte) == unit && unit != byte) return (uint8_t)byte;
    return '?';
}

static uint16_t le16(const uint8_t *at) { return (uint16_t)(at[0] | at[1] << 8); }

/* String `id` of the package's string tables, converted: its byte length,
 * and its bytes into `out` when given. A missing block is SKV_ERR_MISSING;
 * an empty slot is an empty text. */
skv_status skv_ppc_string(const skv_host *host, uint16_t id, char *out, uint16_t *length) {
    uint32_t size, at = 0;
    uint16_t slot, count = 0, i, units_length;
    const uint8_t *block;
    *length = 0;
    if (!host || !host->get_resource) return SKV_ERR_MISSING;
    block = host->get_resource(host->user, SKV_TYPE_PPC_STRINGS, (uint16_t)(id / STRINGS_PER_BLOCK + 1), &size);
    if (!block) return SKV_ERR_MISSING;
    for (slot = 0; slot <= id % STRINGS_PER_BLOCK; ++slot) {
        if (size - at < 2 || at > size) return SKV_ERR_TRUNCATED;
        count = le16(block + at);
        at += 2;
        if ((size - at) / 2 < count) return SKV_ERR_TRUNCATED;
        if (slot < id % STRINGS_PER_BLOCK) at += 2u * count;
    }
    units_length = 0;
    for (i = 0; i < count; ++i) {
        uint16_t unit = le16(block + at + 2u * i);
        /* A surrogate pair is one character the code page cannot show. */
        if (unit >= 0xDC00 && unit <= 0xDFFF && i > 0) {
            uint16_t before = le16(block + at + 2u * (i - 1));
            if (before >= 0xD800 && before <= 0xDBFF) continue;
        }
        if (out) out[units_length] = (char)unicode_cp1252(unit);
        ++units_length;
    }
    *length = units_length;
    return SKV_OK;
}

/* ---- Records ---- */

static uint8_t date_ok(uint16_t year, uint8_t month, uint8_t day) {
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

/* The 16-bit handheld date, or SKV_NO_DATE outside 1904..2031. */
static uint16_t palm_date(uint16_t year, uint8_t month, uint8_t day) {
    if (year < 1904 || year > 2031 || !date_ok(year, month, day)) return SKV_NO_DATE;
    return (uint16_t)((year - 1904) << 9 | month << 5 | day);
}

static uint16_t palm_time(uint8_t hour, uint8_t minute) {
    if (hour == NO_TIME_BYTE || minute == NO_TIME_BYTE) return SKV_NO_TIME;
    return (uint16_t)(hour << 8 | minute);
}

skv_status skv_ppc_decode_event(const uint8_t *bytes, uint32_t size, skv_entry_event *event) {
    skv_cursor in;
    uint16_t length;
    skv_mem_set(event, 0, sizeof *event);
    if (!bytes) return SKV_ERR_MISSING;
    if (size < EVENT_HEADER_SIZE) return SKV_ERR_TRUNCATED;
    event->year = le16(bytes);
    event->month = bytes[2];
    event->day = bytes[3];
    event->start_hour = bytes[4];
    event->start_minute = bytes[5];
    event->end_hour = bytes[6];
    event->end_minute = bytes[7];
    event->recurrence = (int16_t)le16(bytes + 8);
    event->end_year = le16(bytes + 10);
    event->end_month = bytes[12];
    event->end_day = bytes[13];
    event->frequency = bytes[14];
    event->mask = bytes[15];
    skv_cursor_init(&in, bytes, size);
    skv_skip(&in, EVENT_HEADER_SIZE);
    event->title.text = skv_read_text(&in, &length);
    event->title.length = length;
    event->note.text = skv_read_text(&in, &length);
    event->note.length = length;
    if (!in.ok) return SKV_ERR_TEXT;
    /* Deleted occurrences, when the event has any: a count and the dates. */
    if (skv_remaining(&in)) {
        const uint8_t *block = in.bytes + in.at;
        if (skv_remaining(&in) < 2) return SKV_ERR_TRUNCATED;
        event->exception_count = le16(block);
        if (skv_remaining(&in) != 2u + EXCEPTION_SIZE * event->exception_count) return SKV_ERR_COUNT;
        event->exceptions = block + 2;
    }
    return SKV_OK;
}

void skv_entry_exception(const skv_entry_event *event, uint16_t i, uint16_t *year, uint8_t *month, uint8_t *day) {
    const uint8_t *at = event->exceptions + EXCEPTION_SIZE * i;
    *year = le16(at);
    *month = at[2];
    *day = at[3];
}

/* The recurrence numbers of the Pocket PC record as the core's repeat types. */
static uint8_t repeat_type(int16_t recurrence) {
    switch (recurrence) {
    case 0: return SKV_REPEAT_DAILY;
    case 1: return SKV_REPEAT_WEEKLY;
    case 2: return SKV_REPEAT_MONTH_BY_DATE;
    case 3: return SKV_REPEAT_MONTH_BY_DAY;
    case 5: return SKV_REPEAT_YEARLY;
    default: return SKV_REPEAT_NONE;
    }
}

skv_status skv_ppc_parse_event(const uint8_t *bytes, uint32_t size, skv_event *event) {
    skv_entry_event decoded;
    skv_status status = skv_ppc_decode_event(bytes, size, &decoded);
    skv_mem_set(event, 0, sizeof *event);
    if (status) return status;
    event->date = palm_date(decoded.year, decoded.month, decoded.day);
    event->start_time = palm_time(decoded.start_hour, decoded.start_minute);
    event->end_time = palm_time(decoded.end_hour, decoded.end_minute);
    event->flags = SKV_EVENT_FLAG_DESCRIPTION;
    event->title = decoded.title.text;
    event->title_length = decoded.title.length;
    if (decoded.note.length) {
        event->flags |= SKV_EVENT_FLAG_NOTE;
        event->note = decoded.note.text;
        event->note_length = decoded.note.length;
    }
    if (decoded.recurrence != -1) {
        event->flags |= SKV_EVENT_FLAG_REPEAT;
        event->has_repeat = 1;
        event->repeat_type = repeat_type(decoded.recurrence);
        event->frequency = decoded.frequency;
        event->repeat_on = decoded.mask;
        event->repeat_end =
            decoded.end_year ? palm_date(decoded.end_year, decoded.end_month, decoded.end_day) : SKV_NO_DATE;
    }
    if (decoded.exception_count) {
        event->flags |= SKV_EVENT_FLAG_EXCEPTIONS;
        event->exception_count = decoded.exception_count;
        event->exceptions = decoded.exceptions;
        event->exceptions_le = 1;
    }
    return SKV_OK;
}

uint16_t skv_event_exception(const skv_event *event, uint16_t i) {
    if (event->exceptions_le) {
        const uint8_t *at = event->exceptions + EXCEPTION_SIZE * i;
        return palm_date(le16(at), at[2], at[3]);
    }
    return skv_word(event->exceptions, i);
}

skv_status skv_ppc_decode_contact(const uint8_t *bytes, uint32_t size, skv_entry_contact *contact) {
    skv_cursor in;
    uint8_t field;
    uint16_t length;
    skv_mem_set(contact, 0, sizeof *contact);
    if (!bytes) return SKV_ERR_MISSING;
    skv_cursor_init(&in, bytes, size);
    for (field = 0; field < SKV_CONTACT_TEXT_COUNT; ++field) {
        /* The flag byte sits between the company and the street. */
        if (field == SKV_CONTACT_STREET) contact->flag = skv_read_u8(&in);
        contact->field[field].text = skv_read_text(&in, &length);
        contact->field[field].length = length;
        if (!in.ok) return field == SKV_CONTACT_STREET && in.at >= size ? SKV_ERR_TRUNCATED : SKV_ERR_TEXT;
    }
    return SKV_OK;
}

/* The contact as the core shows it: the phones (at most five) take the
 * Palm field slots in record order with their labels. */
skv_status skv_ppc_parse_contact(const uint8_t *bytes, uint32_t size, skv_contact *contact) {
    static const uint8_t palm_field_of_text[SKV_CONTACT_TEXT_COUNT] = {SKV_FIELD_LAST_NAME,
                                                                       SKV_FIELD_FIRST_NAME,
                                                                       SKV_FIELD_TITLE,
                                                                       SKV_FIELD_COMPANY,
                                                                       SKV_FIELD_STREET,
                                                                       SKV_FIELD_CITY,
                                                                       SKV_FIELD_STATE,
                                                                       SKV_FIELD_ZIP,
                                                                       SKV_FIELD_COUNTRY,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       0,
                                                                       SKV_FIELD_NOTE};
    /* Phone labels: work 0, home 1, fax 2, e-mail 4, pager 6, mobile 7. */
    static const uint8_t phone_label[SKV_CONTACT_NOTE - SKV_CONTACT_WORK_PHONE] = {0, 0, 1, 1, 7, 6, 2, 4, 4};
    skv_entry_contact decoded;
    skv_status status = skv_ppc_decode_contact(bytes, size, &decoded);
    uint8_t field, phones = 0;
    skv_mem_set(contact, 0, sizeof *contact);
    if (status) return status;
    contact->options = 0;
    for (field = 0; field < SKV_CONTACT_TEXT_COUNT; ++field) {
        uint8_t target;
        if (decoded.field[field].length == 0) continue;
        if (field >= SKV_CONTACT_WORK_PHONE && field < SKV_CONTACT_NOTE) {
            if (phones == SKV_PHONE_COUNT) continue;
            target = (uint8_t)(SKV_FIELD_PHONE1 + phones);
            contact->options |= (uint32_t)phone_label[field - SKV_CONTACT_WORK_PHONE] << (4 * phones);
            ++phones;
        } else {
            target = palm_field_of_text[field];
        }
        contact->field[target] = decoded.field[field].text;
        contact->field_length[target] = decoded.field[field].length;
        contact->field_flags |= (uint32_t)1 << target;
    }
    return SKV_OK;
}

/* The logo: a device-independent bitmap's header, checked against the
 * resource's size. Its pixels are standard-density pixels. */
skv_status skv_ppc_bitmap_size(const uint8_t *dib, uint32_t size, uint16_t *width, uint16_t *height) {
    uint32_t header, bits, colours, row_bytes, rows;
    int32_t w, h;
    uint16_t planes;
    if (size < DIB_HEADER_SIZE) return SKV_ERR_BITMAP;
    header = (uint32_t)le16(dib) | (uint32_t)le16(dib + 2) << 16;
    w = (int32_t)((uint32_t)le16(dib + 4) | (uint32_t)le16(dib + 6) << 16);
    h = (int32_t)((uint32_t)le16(dib + 8) | (uint32_t)le16(dib + 10) << 16);
    planes = le16(dib + 12);
    bits = le16(dib + 14);
    colours = (uint32_t)le16(dib + 32) | (uint32_t)le16(dib + 34) << 16;
    if (header < DIB_HEADER_SIZE || header > size || planes != 1) return SKV_ERR_BITMAP;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return SKV_ERR_BITMAP;
    if (h < 0) h = -h;
    if (w <= 0 || h <= 0 || w > 1024 || h > 1024) return SKV_ERR_BITMAP;
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    if (bits > 8) colours = 0;
    row_bytes = (((uint32_t)w * bits + 31u) / 32u) * 4u;
    rows = (uint32_t)h;
    if ((size - header) / 4u < colours || (size - header - 4u * colours) / row_bytes < rows) return SKV_ERR_BITMAP;
    *width = (uint16_t)w;
    *height = (uint16_t)h;
    return SKV_OK;
}
