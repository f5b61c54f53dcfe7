/* The screens that are pages of text: welcome, details, about, copy
 * messages and the damaged-package notice. */
#include "skv_layout.h"

/* Builds one text in the arena piece by piece. */
typedef struct builder {
    char *start;
    uint16_t length, capacity;
} builder;

static void begin(skv_context *ctx, builder *b, uint16_t capacity) {
    b->start = skv_arena_take(ctx, capacity);
    b->capacity = b->start ? capacity : 0;
    b->length = 0;
}

static void add(builder *b, const char *text, uint16_t length) {
    while (length-- && b->length < b->capacity) b->start[b->length++] = *text++;
}

static void add_c(builder *b, const char *text) { add(b, text, skv_str_length(text)); }

static void add_number(builder *b, uint32_t value) {
    char digits[10];
    add(b, digits, skv_format_number(digits, value));
}

static void add_date(builder *b, uint16_t date) {
    char text[48];
    add(b, text, skv_format_date(text, date));
}

static void flow_built(skv_context *ctx, skv_flow *flow, uint8_t font, builder *b) {
    if (b->start) skv_flow_text(ctx, flow, font, 0, b->start, b->length);
}

static void flow_c(skv_context *ctx, skv_flow *flow, uint8_t font, const char *text) {
    skv_flow_text(ctx, flow, font, 0, text, skv_str_length(text));
}

/* ---- Welcome ---- */

static void flow_logo(skv_context *ctx, skv_flow *flow) {
    uint32_t size;
    const uint8_t *family = skv_resource(ctx, SKV_TYPE_BITMAP, SKV_ID_LOGO, &size);
    skv_bitmap bitmap;
    int16_t width, height, y;
    skv_status status;
    if (!family) return;
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        /* A device-independent bitmap of standard-density pixels. */
        uint16_t w, h;
        status = skv_ppc_bitmap_size(family, size, &w, &h);
        bitmap.width = w;
        bitmap.height = h;
        bitmap.density = 72;
    } else {
        status = skv_bitmap_choose(family, size, ctx->density, &bitmap);
    }
    if (status) {
        skv_fail(ctx, status, SKV_TYPE_BITMAP, SKV_ID_LOGO);
        return;
    }
    /* Shown at the screen's density: a bitmap of the other density is scaled. */
    width = (int16_t)bitmap.width;
    height = (int16_t)bitmap.height;
    if (bitmap.density == 144 && ctx->density == 1) width /= 2, height /= 2;
    if (bitmap.density == 72 && ctx->density == 2) width *= 2, height *= 2;
    y = skv_flow_visible(flow, (uint16_t)height);
    if (y >= 0) {
        skv_item *item = skv_add_item(ctx, SKV_ITEM_BITMAP);
        if (item) {
            item->id = SKV_ID_LOGO;
            item->x = (int16_t)((skv_px(ctx, 160) - width) / 2);
            item->y = y;
            item->w = width;
            item->h = height;
        }
    }
    flow->y += height;
    skv_flow_gap(ctx, flow, 3);
}

void skv_layout_welcome(skv_context *ctx) {
    skv_flow flow;
    const char *text;
    uint16_t length;
    skv_title(ctx, ctx->title, ctx->title_length);
    skv_flow_begin(ctx, &flow);
    flow_logo(ctx, &flow);
    if (skv_string(ctx, SKV_ID_WELCOME, &text, &length) == SKV_OK)
        skv_flow_text(ctx, &flow, SKV_FONT_STANDARD, 0, text, length);
    if (skv_string(ctx, SKV_ID_AUTHOR, &text, &length) == SKV_OK) {
        skv_flow_gap(ctx, &flow, 4);
        skv_flow_text(ctx, &flow, SKV_FONT_BOLD, 0, text, length);
    }
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Browse", SKV_CMD_BROWSE, 0);
    skv_button(ctx, 1, "Copy", SKV_CMD_COPY, 0);
    skv_button(ctx, 2, "About", SKV_CMD_ABOUT, 0);
}

/* ---- About ---- */

