/* The viewer's start, event loop and end. The core keeps the navigation
 * state; this loop turns pen taps, keys, menu commands and the scroll bar
 * into core input and acts on the actions the core returns. Events are
 * handled here before the form sees them, so no callback needs to find the
 * viewer's state. */

#include "viewer.h"

#include "ui_ids.h"

#define TITLE_BAR_HEIGHT 15

static void Act(Viewer *v, UInt16 actions) {
    EndDensity(v);
    if (actions & SKV_ACTION_ERROR) {
        uint32_t type = 0;
        uint16_t id = 0;
        skv_status status = CORE(v, skv_error)(v->ctx, &type, &id);
        AlertDamaged(v, status, type, id);
        v->leave = 1;
        return;
    }
    if (actions & SKV_ACTION_COPY) {
        CopyToHandheld(v); /* redraws the screen itself, before its alert */
        return;
    }
    if (actions & SKV_ACTION_EXIT) {
        v->leave = 1;
        return;
    }
    if (actions & SKV_ACTION_REDRAW) DrawScreen(v);
}

static Boolean InScrollBar(const Viewer *v, Coord x, Coord y) {
    const RectangleType *r = &v->scrollBarBounds;
    return v->scrollBarShown && x >= r->topLeft.x && x < r->topLeft.x + r->extent.x && y >= r->topLeft.y &&
           y < r->topLeft.y + r->extent.y;
}

static Boolean InRect(const RectangleType *r, Coord x, Coord y) {
    return x >= r->topLeft.x && x < r->topLeft.x + r->extent.x && y >= r->topLeft.y && y < r->topLeft.y + r->extent.y;
}

/* Pen down on a button holds it (shown inverted) until the pen goes up; a
 * pen down anywhere else below the title bar is a tap for the core. */
static Boolean HandlePen(Viewer *v, const EventType *event) {
    Coord x = event->screenX, y = event->screenY;
    if (event->eType == penDownEvent) {
        if (y < TITLE_BAR_HEIGHT || InScrollBar(v, x, y)) return 0;
        if (FindButton(v, x, y, &v->heldCommand, &v->heldRect)) {
            v->buttonHeld = 1;
            InvertButton(v, &v->heldRect);
            return 1;
        }
        Act(v, CORE(v, skv_tap)(v->ctx, (int16_t)(x * v->density), (int16_t)(y * v->density)));
        return 1;
    }
    if (event->eType == penUpEvent && v->buttonHeld) {
        v->buttonHeld = 0;
        InvertButton(v, &v->heldRect);
        if (InRect(&v->heldRect, (Coord)(x * v->density), (Coord)(y * v->density)))
            Act(v, CORE(v, skv_command)(v->ctx, v->heldCommand));
        return 1;
    }
    return 0;
}

static Boolean HandleKey(Viewer *v, const EventType *event) {
    switch (event->data.keyDown.chr) {
    case vchrPageUp:
    case chrUpArrow:
    case vchrRockerUp: Act(v, CORE(v, skv_key)(v->ctx, SKV_KEY_PAGE_UP)); return 1;
    case vchrPageDown:
    case chrDownArrow:
    case vchrRockerDown: Act(v, CORE(v, skv_key)(v->ctx, SKV_KEY_PAGE_DOWN)); return 1;
    case chrBackspace:
    case vchrRockerLeft: Act(v, CORE(v, skv_command)(v->ctx, SKV_CMD_BACK)); return 1;
    default: return 0;
    }
}

static Boolean HandleMenu(Viewer *v, UInt16 item) {
    switch (item) {
    case MENU_COPY: Act(v, CORE(v, skv_command)(v->ctx, SKV_CMD_COPY)); return 1;
    case MENU_ABOUT: Act(v, CORE(v, skv_command)(v->ctx, SKV_CMD_ABOUT)); return 1;
    case MENU_BACK: Act(v, CORE(v, skv_command)(v->ctx, SKV_CMD_BACK)); return 1;
    default: return 0;
    }
}

static Boolean HandleEvent(Viewer *v, EventType *event) {
    switch (event->eType) {
    case frmLoadEvent:
        v->form = FrmInitForm(event->data.frmLoad.formID);
        FrmSetActiveForm(v->form);
        return 1;
    case frmOpenEvent:
    case frmUpdateEvent:
        FrmDrawForm(v->form);
        v->formOpen = 1;
        DrawScreen(v);
        return 1;
    case penDownEvent:
    case penUpEvent: return HandlePen(v, event);
    case keyDownEvent: return HandleKey(v, event);
    case menuEvent: return HandleMenu(v, event->data.menu.itemID);
    case sclRepeatEvent:
    case sclExitEvent:
        Act(v, CORE(v, skv_scroll_to)(v->ctx, event->data.sclRepeat.newValue));
        return event->eType == sclExitEvent;
    default: return 0;
    }
}

static void EventLoop(Viewer *v) {
    EventType event;
    UInt16 menuError = 0;
    FrmGotoForm(VIEWER_FORM);
    while (!v->leave) {
        EndDensity(v);
        EvtGetEvent(&event, evtWaitForever);
        if (event.eType == appStopEvent) break;
        if (SysHandleEvent(&event)) continue;
        if (MenuHandleEvent(0, &event, &menuError)) continue;
        if (HandleEvent(v, &event)) continue;
        FrmDispatchEvent(&event);
    }
    FrmCloseAllForms();
}

/* Opens the core on the package; false (after an alert) when it cannot. */
static Boolean OpenCore(Viewer *v) {
    uint32_t size = 0;
    skv_status status = CORE(v, skv_measure)(&v->host, &size);
    EndDensity(v);
    if (status != SKV_OK) {
        AlertDamaged(v, status, 0, 0);
        return 0;
    }
    v->ctxMemory = MemPtrNew(size);
    if (!v->ctxMemory) {
        FrmAlert(ALERT_NO_MEMORY);
        return 0;
    }
    status = CORE(v, skv_open)(v->ctxMemory, size, &v->host, v->density, &v->ctx);
    EndDensity(v);
    if (status != SKV_OK) {
        AlertDamaged(v, status, 0, 0);
        return 0;
    }
    /* Damage found while opening (a record, the logo): say so and leave. */
    uint32_t type = 0;
    uint16_t id = 0;
    status = CORE(v, skv_error)(v->ctx, &type, &id);
    if (status != SKV_OK) {
        AlertDamaged(v, status, type, id);
        return 0;
    }
    return 1;
}

static UInt8 ScreenDensity(void) {
    UInt32 version = 0;
    if (FtrGet(sysFtrCreator, sysFtrNumWinVersion, &version) == errNone && version >= 4) return 2;
    return 1;
}

UInt32 ViewerRun(void) {
    Viewer *v = (Viewer *)MemPtrNew(sizeof(Viewer));
    if (!v) {
        FrmAlert(ALERT_NO_MEMORY);
        return errNone;
    }
    for (UInt16 i = 0; i < sizeof(Viewer); ++i) ((UInt8 *)v)[i] = 0;
    v->density = ScreenDensity();
    v->font = VIEWER_NO_FONT;
    PackageSetUpHost(v);
    if (!PackageOpen(v)) {
        FrmAlert(ALERT_NO_MEMORY);
    } else if (OpenCore(v)) {
        EventLoop(v);
    }
    PackageClose(v);
    if (v->ctxMemory) MemPtrFree(v->ctxMemory);
    MemPtrFree(v);
    return errNone;
}
