/* Navigation: what taps, page keys, the scroll bar and commands do, and
 * which screen is laid out. */
#include "skv_layout.h"

void skv_layout(skv_context *ctx) {
    ctx->item_count = 0;
    ctx->arena_used = 0;
    ctx->zone_count = 0;
    ctx->button_x = 0;
    switch (ctx->place.screen) {
    case SKV_SCREEN_WELCOME: skv_layout_welcome(ctx); break;
    case SKV_SCREEN_ABOUT: skv_layout_about(ctx); break;
    case SKV_SCREEN_EVENT: skv_layout_event(ctx); break;
    case SKV_SCREEN_CONTACT: skv_layout_contact(ctx); break;
    case SKV_SCREEN_COPY_PACKAGE: skv_layout_copy_package(ctx); break;
    case SKV_SCREEN_COPY_DONE: skv_layout_copy_done(ctx); break;
    case SKV_SCREEN_ERROR: break;
    default: skv_layout_list(ctx); break;
    }
    if (ctx->error) {
        /* Damage found while laying out: show it instead of a half screen. */
        ctx->place.screen = SKV_SCREEN_ERROR;
        ctx->item_count = 0;
        ctx->arena_used = 0;
        ctx->zone_count = 0;
        ctx->button_x = 0;
        skv_layout_error(ctx);
    }
}

static uint16_t redraw(skv_context *ctx) {
    skv_layout(ctx);
    return ctx->error ? (SKV_ACTION_REDRAW | SKV_ACTION_ERROR) : SKV_ACTION_REDRAW;
}

static void go(skv_context *ctx, uint8_t screen) {
    skv_mem_set(&ctx->place, 0, sizeof ctx->place);
    ctx->place.screen = screen;
}

static void open_group(skv_context *ctx, uint8_t screen, uint16_t group, uint8_t list) {
    go(ctx, screen);
    ctx->place.group = group;
    ctx->place.list = list;
    ctx->place.top_heading = 1;
}

/* Back to the group list with `group` on the page. */
static void back_to_groups(skv_context *ctx, uint8_t screen, uint16_t group) {
    skv_row last;
    go(ctx, screen);
    last = skv_list_last_top(ctx);
    ctx->place.top = group < last.index ? group : last.index;
}

/* ---- Scrolling ---- */

static uint16_t text_line(const skv_context *ctx) { return skv_font_height(ctx, SKV_FONT_STANDARD); }

static void scroll_text(skv_context *ctx, int32_t lines) {
    int32_t top = (int32_t)ctx->place.top / text_line(ctx) + lines;
    int32_t maximum = skv_flow_max_line(ctx);
    if (top > maximum) top = maximum;
    if (top < 0) top = 0;
    ctx->place.top = (uint16_t)(top * text_line(ctx));
}

static void set_list_top(skv_context *ctx, skv_row row) {
    skv_row last = skv_list_last_top(ctx);
    if (row.index > last.index || (row.index == last.index && row.heading < last.heading)) row = last;
    ctx->place.top = row.index;
    ctx->place.top_heading = row.heading;
}

static uint16_t page(skv_context *ctx, int8_t direction) {
    if (ctx->error) return SKV_ACTION_ERROR;
    if (skv_is_list_screen(ctx->place.screen)) {
        skv_row row;
        int16_t rows = (int16_t)skv_list_rows_per_page(ctx, ctx->place.screen, ctx->place.list);
        if (skv_list_count(ctx) == 0) return redraw(ctx);
        row.index = ctx->place.top;
        row.heading = ctx->place.top_heading;
        set_list_top(ctx, skv_list_step(ctx, row, (int16_t)(direction * rows)));
    } else {
        int32_t area = skv_content_bottom(ctx) - skv_content_top(ctx);
        scroll_text(ctx, direction * (area / text_line(ctx) - 1));
    }
    return redraw(ctx);
}

uint16_t skv_key(skv_context *ctx, uint8_t key) {
    if (key == SKV_KEY_PAGE_DOWN) return page(ctx, 1);
    if (key == SKV_KEY_PAGE_UP) return page(ctx, -1);
    return SKV_ACTION_NONE;
}

uint16_t skv_scroll_to(skv_context *ctx, int16_t value) {
    if (ctx->error) return SKV_ACTION_ERROR;
    if (value < 0) value = 0;
    if (skv_is_list_screen(ctx->place.screen)) {
        skv_row row;
        uint16_t count = skv_list_count(ctx);
        if (count == 0) return redraw(ctx);
        row.index = (uint16_t)value < count ? (uint16_t)value : (uint16_t)(count - 1);
        row.heading = skv_list_has_heading(ctx, row.index);
        set_list_top(ctx, row);
    } else {
        ctx->place.top = 0;
        scroll_text(ctx, value);
    }
    return redraw(ctx);
}

