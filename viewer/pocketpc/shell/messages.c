/* Message boxes with the package's title as their caption. */
#include "viewer.h"

#define MESSAGE_MAX 200

static void caption(ppc_viewer *v, ce_wchar *out, uint16_t capacity) {
    const char *title = "Viewer";
    uint16_t length = 6;
    if (v->ctx) title = skv_package_title(v->ctx, &length);
    out[ppc_widen(title, length, out, (uint16_t)(capacity - 1))] = 0;
}

static uint16_t c_length(const char *text) {
    uint16_t n = 0;
    while (text[n]) ++n;
    return n;
}

static int32_t box(ppc_viewer *v, const char *text, uint32_t type) {
    ce_wchar wide[MESSAGE_MAX + 1], title[PPC_TEXT_MAX];
    wide[ppc_widen(text, c_length(text), wide, MESSAGE_MAX)] = 0;
    caption(v, title, PPC_TEXT_MAX);
    return MessageBoxW(v->window, wide, title, type);
}

void ppc_show_message(ppc_viewer *v, const char *text, uint32_t icon) { box(v, text, CE_MB_OK | icon); }

int32_t ppc_ask(ppc_viewer *v, const char *text) { return box(v, text, CE_MB_YESNO | CE_MB_ICONQUESTION); }

/* "The package is damaged: <reason> (resource <id>)." */
void ppc_show_damage(ppc_viewer *v, skv_status status, uint16_t id) {
    char text[MESSAGE_MAX];
    const char *reason = skv_status_text(status);
    uint16_t n = 0, i;
    const char *lead = "The package is damaged: ";
    for (i = 0; lead[i] && n < 120; ++i) text[n++] = lead[i];
    for (i = 0; reason[i] && n < 180; ++i) text[n++] = reason[i];
    if (id) {
        char digits[6];
        uint16_t d = 0;
        const char *res = " (resource ";
        for (i = 0; res[i]; ++i) text[n++] = res[i];
        do digits[d++] = (char)('0' + id % 10), id /= 10;
        while (id);
        while (d) text[n++] = digits[--d];
        text[n++] = ')';
    }
    text[n] = 0;
    box(v, text, CE_MB_OK | CE_MB_ICONERROR);
}
