/* Display list primitives: items, texts fitted to a width, wrapped text
 * flowing down a scrolled page, and the frame shared by every screen
 * (title bar, content area, buttons, scroll bar). */
#include "skv_layout.h"

skv_item *skv_add_item(skv_context *ctx, uint8_t kind) {
    skv_item *item;
    if (ctx->item_count >= SKV_MAX_ITEMS) return 0;
    item = &ctx->items[ctx->item_count++];
    skv_mem_set(item, 0, sizeof *item);
    item->kind = kind;
    return item;
}

char *skv_arena_take(skv_context *ctx, uint16_t length) {
    char *space;
    if (SKV_ARENA_SIZE - ctx->arena_used < length) return 0;
    space = ctx->arena + ctx->arena_used;
    ctx->arena_used = (uint16_t)(ctx->arena_used + length);
    return space;
}

const char *skv_arena_copy(skv_context *ctx, const char *text, uint16_t length) {
    char *space = skv_arena_take(ctx, length);
    if (space) skv_mem_copy(space, text, length);
    return space;
}

int16_t skv_px(const skv_context *ctx, int16_t standard) { return (int16_t)(standard * ctx->density); }

uint16_t skv_font_height(const skv_context *ctx, uint8_t font) {
    uint16_t height = ctx->host.font_height ? ctx->host.font_height(ctx->host.user, font) : 0;
    return height ? height
                  : (uint16_t)((font == SKV_FONT_LARGE || font == SKV_FONT_LARGE_BOLD ? 14 : 11) * ctx->density);
}

uint16_t skv_text_width(const skv_context *ctx, uint8_t font, const char *text, uint16_t length) {
    if (length == 0) return 0;
    if (ctx->host.text_width) return ctx->host.text_width(ctx->host.user, font, text, length);
    return (uint16_t)(length * 5 * ctx->density);
}

void skv_zone_add(skv_context *ctx, int16_t x, int16_t y, int16_t w, int16_t h, uint8_t kind, uint16_t value) {
    skv_zone *zone;
    if (ctx->zone_count >= SKV_MAX_ZONES) return;
    zone = &ctx->zones[ctx->zone_count++];
    zone->x = x;
    zone->y = y;
    zone->w = w;
    zone->h = h;
    zone->kind = kind;
    zone->value = value;
}

skv_item *skv_text_at(skv_context *ctx, uint8_t font, int16_t x, int16_t y, const char *text, uint16_t length) {
    skv_item *item = skv_add_item(ctx, SKV_ITEM_TEXT);
    if (!item) return 0;
    item->font = font;
    item->x = x;
    item->y = y;
    item->text = text;
    item->length = length;
    item->w = (int16_t)skv_text_width(ctx, font, text, length);
    item->h = (int16_t)skv_font_height(ctx, font);
    return item;
}

/* Up to the first line feed; then as many bytes as fit in `width`, with
 * "..." added (in the arena) when the text had to be shortened. */
skv_item *skv_text_fitted(skv_context *ctx, uint8_t font, int16_t x, int16_t y, int16_t width, const char *text,
                          uint16_t length) {
    uint16_t line = 0, fit, dots;
    char *shortened;
    while (line < length && text[line] != '\n') ++line;
    if (line < length && line > 0 && text[line - 1] == '\r') --line;
    if (line == length && skv_text_width(ctx, font, text, line) <= (uint16_t)width)
        return skv_text_at(ctx, font, x, y, text, line);
    dots = skv_text_width(ctx, font, "...", 3);
    /* Binary search for the longest prefix that fits with the dots. */
    {
        uint16_t low = 0, high = line;
        while (low < high) {
            uint16_t mid = (uint16_t)((low + high + 1) / 2);
            if (skv_text_width(ctx, font, text, mid) + dots <= (uint16_t)width)
                low = mid;
            else
                high = (uint16_t)(mid - 1);
        }
        fit = low;
    }
    shortened = skv_arena_take(ctx, (uint16_t)(fit + 3));
    if (!shortened) return skv_text_at(ctx, font, x, y, text, fit);
    skv_mem_copy(shortened, text, fit);
    skv_mem_copy(shortened + fit, "...", 3);
    return skv_text_at(ctx, font, x, y, shortened, (uint16_t)(fit + 3));
}

/* ---- Scrolled text pages ---- */

void skv_flow_begin(skv_context *ctx, skv_flow *flow) {
    flow->y = 0;
    flow->top = ctx->place.top;
    flow->area_top = skv_content_top(ctx);
    flow->area_bottom = skv_content_bottom(ctx);
    flow->left = skv_px(ctx, 2);
    flow->right = (int16_t)(skv_px(ctx, 160) - skv_px(ctx, 10));
}

/* Screen y of a flow line, or -1 when it is scrolled out of the area. */
int16_t skv_flow_visible(const skv_flow *flow, uint16_t height) {
    int32_t y = (int32_t)flow->area_top + flow->y - flow->top;
    if (flow->y < flow->top || y + height > flow->area_bottom) return -1;
    return (int16_t)y;
}

void skv_flow_line(skv_context *ctx, skv_flow *flow, uint8_t font, int16_t x, const char *text, uint16_t length) {
    uint16_t height = skv_font_height(ctx, font);
    int16_t y = skv_flow_visible(flow, height);
    if (y >= 0) skv_text_at(ctx, font, x, y, text, length);
    flow->y += height;
}

/* A carriage return (texts with CR LF line ends) counts as a space. */
static uint8_t is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