void skv_layout_about(skv_context *ctx) {
    skv_flow flow;
    skv_title(ctx, "About", 5);
    skv_flow_begin(ctx, &flow);
    flow_c(ctx, &flow, SKV_FONT_BOLD, "Skedlin calendar package");
    skv_flow_gap(ctx, &flow, 4);
    /* The handheld's own applications by their names on each system. */
    if (ctx->layout == SKV_LAYOUT_POCKETPC) {
        flow_c(ctx, &flow, SKV_FONT_STANDARD,
               "This program shows a calendar package: its groups, their events and their contacts. "
               "Copy puts the package's events into your Calendar and its contacts into your Contacts; "
               "entries that are already there stay as they are.");
        skv_flow_gap(ctx, &flow, 4);
        flow_c(ctx, &flow, SKV_FONT_STANDARD, "Browse with the stylus or with the up and down keys.");
    } else {
        flow_c(ctx, &flow, SKV_FONT_STANDARD,
               "This program shows a calendar package: its groups, their events and their contacts. "
               "Copy puts the package's events into your Date Book and its contacts into your Address Book; "
               "entries that are already there stay as they are.");
        skv_flow_gap(ctx, &flow, 4);
        flow_c(ctx, &flow, SKV_FONT_STANDARD, "Browse with the pen or with the up and down buttons.");
    }
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Done", SKV_CMD_BACK, 0);
}

/* ---- Event details ---- */

static const char *ordinal(uint8_t week) {
    switch (week) {
    case 0: return "first";
    case 1: return "second";
    case 2: return "third";
    case 3: return "fourth";
    default: return "last";
    }
}

static void add_unit(builder *b, uint8_t frequency, const char *unit) {
    add_c(b, "Repeats every ");
    if (frequency > 1) {
        add_number(b, frequency);
        add_c(b, " ");
    }
    add_c(b, unit);
    if (frequency > 1) add_c(b, "s");
}

static void repeat_words(skv_context *ctx, skv_flow *flow, const skv_event *event) {
    builder b;
    uint8_t day;
    begin(ctx, &b, 120);
    switch (event->repeat_type) {
    case SKR_REPEAT_DAILY: add_unit(&b, event->frequency, "day"); break;
    case SKR_REPEAT_WEEKLY:
        add_unit(&b, event->frequency, "week");
        add_c(&b, " on");
        for (day = 0; day < 7; ++day) {
            if (event->repeat_on & (1 << day)) {
                add_c(&b, " ");
                add_c(&b, skv_weekday_short(day));
            }
        }
        break;
    case SKR_REPEAT_MONTH_BY_DAY:
        add_unit(&b, event->frequency, "month");
        add_c(&b, " on the ");
        add_c(&b, ordinal((uint8_t)(event->repeat_on / 7)));
        add_c(&b, " ");
        add_c(&b, skv_weekday_short((uint8_t)(event->repeat_on % 7)));
        break;
    case SKR_REPEAT_MONTH_BY_DATE:
        add_unit(&b, event->frequency, "month");
        add_c(&b, " on day ");
        add_number(&b, skv_date_day(event->date));
        break;
    case SKR_REPEAT_YEARLY: add_unit(&b, event->frequency, "year"); break;
    default: return;
    }
    flow_built(ctx, flow, SKV_FONT_STANDARD, &b);
    begin(ctx, &b, 48);
    if (event->repeat_end == SKV_NO_DATE) {
        add_c(&b, "No end date");
    } else {
        add_c(&b, "Until ");
        add_date(&b, event->repeat_end);
    }
    flow_built(ctx, flow, SKV_FONT_STANDARD, &b);
    if (event->exception_count) {
        uint16_t i;
        begin(ctx, &b, (uint16_t)(8 + (event->exception_count > 30 ? 30 : event->exception_count) * 18));
        add_c(&b, "Except ");
        for (i = 0; i < event->exception_count && i < 30; ++i) {
            if (i) add_c(&b, ", ");
            add_date(&b, skv_event_exception(event, i));
        }
        if (i < event->exception_count) add_c(&b, ", ...");
        flow_built(ctx, flow, SKV_FONT_STANDARD, &b);
    }
}

