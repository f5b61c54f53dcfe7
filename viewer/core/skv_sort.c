/* The rows of a group's list: its events by date and time, its contacts by
 * name. The list is an index of record ids (2 bytes an entry). While
 * sorting, each entry's key (events: date and time; contacts: the first
 * letters of the name) is read once into a key cache of fixed size, so a
 * sort reads each record once instead of at every comparison; contacts with
 * equal first letters are compared in full. A list longer than the cache
 * sorts with keys read from the records at each comparison. Heap sort needs
 * no other memory; a list already in order is found so in one pass. */
#include "skv_internal.h"

typedef struct sorter {
    skv_context *ctx;
    uint16_t *rows;
    uint32_t *keys; /* 0 when the list is longer than the cache */
    uint8_t list;
    uint8_t ok;
} sorter;

/* Events: date, then start time (untimed first). */
static uint32_t event_key(sorter *s, uint16_t id) {
    uint16_t time, date;
    if (!s->ok) return 0;
    if (!skv_event_when(s->ctx, id, &date, &time)) {
        s->ok = 0;
        return 0;
    }
    return (uint32_t)date << 16 | (time == SKV_NO_TIME ? 0u : (uint32_t)time + 1u);
}

static uint8_t fold(uint8_t c) { return (c >= 'a' && c <= 'z') ? (uint8_t)(c - 32) : c; }

/* Contacts: the first four letters of the last name, case folded, padded
 * with zeros so that a shorter name comes first as in the full comparison. */
static uint32_t contact_key(sorter *s, uint16_t id) {
    skv_contact contact;
    uint32_t key = 0;
    uint8_t i;
    const char *name;
    uint16_t length;
    if (!s->ok || !skv_load_contact(s->ctx, id, &contact)) {
        s->ok = 0;
        return 0;
    }
    name = contact.field[SKR_FIELD_LAST_NAME];
    length = name ? contact.field_length[SKR_FIELD_LAST_NAME] : 0;
    for (i = 0; i < 4; ++i) key = key << 8 | (i < length ? fold((uint8_t)name[i]) : 0u);
    return key;
}

/* Contacts in full: last name, first name, company. */
static int16_t compare_contacts(sorter *s, uint16_t a, uint16_t b) {
    skv_contact x, y;
    uint8_t field;
    static const uint8_t order[3] = {SKR_FIELD_LAST_NAME, SKR_FIELD_FIRST_NAME, SKR_FIELD_COMPANY};
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

static uint32_t key_of(sorter *s, uint16_t row) {
    if (s->keys) return s->keys[row];
    return s->list == SKV_LIST_EVENTS ? event_key(s, s->rows[row]) : contact_key(s, s->rows[row]);
}

/* Compares rows i and j; equal entries keep package order. */
static int16_t compare(sorter *s, uint16_t i, uint16_t j) {
    uint32_t ki = key_of(s, i), kj = key_of(s, j);
    uint16_t a = s->rows[i], b = s->rows[j];
    int16_t c = 0;
    if (ki != kj) return ki < kj ? -1 : 1;
    if (s->list == SKV_LIST_CONTACTS) c = compare_contacts(s, a, b);
    if (c == 0 && a != b) c = a < b ? -1 : 1;
    return c;
}

static void swap(sorter *s, uint16_t i, uint16_t j) {
    uint16_t row = s->rows[i];
    s->rows[i] = s->rows[j];
    s->rows[j] = row;
    if (s->keys) {
        uint32_t key = s->keys[i];
        s->keys[i] = s->keys[j];
        s->keys[j] = key;
    }
}

static void sift_down(sorter *s, uint16_t root, uint16_t count) {
    while (s->ok) {
        uint32_t child = 2u * root + 1;
        if (child >= count) return;
        if (child + 1 < count && compare(s, (uint16_t)child, (uint16_t)(child + 1)) < 0) ++child;
        if (compare(s, root, (uint16_t)child) >= 0) return;
        swap(s, root, (uint16_t)child);
        root = (uint16_t)child;
    }
}

static void heap_sort(sorter *s, uint16_t count) {
    uint16_t i;
    if (count < 2) return;
    for (i = (uint16_t)(count / 2); i > 0 && s->ok; --i) sift_down(s, (uint16_t)(i - 1), count);
    for (i = (uint16_t)(count - 1); i > 0 && s->ok; --i) {
        swap(s, 0, i);
        sift_down(s, 0, i);
    }
}

static uint8_t in_order(sorter *s, uint16_t count) {
    uint16_t i;
    for (i = 1; i < count && s->ok; ++i)
        if (compare(s, (uint16_t)(i - 1), i) > 0) return 0;
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
    s.rows = ctx->sorted;
    s.list = list;
    s.ok = 1;
    s.keys = 0;
    if (count <= ctx->key_capacity) {
        for (i = 0; i < count && s.ok; ++i) ctx->sort_keys[i] = key_of(&s, i);
        s.keys = ctx->sort_keys;
    }
    if (s.ok && !in_order(&s, count) && s.ok) heap_sort(&s, count);
    if (!s.ok) return 0;
    ctx->sorted_valid = 1;
    ctx->sorted_group = group;
    ctx->sorted_list = list;
    ctx->sorted_count = count;
    return 1;
}

uint16_t skv_sorted_id(const skv_context *ctx, uint16_t row) { return ctx->sorted[row]; }
