/* A small Windows CE program that exercises the emulator harness the way the
 * viewer does: a window class and window, a message loop, painting texts and
 * a bitmap, a resource read in place, taps, a question, strings from the
 * automation allocator, and a deliberate fault. It is built by build_probe.py. */
#include <stdint.h>

typedef uint16_t wchar;
typedef uint32_t (*probe_window_procedure)(void*, uint32_t, uint32_t, uint32_t);

#define CE_IMPORT(dll, ordinal, name, arguments) IMPORT_##name,
enum {
#include "probe_imports.h"
    IMPORT_COUNT
};
#undef CE_IMPORT

/* The import slots the loader fills, in the order of probe_imports.h. */
__attribute__((section(".iat"))) void* probe_iat[IMPORT_COUNT + 1];

#define CALL(name, type) ((type)probe_iat[IMPORT_##name])

#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_PAINT 0x000F
#define WM_COMMAND 0x0111
#define WM_LBUTTONUP 0x0202
#define RT_BITMAP 2
#define RT_RCDATA 10
#define SRCCOPY 0x00CC0020u
#define MB_YESNO 4
#define IDYES 6
#define COMMAND_ASK 1
#define COMMAND_FAULT 2
#define COMMAND_STRING 3
#define TABLE_ID 4000
#define TITLE_STRING_ID 4000
#define LOGO_ID 4000
#define EXIT_DAMAGED 3
#define EXIT_CREATE_FAILED 4

typedef struct {
    uint32_t style;
    probe_window_procedure procedure;
    int32_t class_extra, window_extra;
    void *instance, *icon, *cursor, *background;
    const wchar *menu_name, *class_name;
} window_class;

typedef struct {
    void* window;
    uint32_t message, wparam, lparam, time;
    int32_t x, y;
} message;

typedef struct {
    void* dc;
    int32_t erase;
    int32_t left, top, right, bottom;
    int32_t restore, incremental_update;
    uint8_t reserved[32];
} paint_info;

static const wchar class_name[] = {'P', 'r', 'o', 'b', 'e', 0};
static const wchar damaged_text[] = {'D', 'a', 'm', 'a', 'g', 'e', 'd', 0};
static const wchar question_text[] = {'S', 'u', 'r', 'e', '?', 0};

/* What the window shows, kept between messages. */
static void* instance;
static wchar title[32];
static uint32_t title_length;
static uint32_t table_sum;
static int32_t tap_x, tap_y;
static uint32_t answer;
static volatile uint32_t* volatile fault_address = (volatile uint32_t*)0x4; /* unmapped on the device */

/* "x,y" of the last tap, then the answer of the last question. */
static uint32_t format_state(wchar* out) {
    int32_t values[3] = {tap_x, tap_y, (int32_t)answer};
    uint32_t n = 0;
    for (int i = 0; i < 3; ++i) {
        wchar digits[10];
        uint32_t count = 0, value = (uint32_t)values[i];
        do { /* by subtraction: no division routine needed */
            uint32_t tens = 0;
            while (value >= 10) value -= 10, ++tens;
            digits[count++] = (wchar)('0' + value);
            value = tens;
        } while (value);
        while (count) out[n++] = digits[--count];
        if (i < 2) out[n++] = ',';
    }
    return n;
}

static void paint(void* window) {
    paint_info info;
    void* dc = CALL(BeginPaint, void* (*)(void*, paint_info*))(window, &info);
    CALL(ExtTextOutW, int (*)(void*, int, int, uint32_t, void*, const wchar*, uint32_t, void*))
    (dc, 10, 20, 0, 0, title, title_length, 0);
    wchar state[40];
    uint32_t length = format_state(state);
    state[length++] = ' ';
    state[length++] = (wchar)('0' + (table_sum & 7));
    CALL(ExtTextOutW, int (*)(void*, int, int, uint32_t, void*, const wchar*, uint32_t, void*))
    (dc, 10, 40, 0, 0, state, length, 0);
    void* logo = CALL(LoadBitmapW, void* (*)(void*, uintptr_t))(instance, LOGO_ID);
    if (logo) {
        void* memory = CALL(CreateCompatibleDC, void* (*)(void*))(dc);
        CALL(SelectObject, void* (*)(void*, void*))(memory, logo);
        CALL(BitBlt, int (*)(void*, int, int, int, int, void*, int, int, uint32_t))
        (dc, 100, 60, 32, 32, memory, 0, 0, SRCCOPY);
        CALL(DeleteDC, int (*)(void*))(memory);
    }
    CALL(EndPaint, int (*)(void*, paint_info*))(window, &info);
}

