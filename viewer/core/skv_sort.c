/* The rows of a group's list: its events by date and time, its contacts by
 * name. Only an index of record ids is kept (2 bytes an entry); keys are
 * read from the records in place when compared. Heap sort needs no extra
 * memory; a list that is already in order (the usual case for events) is
 * found so in one pass. */
#include "skv_internal.h"

typedef struct sorter {
    skv_context *ctx;
    uint8_t list;
    uint8_t ok;
} sorter;

/* Events: date, then start time (untimed first), then package order. */
static uint32_t event_key(sorter *s, uint16_t id) {
    uint32_t size;
    const uint8_t *bytes;
    uint16_t time, date;
    if (!s->ok) return 0;
    bytes = skv_resource(s->ctx, SKV_TYPE_EVENT, id, &size);
    if (!bytes || size < 8) {
        skv_fail(s->ctx, bytes ? SKV_ERR_TRUNCATED : SKV_ERR_MISSING, SKV_TYPE_EVENT, id);
        s->ok = 0;
        return 0;
    }
    time = (uint16_t)(bytes[0] << 8 | bytes[1]);
    date = (uint16_t)(bytes[4] << 8 | bytes[5]);
    return (uint32_t)date << 16 | (time == SKV_NO_TIME ? 0u : (uint32_t)time + 1u);
}

/* Contacts: last name, first name, company; then package order. */
static int16_t compare_contacts(sorter *s, uint16_t a, uint16_t b) {
    skv_contact x, y;
    uint8_t field;
    static const uint8_t order[3] = {SKV_FIELD_LAST_NAME, SKV_FIELD_FIRST_NAME, SKV_FIELD_COMPANY};
    if (!s->ok || !skv_load_contact(s->ctx, a, &x) || !skv_load_contact(s->ctx, b, &y)) {
        s->ok = 0;
        return 0;
    }
    for (field = 0; field < 3; ++field) {
        uint8_t f = order[field];
        int16_t c = skv_text_compare(x.field[f] ? x.field[f] : "", x.field_length[f], y.field[f] ? y.field[f] : "",
                                     y.field_length[f]);
        if (c) return c;
    }
    return 0;
}

static int16_t compare(sorter *s, uint16_t a, uint16_t b) {
    int16_t c = 0;
    if (s->list == SKV_LIST_EVENTS) {
        uint32_t ka = event_key(s, a), kb = event_key(s, b);
        if (ka != kb) c = ka < kb ? -1 : 1;
    } else {
        c = compare_contacts(s, a, b);
    }
    if (c == 0 && a != b) c = a < b ? -1 : 1;
    return c;
}

static void sift_down(sorter *s, uint16_t *rows, uint16_t root, uint16_t count) {
    while (s->ok) {
        uint32_t child = 2u * root + 1;
        uint16_t swap;
        if (child >= count) return;
        if (child + 1 < count && compare(s, rows[child], rows[child + 1]) < 0) ++child;
        if (compare(s, rows[root], rows[child]) >= 0) return;
        swap = rows[root];
        rows[root] = rows[child];
        rows[child] = swap;
        root = (uint16_t)child;
    }
}

static void heap_sort(sorter *s, uint16_t *rows, uint16_t count) {
    uint16_t i;
    if (count < 2) return;
    for (i = (uint16_t)(count / 2); i > 0 && s->ok; --i) sift_down(s, rows, (uint16_t)(i - 1), count);
    for (i = (uint16_t)(count - 1); i > 0 && s->ok; --i) {
        uint16_t swap = rows[0];
        rows[0] = rows[i];
        rows[i] = swap;
        sift_down(s, rows, 0, i);
    }
}

static uint8_t in_order(sorter *s, const uint16_t *rows, uint16_t count) {
    uint16_t i;
    for (i = 1; i < count && s->ok; ++i)
        if (compare(s, rows[i - 1], rows[i]) > 0) return 0;
    return 1;
}

uint8_t skv_sort_group(skv_context *ctx, uint16_t group, uint8_t list) {
    sorter s;
    uint16_t i, count;
    if (ctx->sorted_valid && ctx->sorted_group == group && ctx->sorted_list == list) return 1;
    ctx->sorted_valid = 0;
    if (group >= ctx->group_count) return 0;
    if (list == SKV_LIST_EVENTS) {
        uint16_t first = skv_word(ctx->first_event, group);
        count = skv_word(ctx->event_count, group);
        for (i = 0; i < count; ++i) ctx->sorted[i] = (uint16_t)(first + i);
    } else {
        uint16_t first = skv_word(ctx->first_index, group);
        count = skv_word(ctx->contact_count, group);
        for (i = 0; i < count; ++i) ctx->sorted[i] = skv_word(ctx->contact_index, (uint16_t)(first + i));
    }
    s.ctx = ctx;
    s.list = list;
    s.ok = 1;
    if (!in_order(&s, ctx->sorted, count) && s.ok) heap_sort(&s, ctx->sorted, count);
    if (!s.ok) return 0;
    ctx->sorted_valid = 1;
    ctx->sorted_group = group;
    ctx->sorted_list = list;
    ctx->sorted_count = count;
    return 1;
}

uint16_t skv_sorted_id(const skv_context *ctx, uint16_t row) { return ctx->sorted[row]; }
