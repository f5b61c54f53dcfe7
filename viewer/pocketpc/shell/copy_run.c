/* The copy the user confirmed: checked in full first, asked about again
 * when this package was copied to the device before, then written into the
 * calendar and contacts by the copy module; the result is shown by the
 * core's result screen and in a message with the counts. */
#include "viewer.h"

#ifdef PPC_WITH_COPY

#include "viewer/pocketpc/copy/ppc_copy.h"

uint8_t ppc_copy_source_next(void *source, ppc_entry *entry);

#define RESULT_MAX 160

static uint16_t put_text(char *out, uint16_t at, const char *text) {
    while (*text && at < RESULT_MAX - 1) out[at++] = *text++;
    return at;
}

/* "3 events", "1 event". */
static uint16_t put_count(char *out, uint16_t at, uint16_t count, const char *one, const char *many) {
    char digits[6];
    uint16_t d = 0, value = count;
    do digits[d++] = (char)('0' + value % 10), value /= 10;
    while (value);
    while (d && at < RESULT_MAX - 1) out[at++] = digits[--d];
    at = put_text(out, at, " ");
    return put_text(out, at, count == 1 ? one : many);
}

static void show_result(ppc_viewer *v, const skv_copy_summary *done) {
    char text[RESULT_MAX];
    uint16_t refused = (uint16_t)(done->events_refused + done->contacts_refused);
    uint16_t n = put_text(text, 0, "Copied ");
    n = put_count(text, n, done->events, "event", "events");
    n = put_text(text, n, " and ");
    n = put_count(text, n, done->contacts, "contact", "contacts");
    n = put_text(text, n, ".");
    if (refused) {
        n = put_text(text, n, " ");
        n = put_count(text, n, refused, "entry", "entries");
        n = put_text(text, n, " could not be copied.");
    }
    text[n] = 0;
    ppc_show_message(v, text, CE_MB_ICONINFORMATION);
}

void ppc_copy(ppc_viewer *v) {
    skv_copy_summary planned, done;
    ppc_copy_status status;
    uint32_t fingerprint = skv_fingerprint(v->ctx);
    skv_status checked = skv_copy_prepare(v->ctx, &planned);
    if (checked) {
        ppc_act(v, SKV_ACTION_ERROR);
        return;
    }
    if (ppc_copy_seen(fingerprint) &&
        ppc_ask(v, "This package has been copied to this device before. Copy it again?") != CE_IDYES)
        return;
    status = ppc_copy_run(ppc_copy_source_next, v->ctx, v->window, fingerprint, &done);
    if (status != PPC_COPY_OK) {
        ppc_show_message(v, ppc_copy_status_text(status), CE_MB_ICONERROR);
        return;
    }
    ppc_act(v, skv_copy_finished(v->ctx, &done));
    show_result(v, &done);
}

#else

void ppc_copy(ppc_viewer *v) {
    ppc_show_message(v, "Copying into the calendar and contacts is not part of this build.", CE_MB_ICONERROR);
}

#endif
