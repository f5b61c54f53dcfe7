/* Opening a package: the tables that say what is in it, checked once so
 * that later lookups can trust their counts; records are read on demand. */
#include "skv_internal.h"

#define ALIGN4(n) (((n) + 3u) & ~3u)

/* What skv_measure and skv_open learn from the tables. */
typedef struct tables {
    uint8_t layout;
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
    uint32_t pool_size; /* Pocket PC: bytes of the converted strings */
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
    if (length != 1 || text[0] < '0' || text[0] > '2')
        return refuse(t, SKV_ERR_RANGE, SKV_TYPE_STRING, SKV_ID_NAVIGATION);
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
    const uint8_t *bytes =
        host_resource(host, t->layout == SKV_LAYOUT_POCKETPC ? SKV_TYPE_PPC_DATA : SKV_TYPE_WORD_LIST, id, &size);
    if (!bytes) {
        refuse(t, SKV_ERR_MISSING, SKV_TYPE_WORD_LIST, id);
        return 0;
    }
    if (size >= 2) *count = t->layout == SKV_LAYOUT_POCKETPC ? skf_get16le(bytes) : skf_get16be(bytes);
    if (size < 2 || size - 2 < 2u * *count) {
        refuse(t, SKV_ERR_TRUNCATED, SKV_TYPE_WORD_LIST, id);
        return 0;
    }
    return bytes + 2;
}

uint16_t skv_word(const uint8_t *table, uint16_t index) { return skf_get16be(table + 2u * index); }

/* A word of a table as the package stores it (Pocket PC: little-endian). */
static uint16_t table_word(const tables *t, const uint8_t *table, uint16_t index) {
    if (t->layout == SKV_LAYOUT_POCKETPC) return skf_get16le(table + 2u * index);
    return skv_word(table, index);
}

static uint8_t read_group_tables(const skv_host *host, tables *t) {
    uint16_t i, count = 0;
    uint32_t next_event = SKV_ID_FIRST_EVENT;
    for (i = 0; i < 4; ++i) {
        t->word[i] = word_list(host, (uint16_t)(SKV_ID_GROUP_FIRST_EVENT + i), &count, t);
        if (!t->word[i]) return 0;
        if (count != t->group_count)
            return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, (uint16_t)(SKV_ID_GROUP_FIRST_EVENT + i));
    }
    t->word[4] = word_list(host, SKV_ID_CONTACT_INDEX_LIST, &t->contact_index_count, t);
    if (!t->word[4]) return 0;
    /* Pocket PC packages write an empty contact index list as one zero. */
    if (t->layout == SKV_LAYOUT_POCKETPC && t->contact_index_count == 1 && table_word(t, t->word[4], 0) == 0)
        t->contact_index_count = 0;
    for (i = 0; i < t->contact_index_count; ++i) {
        uint16_t id = table_word(t, t->word[4], i);
        if (id < SKV_ID_FIRST_CONTACT || id >= SKV_ID_FIRST_CONTACT + SKV_MAX_CONTACTS)
            return refuse(t, SKV_ERR_RANGE, SKV_TYPE_WORD_LIST, SKV_ID_CONTACT_INDEX_LIST);
    }
    /* Events are numbered in group order without gaps: each group's first
     * event follows the previous group's last one. */
    for (i = 0; i < t->group_count; ++i) {
        uint16_t events = table_word(t, t->word[1], i);
        uint16_t contacts = table_word(t, t->word[3], i);
        if (table_word(t, t->word[0], i) != next_event)
            return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_FIRST_EVENT);
        next_event += events;
        if (next_event > 0x10000u) return refuse(t, SKV_ERR_RANGE, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_EVENT_COUNT);
        if ((uint32_t)table_word(t, t->word[2], i) + contacts > t->contact_index_count)
            return refuse(t, SKV_ERR_COUNT, SKV_TYPE_WORD_LIST, SKV_ID_GROUP_FIRST_INDEX);
        if (events > t->largest_list) t->largest_list = events;
        if (contacts > t->largest_list) t->largest_list = contacts;
    }
    t->total_events = (uint16_t)(next_event - SKV_ID_FIRST_EVENT);
    return 1;
}

/* Pocket PC: the strings are measured here and converted at open. */
static uint8_t ppc_text(const skv_host *host, tables *t, uint16_t id, uint8_t required) {
    uint16_t length;
    skv_status status = skv_ppc_string(host, id, 0, &length);
    if (status == SKV_ERR_MISSING && !required) return 1;
    if (status) return refuse(t, status, SKV_TYPE_STRING, id);
    t->pool_size += length + 1u;
    return 1;
}

