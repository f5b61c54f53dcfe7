/* The package's resources, read in place from the application's own resource
 * database: nothing of the package is copied into the dynamic heap. Each
 * resource the core asks for is locked once and stays locked until the
 * viewer closes (the core keeps pointers into it); a bit per resource index
 * remembers which are locked, so a lock count never grows past one. */

#include "viewer.h"

#define TYPE_EVENT PALM_CODE('N', 'e', 'v', 't')
#define TYPE_CONTACT PALM_CODE('N', 'c', 'n', 't')
#define TYPE_CODE PALM_CODE('c', 'o', 'd', 'e')
#define CORE_CODE_ID 2

static Boolean IsLocked(const Viewer *v, UInt16 index) { return (v->locked[index >> 3] >> (index & 7)) & 1; }

/* Index of resource (type, id). The builder writes event and contact records
 * with consecutive ids one after the other, so their index is found from the
 * first one's and checked; anything else is searched for. */
static UInt16 ResourceIndex(Viewer *v, UInt32 type, UInt16 id) {
    UInt16 first = VIEWER_NO_INDEX, firstId = 0;
    if (type == TYPE_EVENT) {
        first = v->firstEventIndex;
        firstId = SKV_ID_FIRST_EVENT;
    } else if (type == TYPE_CONTACT) {
        first = v->firstContactIndex;
        firstId = SKV_ID_FIRST_CONTACT;
    }
    if (first != VIEWER_NO_INDEX && id >= firstId) {
        UInt32 index = (UInt32)first + (id - firstId);
        UInt32 foundType = 0;
        UInt16 foundId = 0;
        if (index < v->resourceCount) {
            /* A locked index was checked when it was locked: the database does not change. */
            if (IsLocked(v, (UInt16)index)) return (UInt16)index;
            if (DmResourceInfo(v->appDb, (UInt16)index, &foundType, &foundId, 0) == errNone && foundType == type &&
                foundId == id)
                return (UInt16)index;
        }
    }
    return DmFindResource(v->appDb, type, id, 0);
}

static const uint8_t *GetResource(void *user, uint32_t type, uint16_t id, uint32_t *size) {
    Viewer *v = (Viewer *)user;
    *size = 0;
    UInt16 index = ResourceIndex(v, type, id);
    if (index == VIEWER_NO_INDEX || index >= v->resourceCount) return 0;
    MemHandle h = DmGetResourceIndex(v->appDb, index);
    if (!h) return 0;
    const uint8_t *bytes = (const uint8_t *)MemHandleLock(h);
    if (IsLocked(v, index)) {
        MemHandleUnlock(h); /* still locked once from the first time */
    } else {
        v->locked[index >> 3] |= (UInt8)(1 << (index & 7));
    }
    *size = MemHandleSize(h);
    return bytes;
}

static uint16_t TextWidth(void *user, uint8_t font, const char *text, uint16_t length) {
    Viewer *v = (Viewer *)user;
    BeginDensity(v);
    UseFont(v, font);
    return (uint16_t)FntCharsWidth(text, (Int16)length);
}

static uint16_t FontHeight(void *user, uint8_t font) {
    Viewer *v = (Viewer *)user;
    BeginDensity(v);
    UseFont(v, font);
    return (uint16_t)FntLineHeight();
}

void PackageSetUpHost(Viewer *v) {
    v->host.user = v;
    v->host.get_resource = GetResource;
    v->host.text_width = TextWidth;
    v->host.font_height = FontHeight;
}

Boolean PackageOpen(Viewer *v) {
    UInt16 cardNo = 0;
    LocalID dbID = 0;
    if (SysCurAppDatabase(&cardNo, &dbID) != errNone || dbID == 0) return 0;
    v->appDb = DmOpenDatabase(cardNo, dbID, dmModeReadOnly);
    if (!v->appDb) return 0;
    v->resourceCount = DmNumResources(v->appDb);
    v->locked = (UInt8 *)MemPtrNew(((UInt32)v->resourceCount + 7) / 8 + 1);
    if (!v->locked) return 0;
    for (UInt16 i = 0; i <= v->resourceCount / 8; ++i) v->locked[i] = 0;
    UInt16 core = DmFindResource(v->appDb, TYPE_CODE, CORE_CODE_ID, 0);
    if (core == VIEWER_NO_INDEX) return 0;
    v->coreHandle = DmGetResourceIndex(v->appDb, core);
    if (!v->coreHandle) return 0;
    v->coreCode = (const UInt8 *)MemHandleLock(v->coreHandle);
    if (!v->coreCode || MemHandleSize(v->coreHandle) < CORE_EXPORT_COUNT * CORE_EXPORT_BYTES) return 0;
    v->firstEventIndex = DmFindResource(v->appDb, TYPE_EVENT, SKV_ID_FIRST_EVENT, 0);
    v->firstContactIndex = DmFindResource(v->appDb, TYPE_CONTACT, SKV_ID_FIRST_CONTACT, 0);
    return 1;
}

void PackageClose(Viewer *v) {
    if (v->locked) {
        for (UInt16 index = 0; index < v->resourceCount; ++index) {
            if (!IsLocked(v, index)) continue;
            MemHandle h = DmGetResourceIndex(v->appDb, index);
            if (h) {
                MemHandleUnlock(h);
                DmReleaseResource(h);
            }
        }
        MemPtrFree(v->locked);
        v->locked = 0;
    }
    if (v->coreHandle) {
        if (v->coreCode) MemHandleUnlock(v->coreHandle);
        DmReleaseResource(v->coreHandle);
        v->coreHandle = 0;
        v->coreCode = 0;
    }
    if (v->appDb) DmCloseDatabase(v->appDb);
    v->appDb = 0;
}