static uint32_t window_procedure(void* window, uint32_t msg, uint32_t wparam, uint32_t lparam) {
    switch (msg) {
    case WM_CREATE:
        title_length =
            (uint32_t)CALL(LoadStringW, int (*)(void*, uint32_t, wchar*, int))(instance, TITLE_STRING_ID, title, 32);
        return title_length ? 0 : (uint32_t)-1;
    case WM_PAINT: paint(window); return 0;
    case WM_LBUTTONUP:
        tap_x = (int32_t)(lparam & 0xFFFF);
        tap_y = (int32_t)(lparam >> 16);
        CALL(InvalidateRect, int (*)(void*, void*, int))(window, 0, 1);
        return 0;
    case WM_COMMAND:
        if ((wparam & 0xFFFF) == COMMAND_ASK) {
            answer = (uint32_t)CALL(MessageBoxW, int (*)(void*, const wchar*, const wchar*, uint32_t))(
                window, question_text, title, MB_YESNO);
            CALL(InvalidateRect, int (*)(void*, void*, int))(window, 0, 1);
        } else if ((wparam & 0xFFFF) == COMMAND_FAULT) {
            *fault_address = 1;
        } else if ((wparam & 0xFFFF) == COMMAND_STRING) {
            wchar* text = CALL(SysAllocStringLen, wchar * (*)(const wchar*, uint32_t))(title, title_length);
            CALL(SysFreeString, void (*)(wchar*))(text);
            CALL(SysFreeString, void (*)(wchar*))(text); /* twice: the harness must catch it */
        }
        return 0;
    case WM_DESTROY: CALL(PostQuitMessage, void (*)(int))(7); return 0;
    }
    return CALL(DefWindowProcW, uint32_t(*)(void*, uint32_t, uint32_t, uint32_t))(window, msg, wparam, lparam);
}

/* The word list 4000 in place: a 16-bit count, then that many 16-bit
 * values; its size must match the count exactly. */
static int read_table(void* module) {
    void* found = CALL(FindResourceW, void* (*)(void*, uintptr_t, uintptr_t))(module, TABLE_ID, RT_RCDATA);
    if (!found) return 0;
    const uint8_t* bytes = CALL(LoadResource, const uint8_t* (*)(void*, void*))(module, found);
    uint32_t size = CALL(SizeofResource, uint32_t(*)(void*, void*))(module, found);
    if (!bytes || size < 2) return 0;
    uint32_t count = (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8;
    if (size != 2 + 2 * count) return 0;
    for (uint32_t i = 0; i < count; ++i) table_sum += (uint32_t)bytes[2 + 2 * i] | (uint32_t)bytes[3 + 2 * i] << 8;
    return 1;
}

int WinMain(void* hinstance, void* previous, wchar* command_line, int show) {
    (void)previous;
    (void)command_line;
    instance = hinstance;
    if (!read_table(hinstance)) {
        CALL(MessageBoxW, int (*)(void*, const wchar*, const wchar*, uint32_t))(0, damaged_text, class_name, 0);
        return EXIT_DAMAGED;
    }
    window_class wc;
    wc.style = 0;
    wc.class_extra = wc.window_extra = 0;
    wc.icon = wc.cursor = wc.background = 0;
    wc.menu_name = 0;
    wc.procedure = window_procedure;
    wc.instance = hinstance;
    wc.class_name = class_name;
    CALL(RegisterClassW, int (*)(window_class*))(&wc);
    void* window =
        CALL(CreateWindowExW, void* (*)(uint32_t, const wchar*, const wchar*, uint32_t, int, int, int, int, void*,
                                        void*, void*, void*))(0, class_name, title, 0, (int)0x80000000, (int)0x80000000,
                                                              (int)0x80000000, (int)0x80000000, 0, 0, hinstance, 0);
    if (!window) return EXIT_CREATE_FAILED;
    CALL(ShowWindow, int (*)(void*, int))(window, show);
    CALL(UpdateWindow, int (*)(void*))(window);
    message msg;
    while (CALL(GetMessageW, int (*)(message*, void*, uint32_t, uint32_t))(&msg, 0, 0, 0))
        CALL(DispatchMessageW, uint32_t(*)(message*))(&msg);
    return (int)msg.wparam;
}
