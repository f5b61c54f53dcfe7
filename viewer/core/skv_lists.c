/* The list screens: groups, a group's events (by day, with a heading row
 * per day) and contacts (by name), and the copy choices made of them. A page
 * costs only its own rows: positions move row by row from the top row. */
#include "skv_layout.h"

/* An event row: the start time right-aligned in a column ending this many
 * standard pixels from the row's left, then a gap, then the title. */
enum { SKV_TIME_COLUMN_END = 37, SKV_TIME_TITLE_GAP = 3 };

uint8_t skv_is_list_screen(uint8_t screen) {
    return screen == SKV_SCREEN_GROUPS || screen == SKV_SCREEN_EVENTS || screen == SKV_SCREEN_CONTACTS ||
           screen == SKV_SCREEN_COPY_GROUPS || screen == SKV_SCREEN_COPY_ENTRIES;
}

static uint8_t is_group_list(uint8_t screen) { return screen == SKV_SCREEN_GROUPS || screen == SKV_SCREEN_COPY_GROUPS; }
static uint8_t has_tabs(uint8_t screen) { return !is_group_list(screen); }

static int16_t list_top(const skv_context *ctx) {
    return (int16_t)(skv_content_top(ctx) + (has_tabs(ctx->place.screen) ? skv_px(ctx, 15) : 0));
}

uint16_t skv_list_row_height(const skv_context *ctx, uint8_t screen, uint8_t list) {
    (void)list;
    if (is_group_list(screen))
        return (uint16_t)(skv_font_height(ctx, SKV_FONT_BOLD) + skv_font_height(ctx, SKV_FONT_STANDARD) +
                          skv_px(ctx, 2));
    return skv_font_height(ctx, SKV_FONT_STANDARD);
}

uint16_t skv_list_rows_per_page(const skv_context *ctx, uint8_t screen, uint8_t list) {
    uint16_t rows = (uint16_t)((skv_content_bottom(ctx) - list_top(ctx)) / skv_list_row_height(ctx, screen, list));
    return rows ? rows : 1;
}

static uint8_t shows_events(const skv_context *ctx) {
    return !is_group_list(ctx->place.screen) && ctx->place.list == SKV_LIST_EVENTS;
}

uint16_t skv_list_count(skv_context *ctx) {
    if (is_group_list(ctx->place.screen)) return ctx->group_count;
    if (!skv_sort_group(ctx, ctx->place.group, ctx->place.list)) return 0;
    return ctx->sorted_count;
}

static uint16_t event_date(skv_context *ctx, uint16_t index) {
    uint16_t date, time;
    return skv_event_when(ctx, skv_sorted_id(ctx, index), &date, &time) ? date : 0;
}

uint8_t skv_list_has_heading(skv_context *ctx, uint16_t index) {
    if (!shows_events(ctx)) return 0;
    if (index == 0) return 1;
    return event_date(ctx, index) != event_date(ctx, (uint16_t)(index - 1));
}

/* Moves `rows` rows down (or up when negative), stopping at the ends. */
skv_row skv_list_step(skv_context *ctx, skv_row row, int16_t rows) {
    uint16_t count = skv_list_count(ctx);
    while (rows > 0 && ctx->error == SKV_OK) {
        if (row.heading) {
            row.heading = 0;
        } else {
            if (row.index + 1u >= count) break;
            ++row.index;
            row.heading = skv_list_has_heading(ctx, row.index);
        }
        --rows;
    }
    while (rows < 0 && ctx->error == SKV_OK) {
        if (!row.heading && skv_list_has_heading(ctx, row.index)) {
            row.heading = 1;
        } else {
            if (row.index == 0) break;
            --row.index;
            row.heading = 0;
        }
        ++rows;
    }
    return row;
}

