#ifndef SKEDLIN_FORMATS_PALM_BITMAP_HEADER_H
#define SKEDLIN_FORMATS_PALM_BITMAP_HEADER_H
/* The Palm OS bitmap header values that both sides need, as plain C
 * constants: the viewer core (C) walks bitmap families with them, and the
 * desktop's bitmap layout (PalmBitmapLayout.h) names the same values from
 * them. Big-endian. */

/* Header sizes: versions 1 and 2 are 16 bytes, version 3 says its own size
 * (24 or more); the high-density marker is a 16-byte version 1 header. */
#define SKF_PALM_BITMAP_HEADER_V1_SIZE 16
#define SKF_PALM_BITMAP_HEADER_V2_SIZE 16
#define SKF_PALM_BITMAP_HEADER_V3_SIZE 24
#define SKF_PALM_BITMAP_MARKER_SIZE 16
/* The marker's pixel size. */
#define SKF_PALM_BITMAP_MARKER_PIXEL_SIZE 0xFF

#define SKF_PALM_BITMAP_FLAG_COMPRESSED 0x8000
#define SKF_PALM_BITMAP_FLAG_COLOUR_TABLE 0x4000
#define SKF_PALM_BITMAP_FLAG_TRANSPARENCY 0x2000
#define SKF_PALM_BITMAP_FLAG_DIRECT_COLOUR 0x0400

#define SKF_PALM_BITMAP_DENSITY_STANDARD 72
#define SKF_PALM_BITMAP_DENSITY_DOUBLE 144

/* A colour table: a 16-bit count, then per entry an index and red, green, blue. */
#define SKF_PALM_BITMAP_COLOUR_ENTRY_SIZE 4
/* After a version 2 header of a direct-colour bitmap: the red, green and blue
 * bit counts, a reserved byte and the 32-bit transparent colour. */
#define SKF_PALM_BITMAP_DIRECT_INFO_SIZE 8
/* The next-bitmap field of versions 1 and 2 counts 4-byte units. */
#define SKF_PALM_BITMAP_NEXT_UNIT 4

#endif