void skv_layout_event(skv_context *ctx) {
    skv_flow flow;
    skv_event event;
    builder b;
    char text[48];
    skv_title(ctx, "Event", 5);
    if (!skv_load_event(ctx, ctx->place.entry, &event)) return;
    skv_flow_begin(ctx, &flow);
    skv_flow_text(ctx, &flow, SKV_FONT_BOLD, 0, event.title, event.title_length);
    skv_flow_gap(ctx, &flow, 2);
    skv_flow_line(ctx, &flow, SKV_FONT_STANDARD, flow.left,
                  skv_arena_copy(ctx, text, skv_format_long_date(text, event.date)),
                  skv_format_long_date(text, event.date));
    begin(ctx, &b, 24);
    if (event.start_time == SKV_NO_TIME) {
        add_c(&b, "Untimed");
    } else {
        add(&b, text, skv_format_time(text, event.start_time));
        add_c(&b, " - ");
        add(&b, text, skv_format_time(text, event.end_time));
    }
    flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    if (event.has_repeat) repeat_words(ctx, &flow, &event);
    if (event.note) {
        skv_flow_gap(ctx, &flow, 4);
        flow_c(ctx, &flow, SKV_FONT_BOLD, "Note");
        skv_flow_text(ctx, &flow, SKV_FONT_STANDARD, 0, event.note, event.note_length);
    }
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Back", SKV_CMD_BACK, 0);
}

/* ---- Contact details ---- */

static void flow_field(skv_context *ctx, skv_flow *flow, const skv_contact *contact, uint8_t field, uint8_t font) {
    if (contact->field[field] && contact->field_length[field])
        skv_flow_text(ctx, flow, font, 0, contact->field[field], contact->field_length[field]);
}

static void add_field(builder *b, const skv_contact *contact, uint8_t field, const char *before) {
    if (!contact->field[field] || !contact->field_length[field]) return;
    if (b->length) add_c(b, before);
    add(b, contact->field[field], contact->field_length[field]);
}

void skv_layout_contact(skv_context *ctx) {
    skv_flow flow;
    skv_contact contact;
    builder b;
    uint8_t phone;
    skv_title(ctx, "Contact", 7);
    if (!skv_load_contact(ctx, ctx->place.entry, &contact)) return;
    skv_flow_begin(ctx, &flow);
    begin(ctx, &b, 200);
    add_field(&b, &contact, SKR_FIELD_FIRST_NAME, " ");
    add_field(&b, &contact, SKR_FIELD_LAST_NAME, " ");
    if (b.length) flow_built(ctx, &flow, SKV_FONT_BOLD, &b);
    flow_field(ctx, &flow, &contact, SKR_FIELD_TITLE, SKV_FONT_STANDARD);
    flow_field(ctx, &flow, &contact, SKR_FIELD_COMPANY, b.length ? SKV_FONT_STANDARD : SKV_FONT_BOLD);
    skv_flow_gap(ctx, &flow, 3);
    for (phone = 0; phone < SKR_PHONE_COUNT; ++phone) {
        uint8_t field = (uint8_t)(SKR_FIELD_PHONE1 + phone);
        if (!contact.field[field] || !contact.field_length[field]) continue;
        begin(ctx, &b, 80);
        add_c(&b, skv_phone_label_text(skv_phone_label(&contact, phone)));
        add_c(&b, ": ");
        add(&b, contact.field[field], contact.field_length[field]);
        flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    }
    skv_flow_gap(ctx, &flow, 3);
    flow_field(ctx, &flow, &contact, SKR_FIELD_STREET, SKV_FONT_STANDARD);
    begin(ctx, &b, 160);
    add_field(&b, &contact, SKR_FIELD_CITY, "");
    add_field(&b, &contact, SKR_FIELD_STATE, ", ");
    add_field(&b, &contact, SKR_FIELD_ZIP, " ");
    if (b.length) flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    flow_field(ctx, &flow, &contact, SKR_FIELD_COUNTRY, SKV_FONT_STANDARD);
    if (contact.field[SKR_FIELD_NOTE] && contact.field_length[SKR_FIELD_NOTE]) {
        skv_flow_gap(ctx, &flow, 4);
        flow_c(ctx, &flow, SKV_FONT_BOLD, "Note");
        flow_field(ctx, &flow, &contact, SKR_FIELD_NOTE, SKV_FONT_STANDARD);
    }
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Back", SKV_CMD_BACK, 0);
}

/* ---- Copy messages ---- */