static skv_status read_ppc_tables(const skv_host *host, tables *t) {
    char navigation[1];
    uint16_t length, i;
    t->layout = SKV_LAYOUT_POCKETPC;
    if (!ppc_text(host, t, SKV_ID_TITLE, 1) || !ppc_text(host, t, SKV_ID_WELCOME, 1) ||
        !ppc_text(host, t, SKV_ID_AUTHOR, 0))
        return t->status;
    if (skv_ppc_string(host, SKV_ID_NAVIGATION, 0, &length) != SKV_OK || length != 1)
        return refuse(t, length ? SKV_ERR_RANGE : SKV_ERR_MISSING, SKV_TYPE_STRING, SKV_ID_NAVIGATION), t->status;
    skv_ppc_string(host, SKV_ID_NAVIGATION, navigation, &length);
    if (navigation[0] < '0' || navigation[0] > '2')
        return refuse(t, SKV_ERR_RANGE, SKV_TYPE_STRING, SKV_ID_NAVIGATION), t->status;
    t->navigation = (uint8_t)(navigation[0] - '0');
    /* The group count comes from the first group table. */
    if (!word_list(host, SKV_ID_GROUP_FIRST_EVENT, &t->group_count, t)) return t->status;
    for (i = 0; i < t->group_count; ++i) {
        uint32_t before = t->pool_size;
        if (!ppc_text(host, t, (uint16_t)(SKV_ID_FIRST_GROUP_NAME + i), 1)) return t->status;
        t->names_size += t->pool_size - before;
        if (!ppc_text(host, t, (uint16_t)(SKV_ID_FIRST_GROUP_TEXT + i), 0)) return t->status;
    }
    if (!read_group_tables(host, t)) return t->status;
    return SKV_OK;
}

