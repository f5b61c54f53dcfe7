/* Copying into the handheld's Date Book and Address Book: the packed
 * records those applications keep (big-endian, the same layouts the package
 * records use), checked so that nothing the applications cannot hold is
 * written, and the walk over the user's choice. */
#include "skv_internal.h"

/* A database record cannot reach 64 KB (the handheld's chunk limit). */
#define SKV_MAX_RECORD_SIZE 65500u
#define LAST_DAY_OF_MONTH_FIRST 28 /* month-by-day values 28..34: the last weekday */
#define LAST_DAY_OF_MONTH_END 34
#define ADDRESS_LABEL_OTHER 3
#define ADDRESS_LAST_LABEL 7

static void piece(skv_record *out, const void *bytes, uint32_t length) {
    if (length == 0 || out->piece_count >= SKV_RECORD_MAX_PIECES) return;
    out->pieces[out->piece_count].bytes = (const uint8_t *)bytes;
    out->pieces[out->piece_count].length = length;
    out->piece_count++;
    out->size += length;
}

static void refuse(skv_record *out, uint8_t reason) {
    out->refused = reason;
    out->piece_count = 0;
    out->size = 0;
}

/* Why the Date Book cannot take this event, or SKV_REFUSE_NONE. */
static uint8_t event_refusal(const skv_event *event, uint8_t repeats) {
    uint16_t i;
    if (!skv_date_valid(event->date)) return SKV_REFUSE_DATE;
    if (event->start_time == SKV_NO_TIME || event->end_time == SKV_NO_TIME) {
        if (event->start_time != event->end_time) return SKV_REFUSE_TIME;
    } else if (!skv_time_valid(event->start_time) || !skv_time_valid(event->end_time) ||
               event->end_time < event->start_time) {
        return SKV_REFUSE_TIME;
    }
    if (!repeats) return SKV_REFUSE_NONE;
    if (event->repeat_type > SKR_REPEAT_YEARLY || event->frequency == 0) return SKV_REFUSE_REPEAT;
    if (event->repeat_type == SKR_REPEAT_WEEKLY && (event->repeat_on & 0x7F) == 0) return SKV_REFUSE_REPEAT;
    if (event->repeat_type == SKR_REPEAT_MONTH_BY_DAY && event->repeat_on > LAST_DAY_OF_MONTH_END)
        return SKV_REFUSE_REPEAT;
    if (event->repeat_end != SKV_NO_DATE && (!skv_date_valid(event->repeat_end) || event->repeat_end < event->date))
        return SKV_REFUSE_DATE;
    for (i = 0; i < event->exception_count; ++i)
        if (!skv_date_valid(skv_word(event->exceptions, i))) return SKV_REFUSE_DATE;
    return SKV_REFUSE_NONE;
}

skv_status skv_datebook_record(const uint8_t *bytes, uint32_t size, skv_record *out) {
    skv_event event;
    skv_status status;
    uint16_t flags = SKR_EVENT_FLAG_DESCRIPTION;
    uint8_t repeats, head = SKR_PALM_EVENT_HEADER_SIZE;
    skv_mem_set(out, 0, sizeof *out);
    out->kind = SKV_RECORD_EVENT;
    if (!bytes) return SKV_ERR_MISSING;
    status = skv_parse_event(bytes, size, &event);
    if (status) return status;
    /* A repeat block without a repeat type, and exceptions of an event that
     * does not repeat, say nothing: they are left out. */
    repeats = (uint8_t)(event.has_repeat && event.repeat_type != SKR_REPEAT_NONE);
    out->refused = event_refusal(&event, repeats);
    if (out->refused) return SKV_OK;
    skf_put16be(out->head + SKR_PALM_EVENT_START_TIME, event.start_time);
    skf_put16be(out->head + SKR_PALM_EVENT_END_TIME, event.end_time);
    skf_put16be(out->head + SKR_PALM_EVENT_DATE, event.date);
    if (repeats) {
        uint8_t *repeat = out->head + SKR_PALM_EVENT_HEADER_SIZE;
        flags |= SKR_EVENT_FLAG_REPEAT;
        skv_mem_set(repeat, 0, SKR_PALM_EVENT_REPEAT_SIZE); /* weeks start on Sunday (0) */
        repeat[SKR_PALM_REPEAT_TYPE] = event.repeat_type;
        skf_put16be(repeat + SKR_PALM_REPEAT_END_DATE, event.repeat_end);
        repeat[SKR_PALM_REPEAT_FREQUENCY] = event.frequency;
        repeat[SKR_PALM_REPEAT_ON] = event.repeat_type == SKR_REPEAT_WEEKLY         ? (uint8_t)(event.repeat_on & 0x7F)
                                     : event.repeat_type == SKR_REPEAT_MONTH_BY_DAY ? event.repeat_on
                                                                                    : 0;
        head = SKR_PALM_EVENT_HEADER_SIZE + SKR_PALM_EVENT_REPEAT_SIZE;
        if (event.exception_count) {
            flags |= SKR_EVENT_FLAG_EXCEPTIONS;
            skf_put16be(out->head + head, event.exception_count);
            head += 2;
        }
    }
    if (event.note && event.note_length) flags |= SKR_EVENT_FLAG_NOTE;
    skf_put16be(out->head + SKR_PALM_EVENT_FLAGS, flags);
    piece(out, out->head, head);
    if (flags & SKR_EVENT_FLAG_EXCEPTIONS) piece(out, event.exceptions, 2u * event.exception_count);
    piece(out, event.title, event.title_length + 1u); /* with its zero byte */
    if (flags & SKR_EVENT_FLAG_NOTE) piece(out, event.note, event.note_length + 1u);
    if (out->size > SKV_MAX_RECORD_SIZE) refuse(out, SKV_REFUSE_TEXT_LENGTH);
    return SKV_OK;
}