/* ---- Copy choice ---- */

/* Sets one choice bit and keeps the count of chosen ones, so that showing
 * the count costs nothing however large the package. */
static void choose(skv_context *ctx, uint8_t *bits, uint16_t index, uint8_t value) {
    if (skv_bit(bits, index) == value) return;
    skv_set_bit(bits, index, value);
    ctx->chosen_count = (uint16_t)(value ? ctx->chosen_count + 1 : ctx->chosen_count - 1);
}

static void choose_group_entries(skv_context *ctx, uint16_t group, uint8_t list, uint8_t value) {
    uint16_t i, count;
    if (list == SKV_LIST_EVENTS) {
        uint16_t first = (uint16_t)(skv_word(ctx->first_event, group) - SKV_ID_FIRST_EVENT);
        count = skv_word(ctx->event_count, group);
        for (i = 0; i < count; ++i) choose(ctx, ctx->chosen_events, (uint16_t)(first + i), value);
    } else {
        uint16_t first = skv_word(ctx->first_index, group);
        count = skv_word(ctx->contact_count, group);
        for (i = 0; i < count; ++i)
            choose(ctx, ctx->chosen_contacts,
                   (uint16_t)(skv_word(ctx->contact_index, (uint16_t)(first + i)) - SKV_ID_FIRST_CONTACT), value);
    }
}

static void choose_all(skv_context *ctx, uint8_t value) {
    uint16_t group;
    if (ctx->place.screen == SKV_SCREEN_COPY_ENTRIES) {
        choose_group_entries(ctx, ctx->place.group, ctx->place.list, value);
        return;
    }
    for (group = 0; group < ctx->group_count; ++group) {
        if (ctx->navigation == 1) {
            choose(ctx, ctx->chosen_groups, group, value);
        } else {
            choose_group_entries(ctx, group, SKV_LIST_EVENTS, value);
            choose_group_entries(ctx, group, SKV_LIST_CONTACTS, value);
        }
    }
}

static uint8_t anything_chosen(const skv_context *ctx) { return ctx->navigation == 0 || ctx->chosen_count > 0; }

static uint8_t is_copy_screen(uint8_t screen) {
    return screen == SKV_SCREEN_COPY_GROUPS || screen == SKV_SCREEN_COPY_ENTRIES || screen == SKV_SCREEN_COPY_PACKAGE ||
           screen == SKV_SCREEN_COPY_DONE;
}

/* ---- Commands ---- */

static uint16_t back(skv_context *ctx) {
    switch (ctx->place.screen) {
    case SKV_SCREEN_WELCOME:
    case SKV_SCREEN_ERROR: return SKV_ACTION_EXIT;
    case SKV_SCREEN_GROUPS: go(ctx, SKV_SCREEN_WELCOME); break;
    case SKV_SCREEN_EVENTS:
    case SKV_SCREEN_CONTACTS: back_to_groups(ctx, SKV_SCREEN_GROUPS, ctx->place.group); break;
    case SKV_SCREEN_EVENT:
    case SKV_SCREEN_CONTACT: skv_mem_copy(&ctx->place, &ctx->back_place, sizeof ctx->place); break;
    case SKV_SCREEN_ABOUT: skv_mem_copy(&ctx->place, &ctx->about_return, sizeof ctx->place); break;
    case SKV_SCREEN_COPY_ENTRIES: back_to_groups(ctx, SKV_SCREEN_COPY_GROUPS, ctx->place.group); break;
    default: /* the copy choice and its result */
        skv_mem_copy(&ctx->place, &ctx->copy_return, sizeof ctx->place);
        break;
    }
    return redraw(ctx);
}