static skv_status read_tables(const skv_host *host, tables *t) {
    const char *text;
    uint16_t length;
    skv_status status;
    uint32_t size;
    skv_mem_set(t, 0, sizeof *t);
    if (!host_resource(host, SKV_TYPE_STRING, SKV_ID_TITLE, &size)) return read_ppc_tables(host, t);
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

/* Pocket PC: the string pool, where each description is, and the group
 * tables turned big-endian. */
static uint32_t ppc_size(const tables *t) {
    if (t->layout != SKV_LAYOUT_POCKETPC) return 0;
    return ALIGN4(t->pool_size) + ALIGN4((uint32_t)sizeof(skv_pooled) * t->group_count) +
           4u * ALIGN4(2u * t->group_count) + ALIGN4(2u * t->contact_index_count);
}

static uint32_t context_size(const tables *t) {
    return ALIGN4((uint32_t)sizeof(skv_context)) + ALIGN4(2u * t->group_count) /* name offsets */
           + ALIGN4(2u * t->largest_list) + 4u * key_capacity(t) + bits_bytes(t->group_count) +
           bits_bytes(t->total_events) + bits_bytes(SKV_MAX_CONTACTS) + ppc_size(t);
}

/* Converts a string into the pool at *used. */
static skv_pooled pool_text(skv_context *ctx, uint16_t id, uint32_t *used) {
    skv_pooled text;
    skv_mem_set(&text, 0, sizeof text);
    if (skv_ppc_string(&ctx->host, id, ctx->pool + *used, &text.length) != SKV_OK) return text;
    text.at = *used;
    text.present = 1;
    ctx->pool[*used + text.length] = 0;
    *used += text.length + 1u;
    return text;
}

static uint8_t *big_endian_copy(uint8_t *tail, const tables *t, const uint8_t *table, uint16_t count,
                                const uint8_t **out) {
    uint16_t i;
    for (i = 0; i < count; ++i) {
        skf_put16be(tail + 2u * i, table_word(t, table, i));
    }
    *out = tail;
    return tail + ALIGN4(2u * count);
}

/* Fills the Pocket PC parts of the context after the common tail. */
static void open_ppc(skv_context *ctx, const tables *t, uint8_t *tail) {
    uint32_t used = 0;
    uint16_t i;
    skv_pooled title, name;
    ctx->pool = (char *)tail;
    tail += ALIGN4(t->pool_size);
    ctx->descriptions = (skv_pooled *)tail;
    tail += ALIGN4((uint32_t)sizeof(skv_pooled) * t->group_count);
    tail = big_endian_copy(tail, t, t->word[0], t->group_count, &ctx->first_event);
    tail = big_endian_copy(tail, t, t->word[1], t->group_count, &ctx->event_count);
    tail = big_endian_copy(tail, t, t->word[2], t->group_count, &ctx->first_index);
    tail = big_endian_copy(tail, t, t->word[3], t->group_count, &ctx->contact_count);
    big_endian_copy(tail, t, t->word[4], t->contact_index_count, &ctx->contact_index);
    title = pool_text(ctx, SKV_ID_TITLE, &used);
    ctx->title = ctx->pool + title.at;
    ctx->title_length = title.length;
    ctx->welcome = pool_text(ctx, SKV_ID_WELCOME, &used);
    ctx->author = pool_text(ctx, SKV_ID_AUTHOR, &used);
    /* The names back to back, as the Palm string list keeps them. */
    ctx->group_names = (const uint8_t *)ctx->pool + used;
    for (i = 0; i < t->group_count; ++i) name = pool_text(ctx, (uint16_t)(SKV_ID_FIRST_GROUP_NAME + i), &used);
    (void)name;
    for (i = 0; i < t->group_count; ++i)
        ctx->descriptions[i] = pool_text(ctx, (uint16_t)(SKV_ID_FIRST_GROUP_TEXT + i), &used);
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
    ctx->layout = t.layout;
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
    tail += bits_bytes(SKV_MAX_CONTACTS);
    if (t.layout == SKV_LAYOUT_POCKETPC) open_ppc(ctx, &t, tail);

    skv_cursor_init(&names, ctx->group_names, t.names_size);
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

uint8_t skv_layout_kind(const skv_context *ctx) { return ctx->layout; }

const char *skv_package_title(const skv_context *ctx, uint16_t *length) {
    *length = ctx->title_length;
    return ctx->title;
}

/* Pocket PC packages keep records and word lists as raw data and the logo
 * as a bitmap resource. */
const uint8_t *skv_resource(const skv_context *ctx, uint32_t type, uint16_t id, uint32_t *size) {
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        if (type == SKV_TYPE_EVENT || type == SKV_TYPE_CONTACT || type == SKV_TYPE_WORD_LIST)
            type = SKV_TYPE_PPC_DATA;
        else if (type == SKV_TYPE_BITMAP)
            type = SKV_TYPE_PPC_BITMAP;
    }
    return host_resource(&ctx->host, type, id, size);
}

static skv_status pooled(const skv_context *ctx, const skv_pooled *text, const char **out, uint16_t *length) {
    *out = text->present ? ctx->pool + text->at : 0;
    *length = text->length;
    return text->present ? SKV_OK : SKV_ERR_MISSING;
}

skv_status skv_string(const skv_context *ctx, uint16_t id, const char **text, uint16_t *length) {
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        if (id == SKV_ID_TITLE) return *text = ctx->title, *length = ctx->title_length, SKV_OK;
        if (id == SKV_ID_WELCOME) return pooled(ctx, &ctx->welcome, text, length);
        if (id == SKV_ID_AUTHOR) return pooled(ctx, &ctx->author, text, length);
        if (id >= SKV_ID_FIRST_GROUP_TEXT && id - SKV_ID_FIRST_GROUP_TEXT < ctx->group_count)
            return pooled(ctx, &ctx->descriptions[id - SKV_ID_FIRST_GROUP_TEXT], text, length);
        *text = 0;
        *length = 0;
        return SKV_ERR_MISSING;
    }
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
    status = !bytes                               ? SKV_ERR_MISSING
             : ctx->layout == SKV_LAYOUT_POCKETPC ? skv_ppc_parse_event(bytes, size, event)
                                                  : skv_parse_event(bytes, size, event);
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
    status = !bytes                               ? SKV_ERR_MISSING
             : ctx->layout == SKV_LAYOUT_POCKETPC ? skv_ppc_parse_contact(bytes, size, contact)
                                                  : skv_parse_contact(bytes, size, contact);
    if (status) {
        skv_fail(ctx, status, SKV_TYPE_CONTACT, id);
        return 0;
    }
    return 1;
}

uint8_t skv_event_when(skv_context *ctx, uint16_t id, uint16_t *date, uint16_t *time) {
    skv_event event;
    uint32_t size;
    const uint8_t *bytes;
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        if (!skv_load_event(ctx, id, &event)) return 0;
        *date = event.date;
        *time = event.start_time;
        return 1;
    }
    /* Palm records: read the two fields alone, without parsing the texts. */
    bytes = skv_resource(ctx, SKV_TYPE_EVENT, id, &size);
    if (!bytes || size < SKR_PALM_EVENT_HEADER_SIZE) {
        skv_fail(ctx, bytes ? SKV_ERR_TRUNCATED : SKV_ERR_MISSING, SKV_TYPE_EVENT, id);
        return 0;
    }
    *time = skf_get16be(bytes + SKR_PALM_EVENT_START_TIME);
    *date = skf_get16be(bytes + SKR_PALM_EVENT_DATE);
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
        const uint8_t *table = i == 0   ? ctx->first_event
                               : i == 1 ? ctx->event_count
                               : i == 2 ? ctx->first_index
                                        : ctx->contact_count;
        hash = mix(hash, table, 2u * ctx->group_count);
    }
    hash = mix(hash, ctx->contact_index, 2u * ctx->contact_index_count);
    counts[0] = ctx->navigation;
    skf_put16be(counts + 1, ctx->total_events);
    skf_put16be(counts + 3, ctx->group_count);
    return mix(hash, counts, 5);
}
