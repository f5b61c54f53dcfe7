#ifndef SKV_INTERNAL_H
#define SKV_INTERNAL_H
/* State and helpers shared by the core's source files. Not for shells. */

#include "formats/ByteOrder.h"
#include "skv_core.h"

/* ---- Bounds-checked reading ---- */

/* Every read of package bytes goes through a cursor: a read past the end
 * marks the cursor failed and yields zeros, so a parser checks `ok` once
 * at the end of a record instead of after every field. */
typedef struct skv_cursor {
    const uint8_t *bytes;
    uint32_t size;
    uint32_t at;
    uint8_t ok;
} skv_cursor;

void skv_cursor_init(skv_cursor *in, const uint8_t *bytes, uint32_t size);
uint8_t skv_read_u8(skv_cursor *in);
uint16_t skv_read_be16(skv_cursor *in);
uint32_t skv_read_be32(skv_cursor *in);
/* A zero-terminated text: its start and length without the zero byte. A
 * text running to the end without its zero byte fails the cursor. */
const char *skv_read_text(skv_cursor *in, uint16_t *length);
void skv_skip(skv_cursor *in, uint32_t count);
uint32_t skv_remaining(const skv_cursor *in);

/* ---- Small freestanding helpers ---- */

void skv_mem_set(void *target, uint8_t value, uint32_t count);
void skv_mem_copy(void *target, const void *source, uint32_t count);
uint16_t skv_str_length(const char *text);
/* Case-insensitive (ASCII letters) comparison of two counted texts. */
int16_t skv_text_compare(const char *a, uint16_t a_length, const char *b, uint16_t b_length);
/* Writes the decimal digits of value; returns the number of bytes. */
uint16_t skv_format_number(char *out, uint32_t value);

/* ---- Dates and times of the package (16-bit handheld encodings) ---- */

#define SKV_NO_TIME SKR_PALM_NO_TIME
#define SKV_NO_DATE SKR_PALM_NO_DATE
uint16_t skv_date_year(uint16_t date);
uint8_t skv_date_month(uint16_t date);
uint8_t skv_date_day(uint16_t date);
uint8_t skv_date_valid(uint16_t date);
uint8_t skv_time_valid(uint16_t time);
/* 0 Sunday ... 6 Saturday. */
uint8_t skv_date_weekday(uint16_t date);
/* Text builders; each returns the number of bytes written (at most 40). */
uint16_t skv_format_date(char *out, uint16_t date);      /* "Tue 8 Dec 2026" */
uint16_t skv_format_long_date(char *out, uint16_t date); /* "Tuesday, 8 December 2026" */
uint16_t skv_format_time(char *out, uint16_t time);      /* "9:05 am" */
const char *skv_weekday_short(uint8_t weekday);

/* ---- Package records ---- */

typedef struct skv_event {
    uint16_t start_time, end_time, date, flags;
    uint8_t has_repeat;
    uint8_t repeat_type, frequency, repeat_on, start_of_week;
    uint16_t repeat_end;
    uint16_t exception_count;
    const uint8_t *exceptions; /* read with skv_event_exception */
    uint8_t exceptions_le;     /* 1: 4-byte year/month/day entries (Pocket PC), 0: big-endian dates */
    const char *title;
    uint16_t title_length;
    const char *note; /* 0 when absent */
    uint16_t note_length;
} skv_event;

typedef struct skv_contact {
    uint32_t options;
    uint32_t field_flags;
    uint8_t company_offset;
    const char *field[SKR_FIELD_COUNT]; /* 0 when absent */
    uint16_t field_length[SKR_FIELD_COUNT];
} skv_contact;

skv_status skv_parse_event(const uint8_t *bytes, uint32_t size, skv_event *event);
/* Exception i as a 16-bit handheld date. */
uint16_t skv_event_exception(const skv_event *event, uint16_t i);

/* ---- Pocket PC layout (skv_pocketpc.c) ---- */

