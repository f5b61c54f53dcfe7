#ifndef SKEDLIN_FORMATS_BYTE_ORDER_H
#define SKEDLIN_FORMATS_BYTE_ORDER_H
/* The byte order of 16- and 32-bit fields for the handheld viewers, which are
 * freestanding C: the C counterpart of the desktop's bounds-checked
 * ByteReader and ByteWriter (Bytes.h). The caller has checked that the bytes
 * are there. */

#include <stdint.h>

static inline uint16_t skf_get16be(const uint8_t* at) { return (uint16_t)((unsigned)at[0] << 8 | at[1]); }
static inline uint16_t skf_get16le(const uint8_t* at) { return (uint16_t)(at[0] | (unsigned)at[1] << 8); }
static inline uint32_t skf_get32be(const uint8_t* at) { return (uint32_t)skf_get16be(at) << 16 | skf_get16be(at + 2); }
static inline uint32_t skf_get32le(const uint8_t* at) { return skf_get16le(at) | (uint32_t)skf_get16le(at + 2) << 16; }

static inline void skf_put16be(uint8_t* at, uint16_t value) {
    at[0] = (uint8_t)(value >> 8);
    at[1] = (uint8_t)value;
}
static inline void skf_put16le(uint8_t* at, uint16_t value) {
    at[0] = (uint8_t)value;
    at[1] = (uint8_t)(value >> 8);
}
static inline void skf_put32be(uint8_t* at, uint32_t value) {
    skf_put16be(at, (uint16_t)(value >> 16));
    skf_put16be(at + 2, (uint16_t)value);
}
static inline void skf_put32le(uint8_t* at, uint32_t value) {
    skf_put16le(at, (uint16_t)value);
    skf_put16le(at + 2, (uint16_t)(value >> 16));
}

#endif
