#ifndef SKV_CORE_H
#define SKV_CORE_H
/* The viewer core: everything the handheld viewers know about a calendar
 * package, free of any operating system call.
 *
 * - The shell allocates one context (size from skv_measure) and passes it to
 *   every call. The core has no globals and allocates nothing itself.
 * - The package is read only through skv_host.get_resource; records are read
 *   in place and every read is bounds-checked. Damage gives an skv_status.
 * - The core keeps the navigation state and lays the current screen out as a
 *   display list (skv_display) in pixels of the screen's density: 160 x 160
 *   for density 1, 320 x 320 for density 2.
 * - Input goes in as taps, page keys, scroll positions and commands; each
 *   call returns SKV_ACTION_* bits telling the shell what to do next.
 * - Copying: skv_copy_* walk the user's choice and hand out Date Book and
 *   Address Book packed records as lists of byte pieces the shell writes
 *   into new database records one after the other.
 *
 * Texts are 8-bit, in the package's code page, with single line feeds. */

#include "formats/records/PackageRecordLayout.h"
#include "skv_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Host interface --------------------------------------------------- */

/* Four-character resource types as 32-bit big-endian numbers. */
#define SKV_TYPE(a, b, c, d) \
    ((uint32_t)(uint8_t)(a) << 24 | (uint32_t)(uint8_t)(b) << 16 | (uint32_t)(uint8_t)(c) << 8 | (uint32_t)(uint8_t)(d))
#define SKV_TYPE_STRING SKV_TYPE('t', 'S', 'T', 'R')
#define SKV_TYPE_STRING_LIST SKV_TYPE('t', 'S', 'T', 'L')
#define SKV_TYPE_WORD_LIST SKV_TYPE('w', 'r', 'd', 'l')
#define SKV_TYPE_BITMAP SKV_TYPE('T', 'b', 'm', 'p')
#define SKV_TYPE_CONTACT SKV_TYPE('N', 'c', 'n', 't')
#define SKV_TYPE_EVENT SKV_TYPE('N', 'e', 'v', 't')

/* Resource ids the package uses. */
#define SKV_ID_TITLE 4000
#define SKV_ID_WELCOME 4001
#define SKV_ID_AUTHOR 4004
#define SKV_ID_NAVIGATION 4005
#define SKV_ID_GROUP_NAMES 4000         /* tSTL */
#define SKV_ID_FIRST_GROUP_TEXT 5000    /* tSTR, + group index */
#define SKV_ID_GROUP_FIRST_EVENT 4000   /* wrdl */
#define SKV_ID_GROUP_EVENT_COUNT 4001   /* wrdl */
#define SKV_ID_GROUP_FIRST_INDEX 4002   /* wrdl */
#define SKV_ID_GROUP_CONTACT_COUNT 4003 /* wrdl */
#define SKV_ID_CONTACT_INDEX_LIST 4004  /* wrdl */
#define SKV_ID_FIRST_CONTACT 6000       /* Ncnt, one per contact */
#define SKV_ID_FIRST_EVENT 7000         /* Nevt, one per event */
#define SKV_ID_LOGO 4000                /* Tbmp family */

/* The Pocket PC package layout: the same ids as numbered resources of the
 * executable. Strings sit in string tables (type 6, block id / 16 + 1, slot
 * id % 16, UTF-16 with a 16-bit length each); word lists, events and
 * contacts are raw data (type 10, little-endian); the logo is a bitmap
 * (type 2, a device-independent bitmap without its file header). The core
 * tells the layouts apart at measure/open time: a package with the string
 * resource SKV_ID_TITLE is read as Palm, otherwise as Pocket PC. */
#define SKV_TYPE_PPC_BITMAP 2u
#define SKV_TYPE_PPC_STRINGS 6u
#define SKV_TYPE_PPC_DATA 10u
#define SKV_ID_FIRST_GROUP_NAME 6000 /* Pocket PC: string 6000 + group index */
enum { SKV_LAYOUT_PALM = 0, SKV_LAYOUT_POCKETPC = 1 };

/* Fonts, numbered as the handheld numbers its built-in fonts. */
#define SKV_FONT_STANDARD 0
#define SKV_FONT_BOLD 1
#define SKV_FONT_LARGE 2
#define SKV_FONT_LARGE_BOLD 7

