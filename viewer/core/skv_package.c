/* Opening a package: the tables that say what is in it, checked once so
 * that later lookups can trust their counts; records are read on demand. */
#include "skv_internal.h"

#define ALIGN4(n) (((n) + 3u) & ~3u)

/* What skv_measure and skv_open learn from the tables. */
typedef struct tables {
    skv_status status;
    uint32_t bad_type;
    uint16_t bad_id;
    const char *title;
    uint16_t title_length;
    uint8_t navigation;
    uint16_t group_count;
    const uint8_t *names;
    uint32_t names_size;
    const uint8_t *word[5];
    uint16_t contact_index_count;
    uint16_t total_events;
    uint16_t largest_list;
} tables;

static uint8_t refuse(tables *t, skv_status status, uint32_t type, uint16_t id) {
    t->status = status;
    t->bad_type = type;
    t->bad_id = id;
    return 0;
}

static const uint8_t *host_resource(const skv_host *host, uint32_t type, uint16_t id, uint32_t *size) {
    const uint8_t *bytes;
    *size = 0;
    if (!host || !host->get_resource) return 0;
    bytes = host->get_resource(host->user, type, id, size);
    if (!bytes) *size = 0;
    return bytes;
}

/* A tSTR body must hold its zero byte; anything after it is ignored. */
static skv_status string_of(const skv_host *host, uint16_t id, const char **text, uint16_t *length) {
    uint32_t size;
    const uint8_t *bytes = host_resource(host, SKV_TYPE_STRING, id, &size);
    skv_cursor in;
    *text = 0;
    *length = 0;
    if (!bytes) return SKV_ERR_MISSING;
    skv_cursor_init(&in, bytes, size);
    *text = skv_read_text(&in, length);
    return in.ok ? SKV_OK : SKV_ERR_TEXT;
}

static uint8_t read_navigation(const skv_host *host, tables *t) {
    const char *text;
    uint16_t length;
    skv_status status = string_of(host, SKV_ID_NAVIGATION, &text, &length);
    if (status) return refuse(t, status, SKV_TYPE_STRING, SKV_ID_NAVIGATION);
    if (length != 1 || text[0] < '0' || text[0] > '2') return refuse(t, SKV_ERR_RANGE, SKV_TYPE_STRING, SKV_ID_NAVIGATION);
    t->navigation = (uint8_t)(text[0] - '0');
    return 1;
}

static uint8_t read_group_names(const skv_host *host, tables *t) {
    uint32_t size;
    const uint8_t *bytes = host_resource(host, SKV_TYPE_STRING_LIST, SKV_ID_GROUP_NAMES, &size);
    skv_cursor in;
    uint16_t i, length;
    if (!bytes) return refuse(t, SKV_ERR_MISSING, SKV_TYPE_STRING_LIST, SKV_ID_GROUP_NAMES);
    /* Group names are found again through 16-bit offsets. */
    if (size > 0xFFFF) return refuse(t, SKV_ERR_RANGE, SKV_TYPE_STRING_LIST, SKV_ID_GROUP_NAMES);
    skv_cursor_init(&in, bytes, size);
    skv_read_text(&in, &length); /* the list's prefix text */
    t->group_count = skv_read_be16(&in);
    if (!in.ok) return refuse(t, SKV_ERR_TRUNCATED, SKV_TYPE_STRING_LIST, SKV_ID_GROUP_NAMES);
    t->names = in.bytes + in.at;
    t->names_size = skv_remaining(&in);
    for (i = 0; i < t->group_count && in.ok; ++i) skv_read_text(&in, &length);
    if (!in.ok) return refuse(t, SKV_ERR_TEXT, SKV_TYPE_STRING_LIST, SKV_ID_GROUP_NAMES);
    return 1;
}

/* A word list: its count, then that many big-endian words. */
static const uint8_t *word_list(const skv_host *host, uint16_t id, uint16_t *count, tables *t) {
    uint32_t size;
    const uint8_t *bytes = host_resource(host, SKV_TYPE_WORD_LIST, id, &size);
    if (!bytes) {
        refuse(t, SKV_ERR_MISSING, SKV_TYPE_WORD_LIST, id);
        return 0;
    }
    if (size < 2 || (*count = (uint16_t)(bytes[0] << 8 | bytes[1]), size - 2 < 2u * *count)) {
        refuse(t, SKV_ERR_TRUNCATED, SKV_TYPE_WORD_LIST, id);
        return 0;
    }
    return bytes + 2;
}

uint16_t skv_word(const uint8_t *table, uint16_t index) {
    return (uint16_t)(table[2u * index] << 8 | table[2u * index + 1]);
}