/* Breaks the text into lines at spaces (or anywhere in a word too long for
 * a line) and at line feeds. */
void skv_flow_text(skv_context *ctx, skv_flow *flow, uint8_t font, int16_t indent, const char *text, uint16_t length) {
    uint16_t start = 0;
    uint16_t width = (uint16_t)(flow->right - flow->left - indent);
    while (start < length) {
        uint16_t end = start, best = start, next;
        /* Grow word by word while the line fits. */
        while (end < length && text[end] != '\n') {
            uint16_t word;
            next = end;
            while (next < length && is_space(text[next])) ++next;
            word = next;
            while (next < length && !is_space(text[next]) && text[next] != '\n') ++next;
            /* Spaces before a line feed or the end stay off the line. */
            if (next == word) break;
            if (skv_text_width(ctx, font, text + start, (uint16_t)(next - start)) > width) break;
            end = next;
            best = next;
        }
        if (best == start && start < length && text[start] != '\n') {
            /* A single word longer than the line: cut it where it stops fitting. */
            best = (uint16_t)(start + 1);
            while (best < length && text[best] != '\n' && !is_space(text[best]) &&
                   skv_text_width(ctx, font, text + start, (uint16_t)(best + 1 - start)) <= width)
                ++best;
        }
        skv_flow_line(ctx, flow, font, (int16_t)(flow->left + indent), text + start, (uint16_t)(best - start));
        start = best;
        while (start < length && is_space(text[start])) ++start;
        if (start < length && text[start] == '\n') ++start;
    }
    if (length == 0) flow->y += skv_font_height(ctx, font);
}

void skv_flow_gap(skv_context *ctx, skv_flow *flow, int16_t standard_pixels) {
    flow->y += skv_px(ctx, standard_pixels);
}

void skv_flow_end(skv_context *ctx, skv_flow *flow) {
    ctx->flow_height = flow->y > 0xFFFF ? 0xFFFF : (uint16_t)flow->y;
    skv_scrollbar(ctx, (int16_t)(ctx->place.top / skv_font_height(ctx, SKV_FONT_STANDARD)), skv_flow_max_line(ctx),
                  (int16_t)((flow->area_bottom - flow->area_top) / skv_font_height(ctx, SKV_FONT_STANDARD)));
}

int16_t skv_flow_max_line(const skv_context *ctx) {
    uint16_t line = skv_font_height(ctx, SKV_FONT_STANDARD);
    int32_t area = skv_content_bottom(ctx) - skv_content_top(ctx);
    int32_t over = (int32_t)ctx->flow_height - area;
    if (over <= 0) return 0;
    return (int16_t)((over + line - 1) / line);
}

/* ---- Frame of every screen ---- */

int16_t skv_content_top(const skv_context *ctx) { return skv_px(ctx, 17); }
int16_t skv_content_bottom(const skv_context *ctx) { return skv_px(ctx, 144); }

void skv_title(skv_context *ctx, const char *text, uint16_t length) {
    skv_item *item = skv_add_item(ctx, SKV_ITEM_TITLE);
    if (!item) return;
    item->font = SKV_FONT_BOLD;
    item->w = skv_px(ctx, 160);
    item->h = skv_px(ctx, 15);
    item->text = text;
    item->length = length;
}

/* Buttons sit in one row at the bottom, left to right, as on the handheld's
 * own forms; `slot` 0 starts the row, each other one follows the last. */
void skv_button(skv_context *ctx, uint8_t slot, const char *label, uint16_t command, uint8_t pressed) {
    skv_button_at(ctx, slot ? ctx->button_x : skv_px(ctx, 1), skv_px(ctx, 147), label, command, pressed);
}

void skv_button_at(skv_context *ctx, int16_t x, int16_t y, const char *label, uint16_t command, uint8_t pressed) {
    skv_item *item = skv_add_item(ctx, SKV_ITEM_BUTTON);
    uint16_t length = skv_str_length(label);
    if (!item) return;
    item->font = SKV_FONT_STANDARD;
    item->x = x;
    item->y = y;
    item->w = (int16_t)(skv_text_width(ctx, SKV_FONT_STANDARD, label, length) + skv_px(ctx, 10));
    if (item->w < skv_px(ctx, 30)) item->w = skv_px(ctx, 30);
    item->h = skv_px(ctx, 12);
    item->id = command;
    item->value = pressed;
    item->text = label;
    item->length = length;
    skv_zone_add(ctx, item->x, item->y, item->w, item->h, SKV_ZONE_COMMAND, command);
    ctx->button_x = (int16_t)(x + item->w + skv_px(ctx, 5));
}

void skv_scrollbar(skv_context *ctx, int16_t value, int16_t maximum, int16_t page) {
    skv_item *item;
    if (maximum <= 0) return;
    item = skv_add_item(ctx, SKV_ITEM_SCROLLBAR);
    if (!item) return;
    item->x = skv_px(ctx, 153);
    item->y = skv_content_top(ctx);
    item->w = skv_px(ctx, 7);
    item->h = (int16_t)(skv_content_bottom(ctx) - skv_content_top(ctx));
    item->value = value > maximum ? maximum : value;
    item->maximum = maximum;
    item->page = page;
}

const skv_item *skv_display(const skv_context *ctx, uint16_t *count) {
    *count = ctx->item_count;
    return ctx->items;
}

uint8_t skv_screen(const skv_context *ctx) { return ctx->place.screen; }