static void add_count(builder *b, uint16_t count, const char *one, const char *many) {
    add_number(b, count);
    add_c(b, " ");
    add_c(b, count == 1 ? one : many);
}

void skv_layout_copy_package(skv_context *ctx) {
    skv_flow flow;
    builder b;
    skv_title(ctx, "Copy to Handheld", 16);
    skv_flow_begin(ctx, &flow);
    begin(ctx, &b, 160);
    add_c(&b, "The whole package is copied: ");
    add_count(&b, ctx->total_events, "event", "events");
    add_c(&b, ctx->layout == SKV_LAYOUT_POCKETPC ? " into the Calendar and " : " into the Date Book and ");
    add_count(&b, skv_contact_total(ctx), "contact", "contacts");
    add_c(&b, ctx->layout == SKV_LAYOUT_POCKETPC ? " into Contacts." : " into the Address Book.");
    flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Copy", SKV_CMD_COPY_NOW, 0);
    skv_button(ctx, 1, "Cancel", SKV_CMD_BACK, 0);
}

void skv_layout_copy_done(skv_context *ctx) {
    skv_flow flow;
    builder b;
    uint8_t i;
    const skv_copy_summary *done = &ctx->copied;
    skv_title(ctx, "Copy to Handheld", 16);
    skv_flow_begin(ctx, &flow);
    begin(ctx, &b, 120);
    add_c(&b, "Copied ");
    add_count(&b, done->events, "event", "events");
    add_c(&b, " and ");
    add_count(&b, done->contacts, "contact", "contacts");
    add_c(&b, ".");
    flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    if (done->events_refused || done->contacts_refused) {
        skv_flow_gap(ctx, &flow, 4);
        begin(ctx, &b, 160);
        add_c(&b, ctx->layout == SKV_LAYOUT_POCKETPC
                      ? "Not copied, because the Calendar or Contacts cannot hold them: "
                      : "Not copied, because the Date Book or the Address Book cannot hold them: ");
        add_count(&b, done->events_refused, "event", "events");
        add_c(&b, " and ");
        add_count(&b, done->contacts_refused, "contact", "contacts");
        add_c(&b, ":");
        flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
        for (i = 0; i < ctx->refused_count; ++i) {
            uint16_t id = ctx->refused_ids[i];
            begin(ctx, &b, 120);
            if (id >= SKV_ID_FIRST_EVENT) {
                skv_event event;
                if (!skv_load_event(ctx, id, &event)) return;
                add(&b, event.title, event.title_length > 60 ? 60 : event.title_length);
                add_c(&b, " (");
                add_c(&b, skv_refusal_text(skv_refusal_of(ctx, id)));
                add_c(&b, ")");
            } else {
                skv_contact contact;
                char name[60];
                if (!skv_load_contact(ctx, id, &contact)) return;
                add(&b, name, skv_contact_name(&contact, name, sizeof name));
                add_c(&b, " (");
                add_c(&b, skv_refusal_text(skv_refusal_of(ctx, id)));
                add_c(&b, ")");
            }
            skv_flow_text(ctx, &flow, SKV_FONT_STANDARD, skv_px(ctx, 4), b.start, b.length);
        }
        if (ctx->refused_count < done->events_refused + done->contacts_refused)
            flow_c(ctx, &flow, SKV_FONT_STANDARD, "...");
    }
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Done", SKV_CMD_BACK, 0);
}

/* ---- Damage ---- */

void skv_layout_error(skv_context *ctx) {
    skv_flow flow;
    builder b;
    uint8_t type[4];
    skv_title(ctx, "Damaged Package", 15);
    skv_flow_begin(ctx, &flow);
    flow_c(ctx, &flow, SKV_FONT_STANDARD, skv_status_text(ctx->error));
    begin(ctx, &b, 40);
    skf_put32be(type, ctx->error_type); /* the four letters of the resource type */
    add_c(&b, "Resource ");
    add(&b, (const char *)type, 4);
    add_c(&b, " ");
    add_number(&b, ctx->error_id);
    flow_built(ctx, &flow, SKV_FONT_STANDARD, &b);
    skv_flow_end(ctx, &flow);
    skv_button(ctx, 0, "Done", SKV_CMD_BACK, 0);
}
