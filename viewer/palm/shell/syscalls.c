/* System calls: "trap #15" followed by the trap number. The arguments are
 * laid out in a word array exactly as the system expects them on the stack
 * (16-bit values as one word, Booleans in the high byte of a word, 32-bit
 * values and pointers as two words, first argument at the lowest address),
 * copied onto the stack, and removed by the caller after the trap. Integer
 * results come back in D0, pointers in A0; the system may change D0-D2 and
 * A0-A1. */

#include "palmos.h"

#define ARGS(words)             \
    UInt16 frame_[(words) + 1]; \
    UInt16 n_ = 0;              \
    UInt32 d0_;                 \
    void *a0_
#define W(v) (frame_[n_++] = (UInt16)(v))
#define B(v) (frame_[n_++] = (UInt16)((v) ? 0x0100 : 0))
#define L(v)                                  \
    do {                                      \
        UInt32 v_ = (UInt32)(v);              \
        frame_[n_++] = (UInt16)(v_ >> 16);    \
        frame_[n_++] = (UInt16)(v_ & 0xFFFF); \
    } while (0)
#define P(v) L((uintptr_t)(v))

/* Copies n_ words from frame_ onto the stack (last word first), traps, pops
 * them again and keeps D0 and A0. `setup` may load D2 with a selector. */
#define TRAP_WITH(number, setup)         \
    __asm__ volatile(                    \
        "move.l %[f],%%a0\n\t"           \
        "move.w %[n],%%d0\n\t"           \
        "adda.w %%d0,%%a0\n\t"           \
        "adda.w %%d0,%%a0\n\t"           \
        "subq.w #1,%%d0\n\t"             \
        "bmi.s 2f\n"                     \
        "1:\tmove.w -(%%a0),-(%%sp)\n\t" \
        "dbra %%d0,1b\n"                 \
        "2:\t" setup                     \
        "trap #15\n\t"                   \
        ".word " #number                 \
        "\n\t"                           \
        "adda.w %[n],%%sp\n\t"           \
        "adda.w %[n],%%sp\n\t"           \
        "move.l %%d0,%[r]\n\t"           \
        "move.l %%a0,%[p]"               \
        : [r] "=d"(d0_), [p] "=a"(a0_)   \
        : [f] "a"(frame_), [n] "d"(n_)   \
        : "d0", "d1", "d2", "a0", "a1", "memory", "cc")
#define TRAP(number) TRAP_WITH(number, "")

#define RESULT_WORD ((UInt16)d0_)
#define RESULT_LONG (d0_)
#define RESULT_BOOL ((Boolean)(d0_ & 0xFF))
#define RESULT_PTR (a0_)
#define UNUSED_RESULTS ((void)d0_, (void)a0_)

/* ---- System ---------------------------------------------------------------- */

Err SysAppStartup(SysAppInfoHead **appInfo, MemPtr *prevGlobals, MemPtr *globals) {
    ARGS(6);
    P(appInfo);
    P(prevGlobals);
    P(globals);
    TRAP(0xA08F);
    return RESULT_WORD;
}

Err SysAppExit(SysAppInfoHead *appInfo, MemPtr prevGlobals, MemPtr globals) {
    ARGS(6);
    P(appInfo);
    P(prevGlobals);
    P(globals);
    TRAP(0xA090);
    return RESULT_WORD;
}

Err SysCurAppDatabase(UInt16 *cardNo, LocalID *dbID) {
    ARGS(4);
    P(cardNo);
    P(dbID);
    TRAP(0xA0AC);
    return RESULT_WORD;
}

Boolean SysHandleEvent(EventType *event) {
    ARGS(2);
    P(event);
    TRAP(0xA0A9);
    return RESULT_BOOL;
}

Err FtrGet(UInt32 creator, UInt16 number, UInt32 *value) {
    ARGS(5);
    L(creator);
    W(number);
    P(value);
    TRAP(0xA27B);
    return RESULT_WORD;
}

Int16 PrefGetAppPreferences(UInt32 creator, UInt16 id, void *prefs, UInt16 *size, Boolean saved) {
    ARGS(8);
    L(creator);
    W(id);
    P(prefs);
    P(size);
    B(saved);
    TRAP(0xA2D3);
    return (Int16)RESULT_WORD;
}

