#ifndef PPC_VIEWER_H
#define PPC_VIEWER_H
/* The Pocket PC viewer: one window around the viewer core. The core lays
 * each screen out at density 2 (320 x 320 units); the shell maps its units
 * to the screen's pixels (screen width / 320) and draws with GDI. */

#include "viewer/core/skv_core.h"

#include "ce_api.h"

#define PPC_CORE_UNITS 320     /* width of the core's layout */
#define PPC_MENU_BAR_HEIGHT 26 /* pixels: Browse | Copy | About at the bottom */
#define PPC_COMMAND_BASE 1000  /* WM_COMMAND id = base + core command */
#define PPC_FONT_COUNT 4       /* standard, bold, large, large bold */
#define PPC_TEXT_MAX 256       /* UTF-16 units drawn or measured at once */

typedef struct ppc_viewer {
    ce_handle instance;
    ce_handle window;
    ce_handle measure_dc; /* a memory device context for text metrics */
    ce_handle fonts[PPC_FONT_COUNT];
    uint16_t font_height[PPC_FONT_COUNT]; /* pixels */
    ce_handle logo;                       /* bitmap 4000, 0 when the package has none */
    int32_t logo_width, logo_height;
    int32_t screen_width; /* pixels across the core's 320 units */
    skv_host host;
    void *core_memory;
    skv_context *ctx;
} ppc_viewer;

/* host.c: the core's access to the program's resources and fonts. */
void ppc_host_set_up(ppc_viewer *v);
uint8_t ppc_fonts_create(ppc_viewer *v);
void ppc_fonts_destroy(ppc_viewer *v);
uint8_t ppc_font_index(uint8_t core_font);
/* Windows-1252 text to UTF-16; returns the units written (at most capacity). */
uint16_t ppc_widen(const char *text, uint16_t length, ce_wchar *out, uint16_t capacity);
/* Pixel width of a text in a core font. */
int32_t ppc_text_pixels(ppc_viewer *v, uint8_t core_font, const char *text, uint16_t length);
int32_t ppc_px(const ppc_viewer *v, int32_t units);

/* paint.c */
void ppc_paint(ppc_viewer *v, ce_handle dc);
/* The menu bar cell (core command) at a tap, or 0 when the tap is above it. */
uint16_t ppc_menu_bar_command(const ppc_viewer *v, int32_t x, int32_t y);

/* messages.c: message boxes in the window's name. */
void ppc_show_message(ppc_viewer *v, const char *text, uint32_t icon);
int32_t ppc_ask(ppc_viewer *v, const char *text);
void ppc_show_damage(ppc_viewer *v, skv_status status, uint16_t id);

/* copy_run.c: the copy the user confirmed on the copy screen. */
void ppc_copy(ppc_viewer *v);

/* window.c */
int32_t ppc_window_proc(ce_handle window, uint32_t message, uint32_t wparam, int32_t lparam);
void ppc_act(ppc_viewer *v, uint16_t actions);
ppc_viewer *ppc_the_viewer(void);
void ppc_set_viewer(ppc_viewer *v);

#endif
