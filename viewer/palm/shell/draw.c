/* Draws the core's display list. The form supplies the title bar, the menu
 * and the scroll bar; texts, bitmaps, lines, selections, buttons and check
 * boxes are drawn here. On a high-density screen the core lays out in
 * 320 x 320 pixels and everything below the title bar is drawn in the
 * double-density coordinate system. */

#include "viewer.h"

#include "ui_ids.h"

#define TITLE_BAR_HEIGHT 15
#define SCREEN_SIZE 160

void BeginDensity(Viewer *v) {
    if (v->density == 2 && !v->densityActive) {
        WinSetCoordinateSystem(kCoordinatesDouble);
        v->densityActive = 1;
    }
}

void EndDensity(Viewer *v) {
    if (v->densityActive) {
        WinSetCoordinateSystem(kCoordinatesStandard);
        v->densityActive = 0;
    }
    v->font = VIEWER_NO_FONT;
}

void UseFont(Viewer *v, UInt8 font) {
    if (v->font != font) {
        FntSetFont(font);
        v->font = font;
    }
}

static void SetRect(RectangleType *r, Coord x, Coord y, Coord w, Coord h) {
    r->topLeft.x = x;
    r->topLeft.y = y;
    r->extent.x = w;
    r->extent.y = h;
}

static void ItemRect(const skv_item *item, RectangleType *r) { SetRect(r, item->x, item->y, item->w, item->h); }

static void SetTitle(Viewer *v, const skv_item *item) {
    UInt16 length = item->length;
    if (length > VIEWER_TITLE_BYTES - 1) length = VIEWER_TITLE_BYTES - 1;
    for (UInt16 i = 0; i < length; ++i) v->title[i] = item->text[i];
    v->title[length] = 0;
    FrmSetTitle(v->form, v->title);
}

static void DrawTextItem(Viewer *v, const skv_item *item) {
    UseFont(v, item->font);
    WinDrawChars(item->text, (Int16)item->length, item->x, item->y);
}

static void DrawBitmapItem(Viewer *v, const skv_item *item) {
    uint32_t size = 0;
    const uint8_t *bitmap = v->host.get_resource(v, SKV_TYPE_BITMAP, item->id, &size);
    if (bitmap) WinDrawBitmap(bitmap, item->x, item->y);
}

/* A push button: a rounded frame around the rectangle and its label centred. */
static void DrawButton(Viewer *v, const skv_item *item) {
    RectangleType r;
    ItemRect(item, &r);
    WinDrawRectangleFrame(roundFrame, &r);
    UseFont(v, item->font);
    Int16 width = FntCharsWidth(item->text, (Int16)item->length);
    Int16 x = item->x + (item->w - width) / 2;
    Int16 y = item->y + (item->h - FntLineHeight()) / 2;
    if (x < item->x) x = item->x;
    WinDrawChars(item->text, (Int16)item->length, x, y);
    if (item->value) WinInvertRectangle(&r, (Coord)(4 * v->density)); /* the chosen one of a pair */
}

/* A check box: a square frame, ticked when the value is 1, and its label. */
static void DrawCheckBox(Viewer *v, const skv_item *item) {
    Coord unit = v->density;
    Coord side = 8 * unit;
    Coord x = item->x + unit;
    Coord y = item->y + (item->h - side) / 2;
    RectangleType box;
    SetRect(&box, x, y, side, side);
    WinEraseRectangle(&box, 0);
    WinDrawRectangleFrame(simpleFrame, &box);
    if (item->value) {
        for (Coord t = 0; t < unit + 1; ++t) {
            WinDrawLine(x + 1 * unit, y + 4 * unit + t, x + 3 * unit, y + 6 * unit + t);
            WinDrawLine(x + 3 * unit, y + 6 * unit + t, x + 7 * unit, y + 1 * unit + t);
        }
    }
    if (item->length) {
        UseFont(v, item->font);
        WinDrawChars(item->text, (Int16)item->length, x + side + 4 * unit, item->y + (item->h - FntLineHeight()) / 2);
    }
}

static void ShowScrollBar(Viewer *v, const skv_item *item) {
    UInt16 index = FrmGetObjectIndex(v->form, VIEWER_SCROLLBAR);
    Coord d = v->density;
    SetRect(&v->scrollBarBounds, item->x / d, item->y / d, item->w / d, item->h / d);
    FrmSetObjectBounds(v->form, index, &v->scrollBarBounds);
    SclSetScrollBar((ScrollBarType *)FrmGetObjectPtr(v->form, index), item->value, 0, item->maximum, item->page);
    FrmShowObject(v->form, index);
    v->scrollBarShown = 1;
}

void DrawScreen(Viewer *v) {
    if (!v->formOpen) return;
    uint16_t count = 0;
    const skv_item *items = CORE(v, skv_display)(v->ctx, &count);
    const skv_item *scrollBar = 0;

    EndDensity(v);
    FrmHideObject(v->form, FrmGetObjectIndex(v->form, VIEWER_SCROLLBAR));
    v->scrollBarShown = 0;
    RectangleType content;
    SetRect(&content, 0, TITLE_BAR_HEIGHT, SCREEN_SIZE, SCREEN_SIZE - TITLE_BAR_HEIGHT);
    WinEraseRectangle(&content, 0);
    for (uint16_t i = 0; i < count; ++i) {
        if (items[i].kind == SKV_ITEM_TITLE) SetTitle(v, &items[i]);
    }

    BeginDensity(v);
    for (uint16_t i = 0; i < count; ++i) {
        const skv_item *item = &items[i];
        RectangleType r;
        switch (item->kind) {
        case SKV_ITEM_TEXT: DrawTextItem(v, item); break;
        case SKV_ITEM_BITMAP: DrawBitmapItem(v, item); break;
        case SKV_ITEM_LINE: WinDrawLine(item->x, item->y, item->x + item->w, item->y + item->h); break;
        case SKV_ITEM_FILL:
            ItemRect(item, &r);
            WinDrawRectangle(&r, 0);
            break;
        case SKV_ITEM_INVERT:
            ItemRect(item, &r);
            WinInvertRectangle(&r, 0);
            break;
        case SKV_ITEM_FRAME:
            /* The frame is drawn just outside its rectangle: shrink by one pixel. */
            SetRect(&r, item->x + 1, item->y + 1, item->w - 2, item->h - 2);
            WinDrawRectangleFrame(simpleFrame, &r);
            break;
        case SKV_ITEM_BUTTON: DrawButton(v, item); break;
        case SKV_ITEM_CHECKBOX: DrawCheckBox(v, item); break;
        case SKV_ITEM_SCROLLBAR: scrollBar = item; break;
        default: break;
        }
    }
    EndDensity(v);
    if (scrollBar && scrollBar->maximum > 0) ShowScrollBar(v, scrollBar);
}

Boolean FindButton(Viewer *v, Coord x, Coord y, UInt16 *command, RectangleType *rect) {
    uint16_t count = 0;
    const skv_item *items = CORE(v, skv_display)(v->ctx, &count);
    x *= v->density;
    y *= v->density;
    for (uint16_t i = 0; i < count; ++i) {
        const skv_item *item = &items[i];
        if (item->kind != SKV_ITEM_BUTTON) continue;
        if (x >= item->x && x < item->x + item->w && y >= item->y && y < item->y + item->h) {
            *command = item->id;
            ItemRect(item, rect);
            return 1;
        }
    }
    return 0;
}

void InvertButton(Viewer *v, const RectangleType *rect) {
    BeginDensity(v);
    WinInvertRectangle(rect, (Coord)(4 * v->density));
    EndDensity(v);
}
