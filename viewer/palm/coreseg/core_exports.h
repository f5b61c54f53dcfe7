#ifndef SKEDLIN_CORE_EXPORTS_H
#define SKEDLIN_CORE_EXPORTS_H
/* The viewer core lives in its own code resource ('code' 2): each code
 * resource reaches its functions and texts PC-relatively, within 32 KB, and
 * the core and the shell together are larger. The core resource starts with
 * a table of 4-byte branches, one per function the shell calls, in this
 * order; the shell calls entry i at the resource's address + 4 i. */

#define CORE_EXPORTS(X) \
    X(skv_measure)      \
    X(skv_open)         \
    X(skv_error)        \
    X(skv_status_text)  \
    X(skv_fingerprint)  \
    X(skv_display)      \
    X(skv_tap)          \
    X(skv_key)          \
    X(skv_command)      \
    X(skv_scroll_to)    \
    X(skv_copy_prepare) \
    X(skv_copy_next)    \
    X(skv_copy_finished)

#define CORE_EXPORT_INDEX(name) CORE_INDEX_##name,
enum { CORE_EXPORTS(CORE_EXPORT_INDEX) CORE_EXPORT_COUNT };

#define CORE_EXPORT_BYTES 4

#endif