skv_status skv_ppc_string(const skv_host *host, uint16_t id, char *out, uint16_t *length);
skv_status skv_ppc_parse_event(const uint8_t *bytes, uint32_t size, skv_event *event);
skv_status skv_ppc_parse_contact(const uint8_t *bytes, uint32_t size, skv_contact *contact);
skv_status skv_ppc_decode_event(const uint8_t *bytes, uint32_t size, skv_entry_event *event);
skv_status skv_ppc_decode_contact(const uint8_t *bytes, uint32_t size, skv_entry_contact *contact);
skv_status skv_ppc_bitmap_size(const uint8_t *dib, uint32_t size, uint16_t *width, uint16_t *height);
skv_status skv_parse_contact(const uint8_t *bytes, uint32_t size, skv_contact *contact);
uint8_t skv_phone_label(const skv_contact *contact, uint8_t phone);
const char *skv_phone_label_text(uint8_t label);

/* ---- Context ---- */

#define SKV_MAX_ITEMS 120
#define SKV_ARENA_SIZE 3072
#define SKV_MAX_CONTACTS 1000
#define SKV_MAX_REFUSED_SHOWN 12
/* Sort keys cached while sorting: a fixed 24 KB, whatever the package. */
#define SKV_KEY_CACHE_ENTRIES 6144

enum { SKV_LIST_EVENTS = 0, SKV_LIST_CONTACTS = 1 };

#define SKV_MAX_ZONES 40

/* What a tap inside a zone does. */
enum {
    SKV_ZONE_OPEN_GROUP = 1,
    SKV_ZONE_OPEN_EVENT,
    SKV_ZONE_OPEN_CONTACT,
    SKV_ZONE_TOGGLE_GROUP,
    SKV_ZONE_TOGGLE_EVENT,
    SKV_ZONE_TOGGLE_CONTACT,
    SKV_ZONE_COMMAND
};

typedef struct skv_zone {
    int16_t x, y, w, h;
    uint8_t kind;
    uint16_t value;
} skv_zone;

/* Where the user is: one screen and its scroll position. */
typedef struct skv_place {
    uint8_t screen;
    uint8_t list;        /* SKV_LIST_* on group and copy-entry screens */
    uint8_t top_heading; /* events list: the top row is the day heading of `top` */
    uint16_t group;
    uint16_t top;   /* first row (list position or pixel offset of a text screen) */
    uint16_t entry; /* event or contact id of a details screen */
} skv_place;

/* A text of the Pocket PC string pool: offset and length, or absent. */
typedef struct skv_pooled {
    uint32_t at;
    uint16_t length;
    uint8_t present;
} skv_pooled;

struct skv_context {
    skv_host host;
    uint32_t size;
    uint8_t layout; /* SKV_LAYOUT_* */
    /* Pocket PC: the package's strings converted to 8-bit, and where each is. */
    char *pool;
    skv_pooled welcome, author;
    skv_pooled *descriptions; /* one per group */
    uint8_t density;
    uint8_t navigation;
    skv_status error;
    uint32_t error_type;
    uint16_t error_id;

    /* Package tables, read in place. */
    const char *title;
    uint16_t title_length;
    uint16_t group_count;
    const uint8_t *group_names; /* first name of the string list */
    uint32_t group_names_size;
    uint16_t *name_offsets;     /* offset of each group name in the list */
    const uint8_t *first_event; /* group_count big-endian words each */
    const uint8_t *event_count;
    const uint8_t *first_index;
    const uint8_t *contact_count;
    const uint8_t *contact_index; /* contact_index_count words */
    uint16_t contact_index_count;
    uint16_t total_events;
    uint16_t largest_list;

    /* Navigation. */
    skv_place place;
    skv_place back_place;  /* screen under the details, about and copy screens */
    skv_place copy_return; /* where copying started */
    skv_place about_return;
    uint8_t copy_done;

