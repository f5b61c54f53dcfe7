#ifndef SKV_LAYOUT_H
#define SKV_LAYOUT_H
/* Display list primitives used by the screens. Not for shells. */

#include "skv_internal.h"

/* A page of text laid out top to bottom and scrolled by ctx->place.top
 * pixels; only lines fully inside the content area become items. */
typedef struct skv_flow {
    int32_t y; /* of the next line, from the top of the page */
    int32_t top;
    int16_t area_top, area_bottom, left, right;
} skv_flow;

int16_t skv_px(const skv_context *ctx, int16_t standard);
uint16_t skv_font_height(const skv_context *ctx, uint8_t font);
uint16_t skv_text_width(const skv_context *ctx, uint8_t font, const char *text, uint16_t length);
const char *skv_arena_copy(skv_context *ctx, const char *text, uint16_t length);
void skv_zone_add(skv_context *ctx, int16_t x, int16_t y, int16_t w, int16_t h, uint8_t kind, uint16_t value);
skv_item *skv_text_at(skv_context *ctx, uint8_t font, int16_t x, int16_t y, const char *text, uint16_t length);
skv_item *skv_text_fitted(skv_context *ctx, uint8_t font, int16_t x, int16_t y, int16_t width, const char *text,
                          uint16_t length);

void skv_flow_begin(skv_context *ctx, skv_flow *flow);
int16_t skv_flow_visible(const skv_flow *flow, uint16_t height);
void skv_flow_line(skv_context *ctx, skv_flow *flow, uint8_t font, int16_t x, const char *text, uint16_t length);
void skv_flow_text(skv_context *ctx, skv_flow *flow, uint8_t font, int16_t indent, const char *text, uint16_t length);
void skv_flow_gap(skv_context *ctx, skv_flow *flow, int16_t standard_pixels);
void skv_flow_end(skv_context *ctx, skv_flow *flow);
int16_t skv_flow_max_line(const skv_context *ctx);

int16_t skv_content_top(const skv_context *ctx);
int16_t skv_content_bottom(const skv_context *ctx);
void skv_title(skv_context *ctx, const char *text, uint16_t length);
void skv_button(skv_context *ctx, uint8_t slot, const char *label, uint16_t command, uint8_t pressed);
void skv_button_at(skv_context *ctx, int16_t x, int16_t y, const char *label, uint16_t command, uint8_t pressed);
void skv_scrollbar(skv_context *ctx, int16_t value, int16_t maximum, int16_t page);

/* Screens (skv_screens.c, skv_lists.c). */
void skv_layout_welcome(skv_context *ctx);
void skv_layout_about(skv_context *ctx);
void skv_layout_event(skv_context *ctx);
void skv_layout_contact(skv_context *ctx);
void skv_layout_copy_package(skv_context *ctx);
void skv_layout_copy_done(skv_context *ctx);
void skv_layout_error(skv_context *ctx);
void skv_layout_list(skv_context *ctx);

/* List positions (skv_lists.c). */
typedef struct skv_row {
    uint16_t index;  /* list position */
    uint8_t heading; /* events: the day heading above `index` */
} skv_row;
uint16_t skv_list_count(skv_context *ctx);
skv_row skv_list_step(skv_context *ctx, skv_row row, int16_t rows);
skv_row skv_list_last_top(skv_context *ctx);
uint8_t skv_list_has_heading(skv_context *ctx, uint16_t index);
uint8_t skv_is_list_screen(uint8_t screen);

#endif
