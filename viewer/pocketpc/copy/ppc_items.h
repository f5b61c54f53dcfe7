#ifndef PPC_ITEMS_H
#define PPC_ITEMS_H
/* One package event or contact as a new item of the handheld's calendar or
 * contact list. Items that were there before are never opened. */

#include "poom_call.h"
#include "ppc_entries.h"

typedef enum ppc_item_result {
    PPC_ITEM_COPIED = 0,
    PPC_ITEM_REFUSED = 1, /* the store cannot hold the entry: nothing written */
    PPC_ITEM_FAILED = 2   /* the store refused a call: nothing is left behind */
} ppc_item_result;

/* Whether the calendar can hold the event as it is (valid day in the store's
 * range, valid times ending no earlier than they start, a repeat that
 * recurs and ends no earlier than it starts). */
int ppc_event_storable(const ppc_event *event);

ppc_item_result ppc_copy_event(poom_object *app, const ppc_event *event);
ppc_item_result ppc_copy_contact(poom_object *app, const ppc_contact *contact);

#endif