typedef struct skv_host {
    void *user;
    /* The body of resource (type, id), or 0 when there is none. *size gets
     * its length. The bytes must stay valid and unchanged while the context
     * is open (the core keeps pointers to them in its display list). */
    const uint8_t *(*get_resource)(void *user, uint32_t type, uint16_t id, uint32_t *size);
    /* Width in pixels of `length` bytes of `text` drawn in `font` at the
     * density given to skv_open (density 2: the double-density font). */
    uint16_t (*text_width)(void *user, uint8_t font, const char *text, uint16_t length);
    /* Line height in pixels of `font` at that density. */
    uint16_t (*font_height)(void *user, uint8_t font);
} skv_host;

/* ---- Context ---------------------------------------------------------- */

typedef struct skv_context skv_context;

/* Reads the package's tables (not its records) and tells how many bytes the
 * context needs: a fixed part (below 16 KB) plus 2 bytes per sortable entry
 * and one bit per event and contact for the copy choice. Fails when the
 * tables are missing or damaged. */
skv_status skv_measure(const skv_host *host, uint32_t *context_size);

/* Starts the viewer on `memory` (context_size bytes from skv_measure, aligned
 * as the system's allocator aligns memory: even on the 68000) at density 1 or 2, on the welcome screen. The host struct
 * is copied. On success *ctx points into `memory`. */
skv_status skv_open(void *memory, uint32_t context_size, const skv_host *host, uint8_t density, skv_context **ctx);

/* The first damage met (SKV_OK if none) and the resource it was found in,
 * for the shell's alert. After damage every input call returns
 * SKV_ACTION_ERROR. */
skv_status skv_error(const skv_context *ctx, uint32_t *type, uint16_t *id);

/* A short English sentence for a status, for alerts. */
const char *skv_status_text(skv_status status);

/* Navigation level of the package: 0 whole package, 1 groups, 2 events and
 * contacts can be chosen for copying. */
uint8_t skv_navigation(const skv_context *ctx);

/* The package's title (8-bit, not terminated), for window captions. */
const char *skv_package_title(const skv_context *ctx, uint16_t *length);

/* Which layout the package was read in (SKV_LAYOUT_*). */
uint8_t skv_layout_kind(const skv_context *ctx);

/* Windows-1252 byte to its UTF-16 code unit (texts handed out by the core
 * are 8-bit in that code page for Pocket PC packages). */
uint16_t skv_cp1252_unicode(uint8_t byte);

/* A 32-bit fingerprint of the package (title, tables, record counts) that
 * tells whether the same package has been copied before. */
uint32_t skv_fingerprint(const skv_context *ctx);

/* ---- Bitmaps ---------------------------------------------------------- */

/* One bitmap of a bitmap family resource (the logo, SKV_ID_LOGO). Offsets
 * are from the start of the family. */
typedef struct skv_bitmap {
    uint32_t header;       /* this bitmap's header */
    uint32_t bits;         /* its first pixel row (top row first) */
    uint32_t colour_table; /* 16-bit count then entries (index, r, g, b); 0 if none */
    uint16_t width, height, row_bytes, flags;
    uint16_t density;   /* 72 standard, 144 double */
    uint8_t pixel_size; /* 1, 2, 4, 8 or 16 (RGB565 big-endian) */
    uint8_t version;
    uint8_t transparent_index;
    uint32_t transparent_value;
} skv_bitmap;

/* Checks every bitmap of the family (headers, next offsets, pixel data
 * inside the resource; compressed bitmaps are refused) and picks the one to
 * show at `density`: the deepest bitmap of that density, else the deepest
 * of the other one. SKV_ERR_BITMAP when the family is damaged. */
skv_status skv_bitmap_choose(const uint8_t *family, uint32_t size, uint8_t density, skv_bitmap *out);

/* ---- Screens and display list ------------------------------------------ */

enum {
    SKV_SCREEN_WELCOME = 1,
    SKV_SCREEN_GROUPS = 2,   /* the groups with their descriptions */
    SKV_SCREEN_EVENTS = 3,   /* a group's events, by date with day headings */
    SKV_SCREEN_CONTACTS = 4, /* a group's contacts, alphabetical */
    SKV_SCREEN_EVENT = 5,    /* one event's details */
    SKV_SCREEN_CONTACT = 6,  /* one contact's details */
    SKV_SCREEN_ABOUT = 7,
    SKV_SCREEN_COPY_GROUPS = 8,   /* copy choice: groups (level 1), or the group to choose in (level 2) */
    SKV_SCREEN_COPY_ENTRIES = 9,  /* copy choice, level 2: a group's events and contacts */
    SKV_SCREEN_COPY_PACKAGE = 10, /* copy choice, level 0: the whole package */
    SKV_SCREEN_ERROR = 11,        /* the package is damaged */
    SKV_SCREEN_COPY_DONE = 12     /* what was copied and what could not be */
};