/* The top row of the last full page. */
skv_row skv_list_last_top(skv_context *ctx) {
    skv_row row;
    uint16_t count = skv_list_count(ctx);
    row.index = count ? (uint16_t)(count - 1) : 0;
    row.heading = 0;
    return skv_list_step(ctx, row,
                         (int16_t)(1 - (int16_t)skv_list_rows_per_page(ctx, ctx->place.screen, ctx->place.list)));
}

/* ---- Rows ---- */

static int16_t checkbox(skv_context *ctx, int16_t y, uint8_t checked) {
    skv_item *item = skv_add_item(ctx, SKV_ITEM_CHECKBOX);
    if (item) {
        item->x = skv_px(ctx, 1);
        item->y = (int16_t)(y + skv_px(ctx, 1));
        item->w = skv_px(ctx, 9);
        item->h = skv_px(ctx, 9);
        item->value = checked;
    }
    return skv_px(ctx, 13);
}

static int16_t right_edge(const skv_context *ctx) { return skv_px(ctx, 151); }

static void group_row(skv_context *ctx, uint16_t group, int16_t y, uint16_t height) {
    int16_t x = skv_px(ctx, 1);
    const char *text;
    uint16_t length;
    skv_status status;
    uint8_t choose = ctx->place.screen == SKV_SCREEN_COPY_GROUPS && ctx->navigation == 1;
    if (choose) x = (int16_t)(x + checkbox(ctx, y, skv_bit(ctx->chosen_groups, group)));
    text = skv_group_name(ctx, group, &length);
    skv_text_fitted(ctx, SKV_FONT_BOLD, x, y, (int16_t)(right_edge(ctx) - x), text, length);
    status = skv_string(ctx, (uint16_t)(SKV_ID_FIRST_GROUP_TEXT + group), &text, &length);
    if (status == SKV_OK)
        skv_text_fitted(ctx, SKV_FONT_STANDARD, (int16_t)(x + skv_px(ctx, 6)),
                        (int16_t)(y + skv_font_height(ctx, SKV_FONT_BOLD)),
                        (int16_t)(right_edge(ctx) - x - skv_px(ctx, 6)), text, length);
    else if (status != SKV_ERR_MISSING)
        skv_fail(ctx, status, SKV_TYPE_STRING, (uint16_t)(SKV_ID_FIRST_GROUP_TEXT + group));
    skv_zone_add(ctx, 0, y, right_edge(ctx), (int16_t)height, choose ? SKV_ZONE_TOGGLE_GROUP : SKV_ZONE_OPEN_GROUP,
                 group);
}

static void heading_row(skv_context *ctx, uint16_t index, int16_t y, uint16_t height) {
    char text[48];
    uint16_t date = event_date(ctx, index);
    uint16_t length = skv_format_long_date(text, date);
    skv_item *line;
    skv_text_at(ctx, SKV_FONT_BOLD, skv_px(ctx, 1), y, skv_arena_copy(ctx, text, length), length);
    line = skv_add_item(ctx, SKV_ITEM_LINE);
    if (line) {
        line->x = skv_px(ctx, 1);
        line->y = (int16_t)(y + height - 1);
        line->w = (int16_t)(right_edge(ctx) - skv_px(ctx, 1));
    }
}

/* A small loop with an arrow head: the event repeats. */
static void repeat_mark(skv_context *ctx, int16_t x, int16_t y) {
    skv_item *item = skv_add_item(ctx, SKV_ITEM_FRAME);
    if (item) {
        item->x = x;
        item->y = (int16_t)(y + skv_px(ctx, 3));
        item->w = skv_px(ctx, 6);
        item->h = skv_px(ctx, 5);
    }
    item = skv_add_item(ctx, SKV_ITEM_LINE);
    if (item) {
        item->x = (int16_t)(x + skv_px(ctx, 4));
        item->y = (int16_t)(y + skv_px(ctx, 1));
        item->w = skv_px(ctx, 2);
        item->h = skv_px(ctx, 2);
    }
}

