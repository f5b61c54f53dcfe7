#ifndef PPC_VARIANT_DATE_H
#define PPC_VARIANT_DATE_H
/* The store's DATE: days since 30 December 1899 as a double, the time of day
 * as its fraction. Computed with integers only (the handhelds have no
 * floating point hardware, and no floating point library is linked in). */

#include <stdint.h>

#include "poom_call.h"
#include "ppc_entries.h"

/* Whether the store can hold the day: a real calendar day from 1 January
 * 1900 to 31 December 2999. */
int ppc_day_valid(ppc_day day);

/* Days from 30 December 1899 to a valid day. */
uint32_t ppc_day_number(ppc_day day);

/* The DATE of `minutes` after the start of day number `days`, rounded to the
 * nearest double as a division would round it. */
poom_date ppc_variant_date(uint32_t days, uint32_t minutes);

#endif
