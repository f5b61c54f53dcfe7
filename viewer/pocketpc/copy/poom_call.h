#ifndef POOM_CALL_H
#define POOM_CALL_H
/* Calling a method of a COM object by its vtable slot. An object's first
 * word points to its vtable, an array of function pointers; `this` goes
 * first, as on every platform the system runs on.
 *
 * A DATE is a double. The system passes it in two 32-bit registers, low word
 * first, without skipping to an even register; the compiler we build with
 * would align a double argument, so the declarations below take the two
 * halves as plain 32-bit arguments instead. */

#include <stdint.h>

#include "poom_interfaces.h"

typedef int32_t poom_result; /* HRESULT: negative on failure */
typedef uint16_t *poom_bstr; /* length-prefixed UTF-16 string of the system's allocator */
typedef void (*poom_slot)(void);

typedef struct poom_object {
    const poom_slot *vtable;
} poom_object;

typedef struct poom_date {
    uint32_t low, high; /* the two words of the IEEE double */
} poom_date;

#define POOM_SUCCEEDED(result) ((result) >= 0)

typedef poom_result (*poom_method_void)(poom_object *self);
typedef poom_result (*poom_method_long)(poom_object *self, int32_t value);
typedef poom_result (*poom_method_pointer)(poom_object *self, void *value);
typedef poom_result (*poom_method_long_out)(poom_object *self, int32_t value, poom_object **out);
typedef poom_result (*poom_method_guid_out)(poom_object *self, const void *iid, poom_object **out);
typedef poom_result (*poom_method_date)(poom_object *self, uint32_t low, uint32_t high);
typedef poom_result (*poom_method_date_out)(poom_object *self, uint32_t low, uint32_t high, poom_object **out);

static inline poom_result poom_call(poom_object *self, unsigned slot) {
    return ((poom_method_void)self->vtable[slot])(self);
}
static inline poom_result poom_call_long(poom_object *self, unsigned slot, int32_t value) {
    return ((poom_method_long)self->vtable[slot])(self, value);
}
static inline poom_result poom_call_pointer(poom_object *self, unsigned slot, void *value) {
    return ((poom_method_pointer)self->vtable[slot])(self, value);
}
static inline poom_result poom_call_long_out(poom_object *self, unsigned slot, int32_t value, poom_object **out) {
    return ((poom_method_long_out)self->vtable[slot])(self, value, out);
}
static inline poom_result poom_call_guid_out(poom_object *self, unsigned slot, const void *iid, poom_object **out) {
    return ((poom_method_guid_out)self->vtable[slot])(self, iid, out);
}
static inline poom_result poom_call_date(poom_object *self, unsigned slot, poom_date date) {
    return ((poom_method_date)self->vtable[slot])(self, date.low, date.high);
}
static inline poom_result poom_call_date_out(poom_object *self, unsigned slot, poom_date date, poom_object **out) {
    return ((poom_method_date_out)self->vtable[slot])(self, date.low, date.high, out);
}
/* Release, ignoring what it returns (the remaining reference count). */
static inline void poom_release(poom_object *self) {
    if (self) (void)poom_call(self, POOM_UNKNOWN_RELEASE);
}

#endif
