/* The Pocket PC package layout: UTF-16 string tables, little-endian word
 * lists, and the Pocket PC event and contact records. Records are decoded
 * in place; strings are turned into Windows-1252 bytes once, at open. */
#include "formats/bmp/BmpInfoHeader.h"
#include "skv_internal.h"

#define STRINGS_PER_BLOCK 16u

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
        count = skf_get16le(block + at);
        at += 2;
        if ((size - at) / 2 < count) return SKV_ERR_TRUNCATED;
        if (slot < id % STRINGS_PER_BLOCK) at += 2u * count;
    }
    units_length = 0;
    for (i = 0; i < count; ++i) {
        uint16_t unit = skf_get16le(block + at + 2u * i);
        /* A surrogate pair is one character the code page cannot show. */
        if (unit >= 0xDC00 && unit <= 0xDFFF && i > 0) {
            uint16_t before = skf_get16le(block + at + 2u * (i - 1));
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
    if (hour == SKR_PPC_NO_TIME || minute == SKR_PPC_NO_TIME) return SKV_NO_TIME;
    return (uint16_t)(hour << 8 | minute);
}

skv_status skv_ppc_decode_event(const uint8_t *bytes, uint32_t size, skv_entry_event *event) {
    skv_cursor in;
    uint16_t length;
    skv_mem_set(event, 0, sizeof *event);
    if (!bytes) return SKV_ERR_MISSING;
    if (size < SKR_PPC_EVENT_HEADER_SIZE) return SKV_ERR_TRUNCATED;
    event->year = skf_get16le(bytes + SKR_PPC_EVENT_YEAR);
    event->month = bytes[SKR_PPC_EVENT_MONTH];
    event->day = bytes[SKR_PPC_EVENT_DAY];
    event->start_hour = bytes[SKR_PPC_EVENT_START_HOUR];
    event->start_minute = bytes[SKR_PPC_EVENT_START_MINUTE];
    event->end_hour = bytes[SKR_PPC_EVENT_END_HOUR];
    event->end_minute = bytes[SKR_PPC_EVENT_END_MINUTE];
    event->recurrence = (int16_t)skf_get16le(bytes + SKR_PPC_EVENT_RECURRENCE);
    event->end_year = skf_get16le(bytes + SKR_PPC_EVENT_END_YEAR);
    event->end_month = bytes[SKR_PPC_EVENT_END_MONTH];
    event->end_day = bytes[SKR_PPC_EVENT_END_DAY];
    event->frequency = bytes[SKR_PPC_EVENT_FREQUENCY];
    event->mask = bytes[SKR_PPC_EVENT_MASK];
    skv_cursor_init(&in, bytes, size);
    skv_skip(&in, SKR_PPC_EVENT_HEADER_SIZE);
    event->title.text = skv_read_text(&in, &length);
    event->title.length = length;
    event->note.text = skv_read_text(&in, &length);
    event->note.length = length;
    if (!in.ok) return SKV_ERR_TEXT;
    /* Deleted occurrences, when the event has any: a count and the dates. */
    if (skv_remaining(&in)) {
        const uint8_t *block = in.bytes + in.at;
        if (skv_remaining(&in) < 2) return SKV_ERR_TRUNCATED;
        event->exception_count = skf_get16le(block);
        if (skv_remaining(&in) != 2u + SKR_PPC_EXCEPTION_SIZE * event->exception_count) return SKV_ERR_COUNT;
        event->exceptions = block + 2;
    }
    return SKV_OK;
}

void skv_entry_exception(const skv_entry_event *event, uint16_t i, uint16_t *year, uint8_t *month, uint8_t *day) {
    const uint8_t *at = event->exceptions + SKR_PPC_EXCEPTION_SIZE * i;
    *year = skf_get16le(at);
    *month = at[2];
    *day = at[3];
}

/* The recurrence numbers of the Pocket PC record as the core's repeat types. */
static uint8_t repeat_type(int16_t recurrence) {
    switch (recurrence) {
    case SKR_PPC_RECUR_DAILY: return SKR_REPEAT_DAILY;
    case SKR_PPC_RECUR_WEEKLY: return SKR_REPEAT_WEEKLY;
    case SKR_PPC_RECUR_MONTH_BY_DATE: return SKR_REPEAT_MONTH_BY_DATE;
    case SKR_PPC_RECUR_MONTH_BY_DAY: return SKR_REPEAT_MONTH_BY_DAY;
    case SKR_PPC_RECUR_YEARLY: return SKR_REPEAT_YEARLY;
    default: return SKR_REPEAT_NONE;
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
    event->flags = SKR_EVENT_FLAG_DESCRIPTION;
    event->title = decoded.title.text;
    event->title_length = decoded.title.length;
    if (decoded.note.length) {
        event->flags |= SKR_EVENT_FLAG_NOTE;
        event->note = decoded.note.text;
        event->note_length = decoded.note.length;
    }
    if (decoded.recurrence != SKR_PPC_RECUR_NONE) {
        event->flags |= SKR_EVENT_FLAG_REPEAT;
        event->has_repeat = 1;
        event->repeat_type = repeat_type(decoded.recurrence);
        event->frequency = decoded.frequency;
        event->repeat_on = decoded.mask;
        event->repeat_end =
            decoded.end_year ? palm_date(decoded.end_year, decoded.end_month, decoded.end_day) : SKV_NO_DATE;
    }
    if (decoded.exception_count) {
        event->flags |= SKR_EVENT_FLAG_EXCEPTIONS;
        event->exception_count = decoded.exception_count;
        event->exceptions = decoded.exceptions;
        event->exceptions_le = 1;
    }
    return SKV_OK;
}

uint16_t skv_event_exception(const skv_event *event, uint16_t i) {
    if (event->exceptions_le) {
        const uint8_t *at = event->exceptions + SKR_PPC_EXCEPTION_SIZE * i;
        return palm_date(skf_get16le(at), at[2], at[3]);
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
    for (field = 0; field < SKR_PPC_CONTACT_TEXT_COUNT; ++field) {
        /* The flag byte sits between the company and the street. */
        if (field == SKR_PPC_CONTACT_STREET) contact->flag = skv_read_u8(&in);
        contact->field[field].text = skv_read_text(&in, &length);
        contact->field[field].length = length;
        if (!in.ok) return field == SKR_PPC_CONTACT_STREET && in.at >= size ? SKV_ERR_TRUNCATED : SKV_ERR_TEXT;
    }
    return SKV_OK;
}

/* The contact as the core shows it: the phones (at most five) take the
 * Palm field slots in record order with their labels. */
skv_status skv_ppc_parse_contact(const uint8_t *bytes, uint32_t size, skv_contact *contact) {
    static const uint8_t palm_field_of_text[SKR_PPC_CONTACT_TEXT_COUNT] = {SKR_FIELD_LAST_NAME,
                                                                           SKR_FIELD_FIRST_NAME,
                                                                           SKR_FIELD_TITLE,
                                                                           SKR_FIELD_COMPANY,
                                                                           SKR_FIELD_STREET,
                                                                           SKR_FIELD_CITY,
                                                                           SKR_FIELD_STATE,
                                                                           SKR_FIELD_ZIP,
                                                                           SKR_FIELD_COUNTRY,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           0,
                                                                           SKR_FIELD_NOTE};
    /* The label of each Pocket PC phone text. */
    static const uint8_t phone_label[SKR_PPC_CONTACT_NOTE - SKR_PPC_CONTACT_WORK_PHONE] = {
        SKR_LABEL_WORK,  SKR_LABEL_WORK, SKR_LABEL_HOME,  SKR_LABEL_HOME, SKR_LABEL_MOBILE,
        SKR_LABEL_PAGER, SKR_LABEL_FAX,  SKR_LABEL_EMAIL, SKR_LABEL_EMAIL};
    skv_entry_contact decoded;
    skv_status status = skv_ppc_decode_contact(bytes, size, &decoded);
    uint8_t field, phones = 0;
    skv_mem_set(contact, 0, sizeof *contact);
    if (status) return status;
    contact->options = 0;
    for (field = 0; field < SKR_PPC_CONTACT_TEXT_COUNT; ++field) {
        uint8_t target;
        if (decoded.field[field].length == 0) continue;
        if (field >= SKR_PPC_CONTACT_WORK_PHONE && field < SKR_PPC_CONTACT_NOTE) {
            if (phones == SKR_PHONE_COUNT) continue;
            target = (uint8_t)(SKR_FIELD_PHONE1 + phones);
            contact->options |= (uint32_t)phone_label[field - SKR_PPC_CONTACT_WORK_PHONE]
                                << (SKR_PHONE_LABEL_BITS * phones);
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
    if (size < SKF_BMP_INFO_HEADER_SIZE) return SKV_ERR_BITMAP;
    header = skf_get32le(dib + SKF_BMP_INFO_SIZE);
    w = (int32_t)skf_get32le(dib + SKF_BMP_INFO_WIDTH);
    h = (int32_t)skf_get32le(dib + SKF_BMP_INFO_HEIGHT);
    planes = skf_get16le(dib + SKF_BMP_INFO_PLANES);
    bits = skf_get16le(dib + SKF_BMP_INFO_BIT_COUNT);
    colours = skf_get32le(dib + SKF_BMP_INFO_COLOURS_USED);
    if (header < SKF_BMP_INFO_HEADER_SIZE || header > size || planes != 1) return SKV_ERR_BITMAP;
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
