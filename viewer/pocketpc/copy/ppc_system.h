#ifndef PPC_SYSTEM_H
#define PPC_SYSTEM_H
/* The system functions the copy calls, declared with fixed-width types so the
 * same code builds without the system's headers. The shell's import table
 * binds these names (COM library, automation strings, registry). */

#include <stdint.h>

#include "poom_call.h"

typedef void *ppc_key; /* an open registry key */

#define PPC_HKEY_CURRENT_USER ((ppc_key)(uintptr_t)0x80000001u)
#define PPC_ERROR_SUCCESS 0
#define PPC_REG_DWORD 4
#define PPC_KEY_ALL_ACCESS 0xF003Fu
#define PPC_COINIT_MULTITHREADED 0
#define PPC_CLSCTX_INPROC_SERVER 1

poom_result CoInitializeEx(void *reserved, uint32_t flags);
void CoUninitialize(void);
poom_result CoCreateInstance(const void *clsid, void *outer, uint32_t context, const void *iid, void **out);

/* SysAllocStringLen(0, n) gives room for n characters that the caller fills. */
poom_bstr SysAllocStringLen(const uint16_t *text, uint32_t length);
void SysFreeString(poom_bstr text);

int32_t RegOpenKeyExW(ppc_key key, const uint16_t *subkey, uint32_t options, uint32_t access, ppc_key *result);
int32_t RegCreateKeyExW(ppc_key key, const uint16_t *subkey, uint32_t reserved, uint16_t *key_class, uint32_t options,
                        uint32_t access, void *security, ppc_key *result, uint32_t *disposition);
int32_t RegQueryValueExW(ppc_key key, const uint16_t *name, uint32_t *reserved, uint32_t *type, uint8_t *data,
                         uint32_t *size);
int32_t RegSetValueExW(ppc_key key, const uint16_t *name, uint32_t reserved, uint32_t type, const uint8_t *data,
                       uint32_t size);
int32_t RegCloseKey(ppc_key key);

#endif
