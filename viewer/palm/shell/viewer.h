#ifndef SKEDLIN_VIEWER_H
#define SKEDLIN_VIEWER_H
/* The Palm OS shell of the viewer: everything the running application keeps
 * lives in one Viewer block allocated at start-up (the program has no global
 * variables). */

#include "core_exports.h"
#include "palmos.h"
#include "skv_core.h"

#define VIEWER_CREATOR PALM_CODE('S', 'K', 'L', '0')
#define VIEWER_TITLE_BYTES 48
#define VIEWER_NO_INDEX 0xFFFF
#define VIEWER_NO_FONT 0xFF

typedef struct Viewer {
    /* The application's own resource database, holding the package. */
    DmOpenRef appDb;
    UInt16 resourceCount;
    UInt16 firstEventIndex;   /* index of Nevt 7000, or VIEWER_NO_INDEX */
    UInt16 firstContactIndex; /* index of Ncnt 6000, or VIEWER_NO_INDEX */
    UInt8 *locked;            /* one bit per resource index: locked once, for the whole run */

    /* The core's code resource, locked for the whole run. */
    MemHandle coreHandle;
    const UInt8 *coreCode;

    skv_host host;
    skv_context *ctx;
    void *ctxMemory;
    UInt8 density;         /* 1: 160 x 160, 2: 320 x 320 */
    Boolean densityActive; /* the double-density coordinate system is set */
    UInt8 font;            /* the font set for drawing and measuring, or VIEWER_NO_FONT */

    FormType *form;
    Boolean formOpen;
    Boolean leave;
    Boolean scrollBarShown;
    RectangleType scrollBarBounds; /* in standard coordinates */
    Char title[VIEWER_TITLE_BYTES];

    /* A button held under the pen: its command and rectangle (density pixels). */
    Boolean buttonHeld;
    UInt16 heldCommand;
    RectangleType heldRect;
} Viewer;

/* A core function, reached through the branch table of its code resource:
 * CORE(v, skv_tap)(v->ctx, x, y). */
#define CORE(v, fn) ((__typeof__(&fn))(const void *)((v)->coreCode + CORE_EXPORT_BYTES * CORE_INDEX_##fn))

/* Runs the viewer for a normal launch: shows the package until the user
 * leaves, then returns errNone. */
UInt32 ViewerRun(void);

/* package.c: the package's resources, read in place from the application's
 * database. */
/* Opens the application's database and locks the core's code; false when
 * either is missing. */
Boolean PackageOpen(Viewer *v);
void PackageClose(Viewer *v);
void PackageSetUpHost(Viewer *v);

/* draw.c: the core's display list on the screen, and what is under the pen. */
void DrawScreen(Viewer *v);
Boolean FindButton(Viewer *v, Coord x, Coord y, UInt16 *command, RectangleType *rect);
void InvertButton(Viewer *v, const RectangleType *rect);
/* The coordinate system of the core's layout is set on first need and kept
 * until the system's own drawing (forms, alerts, events) needs the standard
 * one again; the same for the font. */
void BeginDensity(Viewer *v);
void EndDensity(Viewer *v);
void UseFont(Viewer *v, UInt8 font);

/* copy.c: the user's choice into the Date Book and the Address Book. */
void CopyToHandheld(Viewer *v);

/* alerts.c */
void AlertDamaged(const Viewer *v, skv_status status, UInt32 type, UInt16 id);
/* Writes the decimal digits of value and a zero byte; returns the end. */
Char *FormatNumber(Char *out, UInt32 value);
/* Writes "1 singular" or "n plural" and a zero byte; returns the end. */
Char *FormatCount(Char *out, UInt32 count, const Char *singular, const Char *plural);
Char *CopyText(Char *out, const Char *text);

#endif
