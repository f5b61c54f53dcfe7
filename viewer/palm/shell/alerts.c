/* Alerts and the small texts they show. */

#include "viewer.h"

#include "ui_ids.h"

Char *CopyText(Char *out, const Char *text) {
    while (*text) *out++ = *text++;
    *out = 0;
    return out;
}

Char *FormatNumber(Char *out, UInt32 value) {
    Char digits[10];
    UInt16 n = 0;
    do {
        digits[n++] = (Char)('0' + value % 10);
        value /= 10;
    } while (value && n < sizeof digits);
    while (n) *out++ = digits[--n];
    *out = 0;
    return out;
}

Char *FormatCount(Char *out, UInt32 count, const Char *singular, const Char *plural) {
    out = FormatNumber(out, count);
    *out++ = ' ';
    return CopyText(out, count == 1 ? singular : plural);
}

/* "Nevt 7012": the resource in which the damage was found. */
static void ResourceName(Char *out, UInt32 type, UInt16 id) {
    if (type == 0) {
        CopyText(out, "tables");
        return;
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
        Char c = (Char)((type >> shift) & 0xFF);
        *out++ = (c >= ' ' && c < 0x7F) ? c : '?';
    }
    *out++ = ' ';
    FormatNumber(out, id);
}

void AlertDamaged(const Viewer *v, skv_status status, UInt32 type, UInt16 id) {
    Char where[16];
    ResourceName(where, type, id);
    const char *reason = CORE(v, skv_status_text)(status);
    (void)v;
    FrmCustomAlert(ALERT_DAMAGED, reason && *reason ? reason : "damaged data", where, " ");
}