static void event_row(skv_context *ctx, uint16_t index, int16_t y, uint16_t height) {
    uint16_t id = skv_sorted_id(ctx, index);
    skv_event event;
    char text[16];
    uint16_t length;
    int16_t x = skv_px(ctx, 1), title_right = right_edge(ctx);
    uint8_t choose = ctx->place.screen == SKV_SCREEN_COPY_ENTRIES;
    if (!skv_load_event(ctx, id, &event)) return;
    if (choose) x = (int16_t)(x + checkbox(ctx, y, skv_bit(ctx->chosen_events, (uint16_t)(id - SKV_ID_FIRST_EVENT))));
    if (event.start_time != SKV_NO_TIME) {
        /* Times end where the time column ends, so their colons line up and the
           widest ("12:45 pm") still leaves a gap before the title. */
        length = skv_format_time(text, event.start_time);
        int16_t time_x = (int16_t)(x + skv_px(ctx, SKV_TIME_COLUMN_END) -
                                   (int16_t)skv_text_width(ctx, SKV_FONT_STANDARD, text, length));
        skv_text_at(ctx, SKV_FONT_STANDARD, time_x, y, skv_arena_copy(ctx, text, length), length);
    }
    if (event.has_repeat && event.repeat_type != SKR_REPEAT_NONE) {
        title_right = (int16_t)(title_right - skv_px(ctx, 9));
        repeat_mark(ctx, (int16_t)(title_right + skv_px(ctx, 2)), y);
    }
    x = (int16_t)(x + skv_px(ctx, SKV_TIME_COLUMN_END + SKV_TIME_TITLE_GAP));
    skv_text_fitted(ctx, SKV_FONT_STANDARD, x, y, (int16_t)(title_right - x), event.title, event.title_length);
    skv_zone_add(ctx, 0, y, right_edge(ctx), (int16_t)height, choose ? SKV_ZONE_TOGGLE_EVENT : SKV_ZONE_OPEN_EVENT, id);
}

static void contact_row(skv_context *ctx, uint16_t index, int16_t y, uint16_t height) {
    uint16_t id = skv_sorted_id(ctx, index);
    skv_contact contact;
    char name[80];
    uint16_t length;
    int16_t x = skv_px(ctx, 1);
    uint8_t choose = ctx->place.screen == SKV_SCREEN_COPY_ENTRIES;
    if (!skv_load_contact(ctx, id, &contact)) return;
    if (choose)
        x = (int16_t)(x + checkbox(ctx, y, skv_bit(ctx->chosen_contacts, (uint16_t)(id - SKV_ID_FIRST_CONTACT))));
    length = skv_contact_name(&contact, name, sizeof name);
    skv_text_fitted(ctx, SKV_FONT_STANDARD, (int16_t)(x + skv_px(ctx, 2)), y,
                    (int16_t)(right_edge(ctx) - x - skv_px(ctx, 2)), skv_arena_copy(ctx, name, length), length);
    skv_zone_add(ctx, 0, y, right_edge(ctx), (int16_t)height, choose ? SKV_ZONE_TOGGLE_CONTACT : SKV_ZONE_OPEN_CONTACT,
                 id);
}

/* ---- Screen ---- */

static void list_title(skv_context *ctx) {
    uint8_t screen = ctx->place.screen;
    uint16_t length;
    const char *name;
    if (screen == SKV_SCREEN_GROUPS) {
        skv_title(ctx, ctx->title, ctx->title_length);
    } else if (screen == SKV_SCREEN_EVENTS || screen == SKV_SCREEN_CONTACTS) {
        name = skv_group_name(ctx, ctx->place.group, &length);
        skv_title(ctx, name, length);
    } else {
        /* Copy choice: how much is chosen so far. */
        char text[40];
        uint16_t n = 0, chosen = ctx->chosen_count;
        skv_mem_copy(text, "Copy: ", 6);
        n = 6;
        if (ctx->navigation == 1) {
            n = (uint16_t)(n + skv_format_number(text + n, chosen));
            skv_mem_copy(text + n, chosen == 1 ? " group" : " groups", chosen == 1 ? 6 : 7);
            n = (uint16_t)(n + (chosen == 1 ? 6 : 7));
        } else {
            n = (uint16_t)(n + skv_format_number(text + n, chosen));
            skv_mem_copy(text + n, " chosen", 7);
            n = (uint16_t)(n + 7);
        }
        skv_title(ctx, skv_arena_copy(ctx, text, n), n);
    }
}

