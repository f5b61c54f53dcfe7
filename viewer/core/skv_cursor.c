/* The one bounds-checked reader of package bytes. */
#include "skv_internal.h"

void skv_cursor_init(skv_cursor *in, const uint8_t *bytes, uint32_t size) {
    in->bytes = bytes;
    in->size = bytes ? size : 0;
    in->at = 0;
    in->ok = 1;
}

static uint8_t fail(skv_cursor *in) {
    in->ok = 0;
    in->at = in->size;
    return 0;
}

uint8_t skv_read_u8(skv_cursor *in) {
    if (in->at >= in->size) return fail(in);
    return in->bytes[in->at++];
}

uint16_t skv_read_be16(skv_cursor *in) {
    if (in->size - in->at < 2) return fail(in);
    in->at += 2;
    return skf_get16be(in->bytes + in->at - 2);
}

uint32_t skv_read_be32(skv_cursor *in) {
    uint32_t high = skv_read_be16(in);
    return high << 16 | skv_read_be16(in);
}

const char *skv_read_text(skv_cursor *in, uint16_t *length) {
    uint32_t end = in->at;
    const char *start;
    while (end < in->size && in->bytes[end] != 0) ++end;
    /* Longer than a 16-bit length or no zero byte: damaged. */
    if (end >= in->size || end - in->at > 0xFFFE) {
        fail(in);
        *length = 0;
        return "";
    }
    start = (const char *)in->bytes + in->at;
    *length = (uint16_t)(end - in->at);
    in->at = end + 1;
    return start;
}

void skv_skip(skv_cursor *in, uint32_t count) {
    if (in->size - in->at < count) {
        fail(in);
        return;
    }
    in->at += count;
}

uint32_t skv_remaining(const skv_cursor *in) { return in->size - in->at; }