uint16_t skv_command(skv_context *ctx, uint16_t command) {
    uint8_t screen = ctx->place.screen;
    if (ctx->error) return command == SKV_CMD_BACK ? SKV_ACTION_EXIT : SKV_ACTION_ERROR;
    switch (command) {
    case SKV_CMD_BROWSE: go(ctx, SKV_SCREEN_GROUPS); return redraw(ctx);
    case SKV_CMD_COPY:
        if (is_copy_screen(screen)) return SKV_ACTION_NONE;
        skv_mem_copy(&ctx->copy_return, screen == SKV_SCREEN_ABOUT ? &ctx->about_return : &ctx->place,
                     sizeof ctx->place);
        go(ctx, ctx->navigation == 0 ? SKV_SCREEN_COPY_PACKAGE : SKV_SCREEN_COPY_GROUPS);
        return redraw(ctx);
    case SKV_CMD_ABOUT:
        if (screen == SKV_SCREEN_ABOUT) return SKV_ACTION_NONE;
        skv_mem_copy(&ctx->about_return, &ctx->place, sizeof ctx->place);
        go(ctx, SKV_SCREEN_ABOUT);
        return redraw(ctx);
    case SKV_CMD_BACK: return back(ctx);
    case SKV_CMD_COPY_NOW:
        if (screen != SKV_SCREEN_COPY_GROUPS && screen != SKV_SCREEN_COPY_ENTRIES && screen != SKV_SCREEN_COPY_PACKAGE)
            return SKV_ACTION_NONE;
        return anything_chosen(ctx) ? SKV_ACTION_COPY : SKV_ACTION_NONE;
    case SKV_CMD_SELECT_ALL:
    case SKV_CMD_SELECT_NONE:
        if (screen != SKV_SCREEN_COPY_GROUPS && screen != SKV_SCREEN_COPY_ENTRIES) return SKV_ACTION_NONE;
        choose_all(ctx, command == SKV_CMD_SELECT_ALL);
        return redraw(ctx);
    case SKV_CMD_SHOW_EVENTS:
    case SKV_CMD_SHOW_CONTACTS:
        if (screen != SKV_SCREEN_EVENTS && screen != SKV_SCREEN_CONTACTS && screen != SKV_SCREEN_COPY_ENTRIES)
            return SKV_ACTION_NONE;
        if (screen != SKV_SCREEN_COPY_ENTRIES)
            screen = command == SKV_CMD_SHOW_EVENTS ? SKV_SCREEN_EVENTS : SKV_SCREEN_CONTACTS;
        open_group(ctx, screen, ctx->place.group, command == SKV_CMD_SHOW_EVENTS ? SKV_LIST_EVENTS : SKV_LIST_CONTACTS);
        return redraw(ctx);
    default: return SKV_ACTION_NONE;
    }
}

uint16_t skv_tap(skv_context *ctx, int16_t x, int16_t y) {
    uint16_t i;
    if (ctx->error) return SKV_ACTION_ERROR;
    for (i = 0; i < ctx->zone_count; ++i) {
        const skv_zone *zone = &ctx->zones[i];
        if (x < zone->x || y < zone->y || x >= zone->x + zone->w || y >= zone->y + zone->h) continue;
        switch (zone->kind) {
        case SKV_ZONE_COMMAND: return skv_command(ctx, zone->value);
        case SKV_ZONE_OPEN_GROUP:
            if (ctx->place.screen == SKV_SCREEN_COPY_GROUPS)
                open_group(ctx, SKV_SCREEN_COPY_ENTRIES, zone->value, SKV_LIST_EVENTS);
            else
                open_group(ctx, SKV_SCREEN_EVENTS, zone->value, SKV_LIST_EVENTS);
            break;
        case SKV_ZONE_OPEN_EVENT:
        case SKV_ZONE_OPEN_CONTACT:
            skv_mem_copy(&ctx->back_place, &ctx->place, sizeof ctx->place);
            go(ctx, zone->kind == SKV_ZONE_OPEN_EVENT ? SKV_SCREEN_EVENT : SKV_SCREEN_CONTACT);
            ctx->place.entry = zone->value;
            break;
        case SKV_ZONE_TOGGLE_GROUP:
            choose(ctx, ctx->chosen_groups, zone->value, (uint8_t)!skv_bit(ctx->chosen_groups, zone->value));
            break;
        case SKV_ZONE_TOGGLE_EVENT: {
            uint16_t index = (uint16_t)(zone->value - SKV_ID_FIRST_EVENT);
            choose(ctx, ctx->chosen_events, index, (uint8_t)!skv_bit(ctx->chosen_events, index));
            break;
        }
        case SKV_ZONE_TOGGLE_CONTACT: {
            uint16_t index = (uint16_t)(zone->value - SKV_ID_FIRST_CONTACT);
            choose(ctx, ctx->chosen_contacts, index, (uint8_t)!skv_bit(ctx->chosen_contacts, index));
            break;
        }
        default: return SKV_ACTION_NONE;
        }
        return redraw(ctx);
    }
    return SKV_ACTION_NONE;
}