void PrefSetAppPreferences(UInt32 creator, UInt16 id, Int16 version, const void *prefs, UInt16 size, Boolean saved) {
    ARGS(8);
    L(creator);
    W(id);
    W(version);
    P(prefs);
    W(size);
    B(saved);
    TRAP(0xA2D4);
    UNUSED_RESULTS;
}

/* ---- Memory ---------------------------------------------------------------- */

MemPtr MemPtrNew(UInt32 size) {
    ARGS(2);
    L(size);
    TRAP(0xA013);
    return RESULT_PTR;
}

Err MemPtrFree(MemPtr p) {
    ARGS(2);
    P(p);
    TRAP(0xA012); /* MemChunkFree */
    return RESULT_WORD;
}

MemPtr MemHandleLock(MemHandle h) {
    ARGS(2);
    P(h);
    TRAP(0xA021);
    return RESULT_PTR;
}

Err MemHandleUnlock(MemHandle h) {
    ARGS(2);
    P(h);
    TRAP(0xA022);
    return RESULT_WORD;
}

UInt32 MemHandleSize(MemHandle h) {
    ARGS(2);
    P(h);
    TRAP(0xA02D);
    return RESULT_LONG;
}

UInt32 MemHeapFreeBytes(UInt16 heapID, UInt32 *free, UInt32 *max) {
    ARGS(5);
    W(heapID);
    P(free);
    P(max);
    TRAP(0xA00B);
    return RESULT_WORD;
}

/* ---- Data manager -------------------------------------------------------------- */

Err DmCreateDatabase(UInt16 cardNo, const Char *name, UInt32 creator, UInt32 type, Boolean resDB) {
    ARGS(8);
    W(cardNo);
    P(name);
    L(creator);
    L(type);
    B(resDB);
    TRAP(0xA041);
    return RESULT_WORD;
}

LocalID DmFindDatabase(UInt16 cardNo, const Char *name) {
    ARGS(3);
    W(cardNo);
    P(name);
    TRAP(0xA045);
    return RESULT_LONG;
}

DmOpenRef DmOpenDatabase(UInt16 cardNo, LocalID dbID, UInt16 mode) {
    ARGS(4);
    W(cardNo);
    L(dbID);
    W(mode);
    TRAP(0xA049);
    return RESULT_PTR;
}

Err DmCloseDatabase(DmOpenRef db) {
    ARGS(2);
    P(db);
    TRAP(0xA04A);
    return RESULT_WORD;
}

Err DmGetLastErr(void) {
    ARGS(0);
    TRAP(0xA04E);
    return RESULT_WORD;
}

Err DmDatabaseInfo(UInt16 cardNo, LocalID dbID, Char *name, UInt16 *attributes, UInt16 *version, UInt32 *crDate,
                   UInt32 *modDate, UInt32 *bckDate, UInt32 *modNum, LocalID *appInfo, LocalID *sortInfo, UInt32 *type,
                   UInt32 *creator) {
    ARGS(25);
    W(cardNo);
    L(dbID);
    P(name);
    P(attributes);
    P(version);
    P(crDate);
    P(modDate);
    P(bckDate);
    P(modNum);
    P(appInfo);
    P(sortInfo);
    P(type);
    P(creator);
    TRAP(0xA046);
    return RESULT_WORD;
}

Err DmDeleteDatabase(UInt16 cardNo, LocalID dbID) {
    ARGS(3);
    W(cardNo);
    L(dbID);
    TRAP(0xA042);
    return RESULT_WORD;
}

Err DmSetDatabaseInfo(UInt16 cardNo, LocalID dbID, const Char *name, UInt16 *attributes, UInt16 *version,
                      UInt32 *crDate, UInt32 *modDate, UInt32 *bckDate, UInt32 *modNum, LocalID *appInfo,
                      LocalID *sortInfo, UInt32 *type, UInt32 *creator) {
    ARGS(25);
    W(cardNo);
    L(dbID);
    P(name);
    P(attributes);
    P(version);
    P(crDate);
    P(modDate);
    P(bckDate);
    P(modNum);
    P(appInfo);
    P(sortInfo);
    P(type);
    P(creator);
    TRAP(0xA047);
    return RESULT_WORD;
}

