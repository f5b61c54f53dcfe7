/* Bitmap families: one or more bitmaps of one picture at several depths and
 * densities, chained by next-bitmap offsets. Everything the system's own
 * drawing would read is checked to lie inside the resource. */
#include "formats/palm/PalmBitmapHeader.h"
#include "skv_internal.h"

static uint8_t depth_ok(uint8_t pixel_size) {
    return pixel_size == 1 || pixel_size == 2 || pixel_size == 4 || pixel_size == 8 || pixel_size == 16;
}

/* Reads the bitmap at `at`; sets *next to the following one (0 at the end). */
static skv_status read_bitmap(const uint8_t *family, uint32_t size, uint32_t at, skv_bitmap *b, uint32_t *next) {
    skv_cursor in;
    uint32_t end, data;
    uint16_t next_field = 0;
    uint32_t next_bytes = 0;
    skv_cursor_init(&in, family, size);
    skv_skip(&in, at);
    skv_mem_set(b, 0, sizeof *b);
    b->header = at;
    b->width = skv_read_be16(&in);
    b->height = skv_read_be16(&in);
    b->row_bytes = skv_read_be16(&in);
    b->flags = skv_read_be16(&in);
    b->pixel_size = skv_read_u8(&in);
    b->version = skv_read_u8(&in);
    b->density = SKF_PALM_BITMAP_DENSITY_STANDARD;
    if (b->version <= 2) {
        next_field = skv_read_be16(&in);
        b->transparent_index = skv_read_u8(&in);
        skv_skip(&in, 3);
        next_bytes = (uint32_t)SKF_PALM_BITMAP_NEXT_UNIT * next_field;
    } else if (b->version == 3) {
        uint8_t header_size = skv_read_u8(&in);
        skv_skip(&in, 3); /* pixel format, reserved, compression type */
        b->density = skv_read_be16(&in);
        b->transparent_value = skv_read_be32(&in);
        next_bytes = skv_read_be32(&in);
        if (header_size < SKF_PALM_BITMAP_HEADER_V3_SIZE) return SKV_ERR_BITMAP;
        skv_cursor_init(&in, family, size);
        skv_skip(&in, at + header_size);
    } else {
        return SKV_ERR_BITMAP;
    }
    if (!in.ok) return SKV_ERR_BITMAP;
    *next = next_bytes ? at + next_bytes : 0;
    if (*next && (*next <= at || *next >= size)) return SKV_ERR_BITMAP;
    /* The marker before the double-density bitmaps: the next one follows it. */
    if (b->version == 1 && b->pixel_size == SKF_PALM_BITMAP_MARKER_PIXEL_SIZE) {
        b->pixel_size = 0;
        *next = at + SKF_PALM_BITMAP_MARKER_SIZE;
        return *next < size ? SKV_OK : SKV_ERR_BITMAP;
    }
    if (b->flags & SKF_PALM_BITMAP_FLAG_COMPRESSED) return SKV_ERR_BITMAP;
    if (!depth_ok(b->pixel_size) || b->width == 0 || b->height == 0) return SKV_ERR_BITMAP;
    if (b->density != SKF_PALM_BITMAP_DENSITY_STANDARD && b->density != SKF_PALM_BITMAP_DENSITY_DOUBLE)
        return SKV_ERR_BITMAP;
    if ((uint32_t)b->row_bytes * 8 < (uint32_t)b->width * b->pixel_size) return SKV_ERR_BITMAP;
    if (b->flags & SKF_PALM_BITMAP_FLAG_COLOUR_TABLE) {
        uint16_t entries;
        b->colour_table = in.at;
        entries = skv_read_be16(&in);
        skv_skip(&in, (uint32_t)SKF_PALM_BITMAP_COLOUR_ENTRY_SIZE * entries);
    }
    if (b->version == 2 && (b->flags & SKF_PALM_BITMAP_FLAG_DIRECT_COLOUR))
        skv_skip(&in, SKF_PALM_BITMAP_DIRECT_INFO_SIZE);
    if (!in.ok) return SKV_ERR_BITMAP;
    data = in.at;
    b->bits = data;
    end = *next ? *next : size;
    if (data > end || (uint32_t)b->row_bytes * b->height > end - data) return SKV_ERR_BITMAP;
    return SKV_OK;
}

skv_status skv_bitmap_choose(const uint8_t *family, uint32_t size, uint8_t density, skv_bitmap *out) {
    skv_bitmap b, best_same, best_other;
    uint32_t at = 0, next = 0;
    uint16_t wanted = density == 2 ? SKF_PALM_BITMAP_DENSITY_DOUBLE : SKF_PALM_BITMAP_DENSITY_STANDARD;
    uint16_t steps = 0;
    uint8_t have_same = 0, have_other = 0;
    if (!family || size == 0) return SKV_ERR_BITMAP;
    do {
        skv_status status = read_bitmap(family, size, at, &b, &next);
        if (status) return status;
        if (b.pixel_size) {
            if (b.density == wanted) {
                if (!have_same || b.pixel_size > best_same.pixel_size) skv_mem_copy(&best_same, &b, sizeof b);
                have_same = 1;
            } else {
                if (!have_other || b.pixel_size > best_other.pixel_size) skv_mem_copy(&best_other, &b, sizeof b);
                have_other = 1;
            }
        }
        at = next;
        /* Offsets only move forward, so the chain ends; the count is a second guard. */
        if (++steps > 64) return SKV_ERR_BITMAP;
    } while (at);
    if (have_same)
        skv_mem_copy(out, &best_same, sizeof *out);
    else if (have_other)
        skv_mem_copy(out, &best_other, sizeof *out);
    else
        return SKV_ERR_BITMAP;
    return SKV_OK;
}