static uint8_t read_group_tables(const skv_host *host, tables *t) {
    uint16_t i, count;
    uint32_t next_event = SKV_ID_FIRST_EVENT;
    for (i = 0; i < 4; ++i) {
        t->word[i] = word_list(host, (uint16_t)(SKV_ID_GROUP_FIRST_EVENT + i), &count, t);
        if (!t->word[i]) return 0;
        if (count != t->group_count) return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, (uint16_t)(SKV_ID_GROUP_FIRST_EVENT + i));
    }
    t->word[4] = word_list(host, SKV_ID_CONTACT_INDEX_LIST, &t->contact_index_count, t);
    if (!t->word[4]) return 0;
    for (i = 0; i < t->contact_index_count; ++i) {
        uint16_t id = skv_word(t->word[4], i);
        if (id < SKV_ID_FIRST_CONTACT || id >= SKV_ID_FIRST_CONTACT + SKV_MAX_CONTACTS)
            return refuse(t, SKV_ERR_RANGE, SKV_TYPE_WORD_LIST, SKV_ID_CONTACT_INDEX_LIST);
    }
    /* Events are numbered in group order without gaps: each group's first
     * event follows the previous group's last one. */
    for (i = 0; i < t->group_count; ++i) {
        uint16_t events = skv_word(t->word[1], i);
        uint16_t contacts = skv_word(t->word[3], i);
        if (skv_word(t->word[0], i) != next_event)
            return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_FIRST_EVENT);
        next_event += events;
        if (next_event > 0x10000u) return refuse(t, SKV_ERR_RANGE, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_EVENT_COUNT);
        if ((uint32_t)skv_word(t->word[2], i) + contacts > t->contact_index_count)
            return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_FIRST_INDEX);
        if (events > t->largest_list) t->largest_list = events;
        if (contacts > t->largest_list) t->largest_list = contacts;
    }
    t->total_events = (uint16_t)(next_event - SKV_ID_FIRST_EVENT);
    return 1;
}

static skv_status read_tables(const skv_host *host, tables *t) {
    const char *text;
    uint16_t length;
    skv_status status;
    skv_mem_set(t, 0, sizeof *t);
    status = string_of(host, SKV_ID_TITLE, &t->title, &t->title_length);
    if (status) return refuse(t, status, SKV_TYPE_STRING, SKV_ID_TITLE), t->status;
    status = string_of(host, SKV_ID_WELCOME, &text, &length);
    if (status) return refuse(t, status, SKV_TYPE_STRING, SKV_ID_WELCOME), t->status;
    status = string_of(host, SKV_ID_AUTHOR, &text, &length);
    if (status && status != SKV_ERR_MISSING) return refuse(t, status, SKV_TYPE_STRING, SKV_ID_AUTHOR), t->status;
    if (read_navigation(host, t) && read_group_names(host, t) && read_group_tables(host, t)) return SKV_OK;
    return t->status;
}

/* The alignment the compiler gives the context: 2 on the 68000, whose
 * memory manager hands out chunks on even addresses; more elsewhere. */
struct alignment_probe {
    char first;
    skv_context context;
};

static uintptr_t context_alignment(void) { return (uintptr_t)offsetof(struct alignment_probe, context); }

static uint32_t bits_bytes(uint32_t count) { return ALIGN4((count + 7) / 8); }

static uint16_t key_capacity(const tables *t) {
    return t->largest_list < SKV_KEY_CACHE_ENTRIES ? t->largest_list : SKV_KEY_CACHE_ENTRIES;
}

static uint32_t context_size(const tables *t) {
    return ALIGN4((uint32_t)sizeof(skv_context)) + ALIGN4(2u * t->group_count) /* name offsets */
           + ALIGN4(2u * t->largest_list) + 4u * key_capacity(t) + bits_bytes(t->group_count) + bits_bytes(t->total_events)
           + bits_bytes(SKV_MAX_CONTACTS);
}

skv_status skv_measure(const skv_host *host, uint32_t *size) {
    tables t;
    skv_status status = read_tables(host, &t);
    *size = status ? 0 : context_size(&t);
    return status;
}

skv_status skv_open(void *memory, uint32_t size, const skv_host *host, uint8_t density, skv_context **out) {
    tables t;
    skv_context *ctx = (skv_context *)memory;
    uint8_t *tail;
    uint16_t i, length;
    skv_cursor names;
    skv_status status;
    *out = 0;
    status = read_tables(host, &t);
    if (status) return status;
    if (!memory || size < context_size(&t) || ((uintptr_t)memory % context_alignment())) return SKV_ERR_SPACE;
    if (density != 1 && density != 2) return SKV_ERR_RANGE;
    skv_mem_set(memory, 0, context_size(&t));
    skv_mem_copy(&ctx->host, host, sizeof *host);
    ctx->size = size;
    ctx->density = density;
    ctx->navigation = t.navigation;
    ctx->title = t.title;
    ctx->title_length = t.title_length;
    ctx->group_count = t.group_count;
    ctx->group_names = t.names;
    ctx->group_names_size = t.names_size;
    ctx->first_event = t.word[0];
    ctx->event_count = t.word[1];
    ctx->first_index = t.word[2];
    ctx->contact_count = t.word[3];
    ctx->contact_index = t.word[4];
    ctx->contact_index_count = t.contact_index_count;
    ctx->total_events = t.total_events;
    ctx->largest_list = t.largest_list;

    tail = (uint8_t *)memory + ALIGN4((uint32_t)sizeof(skv_context));
    ctx->name_offsets = (uint16_t *)tail;
    tail += ALIGN4(2u * t.group_count);
    ctx->sorted = (uint16_t *)tail;
    tail += ALIGN4(2u * t.largest_list);
    ctx->sort_keys = (uint32_t *)tail;
    ctx->key_capacity = key_capacity(&t);
    tail += 4u * ctx->key_capacity;
    ctx->chosen_groups = tail;
    tail += bits_bytes(t.group_count);
    ctx->chosen_events = tail;
    tail += bits_bytes(t.total_events);
    ctx->chosen_contacts = tail;

    skv_cursor_init(&names, t.names, t.names_size);
    for (i = 0; i < t.group_count; ++i) {
        ctx->name_offsets[i] = (uint16_t)names.at;
        skv_read_text(&names, &length);
    }
    ctx->place.screen = SKV_SCREEN_WELCOME;
    skv_layout(ctx);
    *out = ctx;
    return SKV_OK;
}