skv_status skv_addressbook_record(const uint8_t *bytes, uint32_t size, skv_record *out) {
    skv_contact contact;
    skv_status status;
    uint32_t flags = 0, options = 0;
    uint32_t company_offset = 0, offset = 1;
    uint8_t field, phone, shown_phone = 0xFF;
    skv_mem_set(out, 0, sizeof *out);
    out->kind = SKV_RECORD_CONTACT;
    if (!bytes) return SKV_ERR_MISSING;
    status = skv_parse_contact(bytes, size, &contact);
    if (status) return status;
    /* The Address Book holds no empty field: an empty text is left out. */
    for (field = 0; field < SKR_FIELD_COUNT; ++field) {
        if (!contact.field[field] || contact.field_length[field] == 0) continue;
        flags |= (uint32_t)1 << field;
        if (field == SKR_FIELD_COMPANY) company_offset = offset;
        offset += contact.field_length[field] + 1u;
    }
    /* The company offset is one byte: names longer than that cannot be kept. */
    if (company_offset > 0xFF) {
        refuse(out, SKV_REFUSE_COMPANY);
        return SKV_OK;
    }
    for (phone = 0; phone < SKR_PHONE_COUNT; ++phone) {
        uint8_t label = skv_phone_label(&contact, phone);
        /* A label the Address Book does not know would index past its list
         * of label names; it becomes "other". */
        if (label > ADDRESS_LAST_LABEL) label = ADDRESS_LABEL_OTHER;
        options |= (uint32_t)label << (SKR_PHONE_LABEL_BITS * phone);
        if (shown_phone == 0xFF && (flags & ((uint32_t)1 << (SKR_FIELD_PHONE1 + phone)))) shown_phone = phone;
    }
    /* Bits 20..23: the phone the list shows; the first one present. */
    options |= (uint32_t)(shown_phone == 0xFF ? 0 : shown_phone) << 20;
    skf_put32be(out->head, options);
    skf_put32be(out->head + 4, flags);
    out->head[8] = (uint8_t)company_offset;
    piece(out, out->head, SKR_PALM_CONTACT_HEADER_SIZE);
    for (field = 0; field < SKR_FIELD_COUNT; ++field)
        if (flags & ((uint32_t)1 << field)) piece(out, contact.field[field], contact.field_length[field] + 1u);
    if (out->size > SKV_MAX_RECORD_SIZE) refuse(out, SKV_REFUSE_TEXT_LENGTH);
    return SKV_OK;
}

const char *skv_refusal_text(uint8_t refused) {
    switch (refused) {
    case SKV_REFUSE_DATE: return "date";
    case SKV_REFUSE_TIME: return "time";
    case SKV_REFUSE_REPEAT: return "repeat";
    case SKV_REFUSE_TEXT_LENGTH: return "too long";
    case SKV_REFUSE_COMPANY: return "names too long";
    default: return "";
    }
}

/* ---- The walk over the choice ---- */

uint16_t skv_contact_total(skv_context *ctx) {
    uint32_t size;
    if (!ctx->contact_total_known) {
        uint16_t n = 0;
        while (n < SKV_MAX_CONTACTS && skv_resource(ctx, SKV_TYPE_CONTACT, (uint16_t)(SKV_ID_FIRST_CONTACT + n), &size))
            ++n;
        ctx->contact_total = n;
        ctx->contact_total_known = 1;
    }
    return ctx->contact_total;
}

