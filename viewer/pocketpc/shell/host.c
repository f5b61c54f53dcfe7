/* The core's host interface on Windows CE: the package's resources come
 * from the program's own resource section (FindResource, LoadResource:
 * the bytes stay in place while the program runs), text metrics from GDI
 * fonts selected into a memory device context. */
#include "viewer.h"

static const ce_wchar kFontFace[] = {'T', 'a', 'h', 'o', 'm', 'a', 0};

/* Core font ids: 0 standard, 1 bold, 2 large, 7 large bold. */
uint8_t ppc_font_index(uint8_t core_font) {
    switch (core_font) {
    case SKV_FONT_BOLD: return 1;
    case SKV_FONT_LARGE: return 2;
    case SKV_FONT_LARGE_BOLD: return 3;
    default: return 0;
    }
}

int32_t ppc_px(const ppc_viewer *v, int32_t units) { return units * v->screen_width / PPC_CORE_UNITS; }

/* Pixels to core units, rounded up so that text never overflows its box. */
static uint16_t to_units(const ppc_viewer *v, int32_t pixels) {
    return (uint16_t)((pixels * PPC_CORE_UNITS + v->screen_width - 1) / v->screen_width);
}

uint16_t ppc_widen(const char *text, uint16_t length, ce_wchar *out, uint16_t capacity) {
    uint16_t i;
    if (length > capacity) length = capacity;
    for (i = 0; i < length; ++i) out[i] = skv_cp1252_unicode((uint8_t)text[i]);
    return length;
}

int32_t ppc_text_pixels(ppc_viewer *v, uint8_t core_font, const char *text, uint16_t length) {
    ce_wchar wide[PPC_TEXT_MAX];
    ce_size size = {0, 0};
    uint16_t count = ppc_widen(text, length, wide, PPC_TEXT_MAX);
    SelectObject(v->measure_dc, v->fonts[ppc_font_index(core_font)]);
    if (!count || !GetTextExtentExPointW(v->measure_dc, wide, count, 0, 0, 0, &size)) return 0;
    return size.cx;
}

static const uint8_t *get_resource(void *user, uint32_t type, uint16_t id, uint32_t *size) {
    ppc_viewer *v = (ppc_viewer *)user;
    ce_handle found;
    const uint8_t *bytes;
    *size = 0;
    /* Only numbered resource types exist here; a four-character type (the
     * Palm layout's) would be taken for a name pointer by the system. */
    if (type > 0xFFFFu) return 0;
    found = FindResourceW(v->instance, CE_RESOURCE_ID(id), CE_RESOURCE_ID(type));
    if (!found) return 0;
    bytes = LoadResource(v->instance, found);
    if (!bytes) return 0;
    *size = SizeofResource(v->instance, found);
    return bytes;
}

static uint16_t text_width(void *user, uint8_t font, const char *text, uint16_t length) {
    ppc_viewer *v = (ppc_viewer *)user;
    return to_units(v, ppc_text_pixels(v, font, text, length));
}

static uint16_t font_height(void *user, uint8_t font) {
    ppc_viewer *v = (ppc_viewer *)user;
    return to_units(v, v->font_height[ppc_font_index(font)]);
}

void ppc_host_set_up(ppc_viewer *v) {
    v->host.user = v;
    v->host.get_resource = get_resource;
    v->host.text_width = text_width;
    v->host.font_height = font_height;
}

uint8_t ppc_fonts_create(ppc_viewer *v) {
    uint8_t i;
    v->measure_dc = CreateCompatibleDC(0);
    if (!v->measure_dc) return 0;
    for (i = 0; i < PPC_FONT_COUNT; ++i) {
        ce_log_font font;
        ce_text_metrics metrics;
        uint8_t k;
        uint8_t *clear = (uint8_t *)&font;
        for (k = 0; k < sizeof font; ++k) clear[k] = 0;
        /* Character heights in pixels at the screen's width: 12 and 16 at 240. */
        font.height = -(i < 2 ? 12 : 16) * v->screen_width / 240;
        font.weight = (i == 1 || i == 3) ? CE_FW_BOLD : CE_FW_NORMAL;
        for (k = 0; kFontFace[k]; ++k) font.face[k] = kFontFace[k];
        v->fonts[i] = CreateFontIndirectW(&font);
        if (!v->fonts[i]) return 0;
        SelectObject(v->measure_dc, v->fonts[i]);
        if (!GetTextMetricsW(v->measure_dc, &metrics) || metrics.height <= 0) return 0;
        v->font_height[i] = (uint16_t)(metrics.height + metrics.external_leading);
    }
    return 1;
}

void ppc_fonts_destroy(ppc_viewer *v) {
    uint8_t i;
    if (v->measure_dc) DeleteDC(v->measure_dc);
    for (i = 0; i < PPC_FONT_COUNT; ++i)
        if (v->fonts[i]) DeleteObject(v->fonts[i]);
}