MemHandle DmNewRecord(DmOpenRef db, UInt16 *at, UInt32 size) {
    ARGS(6);
    P(db);
    P(at);
    L(size);
    TRAP(0xA055);
    return RESULT_PTR;
}

Err DmWrite(void *recordP, UInt32 offset, const void *src, UInt32 bytes) {
    ARGS(8);
    P(recordP);
    L(offset);
    P(src);
    L(bytes);
    TRAP(0xA076);
    return RESULT_WORD;
}

Err DmReleaseRecord(DmOpenRef db, UInt16 index, Boolean dirty) {
    ARGS(4);
    P(db);
    W(index);
    B(dirty);
    TRAP(0xA05E);
    return RESULT_WORD;
}

Err DmRemoveRecord(DmOpenRef db, UInt16 index) {
    ARGS(3);
    P(db);
    W(index);
    TRAP(0xA057);
    return RESULT_WORD;
}

UInt16 DmNumResources(DmOpenRef db) {
    ARGS(2);
    P(db);
    TRAP(0xA067);
    return RESULT_WORD;
}

UInt16 DmFindResource(DmOpenRef db, UInt32 type, UInt16 id, MemHandle resH) {
    ARGS(7);
    P(db);
    L(type);
    W(id);
    P(resH);
    TRAP(0xA065);
    return RESULT_WORD;
}

Err DmResourceInfo(DmOpenRef db, UInt16 index, UInt32 *type, UInt16 *id, LocalID *chunkID) {
    ARGS(9);
    P(db);
    W(index);
    P(type);
    P(id);
    P(chunkID);
    TRAP(0xA068);
    return RESULT_WORD;
}

MemHandle DmGetResourceIndex(DmOpenRef db, UInt16 index) {
    ARGS(3);
    P(db);
    W(index);
    TRAP(0xA06E);
    return RESULT_PTR;
}

MemHandle DmGetResource(UInt32 type, UInt16 id) {
    ARGS(3);
    L(type);
    W(id);
    TRAP(0xA05F);
    return RESULT_PTR;
}

Err DmReleaseResource(MemHandle h) {
    ARGS(2);
    P(h);
    TRAP(0xA061);
    return RESULT_WORD;
}

/* ---- Events and forms ------------------------------------------------------------- */

void EvtGetEvent(EventType *event, Int32 timeout) {
    ARGS(4);
    P(event);
    L(timeout);
    TRAP(0xA11D);
    UNUSED_RESULTS;
}

Boolean MenuHandleEvent(void *menu, EventType *event, UInt16 *error) {
    ARGS(6);
    P(menu);
    P(event);
    P(error);
    TRAP(0xA1BF);
    return RESULT_BOOL;
}

Boolean FrmDispatchEvent(EventType *event) {
    ARGS(2);
    P(event);
    TRAP(0xA1A0);
    return RESULT_BOOL;
}

FormType *FrmInitForm(UInt16 formID) {
    ARGS(1);
    W(formID);
    TRAP(0xA16F);
    return RESULT_PTR;
}

void FrmSetActiveForm(FormType *form) {
    ARGS(2);
    P(form);
    TRAP(0xA174);
    UNUSED_RESULTS;
}

FormType *FrmGetActiveForm(void) {
    ARGS(0);
    TRAP(0xA173);
    return RESULT_PTR;
}

void FrmGotoForm(UInt16 formID) {
    ARGS(1);
    W(formID);
    TRAP(0xA19B);
    UNUSED_RESULTS;
}

void FrmDrawForm(FormType *form) {
    ARGS(2);
    P(form);
    TRAP(0xA171);
    UNUSED_RESULTS;
}

void FrmCloseAllForms(void) {
    ARGS(0);
    TRAP(0xA1A1);
    UNUSED_RESULTS;
}

void FrmSetTitle(FormType *form, Char *title) {
    ARGS(4);
    P(form);
    P(title);
    TRAP(0xA191);
    UNUSED_RESULTS;
}

UInt16 FrmAlert(UInt16 alertID) {
    ARGS(1);
    W(alertID);
    TRAP(0xA192);
    return RESULT_WORD;
}

UInt16 FrmCustomAlert(UInt16 alertID, const Char *s1, const Char *s2, const Char *s3) {
    ARGS(7);
    W(alertID);
    P(s1);
    P(s2);
    P(s3);
    TRAP(0xA194);
    return RESULT_WORD;
}

