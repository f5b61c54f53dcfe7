#ifndef PPC_COPY_H
#define PPC_COPY_H
/* Copying the user's choice into the handheld's calendar and contact list,
 * and remembering which packages were copied so the user can be asked before
 * a package is copied twice.
 *
 * The shell: if ppc_copy_seen(fingerprint), ask; then skv_copy_prepare, then
 * ppc_copy_run with a source that hands out the chosen entries, then
 * skv_copy_finished with the counts. */

#include "viewer/core/skv_core.h"

#include "ppc_entries.h"

typedef enum ppc_copy_status {
    PPC_COPY_OK = 0,
    PPC_COPY_NO_COM = 1,   /* the COM library could not be started */
    PPC_COPY_NO_STORE = 2, /* the calendar and contact store could not be opened */
    PPC_COPY_NO_LOGON = 3  /* the store refused the session */
} ppc_copy_status;

/* Gives the next chosen entry; returns 0 when there is none left. */
typedef uint8_t (*ppc_entry_source)(void *source, ppc_entry *entry);

/* Whether a package with this fingerprint has been copied on this handheld. */
int ppc_copy_seen(uint32_t fingerprint);

/* Notes that a package with this fingerprint has been copied. Returns 0 when
 * the registry could not keep it (the copy itself is not affected). */
int ppc_copy_remember(uint32_t fingerprint);

/* Copies every entry the source gives into new calendar and contact items.
 * `done` gets the entries copied and those that were not (refused by the
 * source, not storable, or refused by the store). When anything was copied
 * the fingerprint is remembered. Nothing is written unless PPC_COPY_OK. */
ppc_copy_status ppc_copy_run(ppc_entry_source next, void *source, void *window, uint32_t fingerprint,
                             skv_copy_summary *done);

/* A sentence for the user about a status other than PPC_COPY_OK. */
const char *ppc_copy_status_text(ppc_copy_status status);

#endif
