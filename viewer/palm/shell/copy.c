/* Copy to handheld: appends the records the core encodes to the handheld's
 * Date Book (DatebookDB) and Address Book (AddressDB) databases, creating a
 * database that does not exist yet. Existing records are never changed: each
 * entry becomes a new record at the end. The whole choice is checked by the
 * core before the first record is written. The fingerprints of the packages
 * copied before are kept in the application's preferences, so that copying
 * the same package again is asked about first. */

#include "viewer.h"

#include "ui_ids.h"

#define DATEBOOK_NAME "DatebookDB"
#define ADDRESS_NAME "AddressDB"
#define DATEBOOK_CREATOR PALM_CODE('d', 'a', 't', 'e')
#define ADDRESS_CREATOR PALM_CODE('a', 'd', 'd', 'r')
#define TYPE_DATA PALM_CODE('D', 'A', 'T', 'A')

/* Preferences: a count and the fingerprints of the last packages copied
 * (several packages share the viewer's creator). */
#define COPIED_PREFS_ID 0
#define COPIED_PREFS_VERSION 1
#define COPIED_MAX 16

typedef struct {
    UInt16 count;
    UInt32 fingerprints[COPIED_MAX];
} CopiedPrefs;

static void LoadCopied(CopiedPrefs *prefs) {
    UInt16 size = sizeof(CopiedPrefs);
    prefs->count = 0;
    Int16 version = PrefGetAppPreferences(VIEWER_CREATOR, COPIED_PREFS_ID, prefs, &size, 1);
    if (version != COPIED_PREFS_VERSION || size < 2 || prefs->count > COPIED_MAX || size < 2 + 4 * prefs->count)
        prefs->count = 0;
}

static Boolean WasCopied(const CopiedPrefs *prefs, UInt32 fingerprint) {
    for (UInt16 i = 0; i < prefs->count; ++i) {
        if (prefs->fingerprints[i] == fingerprint) return 1;
    }
    return 0;
}

static void RememberCopied(CopiedPrefs *prefs, UInt32 fingerprint) {
    if (WasCopied(prefs, fingerprint)) return;
    if (prefs->count == COPIED_MAX) {
        for (UInt16 i = 1; i < COPIED_MAX; ++i) prefs->fingerprints[i - 1] = prefs->fingerprints[i];
        prefs->count--;
    }
    prefs->fingerprints[prefs->count++] = fingerprint;
    PrefSetAppPreferences(VIEWER_CREATOR, COPIED_PREFS_ID, COPIED_PREFS_VERSION, prefs, (UInt16)(2 + 4 * prefs->count),
                          1);
}

/* One database the copy writes into. A database that exists is opened and
 * appended to. One that does not is built under a name and creator of the
 * viewer's own and takes its real name and owner only when every entry is in
 * it, so an interrupted copy never leaves a half-filled Date Book or Address
 * Book behind (a left-over is deleted by the next copy). */
typedef struct {
    const Char *name;
    const Char *buildName;
    UInt32 creator;
    LocalID id;
    DmOpenRef db;
    Boolean built;
} Target;

/* Field by field: an initialised structure holding text pointers would need
 * absolute addresses, which position-independent code cannot have. */
static void SetTarget(Target *t, const Char *name, const Char *buildName, UInt32 creator) {
    t->name = name;
    t->buildName = buildName;
    t->creator = creator;
    t->id = 0;
    t->db = 0;
    t->built = 0;
}

static Err OpenTarget(Target *t) {
    t->id = DmFindDatabase(0, t->name);
    t->built = t->id == 0;
    if (t->built) {
        LocalID leftOver = DmFindDatabase(0, t->buildName);
        if (leftOver) DmDeleteDatabase(0, leftOver);
        Err err = DmCreateDatabase(0, t->buildName, VIEWER_CREATOR, TYPE_DATA, 0);
        if (err != errNone) return err;
        t->id = DmFindDatabase(0, t->buildName);
        if (t->id == 0) return DmGetLastErr();
    } else {
        /* A database of that name that belongs to another application is not touched. */
        UInt32 type = 0, creator = 0;
        Err err = DmDatabaseInfo(0, t->id, 0, 0, 0, 0, 0, 0, 0, 0, 0, &type, &creator);
        if (err != errNone) return err;
        if (type != TYPE_DATA || creator != t->creator) return 1;
    }
    t->db = DmOpenDatabase(0, t->id, dmModeReadWrite);
    return t->db ? errNone : DmGetLastErr();
}

/* Closes the database; a database built by this copy gets its real name and
 * owner when the copy succeeded and is deleted when it did not. */
static Err CloseTarget(Target *t, Boolean succeeded) {
    Err err = errNone;
    if (t->db) DmCloseDatabase(t->db);
    t->db = 0;
    if (!t->built || !t->id) return errNone;
    if (succeeded) {
        UInt16 attributes = dmHdrAttrBackup;
        UInt32 creator = t->creator;
        err = DmSetDatabaseInfo(0, t->id, t->name, &attributes, 0, 0, 0, 0, 0, 0, 0, 0, &creator);
    }
    if (!succeeded || err != errNone) DmDeleteDatabase(0, t->id);
    return err;
}

