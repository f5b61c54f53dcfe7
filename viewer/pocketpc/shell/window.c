/* The window procedure: pen taps, keys and menu commands become core
 * input; the actions the core returns become a repaint, the copy, a
 * damage message or the end of the program. */
#include "viewer.h"

/* The one viewer of the process, for the window procedure. */
static ppc_viewer *the_viewer;

ppc_viewer *ppc_the_viewer(void) { return the_viewer; }
void ppc_set_viewer(ppc_viewer *v) { the_viewer = v; }

void ppc_act(ppc_viewer *v, uint16_t actions) {
    if (actions & SKV_ACTION_ERROR) {
        uint16_t id = 0;
        skv_status status = skv_error(v->ctx, 0, &id);
        InvalidateRect(v->window, 0, 1);
        ppc_show_damage(v, status, id);
        DestroyWindow(v->window);
        return;
    }
    if (actions & SKV_ACTION_EXIT) {
        DestroyWindow(v->window);
        return;
    }
    if (actions & SKV_ACTION_REDRAW) InvalidateRect(v->window, 0, 1);
    if (actions & SKV_ACTION_COPY) ppc_copy(v);
}

static void tap(ppc_viewer *v, int32_t lparam) {
    int32_t x = (int16_t)(lparam & 0xFFFF), y = (int16_t)((uint32_t)lparam >> 16);
    uint16_t command = ppc_menu_bar_command(v, x, y);
    if (command) {
        ppc_act(v, skv_command(v->ctx, command));
        return;
    }
    ppc_act(v, skv_tap(v->ctx, (int16_t)(x * PPC_CORE_UNITS / v->screen_width),
                       (int16_t)(y * PPC_CORE_UNITS / v->screen_width)));
}

static void key(ppc_viewer *v, uint32_t code) {
    switch (code) {
    case CE_VK_PRIOR:
    case CE_VK_UP: ppc_act(v, skv_key(v->ctx, SKV_KEY_PAGE_UP)); break;
    case CE_VK_NEXT:
    case CE_VK_DOWN: ppc_act(v, skv_key(v->ctx, SKV_KEY_PAGE_DOWN)); break;
    case CE_VK_ESCAPE:
    case CE_VK_BACK: ppc_act(v, skv_command(v->ctx, SKV_CMD_BACK)); break;
    default: break;
    }
}

int32_t ppc_window_proc(ce_handle window, uint32_t message, uint32_t wparam, int32_t lparam) {
    ppc_viewer *v = the_viewer;
    if (!v || !v->ctx) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
    case CE_WM_CREATE: v->window = window; return 0;
    case CE_WM_PAINT: {
        ce_paint paint;
        ce_handle dc = BeginPaint(window, &paint);
        if (dc) ppc_paint(v, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case CE_WM_LBUTTONUP: tap(v, lparam); return 0;
    case CE_WM_KEYDOWN: key(v, wparam); return 0;
    case CE_WM_COMMAND: {
        uint32_t id = wparam & 0xFFFF;
        if (id > PPC_COMMAND_BASE && id <= PPC_COMMAND_BASE + SKV_CMD_SHOW_CONTACTS) {
            ppc_act(v, skv_command(v->ctx, (uint16_t)(id - PPC_COMMAND_BASE)));
            return 0;
        }
        break;
    }
    case CE_WM_CLOSE: DestroyWindow(window); return 0;
    case CE_WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
