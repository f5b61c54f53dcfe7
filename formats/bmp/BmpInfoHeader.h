#ifndef SKEDLIN_FORMATS_BMP_INFO_HEADER_H
#define SKEDLIN_FORMATS_BMP_INFO_HEADER_H
/* The Windows bitmap information header (the device-independent bitmap
 * header), little-endian, as plain C constants: the Pocket PC viewer (C)
 * reads the logo's header with them, and the desktop's bitmap layout
 * (BmpLayout.h) names the same fields from them. Offsets count from the
 * header's start, which holds the header's own size. */

#define SKF_BMP_INFO_HEADER_SIZE 40
#define SKF_BMP_INFO_SIZE 0
#define SKF_BMP_INFO_WIDTH 4
#define SKF_BMP_INFO_HEIGHT 8
#define SKF_BMP_INFO_PLANES 12
#define SKF_BMP_INFO_BIT_COUNT 14
#define SKF_BMP_INFO_COMPRESSION 16
#define SKF_BMP_INFO_IMAGE_SIZE 20
#define SKF_BMP_INFO_COLOURS_USED 32

#endif
