#include "ppc_bstr.h"

#include "ppc_system.h"
#include "viewer/core/skv_core.h"

poom_bstr ppc_bstr(ppc_text text) {
    poom_bstr result = SysAllocStringLen(0, text.length);
    uint32_t i;
    if (!result) return 0;
    for (i = 0; i < text.length; ++i) result[i] = skv_cp1252_unicode(text.bytes[i]);
    /* The allocator leaves room for a terminator, which it does not write
     * when it is given no text to copy. */
    result[text.length] = 0;
    return result;
}