    /* The sorted list of the current group. */
    uint8_t sorted_valid, sorted_list;
    uint16_t sorted_group, sorted_count;
    uint16_t *sorted;    /* largest_list entries */
    uint32_t *sort_keys; /* key_capacity entries, used while sorting */
    uint16_t key_capacity;

    /* Copy choice: one bit per group, per event (id - first event id) and
     * per contact (id - first contact id). */
    uint8_t *chosen_groups;
    uint8_t *chosen_events;
    uint8_t *chosen_contacts;
    uint16_t chosen_count; /* bits set by the user: groups (level 1) or entries (level 2) */
    skv_copy_summary copied;

    /* Copy walk, and the entries the handheld could not take. */
    uint8_t walk_phase;
    uint16_t walk_index;
    uint16_t contact_total; /* contacts in the package, counted when first needed */
    uint8_t contact_total_known;
    uint8_t refused_count;
    uint16_t refused_ids[SKV_MAX_REFUSED_SHOWN];

    /* Places a tap can hit, found while laying the screen out. */
    uint16_t zone_count;
    skv_zone zones[SKV_MAX_ZONES];
    /* Height of the whole content of a text screen, for scrolling. */
    uint16_t flow_height;
    int16_t button_x; /* where the next button of the bottom row goes */

    /* Display list and the texts it made. */
    uint16_t item_count;
    uint16_t arena_used;
    skv_item items[SKV_MAX_ITEMS];
    char arena[SKV_ARENA_SIZE];
};

/* Records damage once (the first one wins) and moves to the error screen. */
void skv_fail(skv_context *ctx, skv_status status, uint32_t type, uint16_t id);

/* A resource body; 0 (and *size 0) when absent. */
const uint8_t *skv_resource(const skv_context *ctx, uint32_t type, uint16_t id, uint32_t *size);
/* A zero-terminated tSTR; 0 with status SKV_OK when absent and optional. */
skv_status skv_string(const skv_context *ctx, uint16_t id, const char **text, uint16_t *length);

uint16_t skv_word(const uint8_t *table, uint16_t index);
/* Group g's name from the string list (validated at open). */
const char *skv_group_name(const skv_context *ctx, uint16_t group, uint16_t *length);

/* Date and start time of event `id` as 16-bit handheld values, for sorting
 * and day headings; 0 (damage recorded) when the record is unreadable. */
uint8_t skv_event_when(skv_context *ctx, uint16_t id, uint16_t *date, uint16_t *time);

/* Reads a record through the host; damage is recorded in the context. */
uint8_t skv_load_event(skv_context *ctx, uint16_t id, skv_event *event);
uint8_t skv_load_contact(skv_context *ctx, uint16_t id, skv_contact *contact);

/* Sorted list of the current place's group and list kind. */
uint8_t skv_sort_group(skv_context *ctx, uint16_t group, uint8_t list);
/* Record id of row `row` of the sorted list. */
uint16_t skv_sorted_id(const skv_context *ctx, uint16_t row);

/* Display list. */
void skv_layout(skv_context *ctx);
skv_item *skv_add_item(skv_context *ctx, uint8_t kind);
char *skv_arena_take(skv_context *ctx, uint16_t length);

/* Layout geometry shared by layout and input. */
uint16_t skv_list_row_height(const skv_context *ctx, uint8_t screen, uint8_t list);
uint16_t skv_list_rows_per_page(const skv_context *ctx, uint8_t screen, uint8_t list);

/* Copy (skv_copy.c). */
uint16_t skv_contact_total(skv_context *ctx);
const char *skv_refusal_text(uint8_t refused);
/* Why entry `id` cannot be copied (SKV_REFUSE_*), in the package's layout. */
uint8_t skv_refusal_of(skv_context *ctx, uint16_t id);

/* Choice bits. */
uint8_t skv_bit(const uint8_t *bits, uint16_t index);
void skv_set_bit(uint8_t *bits, uint16_t index, uint8_t value);

/* The contact display name: "Last, First", else the company. */
uint16_t skv_contact_name(const skv_contact *contact, char *out, uint16_t capacity);

#endif