/* Appends one record made of the core's pieces. */
static Err AppendRecord(DmOpenRef db, const skv_record *record) {
    UInt16 at = dmMaxRecordIndex;
    MemHandle h = DmNewRecord(db, &at, record->size);
    if (!h) return DmGetLastErr() ? DmGetLastErr() : 1;
    void *p = MemHandleLock(h);
    UInt32 offset = 0;
    Err err = errNone;
    for (UInt8 i = 0; i < record->piece_count && err == errNone; ++i) {
        if (record->pieces[i].length == 0) continue;
        err = DmWrite(p, offset, record->pieces[i].bytes, record->pieces[i].length);
        offset += record->pieces[i].length;
    }
    MemHandleUnlock(h);
    if (err != errNone) {
        DmRemoveRecord(db, at); /* never leave a half-written entry */
        return err;
    }
    DmReleaseRecord(db, at, 1);
    return errNone;
}

static void ReportFailure(const Char *what, const Char *database) {
    Char text[80];
    Char *end = CopyText(text, what);
    end = CopyText(end, database);
    CopyText(end, ".");
    FrmCustomAlert(ALERT_COPY_FAILED, text, " ", " ");
}

void CopyToHandheld(Viewer *v) {
    CopiedPrefs prefs;
    LoadCopied(&prefs);
    UInt32 fingerprint = CORE(v, skv_fingerprint)(v->ctx);
    if (WasCopied(&prefs, fingerprint) && FrmAlert(ALERT_COPY_AGAIN) != 0) return;

    skv_copy_summary summary;
    skv_status status = CORE(v, skv_copy_prepare)(v->ctx, &summary);
    if (status != SKV_OK) {
        uint32_t type = 0;
        uint16_t id = 0;
        CORE(v, skv_error)(v->ctx, &type, &id);
        AlertDamaged(v, status, type, id);
        return;
    }
    if (summary.events + summary.contacts + summary.events_refused + summary.contacts_refused == 0) {
        FrmAlert(ALERT_NOTHING_CHOSEN);
        return;
    }

    Target datebook, address;
    SetTarget(&datebook, DATEBOOK_NAME, "Skedlin " DATEBOOK_NAME, DATEBOOK_CREATOR);
    SetTarget(&address, ADDRESS_NAME, "Skedlin " ADDRESS_NAME, ADDRESS_CREATOR);
    if (summary.events && OpenTarget(&datebook) != errNone) {
        CloseTarget(&datebook, 0);
        ReportFailure("Cannot open the Date Book database ", DATEBOOK_NAME);
        return;
    }
    if (summary.contacts && OpenTarget(&address) != errNone) {
        CloseTarget(&datebook, 0);
        CloseTarget(&address, 0);
        ReportFailure("Cannot open the Address Book database ", ADDRESS_NAME);
        return;
    }

    Err err = errNone;
    skv_copy_summary done;
    done.events = done.contacts = done.events_refused = done.contacts_refused = 0;
    skv_record record;
    record.kind = summary.events ? SKV_RECORD_EVENT : SKV_RECORD_CONTACT;
    while (err == errNone && CORE(v, skv_copy_next)(v->ctx, &record)) {
        Boolean isEvent = record.kind == SKV_RECORD_EVENT;
        if (record.refused != SKV_REFUSE_NONE) {
            if (isEvent)
                done.events_refused++;
            else
                done.contacts_refused++;
            continue;
        }
        DmOpenRef db = isEvent ? datebook.db : address.db;
        if (!db) continue;
        err = AppendRecord(db, &record);
        if (err == errNone) {
            if (isEvent)
                done.events++;
            else
                done.contacts++;
        }
    }
    Err closed = CloseTarget(&datebook, err == errNone);
    if (closed == errNone)
        closed = CloseTarget(&address, err == errNone);
    else
        CloseTarget(&address, 0);

    if (err != errNone || closed != errNone) {
        ReportFailure("There is not enough room for more entries in ",
                      record.kind == SKV_RECORD_EVENT ? DATEBOOK_NAME : ADDRESS_NAME);
        err = err ? err : closed;
    } else {
        RememberCopied(&prefs, fingerprint);
    }

    /* The copy screen shows the result (and what could not be copied);
     * the alert sums it up. */
    CORE(v, skv_copy_finished)(v->ctx, &done);
    DrawScreen(v);
    if (err == errNone) {
        Char events[24], contacts[24], refused[64];
        FormatCount(events, done.events, "event", "events");
        FormatCount(contacts, done.contacts, "contact", "contacts");
        UInt32 notCopied = (UInt32)done.events_refused + done.contacts_refused;
        if (notCopied) {
            Char *end = CopyText(refused, "\n");
            end = FormatCount(end, notCopied, "entry", "entries");
            CopyText(end, " could not be copied: see the list.");
        } else {
            CopyText(refused, " ");
        }
        FrmCustomAlert(ALERT_COPIED, events, contacts, refused);
    }
}
