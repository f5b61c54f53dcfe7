/* Painting the core's display list with GDI, and the menu bar the shell
 * keeps at the bottom of the window (Browse, Copy, About). */
#include "viewer.h"

static void rect_of(const ppc_viewer *v, const skv_item *item, ce_rect *r) {
    r->left = ppc_px(v, item->x);
    r->top = ppc_px(v, item->y);
    r->right = ppc_px(v, item->x + item->w);
    r->bottom = ppc_px(v, item->y + item->h);
}

static void text_at(ppc_viewer *v, ce_handle dc, uint8_t font, int32_t x, int32_t y, const char *text,
                    uint16_t length) {
    ce_wchar wide[PPC_TEXT_MAX];
    uint16_t count = ppc_widen(text, length, wide, PPC_TEXT_MAX);
    if (!count) return;
    SelectObject(dc, v->fonts[ppc_font_index(font)]);
    ExtTextOutW(dc, x, y, 0, 0, wide, count, 0);
}

static void line(ce_handle dc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    ce_point points[2];
    points[0].x = x0;
    points[0].y = y0;
    points[1].x = x1;
    points[1].y = y1;
    Polyline(dc, points, 2);
}

static void frame(ce_handle dc, const ce_rect *r) {
    ce_point points[5];
    points[0].x = r->left, points[0].y = r->top;
    points[1].x = r->right - 1, points[1].y = r->top;
    points[2].x = r->right - 1, points[2].y = r->bottom - 1;
    points[3].x = r->left, points[3].y = r->bottom - 1;
    points[4] = points[0];
    Polyline(dc, points, 5);
}

/* A label centred in a rectangle. */
static void centred(ppc_viewer *v, ce_handle dc, uint8_t font, const ce_rect *r, const char *text, uint16_t length) {
    int32_t width = ppc_text_pixels(v, font, text, length);
    int32_t height = v->font_height[ppc_font_index(font)];
    text_at(v, dc, font, r->left + (r->right - r->left - width) / 2, r->top + (r->bottom - r->top - height) / 2, text,
            length);
}

static void scroll_bar(ce_handle dc, const ce_rect *r, const skv_item *item) {
    ce_rect thumb = *r;
    int32_t height = r->bottom - r->top;
    int32_t total = item->maximum + item->page;
    frame(dc, r);
    if (item->maximum <= 0 || total <= 0) return;
    thumb.top = r->top + height * item->value / total;
    thumb.bottom = thumb.top + height * item->page / total;
    if (thumb.bottom <= thumb.top) thumb.bottom = thumb.top + 2;
    FillRect(dc, &thumb, GetStockObject(CE_BLACK_BRUSH));
}

static void draw_logo(ppc_viewer *v, ce_handle dc, const ce_rect *r) {
    ce_handle source;
    int32_t x, y;
    if (!v->logo) return;
    source = CreateCompatibleDC(dc);
    if (!source) return;
    SelectObject(source, v->logo);
    /* At its own pixel size, centred in the place the core gave it. */
    x = r->left + (r->right - r->left - v->logo_width) / 2;
    y = r->top + (r->bottom - r->top - v->logo_height) / 2;
    BitBlt(dc, x, y, v->logo_width, v->logo_height, source, 0, 0, CE_SRCCOPY);
    DeleteDC(source);
}

static void draw_item(ppc_viewer *v, ce_handle dc, const skv_item *item) {
    ce_rect r;
    rect_of(v, item, &r);
    switch (item->kind) {
    case SKV_ITEM_TITLE:
        FillRect(dc, &r, GetStockObject(CE_BLACK_BRUSH));
        SetTextColor(dc, CE_WHITE);
        text_at(v, dc, SKV_FONT_BOLD, r.left + ppc_px(v, 4), r.top + (r.bottom - r.top - v->font_height[1]) / 2,
                item->text, item->length);
        SetTextColor(dc, CE_BLACK);
        break;
    case SKV_ITEM_TEXT: text_at(v, dc, item->font, r.left, r.top, item->text, item->length); break;
    case SKV_ITEM_BITMAP: draw_logo(v, dc, &r); break;
    case SKV_ITEM_LINE: line(dc, r.left, r.top, r.right, r.bottom); break;
    case SKV_ITEM_FILL: FillRect(dc, &r, GetStockObject(CE_BLACK_BRUSH)); break;
    case SKV_ITEM_INVERT: PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, CE_DSTINVERT); break;
    case SKV_ITEM_FRAME: frame(dc, &r); break;
    case SKV_ITEM_BUTTON:
        frame(dc, &r);
        centred(v, dc, SKV_FONT_STANDARD, &r, item->text, item->length);
        if (item->value) PatBlt(dc, r.left + 1, r.top + 1, r.right - r.left - 2, r.bottom - r.top - 2, CE_DSTINVERT);
        break;
    case SKV_ITEM_CHECKBOX:
        frame(dc, &r);
        if (item->value) {
            line(dc, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
            line(dc, r.left + 2, r.bottom - 3, r.right - 2, r.top + 1);
        }
        break;
    case SKV_ITEM_SCROLLBAR: scroll_bar(dc, &r, item); break;
    default: break;
    }
}

static void menu_cell(const ppc_viewer *v, uint16_t cell, ce_rect *r) {
    ce_rect client;
    GetClientRect(v->window, &client);
    r->top = client.bottom - PPC_MENU_BAR_HEIGHT;
    r->bottom = client.bottom;
    r->left = client.right * cell / 3;
    r->right = client.right * (cell + 1) / 3;
}

static void menu_bar(ppc_viewer *v, ce_handle dc) {
    static const char kLabels[] = "BrowseCopyAbout";
    uint16_t cell;
    for (cell = 0; cell < 3; ++cell) {
        ce_rect r;
        menu_cell(v, cell, &r);
        FillRect(dc, &r, GetStockObject(CE_BLACK_BRUSH));
        SetTextColor(dc, CE_WHITE);
        centred(v, dc, SKV_FONT_BOLD, &r,
                kLabels + (cell == 0   ? 0
                           : cell == 1 ? 6
                                       : 10),
                cell == 0   ? 6
                : cell == 1 ? 4
                            : 5);
        SetTextColor(dc, CE_BLACK);
        if (cell) line(dc, r.left, r.top, r.left, r.bottom);
    }
}

uint16_t ppc_menu_bar_command(const ppc_viewer *v, int32_t x, int32_t y) {
    uint16_t cell;
    for (cell = 0; cell < 3; ++cell) {
        ce_rect r;
        menu_cell(v, cell, &r);
        if (y >= r.top && y < r.bottom && x >= r.left && x < r.right)
            return cell == 0 ? SKV_CMD_BROWSE : cell == 1 ? SKV_CMD_COPY : SKV_CMD_ABOUT;
    }
    return 0;
}

void ppc_paint(ppc_viewer *v, ce_handle dc) {
    ce_rect client;
    uint16_t count = 0, i;
    const skv_item *items = skv_display(v->ctx, &count);
    GetClientRect(v->window, &client);
    FillRect(dc, &client, GetStockObject(CE_WHITE_BRUSH));
    SetBkMode(dc, CE_TRANSPARENT);
    SetTextColor(dc, CE_BLACK);
    for (i = 0; i < count; ++i) draw_item(v, dc, &items[i]);
    menu_bar(v, dc);
}
