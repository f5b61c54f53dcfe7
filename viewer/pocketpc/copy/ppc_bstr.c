#include "ppc_bstr.h"

#include "ppc_system.h"

uint16_t ppc_cp1252_to_utf16(uint8_t byte) {
    /* Only 0x80..0x9F differ from Latin-1; the five bytes Windows-1252
     * leaves unassigned keep their own value, as the system converts them. */
    switch (byte) {
        case 0x80:
            return 0x20AC;
        case 0x82:
            return 0x201A;
        case 0x83:
            return 0x0192;
        case 0x84:
            return 0x201E;
        case 0x85:
            return 0x2026;
        case 0x86:
            return 0x2020;
        case 0x87:
            return 0x2021;
        case 0x88:
            return 0x02C6;
        case 0x89:
            return 0x2030;
        case 0x8A:
            return 0x0160;
        case 0x8B:
            return 0x2039;
        case 0x8C:
            return 0x0152;
        case 0x8E:
            return 0x017D;
        case 0x91:
            return 0x2018;
        case 0x92:
            return 0x2019;
        case 0x93:
            return 0x201C;
        case 0x94:
            return 0x201D;
        case 0x95:
            return 0x2022;
        case 0x96:
            return 0x2013;
        case 0x97:
            return 0x2014;
        case 0x98:
            return 0x02DC;
        case 0x99:
            return 0x2122;
        case 0x9A:
            return 0x0161;
        case 0x9B:
            return 0x203A;
        case 0x9C:
            return 0x0153;
        case 0x9E:
            return 0x017E;
        case 0x9F:
            return 0x0178;
        default:
            return byte;
    }
}

poom_bstr ppc_bstr(ppc_text text) {
    poom_bstr result = SysAllocStringLen(0, text.length);
    uint32_t i;
    if (!result) return 0;
    for (i = 0; i < text.length; ++i) result[i] = ppc_cp1252_to_utf16(text.bytes[i]);
    /* The allocator leaves room for a terminator, which it does not write
     * when it is given no text to copy. */
    result[text.length] = 0;
    return result;
}
