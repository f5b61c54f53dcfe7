/* Memory and text helpers: the core links no C library. */
#include "skv_internal.h"

void skv_mem_set(void *target, uint8_t value, uint32_t count) {
    uint8_t *out = (uint8_t *)target;
    while (count--) *out++ = value;
}

void skv_mem_copy(void *target, const void *source, uint32_t count) {
    uint8_t *out = (uint8_t *)target;
    const uint8_t *in = (const uint8_t *)source;
    while (count--) *out++ = *in++;
}

uint16_t skv_str_length(const char *text) {
    uint16_t length = 0;
    while (text[length]) ++length;
    return length;
}

static uint8_t fold(uint8_t c) { return (c >= 'a' && c <= 'z') ? (uint8_t)(c - 32) : c; }

int16_t skv_text_compare(const char *a, uint16_t a_length, const char *b, uint16_t b_length) {
    uint16_t i;
    for (i = 0; i < a_length && i < b_length; ++i) {
        uint8_t x = fold((uint8_t)a[i]), y = fold((uint8_t)b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a_length == b_length) return 0;
    return a_length < b_length ? -1 : 1;
}

uint16_t skv_format_number(char *out, uint32_t value) {
    char digits[10];
    uint16_t count = 0, i;
    do {
        digits[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    for (i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
    return count;
}

uint8_t skv_bit(const uint8_t *bits, uint16_t index) { return (uint8_t)(bits[index >> 3] >> (index & 7) & 1); }

void skv_set_bit(uint8_t *bits, uint16_t index, uint8_t value) {
    if (value)
        bits[index >> 3] |= (uint8_t)(1 << (index & 7));
    else
        bits[index >> 3] &= (uint8_t) ~(1 << (index & 7));
}

const char *skv_status_text(skv_status status) {
    switch (status) {
    case SKV_OK: return "No problem.";
    case SKV_ERR_MISSING: return "A part of the calendar package is missing.";
    case SKV_ERR_TRUNCATED: return "A record of the calendar package is cut short.";
    case SKV_ERR_COUNT: return "The tables of the calendar package do not agree.";
    case SKV_ERR_TEXT: return "A text of the calendar package has no end.";
    case SKV_ERR_BITMAP: return "The logo of the calendar package is damaged.";
    case SKV_ERR_RANGE: return "A value of the calendar package is out of range.";
    case SKV_ERR_SPACE: return "Not enough memory to show the calendar package.";
    case SKV_ERR_STATE: return "The viewer was used in an unexpected order.";
    default: return "The calendar package is damaged.";
    }
}
