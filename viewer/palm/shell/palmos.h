#ifndef SKEDLIN_PALMOS_H
#define SKEDLIN_PALMOS_H
/* Our declarations of the Palm OS system calls, types and constants the viewer
 * uses. The compiler is big-endian and aligns 32-bit fields to 2 bytes, as the
 * 68k Palm OS structures are laid out, so the structures below can be read in
 * place. Every call goes through syscalls.c, which pushes each argument with
 * the width the system expects. */

#include <stddef.h>
#include <stdint.h>

typedef uint8_t UInt8;
typedef int8_t Int8;
typedef uint16_t UInt16;
typedef int16_t Int16;
typedef uint32_t UInt32;
typedef int32_t Int32;
typedef uint8_t Boolean;
typedef UInt16 Err;
typedef char Char;
typedef void *MemPtr;
typedef void *MemHandle;
typedef void *DmOpenRef;
typedef UInt32 LocalID;
typedef void FormType;
typedef void ScrollBarType;
typedef Int16 Coord;

#define errNone 0
#define sysAppLaunchCmdNormalLaunch 0

#define PALM_CODE(a, b, c, d) \
    ((UInt32)(UInt8)(a) << 24 | (UInt32)(UInt8)(b) << 16 | (UInt32)(UInt8)(c) << 8 | (UInt32)(UInt8)(d))

typedef struct {
    Int16 cmd;
    MemPtr cmdPBP;
    UInt16 launchFlags;
} SysAppInfoHead;

typedef struct {
    Coord x, y;
} PointType;

typedef struct {
    PointType topLeft;
    PointType extent;
} RectangleType;

/* The event record: type, pen state, position, then 16 bytes of data whose
 * layout depends on the type. */
typedef struct {
    UInt16 eType;
    Boolean penDown;
    UInt8 tapCount;
    Coord screenX;
    Coord screenY;
    union {
        UInt16 words[8];
        struct {
            UInt16 chr, keyCode, modifiers;
        } keyDown;
        struct {
            UInt16 controlID;
            void *pControl;
            Boolean on;
            UInt8 reserved;
            UInt16 value;
        } ctlSelect;
        struct {
            UInt16 itemID;
        } menu;
        struct {
            UInt16 formID;
        } frmLoad;
        struct {
            UInt16 formID;
            UInt16 updateCode;
        } frmUpdate;
        struct {
            UInt16 scrollBarID;
            ScrollBarType *pScrollBar;
            Int16 value;
            Int16 newValue;
        } sclRepeat;
    } data;
} EventType;

enum {
    nilEvent = 0,
    penDownEvent = 1,
    penUpEvent = 2,
    penMoveEvent = 3,
    keyDownEvent = 4,
    ctlSelectEvent = 9,
    menuEvent = 21,
    appStopEvent = 22,
    frmLoadEvent = 23,
    frmOpenEvent = 24,
    frmUpdateEvent = 26,
    frmCloseEvent = 28,
    sclExitEvent = 33,
    sclRepeatEvent = 34
};

/* Characters of keyDownEvent. */
#define chrBackspace 0x0008
#define vchrPageUp 0x000B
#define vchrPageDown 0x000C
#define chrUpArrow 0x001E
#define chrDownArrow 0x001F
#define vchrRockerUp 0x0132
#define vchrRockerDown 0x0133
#define vchrRockerLeft 0x0134
#define vchrRockerCenter 0x0136

#define evtWaitForever (-1)

#define dmModeReadOnly 0x0001
#define dmModeReadWrite 0x0003
#define dmMaxRecordIndex 0xFFFF
#define dmHdrAttrBackup 0x0008
#define noPreferenceFound (-1)

#define stdFont 0
#define boldFont 1

#define simpleFrame 0x0001
#define roundFrame 0x0401

#define kCoordinatesStandard 72
#define kCoordinatesDouble 144

#define sysFtrCreator PALM_CODE('p', 's', 'y', 's')
#define sysFtrNumWinVersion 24

/* ---- System -------------------------------------------------------------- */
Err SysAppStartup(SysAppInfoHead **appInfo, MemPtr *prevGlobals, MemPtr *globals);
Err SysAppExit(SysAppInfoHead *appInfo, MemPtr prevGlobals, MemPtr globals);
Err SysCurAppDatabase(UInt16 *cardNo, LocalID *dbID);
Boolean SysHandleEvent(EventType *event);
Err FtrGet(UInt32 creator, UInt16 number, UInt32 *value);
Int16 PrefGetAppPreferences(UInt32 creator, UInt16 id, void *prefs, UInt16 *size, Boolean saved);
void PrefSetAppPreferences(UInt32 creator, UInt16 id, Int16 version, const void *prefs, UInt16 size, Boolean saved);