static void tabs(skv_context *ctx) {
    int16_t y = skv_content_top(ctx);
    skv_button_at(ctx, skv_px(ctx, 1), y, "Events", SKV_CMD_SHOW_EVENTS, ctx->place.list == SKV_LIST_EVENTS);
    skv_button_at(ctx, ctx->button_x, y, "Contacts", SKV_CMD_SHOW_CONTACTS, ctx->place.list == SKV_LIST_CONTACTS);
}

static void buttons(skv_context *ctx) {
    switch (ctx->place.screen) {
    case SKV_SCREEN_COPY_GROUPS:
        skv_button(ctx, 0, "Copy", SKV_CMD_COPY_NOW, 0);
        skv_button(ctx, 1, "All", SKV_CMD_SELECT_ALL, 0);
        skv_button(ctx, 2, "None", SKV_CMD_SELECT_NONE, 0);
        skv_button(ctx, 3, "Cancel", SKV_CMD_BACK, 0);
        break;
    case SKV_SCREEN_COPY_ENTRIES:
        skv_button(ctx, 0, "Done", SKV_CMD_BACK, 0);
        skv_button(ctx, 1, "All", SKV_CMD_SELECT_ALL, 0);
        skv_button(ctx, 2, "None", SKV_CMD_SELECT_NONE, 0);
        break;
    default: skv_button(ctx, 0, "Back", SKV_CMD_BACK, 0); break;
    }
}

static const char *empty_text(const skv_context *ctx) {
    if (is_group_list(ctx->place.screen)) return "This package has no groups.";
    return ctx->place.list == SKV_LIST_EVENTS ? "This group has no events." : "This group has no contacts.";
}

void skv_layout_list(skv_context *ctx) {
    uint16_t count, rows, height, r;
    int16_t y;
    skv_row row, last;
    list_title(ctx);
    if (has_tabs(ctx->place.screen)) tabs(ctx);
    buttons(ctx);
    count = skv_list_count(ctx);
    if (ctx->error) return;
    y = list_top(ctx);
    if (count == 0) {
        const char *text = empty_text(ctx);
        skv_text_at(ctx, SKV_FONT_STANDARD, skv_px(ctx, 4), y, text, skv_str_length(text));
        return;
    }
    rows = skv_list_rows_per_page(ctx, ctx->place.screen, ctx->place.list);
    height = skv_list_row_height(ctx, ctx->place.screen, ctx->place.list);
    row.index = ctx->place.top < count ? ctx->place.top : (uint16_t)(count - 1);
    row.heading = (uint8_t)(ctx->place.top_heading && skv_list_has_heading(ctx, row.index));
    for (r = 0; r < rows && ctx->error == SKV_OK; ++r) {
        if (is_group_list(ctx->place.screen))
            group_row(ctx, row.index, y, height);
        else if (row.heading)
            heading_row(ctx, row.index, y, height);
        else if (ctx->place.list == SKV_LIST_EVENTS)
            event_row(ctx, row.index, y, height);
        else
            contact_row(ctx, row.index, y, height);
        y = (int16_t)(y + height);
        if (!row.heading && row.index + 1u >= count) break;
        row = skv_list_step(ctx, row, 1);
    }
    last = skv_list_last_top(ctx);
    if (last.index > 0 || last.heading == 0) {
        int16_t maximum = (int16_t)last.index;
        if (maximum > 0) skv_scrollbar(ctx, (int16_t)ctx->place.top, maximum, (int16_t)rows);
    }
}