UInt16 FrmGetObjectIndex(const FormType *form, UInt16 objID) {
    ARGS(3);
    P(form);
    W(objID);
    TRAP(0xA180);
    return RESULT_WORD;
}

void *FrmGetObjectPtr(const FormType *form, UInt16 index) {
    ARGS(3);
    P(form);
    W(index);
    TRAP(0xA183);
    return RESULT_PTR;
}

void FrmHideObject(FormType *form, UInt16 index) {
    ARGS(3);
    P(form);
    W(index);
    TRAP(0xA184);
    UNUSED_RESULTS;
}

void FrmShowObject(FormType *form, UInt16 index) {
    ARGS(3);
    P(form);
    W(index);
    TRAP(0xA185);
    UNUSED_RESULTS;
}

void FrmSetObjectBounds(FormType *form, UInt16 index, const RectangleType *bounds) {
    ARGS(5);
    P(form);
    W(index);
    P(bounds);
    TRAP(0xA303);
    UNUSED_RESULTS;
}

void SclSetScrollBar(ScrollBarType *bar, Int16 value, Int16 min, Int16 max, Int16 pageSize) {
    ARGS(6);
    P(bar);
    W(value);
    W(min);
    W(max);
    W(pageSize);
    TRAP(0xA2B6);
    UNUSED_RESULTS;
}

/* ---- Drawing ------------------------------------------------------------------------ */

UInt8 FntSetFont(UInt8 font) {
    ARGS(1);
    W((UInt16)font << 8); /* FontID is one byte: the high byte of its word */
    TRAP(0xA164);
    return (UInt8)(d0_ & 0xFF);
}

Int16 FntCharsWidth(const Char *chars, Int16 length) {
    ARGS(3);
    P(chars);
    W(length);
    TRAP(0xA16B);
    return (Int16)RESULT_WORD;
}

Int16 FntLineHeight(void) {
    ARGS(0);
    TRAP(0xA168);
    return (Int16)RESULT_WORD;
}

void WinDrawChars(const Char *chars, Int16 length, Coord x, Coord y) {
    ARGS(5);
    P(chars);
    W(length);
    W(x);
    W(y);
    TRAP(0xA220);
    UNUSED_RESULTS;
}

void WinDrawLine(Coord x1, Coord y1, Coord x2, Coord y2) {
    ARGS(4);
    W(x1);
    W(y1);
    W(x2);
    W(y2);
    TRAP(0xA213);
    UNUSED_RESULTS;
}

void WinDrawBitmap(const void *bitmap, Coord x, Coord y) {
    ARGS(4);
    P(bitmap);
    W(x);
    W(y);
    TRAP(0xA226);
    UNUSED_RESULTS;
}

void WinEraseRectangle(const RectangleType *r, UInt16 cornerDiam) {
    ARGS(3);
    P(r);
    W(cornerDiam);
    TRAP(0xA219);
    UNUSED_RESULTS;
}

void WinDrawRectangle(const RectangleType *r, UInt16 cornerDiam) {
    ARGS(3);
    P(r);
    W(cornerDiam);
    TRAP(0xA218);
    UNUSED_RESULTS;
}

void WinInvertRectangle(const RectangleType *r, UInt16 cornerDiam) {
    ARGS(3);
    P(r);
    W(cornerDiam);
    TRAP(0xA21A);
    UNUSED_RESULTS;
}

void WinDrawRectangleFrame(UInt16 frame, const RectangleType *r) {
    ARGS(3);
    W(frame);
    P(r);
    TRAP(0xA21B);
    UNUSED_RESULTS;
}

void WinSetClip(const RectangleType *r) {
    ARGS(2);
    P(r);
    TRAP(0xA210);
    UNUSED_RESULTS;
}

void WinResetClip(void) {
    ARGS(0);
    TRAP(0xA211);
    UNUSED_RESULTS;
}

UInt16 WinSetCoordinateSystem(UInt16 coordinates) {
    ARGS(1);
    W(coordinates);
    TRAP_WITH(0xA3EC, "moveq #8,%%d2\n\t"); /* HighDensityDispatch, WinSetCoordinateSystem */
    return RESULT_WORD;
}
