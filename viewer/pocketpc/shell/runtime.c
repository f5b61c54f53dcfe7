/* The few routines the compiler may call that a freestanding program must
 * bring itself: memory copies for structure assignments, and 32-bit
 * division (the processors have no divide instruction; the compiler's own
 * helpers return with an instruction these processors lack). */
#include <stddef.h>
#include <stdint.h>

void *memcpy(void *target, const void *source, size_t count);
void *memmove(void *target, const void *source, size_t count);
void *memset(void *target, int value, size_t count);
int memcmp(const void *a, const void *b, size_t count);
uint32_t __aeabi_uidiv(uint32_t numerator, uint32_t denominator);
int32_t __aeabi_idiv(int32_t numerator, int32_t denominator);
uint64_t __aeabi_uidivmod(uint32_t numerator, uint32_t denominator);
uint64_t __aeabi_idivmod(int32_t numerator, int32_t denominator);

void *memcpy(void *target, const void *source, size_t count) {
    uint8_t *out = (uint8_t *)target;
    const uint8_t *in = (const uint8_t *)source;
    while (count--) *out++ = *in++;
    return target;
}

void *memmove(void *target, const void *source, size_t count) {
    uint8_t *out = (uint8_t *)target;
    const uint8_t *in = (const uint8_t *)source;
    if (out < in) {
        while (count--) *out++ = *in++;
    } else {
        while (count--) out[count] = in[count];
    }
    return target;
}

void *memset(void *target, int value, size_t count) {
    uint8_t *out = (uint8_t *)target;
    while (count--) *out++ = (uint8_t)value;
    return target;
}

int memcmp(const void *a, const void *b, size_t count) {
    const uint8_t *x = (const uint8_t *)a, *y = (const uint8_t *)b;
    for (; count; --count, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

/* Shift-and-subtract; quotient low, remainder high. Division by zero gives 0. */
static uint64_t divide(uint32_t n, uint32_t d) {
    uint32_t q = 0, r = 0;
    int bit;
    if (d == 0) return 0;
    for (bit = 31; bit >= 0; --bit) {
        r = r << 1 | (n >> bit & 1u);
        if (r >= d) {
            r -= d;
            q |= 1u << bit;
        }
    }
    return (uint64_t)r << 32 | q;
}

uint64_t __aeabi_uidivmod(uint32_t numerator, uint32_t denominator) { return divide(numerator, denominator); }

uint32_t __aeabi_uidiv(uint32_t numerator, uint32_t denominator) { return (uint32_t)divide(numerator, denominator); }

uint64_t __aeabi_idivmod(int32_t numerator, int32_t denominator) {
    uint32_t n = numerator < 0 ? 0u - (uint32_t)numerator : (uint32_t)numerator;
    uint32_t d = denominator < 0 ? 0u - (uint32_t)denominator : (uint32_t)denominator;
    uint64_t both = divide(n, d);
    uint32_t q = (uint32_t)both, r = (uint32_t)(both >> 32);
    if ((numerator < 0) != (denominator < 0)) q = 0u - q;
    if (numerator < 0) r = 0u - r;
    return (uint64_t)r << 32 | q;
}

int32_t __aeabi_idiv(int32_t numerator, int32_t denominator) {
    return (int32_t)(uint32_t)__aeabi_idivmod(numerator, denominator);
}