void skv_fail(skv_context *ctx, skv_status status, uint32_t type, uint16_t id) {
    if (ctx->error == SKV_OK) {
        ctx->error = status;
        ctx->error_type = type;
        ctx->error_id = id;
    }
    ctx->place.screen = SKV_SCREEN_ERROR;
}

skv_status skv_error(const skv_context *ctx, uint32_t *type, uint16_t *id) {
    if (type) *type = ctx->error_type;
    if (id) *id = ctx->error_id;
    return ctx->error;
}

uint8_t skv_navigation(const skv_context *ctx) { return ctx->navigation; }

const uint8_t *skv_resource(const skv_context *ctx, uint32_t type, uint16_t id, uint32_t *size) {
    return host_resource(&ctx->host, type, id, size);
}

skv_status skv_string(const skv_context *ctx, uint16_t id, const char **text, uint16_t *length) {
    return string_of(&ctx->host, id, text, length);
}

const char *skv_group_name(const skv_context *ctx, uint16_t group, uint16_t *length) {
    const char *name = (const char *)ctx->group_names + ctx->name_offsets[group];
    *length = skv_str_length(name); /* checked to end inside the list at open */
    return name;
}

uint8_t skv_load_event(skv_context *ctx, uint16_t id, skv_event *event) {
    uint32_t size;
    const uint8_t *bytes;
    skv_status status;
    if (id < SKV_ID_FIRST_EVENT || (uint32_t)id - SKV_ID_FIRST_EVENT >= ctx->total_events) {
        skv_fail(ctx, SKV_ERR_RANGE, SKV_TYPE_EVENT, id);
        return 0;
    }
    bytes = skv_resource(ctx, SKV_TYPE_EVENT, id, &size);
    status = bytes ? skv_parse_event(bytes, size, event) : SKV_ERR_MISSING;
    if (status) {
        skv_fail(ctx, status, SKV_TYPE_EVENT, id);
        return 0;
    }
    return 1;
}

uint8_t skv_load_contact(skv_context *ctx, uint16_t id, skv_contact *contact) {
    uint32_t size;
    const uint8_t *bytes;
    skv_status status;
    if (id < SKV_ID_FIRST_CONTACT || id >= SKV_ID_FIRST_CONTACT + SKV_MAX_CONTACTS) {
        skv_fail(ctx, SKV_ERR_RANGE, SKV_TYPE_CONTACT, id);
        return 0;
    }
    bytes = skv_resource(ctx, SKV_TYPE_CONTACT, id, &size);
    status = bytes ? skv_parse_contact(bytes, size, contact) : SKV_ERR_MISSING;
    if (status) {
        skv_fail(ctx, status, SKV_TYPE_CONTACT, id);
        return 0;
    }
    return 1;
}

static uint32_t mix(uint32_t hash, const uint8_t *bytes, uint32_t count) {
    while (count--) hash = (hash ^ *bytes++) * 16777619u;
    return hash;
}

uint32_t skv_fingerprint(const skv_context *ctx) {
    uint32_t hash = 2166136261u;
    uint8_t counts[5];
    uint16_t i;
    hash = mix(hash, (const uint8_t *)ctx->title, ctx->title_length);
    hash = mix(hash, ctx->group_names, ctx->group_names_size);
    for (i = 0; i < 4; ++i) {
        const uint8_t *table = i == 0 ? ctx->first_event : i == 1 ? ctx->event_count : i == 2 ? ctx->first_index : ctx->contact_count;
        hash = mix(hash, table, 2u * ctx->group_count);
    }
    hash = mix(hash, ctx->contact_index, 2u * ctx->contact_index_count);
    counts[0] = ctx->navigation;
    counts[1] = (uint8_t)(ctx->total_events >> 8);
    counts[2] = (uint8_t)ctx->total_events;
    counts[3] = (uint8_t)(ctx->group_count >> 8);
    counts[4] = (uint8_t)ctx->group_count;
    return mix(hash, counts, 5);
}