/* ---- Memory --------------------------------------------------------------- */
MemPtr MemPtrNew(UInt32 size);
Err MemPtrFree(MemPtr p);
MemPtr MemHandleLock(MemHandle h);
Err MemHandleUnlock(MemHandle h);
UInt32 MemHandleSize(MemHandle h);
UInt32 MemHeapFreeBytes(UInt16 heapID, UInt32 *free, UInt32 *max);

/* ---- Data manager --------------------------------------------------------- */
Err DmCreateDatabase(UInt16 cardNo, const Char *name, UInt32 creator, UInt32 type, Boolean resDB);
LocalID DmFindDatabase(UInt16 cardNo, const Char *name);
DmOpenRef DmOpenDatabase(UInt16 cardNo, LocalID dbID, UInt16 mode);
Err DmCloseDatabase(DmOpenRef db);
Err DmGetLastErr(void);
Err DmDeleteDatabase(UInt16 cardNo, LocalID dbID);
Err DmSetDatabaseInfo(UInt16 cardNo, LocalID dbID, const Char *name, UInt16 *attributes, UInt16 *version,
                      UInt32 *crDate, UInt32 *modDate, UInt32 *bckDate, UInt32 *modNum, LocalID *appInfo,
                      LocalID *sortInfo, UInt32 *type, UInt32 *creator);
Err DmDatabaseInfo(UInt16 cardNo, LocalID dbID, Char *name, UInt16 *attributes, UInt16 *version, UInt32 *crDate,
                   UInt32 *modDate, UInt32 *bckDate, UInt32 *modNum, LocalID *appInfo, LocalID *sortInfo, UInt32 *type,
                   UInt32 *creator);
MemHandle DmNewRecord(DmOpenRef db, UInt16 *at, UInt32 size);
Err DmWrite(void *recordP, UInt32 offset, const void *src, UInt32 bytes);
Err DmReleaseRecord(DmOpenRef db, UInt16 index, Boolean dirty);
Err DmRemoveRecord(DmOpenRef db, UInt16 index);
UInt16 DmNumResources(DmOpenRef db);
UInt16 DmFindResource(DmOpenRef db, UInt32 type, UInt16 id, MemHandle resH);
Err DmResourceInfo(DmOpenRef db, UInt16 index, UInt32 *type, UInt16 *id, LocalID *chunkID);
MemHandle DmGetResourceIndex(DmOpenRef db, UInt16 index);
MemHandle DmGetResource(UInt32 type, UInt16 id);
Err DmReleaseResource(MemHandle h);

/* ---- Events and forms ------------------------------------------------------ */
void EvtGetEvent(EventType *event, Int32 timeout);
Boolean MenuHandleEvent(void *menu, EventType *event, UInt16 *error);
Boolean FrmDispatchEvent(EventType *event);
FormType *FrmInitForm(UInt16 formID);
void FrmSetActiveForm(FormType *form);
FormType *FrmGetActiveForm(void);
void FrmGotoForm(UInt16 formID);
void FrmDrawForm(FormType *form);
void FrmCloseAllForms(void);
void FrmSetTitle(FormType *form, Char *title);
UInt16 FrmAlert(UInt16 alertID);
UInt16 FrmCustomAlert(UInt16 alertID, const Char *s1, const Char *s2, const Char *s3);
UInt16 FrmGetObjectIndex(const FormType *form, UInt16 objID);
void *FrmGetObjectPtr(const FormType *form, UInt16 index);
void FrmHideObject(FormType *form, UInt16 index);
void FrmShowObject(FormType *form, UInt16 index);
void FrmSetObjectBounds(FormType *form, UInt16 index, const RectangleType *bounds);
void SclSetScrollBar(ScrollBarType *bar, Int16 value, Int16 min, Int16 max, Int16 pageSize);

/* ---- Drawing ---------------------------------------------------------------- */
UInt8 FntSetFont(UInt8 font);
Int16 FntCharsWidth(const Char *chars, Int16 length);
Int16 FntLineHeight(void);
void WinDrawChars(const Char *chars, Int16 length, Coord x, Coord y);
void WinDrawLine(Coord x1, Coord y1, Coord x2, Coord y2);
void WinDrawBitmap(const void *bitmap, Coord x, Coord y);
void WinEraseRectangle(const RectangleType *r, UInt16 cornerDiam);
void WinDrawRectangle(const RectangleType *r, UInt16 cornerDiam);
void WinInvertRectangle(const RectangleType *r, UInt16 cornerDiam);
void WinDrawRectangleFrame(UInt16 frame, const RectangleType *r);
void WinSetClip(const RectangleType *r);
void WinResetClip(void);
/* Only on systems whose window version is 4 or later (high-density screens). */
UInt16 WinSetCoordinateSystem(UInt16 coordinates);

#endif
