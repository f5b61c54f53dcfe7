/* The program's entry: the system calls it like WinMain and ends the
 * process when it returns. Opens the core on the package in the program's
 * own resources, shows one window and runs its message loop. */
#include "viewer.h"

#define CORE_DENSITY 2
#define LOGO_ID 4000
#define SYSTEM_BAR_HEIGHT 26     /* the system's title bar at the top of the screen */
#define DEFAULT_SCREEN_WIDTH 240 /* QVGA, when the system does not say */
#define MINIMUM_LAYOUT_WIDTH 120

static const ce_wchar kClassName[] = {'S', 'k', 'e', 'd', 'l', 'i', 'n', 'V', 'i', 'e', 'w', 'e', 'r', 0};

/* The core on the package; 0 after a message when it cannot be opened. */
static uint8_t open_core(ppc_viewer *v) {
    uint32_t size = 0;
    uint16_t id = 0;
    skv_status status = skv_measure(&v->host, &size);
    if (status) {
        ppc_show_damage(v, status, 0);
        return 0;
    }
    v->core_memory = LocalAlloc(CE_LMEM_ZEROINIT, size);
    if (!v->core_memory) {
        ppc_show_message(v, "There is not enough memory to show the package.", CE_MB_ICONERROR);
        return 0;
    }
    status = skv_open(v->core_memory, size, &v->host, CORE_DENSITY, &v->ctx);
    if (!status) status = skv_error(v->ctx, 0, &id);
    if (status) {
        ppc_show_damage(v, status, id);
        return 0;
    }
    return 1;
}

static void load_logo(ppc_viewer *v) {
    ce_bitmap_info info;
    v->logo = LoadBitmapW(v->instance, CE_RESOURCE_ID(LOGO_ID));
    if (v->logo && GetObjectW(v->logo, sizeof info, &info)) {
        v->logo_width = info.width;
        v->logo_height = info.height < 0 ? -info.height : info.height;
    }
}

/* Pixels the core's square layout takes: the screen's width, or less on a
 * landscape screen, where the height under the system's bar and above the
 * menu bar is what limits it. */
static int32_t layout_width(void) {
    int32_t width = GetSystemMetrics(CE_SM_CXSCREEN), height = GetSystemMetrics(CE_SM_CYSCREEN);
    int32_t room = height - SYSTEM_BAR_HEIGHT - PPC_MENU_BAR_HEIGHT;
    if (width <= 0) width = DEFAULT_SCREEN_WIDTH;
    if (height > 0 && room < width) width = room;
    return width < MINIMUM_LAYOUT_WIDTH ? MINIMUM_LAYOUT_WIDTH : width;
}

static ce_handle create_window(ppc_viewer *v) {
    ce_window_class window_class;
    ce_wchar title[PPC_TEXT_MAX];
    const char *text;
    uint16_t length = 0;
    uint8_t *clear = (uint8_t *)&window_class;
    uint32_t k;
    for (k = 0; k < sizeof window_class; ++k) clear[k] = 0;
    window_class.procedure = ppc_window_proc;
    window_class.instance = v->instance;
    window_class.background = GetStockObject(CE_WHITE_BRUSH);
    window_class.class_name = kClassName;
    if (!RegisterClassW(&window_class)) return 0;
    text = skv_package_title(v->ctx, &length);
    title[ppc_widen(text, length, title, PPC_TEXT_MAX - 1)] = 0;
    return CreateWindowExW(0, kClassName, title, CE_WS_VISIBLE, CE_CW_USEDEFAULT, CE_CW_USEDEFAULT, CE_CW_USEDEFAULT,
                           CE_CW_USEDEFAULT, 0, 0, v->instance, 0);
}

int WinMain(ce_handle instance, ce_handle previous, ce_wchar *command_line, int show) {
    ppc_viewer *v = (ppc_viewer *)LocalAlloc(CE_LMEM_ZEROINIT, sizeof(ppc_viewer));
    ce_msg msg;
    int32_t exit_code = 0;
    (void)previous;
    (void)command_line;
    if (!v) return 1;
    v->instance = instance;
    v->screen_width = layout_width();
    ppc_set_viewer(v);
    ppc_host_set_up(v);
    if (!ppc_fonts_create(v)) {
        ppc_show_message(v, "The fonts of the viewer cannot be made.", CE_MB_ICONERROR);
    } else if (open_core(v)) {
        load_logo(v);
        v->window = create_window(v);
        if (v->window) {
            ShowWindow(v->window, show ? show : CE_SW_SHOW);
            UpdateWindow(v->window);
            while (GetMessageW(&msg, 0, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            exit_code = (int32_t)msg.wparam;
        }
    }
    ppc_set_viewer(0);
    if (v->logo) DeleteObject(v->logo);
    ppc_fonts_destroy(v);
    if (v->core_memory) LocalFree(v->core_memory);
    LocalFree(v);
    return (int)exit_code;
}
