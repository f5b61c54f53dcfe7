/* The branch table at the start of the core's code resource. */

#include "core_exports.h"

#define CORE_EXPORT_BRANCH(name) "bra.w " #name "\n\t"

__asm__(
    ".section .text.entry,\"ax\",@progbits\n\t"
    ".globl skv_exports\n"
    "skv_exports:\n\t" CORE_EXPORTS(CORE_EXPORT_BRANCH) ".previous");
