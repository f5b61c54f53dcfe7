#ifndef CE_API_H
#define CE_API_H
/* The Windows CE calls and structures the shell uses, declared with
 * fixed-width types (the viewer builds without the system's headers).
 * Every structure is laid out as the system lays it out on ARM: 32-bit
 * fields, natural alignment. */

#include <stdint.h>

typedef void *ce_handle; /* windows, device contexts, GDI objects, resources */
typedef uint16_t ce_wchar;

typedef int32_t (*ce_window_proc)(ce_handle window, uint32_t message, uint32_t wparam, int32_t lparam);

typedef struct ce_rect {
    int32_t left, top, right, bottom;
} ce_rect;

typedef struct ce_point {
    int32_t x, y;
} ce_point;

typedef struct ce_msg {
    ce_handle window;
    uint32_t message;
    uint32_t wparam;
    int32_t lparam;
    uint32_t time;
    ce_point point;
} ce_msg;

typedef struct ce_paint {
    ce_handle dc;
    int32_t erase;
    ce_rect paint;
    int32_t restore, incremental;
    uint8_t reserved[32];
} ce_paint;

typedef struct ce_window_class {
    uint32_t style;
    ce_window_proc procedure;
    int32_t class_extra, window_extra;
    ce_handle instance, icon, cursor, background;
    const ce_wchar *menu_name;
    const ce_wchar *class_name;
} ce_window_class;

typedef struct ce_log_font {
    int32_t height, width, escapement, orientation, weight;
    uint8_t italic, underline, strike_out, char_set, out_precision, clip_precision, quality, pitch_and_family;
    ce_wchar face[32];
} ce_log_font;

/* The leading fields of the text metrics; the buffer is the full size. */
typedef struct ce_text_metrics {
    int32_t height, ascent, descent, internal_leading, external_leading;
    uint8_t rest[40];
} ce_text_metrics;

typedef struct ce_bitmap_info {
    int32_t type, width, height, width_bytes;
    uint16_t planes, bits_pixel;
    void *bits;
} ce_bitmap_info;

typedef struct ce_size {
    int32_t cx, cy;
} ce_size;

/* Messages */
#define CE_WM_CREATE 0x0001u
#define CE_WM_DESTROY 0x0002u
#define CE_WM_PAINT 0x000Fu
#define CE_WM_CLOSE 0x0010u
#define CE_WM_KEYDOWN 0x0100u
#define CE_WM_COMMAND 0x0111u
#define CE_WM_LBUTTONUP 0x0202u

/* Keys */
#define CE_VK_BACK 0x08u
#define CE_VK_ESCAPE 0x1Bu
#define CE_VK_PRIOR 0x21u
#define CE_VK_NEXT 0x22u
#define CE_VK_UP 0x26u
#define CE_VK_DOWN 0x28u

#define CE_WS_VISIBLE 0x10000000u
#define CE_CW_USEDEFAULT ((int32_t)0x80000000u)
#define CE_SW_SHOW 5
#define CE_SM_CXSCREEN 0
#define CE_SM_CYSCREEN 1
#define CE_LMEM_ZEROINIT 0x0040u
#define CE_MB_OK 0x0u
#define CE_MB_YESNO 0x4u
#define CE_MB_ICONERROR 0x10u
#define CE_MB_ICONQUESTION 0x20u
#define CE_MB_ICONINFORMATION 0x40u
#define CE_IDYES 6
#define CE_TRANSPARENT 1
#define CE_WHITE_BRUSH 0
#define CE_BLACK_BRUSH 4
#define CE_SRCCOPY 0x00CC0020u
#define CE_DSTINVERT 0x00550009u
#define CE_FW_NORMAL 400
#define CE_FW_BOLD 700
#define CE_WHITE 0x00FFFFFFu
#define CE_BLACK 0x00000000u

/* A 16-bit resource id or type in the place of a name. */
#define CE_RESOURCE_ID(n) ((const ce_wchar *)(uintptr_t)(uint16_t)(n))

uint16_t RegisterClassW(const ce_window_class *window_class);
ce_handle CreateWindowExW(uint32_t ex_style, const ce_wchar *class_name, const ce_wchar *title, uint32_t style,
                          int32_t x, int32_t y, int32_t width, int32_t height, ce_handle parent, ce_handle menu,
                          ce_handle instance, void *param);
int32_t DefWindowProcW(ce_handle window, uint32_t message, uint32_t wparam, int32_t lparam);
int32_t DestroyWindow(ce_handle window);
int32_t ShowWindow(ce_handle window, int32_t show);
int32_t UpdateWindow(ce_handle window);
int32_t InvalidateRect(ce_handle window, const ce_rect *rect, int32_t erase);
int32_t GetClientRect(ce_handle window, ce_rect *rect);
int32_t GetSystemMetrics(int32_t index);
int32_t GetMessageW(ce_msg *msg, ce_handle window, uint32_t first, uint32_t last);
int32_t TranslateMessage(const ce_msg *msg);
int32_t DispatchMessageW(const ce_msg *msg);
void PostQuitMessage(int32_t exit_code);
int32_t MessageBoxW(ce_handle owner, const ce_wchar *text, const ce_wchar *caption, uint32_t type);

void *LocalAlloc(uint32_t flags, uint32_t bytes);
void *LocalFree(void *memory);
ce_handle FindResourceW(ce_handle module, const ce_wchar *name, const ce_wchar *type);
/* On Windows CE the loaded resource is the address of its bytes. */
const uint8_t *LoadResource(ce_handle module, ce_handle resource);
uint32_t SizeofResource(ce_handle module, ce_handle resource);
ce_handle LoadBitmapW(ce_handle instance, const ce_wchar *name);

ce_handle BeginPaint(ce_handle window, ce_paint *paint);
int32_t EndPaint(ce_handle window, const ce_paint *paint);
ce_handle CreateCompatibleDC(ce_handle dc);
int32_t DeleteDC(ce_handle dc);
ce_handle SelectObject(ce_handle dc, ce_handle object);
int32_t DeleteObject(ce_handle object);
ce_handle GetStockObject(int32_t object);
int32_t GetObjectW(ce_handle object, int32_t size, void *out);
ce_handle CreateFontIndirectW(const ce_log_font *font);
int32_t GetTextMetricsW(ce_handle dc, ce_text_metrics *metrics);
int32_t GetTextExtentExPointW(ce_handle dc, const ce_wchar *text, int32_t length, int32_t max_extent, int32_t *fit,
                              int32_t *extents, ce_size *size);
int32_t ExtTextOutW(ce_handle dc, int32_t x, int32_t y, uint32_t options, const ce_rect *clip, const ce_wchar *text,
                    uint32_t length, const int32_t *spacing);
uint32_t SetTextColor(ce_handle dc, uint32_t colour);
int32_t SetBkMode(ce_handle dc, int32_t mode);
int32_t FillRect(ce_handle dc, const ce_rect *rect, ce_handle brush);
int32_t PatBlt(ce_handle dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop);
int32_t Polyline(ce_handle dc, const ce_point *points, int32_t count);
int32_t BitBlt(ce_handle dc, int32_t x, int32_t y, int32_t width, int32_t height, ce_handle source, int32_t source_x,
               int32_t source_y, uint32_t rop);

#endif
