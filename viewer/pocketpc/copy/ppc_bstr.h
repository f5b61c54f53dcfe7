#ifndef PPC_BSTR_H
#define PPC_BSTR_H
/* Package texts (Windows-1252) as the store's strings (UTF-16, allocated by
 * the system's string allocator). */

#include "poom_call.h"
#include "ppc_entries.h"

/* A new string holding `text`, or 0 when the system has no memory for it.
 * Free it with SysFreeString. */
poom_bstr ppc_bstr(ppc_text text);

#endif