uint8_t skv_screen(const skv_context *ctx);

/* Display list items. Coordinates are pixels at the context's density,
 * (0,0) top left. */
enum {
    SKV_ITEM_TITLE = 1,     /* form title bar: text, at y 0 over the whole width, height h */
    SKV_ITEM_TEXT = 2,      /* text in font at x,y (top left of the line), w = its width */
    SKV_ITEM_BITMAP = 3,    /* bitmap `id` (a Tbmp family) at x,y with w,h of the chosen density */
    SKV_ITEM_LINE = 4,      /* line from x,y to x+w,y+h */
    SKV_ITEM_FILL = 5,      /* filled rectangle x,y,w,h in the foreground colour */
    SKV_ITEM_INVERT = 6,    /* inverted rectangle: the selected row */
    SKV_ITEM_FRAME = 7,     /* one-pixel rectangle outline */
    SKV_ITEM_BUTTON = 8,    /* push button labelled text in rect x,y,w,h; sends command `id` */
    SKV_ITEM_CHECKBOX = 9,  /* check box in rect x,y,w,h, `value` 0 or 1; a tap on it is a core tap */
    SKV_ITEM_SCROLLBAR = 10 /* scroll bar in rect; value, maximum (last top position), page */
};

typedef struct skv_item {
    uint8_t kind;
    uint8_t font;
    uint16_t id;
    int16_t x, y, w, h;
    const char *text; /* not zero-terminated; `length` bytes */
    uint16_t length;
    int16_t value, maximum, page;
} skv_item;

/* The current screen's display list, rebuilt after each input that returned
 * SKV_ACTION_REDRAW. Valid until the next core call. */
const skv_item *skv_display(const skv_context *ctx, uint16_t *count);

/* ---- Input ------------------------------------------------------------ */

enum {
    SKV_ACTION_NONE = 0,
    SKV_ACTION_REDRAW = 1, /* the display list changed: draw it */
    SKV_ACTION_COPY = 2,   /* the user confirmed the copy choice: run skv_copy_* */
    SKV_ACTION_ERROR = 4,  /* the package is damaged: alert (skv_error), then leave */
    SKV_ACTION_EXIT = 8    /* Back on the welcome screen: the user leaves */
};

enum {
    SKV_CMD_BROWSE = 1, /* welcome: to the groups */
    SKV_CMD_COPY = 2,   /* to the copy choice of the navigation level */
    SKV_CMD_ABOUT = 3,
    SKV_CMD_BACK = 4,       /* one level up (Done/Back buttons, back key) */
    SKV_CMD_COPY_NOW = 5,   /* copy choice: copy what is chosen */
    SKV_CMD_SELECT_ALL = 6, /* copy choice: choose every row of the screen */
    SKV_CMD_SELECT_NONE = 7,
    SKV_CMD_SHOW_EVENTS = 8,  /* group: the events list */
    SKV_CMD_SHOW_CONTACTS = 9 /* group: the contacts list */
};

enum { SKV_KEY_PAGE_UP = 1, SKV_KEY_PAGE_DOWN = 2 };

uint16_t skv_tap(skv_context *ctx, int16_t x, int16_t y);
uint16_t skv_key(skv_context *ctx, uint8_t key);
uint16_t skv_command(skv_context *ctx, uint16_t command);
/* The user moved the scroll bar: `value` as in the SKV_ITEM_SCROLLBAR. */
uint16_t skv_scroll_to(skv_context *ctx, int16_t value);

/* ---- Copy --------------------------------------------------------------- */

/* One packed record for the handheld's Date Book or Address Book, as pieces
 * to be written back to back. Pieces point into `head` or into the package's
 * records; they stay valid until the next call on the same skv_record. */
#define SKV_RECORD_MAX_PIECES 24

enum { SKV_RECORD_EVENT = 1, SKV_RECORD_CONTACT = 2 };

/* Why the handheld's own format cannot hold an entry; such entries are not
 * copied but reported. */