/* Turns the choice of the navigation level into one bit per event and per
 * contact; a contact of several chosen groups is one bit. */
static void resolve_choice(skv_context *ctx) {
    uint16_t group, i;
    if (ctx->navigation == 2) return;
    skv_mem_set(ctx->chosen_events, 0, (ctx->total_events + 7u) / 8);
    skv_mem_set(ctx->chosen_contacts, 0, (SKV_MAX_CONTACTS + 7u) / 8);
    if (ctx->navigation == 0) {
        for (i = 0; i < ctx->total_events; ++i) skv_set_bit(ctx->chosen_events, i, 1);
        for (i = 0; i < skv_contact_total(ctx); ++i) skv_set_bit(ctx->chosen_contacts, i, 1);
        return;
    }
    for (group = 0; group < ctx->group_count; ++group) {
        uint16_t first, count;
        if (!skv_bit(ctx->chosen_groups, group)) continue;
        first = (uint16_t)(skv_word(ctx->first_event, group) - SKV_ID_FIRST_EVENT);
        count = skv_word(ctx->event_count, group);
        for (i = 0; i < count; ++i) skv_set_bit(ctx->chosen_events, (uint16_t)(first + i), 1);
        first = skv_word(ctx->first_index, group);
        count = skv_word(ctx->contact_count, group);
        for (i = 0; i < count; ++i)
            skv_set_bit(ctx->chosen_contacts,
                        (uint16_t)(skv_word(ctx->contact_index, (uint16_t)(first + i)) - SKV_ID_FIRST_CONTACT), 1);
    }
}

enum { WALK_EVENTS = 0, WALK_CONTACTS = 1, WALK_DONE = 2 };

/* The id of the next chosen event or contact, or 0 at the end. */
static uint16_t next_chosen(skv_context *ctx) {
    while (ctx->walk_phase == WALK_EVENTS) {
        if (ctx->walk_index >= ctx->total_events) {
            ctx->walk_phase = WALK_CONTACTS;
            ctx->walk_index = 0;
            break;
        }
        if (skv_bit(ctx->chosen_events, ctx->walk_index++)) return (uint16_t)(SKV_ID_FIRST_EVENT + ctx->walk_index - 1);
    }
    while (ctx->walk_phase == WALK_CONTACTS) {
        if (ctx->walk_index >= SKV_MAX_CONTACTS) {
            ctx->walk_phase = WALK_DONE;
            break;
        }
        if (skv_bit(ctx->chosen_contacts, ctx->walk_index++))
            return (uint16_t)(SKV_ID_FIRST_CONTACT + ctx->walk_index - 1);
    }
    return 0;
}

/* Why the calendar cannot take a decoded event: an impossible date or
 * time, an end before the start, a repeat that never recurs. */
static uint8_t entry_refusal(const skv_entry_event *e) {
    uint8_t timed = e->start_hour != 0xFF;
    if (e->year < 1900 || e->year > 2099 || e->month < 1 || e->month > 12 || e->day < 1 || e->day > 31)
        return SKV_REFUSE_DATE;
    if (timed != (e->end_hour != 0xFF)) return SKV_REFUSE_TIME;
    if (timed && (e->start_hour > 23 || e->end_hour > 23 || e->start_minute > 59 || e->end_minute > 59 ||
                  e->end_hour * 60 + e->end_minute < e->start_hour * 60 + e->start_minute))
        return SKV_REFUSE_TIME;
    if (e->recurrence == -1) return SKV_REFUSE_NONE;
    if (e->frequency == 0) return SKV_REFUSE_REPEAT;
    if (e->recurrence == 1 && (e->mask & 0x7F) == 0) return SKV_REFUSE_REPEAT;
    if (e->recurrence == 3 && e->mask > LAST_DAY_OF_MONTH_END) return SKV_REFUSE_REPEAT;
    if (e->end_year) {
        uint32_t start = (uint32_t)e->year << 9 | (uint32_t)e->month << 5 | e->day;
        uint32_t end = (uint32_t)e->end_year << 9 | (uint32_t)e->end_month << 5 | e->end_day;
        if (e->end_month < 1 || e->end_month > 12 || e->end_day < 1 || e->end_day > 31 || end < start)
            return SKV_REFUSE_DATE;
    }
    return SKV_REFUSE_NONE;
}

