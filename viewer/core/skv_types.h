#ifndef SKV_TYPES_H
#define SKV_TYPES_H
/* Fixed-width types of the viewer core. The core is freestanding C: it uses
 * only the headers a freestanding compiler provides (stdint.h, stddef.h). */

#include <stddef.h>
#include <stdint.h>

/* Result of every core call that can meet damaged input. 0 is success; any
 * other value names what was wrong so the shell can show it in an alert
 * (skv_status_text) and leave without writing anything. */
typedef uint16_t skv_status;

enum {
    SKV_OK = 0,
    SKV_ERR_MISSING = 1,   /* a resource the package needs is not there */
    SKV_ERR_TRUNCATED = 2, /* a record or table ends before its fields do */
    SKV_ERR_COUNT = 3,     /* counts of the group tables do not agree */
    SKV_ERR_TEXT = 4,      /* a text has no terminating zero byte */
    SKV_ERR_BITMAP = 5,    /* the logo bitmap family is damaged */
    SKV_ERR_RANGE = 6,     /* an id, index, date or time lies outside its range */
    SKV_ERR_SPACE = 7,     /* the context given to skv_open is too small */
    SKV_ERR_STATE = 8      /* a call that does not fit the current state */
};

#endif