enum {
    SKV_REFUSE_NONE = 0,
    SKV_REFUSE_DATE = 1,        /* no valid date, or a repeat end before the date */
    SKV_REFUSE_TIME = 2,        /* an invalid time, or an end before the start */
    SKV_REFUSE_REPEAT = 3,      /* a repeat that never recurs (frequency 0, no weekday, bad day of month) */
    SKV_REFUSE_TEXT_LENGTH = 4, /* a text longer than the Date Book or Address Book can keep */
    SKV_REFUSE_COMPANY = 5      /* names too long for the record's company offset */
};

typedef struct skv_piece {
    const uint8_t *bytes;
    uint32_t length;
} skv_piece;

typedef struct skv_record {
    uint8_t kind;    /* SKV_RECORD_EVENT or SKV_RECORD_CONTACT */
    uint8_t refused; /* SKV_REFUSE_*; when not NONE there are no pieces */
    uint16_t source_id;
    uint32_t size; /* sum of the pieces' lengths */
    uint8_t piece_count;
    skv_piece pieces[SKV_RECORD_MAX_PIECES];
    uint8_t head[24];
} skv_record;

/* Pure encoders: a package event record (Nevt body) to a Date Book packed
 * record, a package contact record (Ncnt body) to an Address Book packed
 * record. A damaged source gives an error status; an entry the handheld
 * cannot hold gives SKV_OK with out->refused set. */
skv_status skv_datebook_record(const uint8_t *event, uint32_t size, skv_record *out);
skv_status skv_addressbook_record(const uint8_t *contact, uint32_t size, skv_record *out);

/* What the current copy choice holds, checked in full before anything is
 * written: every chosen record is read and encoded once. */
typedef struct skv_copy_summary {
    uint16_t events, contacts;                 /* will be copied */
    uint16_t events_refused, contacts_refused; /* cannot be held, will be reported */
} skv_copy_summary;

/* Validates the whole choice. Damage gives an error status (write nothing
 * then). Also rewinds the walk of skv_copy_next. */
skv_status skv_copy_prepare(skv_context *ctx, skv_copy_summary *summary);

/* The next chosen entry (copied or refused) into *out; returns 0 when the
 * walk is over, 1 otherwise. Events come first, then contacts; a contact in
 * several chosen groups comes once. */
uint8_t skv_copy_next(skv_context *ctx, skv_record *out);

/* ---- Decoded entries (Pocket PC packages) ------------------------------ */

/* A counted text, 8-bit Windows-1252, line ends as CR LF; not terminated. */
typedef struct skv_span {
    const char *text;
    uint16_t length;
} skv_span;

typedef struct skv_entry_event {
    uint16_t year;
    uint8_t month, day;
    uint8_t start_hour, start_minute, end_hour, end_minute; /* 0xFF: untimed */
    int16_t recurrence; /* -1 none, 0 daily, 1 weekly, 2 month by date, 3 month by day, 5 yearly */
    uint16_t end_year;  /* repeat end; 0: none */
    uint8_t end_month, end_day;
    uint8_t frequency; /* every n days, weeks, months or years */
    uint8_t mask;      /* weekly: bit 0 Sunday .. bit 6 Saturday; month by day: week * 7 + weekday, 28..34 last */
    uint16_t exception_count;
    const uint8_t *exceptions; /* read with skv_entry_exception */
    skv_span title, note;
} skv_entry_event;

typedef struct skv_entry_contact {
    skv_span field[SKR_PPC_CONTACT_TEXT_COUNT];
    uint8_t flag; /* 1: a work phone or a company: the address is a business address */
} skv_entry_contact;

typedef struct skv_entry {
    uint8_t kind;    /* SKV_RECORD_EVENT or SKV_RECORD_CONTACT */
    uint8_t refused; /* SKV_REFUSE_*: the entry cannot be copied and is only reported */
    uint16_t source_id;
    skv_entry_event event;
    skv_entry_contact contact;
} skv_entry;

/* Pocket PC packages: the next chosen entry, decoded, after skv_copy_prepare
 * (the same walk as skv_copy_next, which serves Palm packages). Returns 0
 * when the walk is over or the package is not a Pocket PC one. Texts point
 * into the package's records. */
uint8_t skv_copy_next_entry(skv_context *ctx, skv_entry *out);

/* Exception date i (a deleted occurrence) of a decoded event. */
void skv_entry_exception(const skv_entry_event *event, uint16_t i, uint16_t *year, uint8_t *month, uint8_t *day);

/* After the shell has copied: shows the result on the copy screen (counts
 * copied and refused, titles of refused entries). */
uint16_t skv_copy_finished(skv_context *ctx, const skv_copy_summary *done);

#ifdef __cplusplus
}
#endif

#endif