/* Decodes entry `id` of a Pocket PC package; damage is recorded. */
static skv_status decode_entry(skv_context *ctx, uint16_t id, skv_entry *out) {
    uint32_t size;
    const uint8_t *bytes;
    skv_status status;
    skv_mem_set(out, 0, sizeof *out);
    out->source_id = id;
    if (id >= SKV_ID_FIRST_EVENT) {
        out->kind = SKV_RECORD_EVENT;
        bytes = skv_resource(ctx, SKV_TYPE_EVENT, id, &size);
        status = skv_ppc_decode_event(bytes, size, &out->event);
        if (!status) out->refused = entry_refusal(&out->event);
        if (status) skv_fail(ctx, status, SKV_TYPE_EVENT, id);
    } else {
        out->kind = SKV_RECORD_CONTACT;
        bytes = skv_resource(ctx, SKV_TYPE_CONTACT, id, &size);
        status = skv_ppc_decode_contact(bytes, size, &out->contact);
        if (status) skv_fail(ctx, status, SKV_TYPE_CONTACT, id);
    }
    return status;
}

/* Encodes entry `id` of a Palm package; damage is recorded. */
static skv_status encode_record(skv_context *ctx, uint16_t id, skv_record *out) {
    uint32_t size;
    const uint8_t *bytes;
    skv_status status;
    uint32_t type = id >= SKV_ID_FIRST_EVENT ? SKV_TYPE_EVENT : SKV_TYPE_CONTACT;
    bytes = skv_resource(ctx, type, id, &size);
    status = type == SKV_TYPE_EVENT ? skv_datebook_record(bytes, size, out) : skv_addressbook_record(bytes, size, out);
    out->source_id = id;
    if (status) skv_fail(ctx, status, type, id);
    return status;
}

uint8_t skv_refusal_of(skv_context *ctx, uint16_t id) {
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        skv_entry entry;
        return decode_entry(ctx, id, &entry) ? SKV_REFUSE_NONE : entry.refused;
    } else {
        skv_record record;
        return encode_record(ctx, id, &record) ? SKV_REFUSE_NONE : record.refused;
    }
}

skv_status skv_copy_prepare(skv_context *ctx, skv_copy_summary *summary) {
    skv_status status = SKV_OK;
    uint16_t id;
    skv_mem_set(summary, 0, sizeof *summary);
    if (ctx->error) return ctx->error;
    resolve_choice(ctx);
    ctx->walk_phase = WALK_EVENTS;
    ctx->walk_index = 0;
    while (!status && (id = next_chosen(ctx)) != 0) {
        uint8_t refused = 0;
        if (ctx->layout == SKV_LAYOUT_POCKETPC) {
            skv_entry entry;
            status = decode_entry(ctx, id, &entry);
            refused = entry.refused;
        } else {
            skv_record record;
            status = encode_record(ctx, id, &record);
            refused = record.refused;
        }
        if (status) break;
        if (id >= SKV_ID_FIRST_EVENT) {
            if (refused)
                ++summary->events_refused;
            else
                ++summary->events;
        } else {
            if (refused)
                ++summary->contacts_refused;
            else
                ++summary->contacts;
        }
    }
    ctx->walk_phase = WALK_EVENTS;
    ctx->walk_index = 0;
    ctx->refused_count = 0;
    if (status) {
        ctx->walk_phase = WALK_DONE;
        skv_layout(ctx);
    }
    return status;
}

static void note_refused(skv_context *ctx, uint8_t refused, uint16_t id) {
    if (refused && ctx->refused_count < SKV_MAX_REFUSED_SHOWN) ctx->refused_ids[ctx->refused_count++] = id;
}

uint8_t skv_copy_next(skv_context *ctx, skv_record *out) {
    uint16_t id;
    if (ctx->error || ctx->layout != SKV_LAYOUT_PALM) return 0;
    id = next_chosen(ctx);
    if (!id || encode_record(ctx, id, out)) return 0;
    note_refused(ctx, out->refused, id);
    return 1;
}

uint8_t skv_copy_next_entry(skv_context *ctx, skv_entry *out) {
    uint16_t id;
    if (ctx->error || ctx->layout != SKV_LAYOUT_POCKETPC) return 0;
    id = next_chosen(ctx);
    if (!id || decode_entry(ctx, id, out)) return 0;
    note_refused(ctx, out->refused, id);
    return 1;
}

uint16_t skv_copy_finished(skv_context *ctx, const skv_copy_summary *done) {
    if (ctx->error) return SKV_ACTION_ERROR;
    skv_mem_copy(&ctx->copied, done, sizeof *done);
    skv_mem_set(&ctx->place, 0, sizeof ctx->place);
    ctx->place.screen = SKV_SCREEN_COPY_DONE;
    skv_layout(ctx);
    return ctx->error ? (SKV_ACTION_REDRAW | SKV_ACTION_ERROR) : SKV_ACTION_REDRAW;
}
