#include "ppc_items.h"

#include "formats/ByteOrder.h"

#include "ppc_bstr.h"
#include "ppc_system.h"
#include "ppc_variant_date.h"

#define MINUTES_PER_HOUR 60u
#define MINUTES_PER_DAY 1440u
#define DAYS_PER_WEEK 7u
#define LAST_WEEK_FIRST_MASK 28u /* month-by-day masks 28..34: the last weekday */
#define LAST_WEEK_LAST_MASK 34u
#define WEEKDAY_BITS 0x7Fu
#define MONTHS_PER_YEAR 12u
/* The store counts intervals in days, weeks or months, 1 to 999; it has no
 * interval for yearly series. */
#define MAX_INTERVAL 999u
#define E_OUTOFMEMORY ((poom_result)0x8007000Eu)

static const poom_guid iid_appointment = POOM_GUID_IID_APPOINTMENT;
static const poom_guid iid_contact = POOM_GUID_IID_CONTACT;

static int time_valid(uint8_t hour, uint8_t minute) { return hour < 24 && minute < 60; }

static int untimed(const ppc_event *event) { return event->start_hour == SKR_PPC_NO_TIME; }

static uint32_t start_minutes(const ppc_event *event) {
    return untimed(event) ? 0 : event->start_hour * MINUTES_PER_HOUR + event->start_minute;
}

/* An event with a start but no end lasts no time at all. */
static uint32_t end_minutes(const ppc_event *event) {
    if (untimed(event)) return MINUTES_PER_DAY;
    if (event->end_hour == SKR_PPC_NO_TIME) return start_minutes(event);
    return event->end_hour * MINUTES_PER_HOUR + event->end_minute;
}

static int repeats(const ppc_event *event) { return event->recurrence != SKR_PPC_RECUR_NONE; }

static int repeat_storable(const ppc_event *event) {
    if (event->frequency == 0) return 0;
    switch (event->recurrence) {
    case SKR_PPC_RECUR_DAILY:
    case SKR_PPC_RECUR_MONTH_BY_DATE: break;
    case SKR_PPC_RECUR_YEARLY:
        if (event->frequency * MONTHS_PER_YEAR > MAX_INTERVAL) return 0;
        break;
    case SKR_PPC_RECUR_WEEKLY:
        if ((event->mask & WEEKDAY_BITS) == 0) return 0;
        break;
    case SKR_PPC_RECUR_MONTH_BY_DAY:
        if (event->mask > LAST_WEEK_LAST_MASK) return 0;
        break;
    default: return 0;
    }
    if (event->repeat_end.year == 0) return 1;
    return ppc_day_valid(event->repeat_end) && ppc_day_number(event->repeat_end) >= ppc_day_number(event->date);
}

int ppc_event_storable(const ppc_event *event) {
    if (!ppc_day_valid(event->date)) return 0;
    if (!untimed(event)) {
        if (!time_valid(event->start_hour, event->start_minute)) return 0;
        if (event->end_hour != SKR_PPC_NO_TIME &&
            (!time_valid(event->end_hour, event->end_minute) || end_minutes(event) < start_minutes(event)))
            return 0;
    }
    return !repeats(event) || repeat_storable(event);
}

/* Sets one text property; an empty text is left unset. */
static poom_result put_text(poom_object *item, unsigned slot, ppc_text text) {
    poom_bstr value;
    poom_result result;
    if (text.length == 0) return 0;
    value = ppc_bstr(text);
    if (!value) return E_OUTOFMEMORY;
    result = poom_call_pointer(item, slot, value);
    SysFreeString(value);
    return result;
}

/* A new item of `kind`, asked for the interface `iid`. */
static poom_result create_item(poom_object *app, int32_t kind, const poom_guid *iid, poom_object **out) {
    poom_object *created = 0;
    poom_result result = poom_call_long_out(app, POOM_APP_CREATE_ITEM, kind, &created);
    *out = 0;
    if (!POOM_SUCCEEDED(result)) return result;
    if (!created) return E_OUTOFMEMORY;
    result = poom_call_guid_out(created, POOM_UNKNOWN_QUERY_INTERFACE, iid, out);
    poom_release(created);
    if (POOM_SUCCEEDED(result) && !*out) result = E_OUTOFMEMORY;
    return result;
}

/* The end of the series, set after its interval as the store requires. */
static poom_result set_pattern_end(poom_object *pattern, const ppc_event *event) {
    if (event->repeat_end.year == 0) return poom_call_long(pattern, POOM_RECURRENCE_PUT_NO_END_DATE, POOM_VARIANT_TRUE);
    return poom_call_date(pattern, POOM_RECURRENCE_PUT_PATTERN_END_DATE,
                          ppc_variant_date(ppc_day_number(event->repeat_end), 0));
}

/* A series every n years is a series every 12n months on the same day of
 * the month: the store has an interval for months but not for years. */
static int every_few_years(const ppc_event *event) {
    return event->recurrence == SKR_PPC_RECUR_YEARLY && event->frequency > 1;
}

static poom_result set_pattern(poom_object *pattern, const ppc_event *event) {
    poom_result result;
    if (every_few_years(event)) {
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_RECURRENCE_TYPE, POOM_RECURS_MONTHLY);
        if (POOM_SUCCEEDED(result))
            result =
                poom_call_long(pattern, POOM_RECURRENCE_PUT_INTERVAL, (int32_t)(event->frequency * MONTHS_PER_YEAR));
        if (POOM_SUCCEEDED(result)) result = poom_call_long(pattern, POOM_RECURRENCE_PUT_DAY_OF_MONTH, event->date.day);
        return POOM_SUCCEEDED(result) ? set_pattern_end(pattern, event) : result;
    }
    result = poom_call_long(pattern, POOM_RECURRENCE_PUT_RECURRENCE_TYPE, event->recurrence);
    if (POOM_SUCCEEDED(result) && event->recurrence != SKR_PPC_RECUR_YEARLY)
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_INTERVAL, event->frequency);
    if (!POOM_SUCCEEDED(result)) return result;
    switch (event->recurrence) {
    case SKR_PPC_RECUR_WEEKLY:
        /* Both count Sunday as bit 0. */
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_DAY_OF_WEEK_MASK, event->mask & WEEKDAY_BITS);
        break;
    case SKR_PPC_RECUR_MONTH_BY_DATE:
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_DAY_OF_MONTH, event->date.day);
        break;
    case SKR_PPC_RECUR_MONTH_BY_DAY: {
        /* mask = week * 7 + weekday; counted out, since the handheld build
         * links no division routine. */
        uint32_t weekday = event->mask, week = 0;
        uint32_t instance;
        while (weekday >= DAYS_PER_WEEK) {
            weekday -= DAYS_PER_WEEK;
            ++week;
        }
        instance = event->mask >= LAST_WEEK_FIRST_MASK ? POOM_INSTANCE_LAST : week + 1u;
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_DAY_OF_WEEK_MASK, (int32_t)(1u << weekday));
        if (POOM_SUCCEEDED(result)) result = poom_call_long(pattern, POOM_RECURRENCE_PUT_INSTANCE, (int32_t)instance);
        break;
    }
    case SKR_PPC_RECUR_YEARLY:
        result = poom_call_long(pattern, POOM_RECURRENCE_PUT_MONTH_OF_YEAR, event->date.month);
        if (POOM_SUCCEEDED(result)) result = poom_call_long(pattern, POOM_RECURRENCE_PUT_DAY_OF_MONTH, event->date.day);
        break;
    default: break;
    }
    return POOM_SUCCEEDED(result) ? set_pattern_end(pattern, event) : result;
}

static poom_result set_recurrence(poom_object *appointment, const ppc_event *event) {
    poom_object *pattern = 0;
    poom_result result = poom_call_pointer(appointment, POOM_APPOINTMENT_GET_RECURRENCE_PATTERN, &pattern);
    if (POOM_SUCCEEDED(result) && !pattern) result = E_OUTOFMEMORY;
    if (POOM_SUCCEEDED(result)) result = set_pattern(pattern, event);
    poom_release(pattern);
    return result;
}

static ppc_day exception_day(const ppc_event *event, uint16_t index) {
    const uint8_t *at = event->exceptions + (uint32_t)index * SKR_PPC_EXCEPTION_SIZE;
    ppc_day day;
    day.year = skf_get16le(at);
    day.month = at[2];
    day.day = at[3];
    return day;
}

/* Deletes the occurrences on the exception days of a saved appointment. A day
 * on which the pattern has no occurrence has nothing to delete. */
static poom_result delete_exceptions(poom_object *appointment, const ppc_event *event) {
    poom_object *pattern = 0;
    poom_result result = poom_call_pointer(appointment, POOM_APPOINTMENT_GET_RECURRENCE_PATTERN, &pattern);
    uint16_t i, deleted = 0;
    if (POOM_SUCCEEDED(result) && !pattern) result = E_OUTOFMEMORY;
    for (i = 0; POOM_SUCCEEDED(result) && i < event->exception_count; ++i) {
        const ppc_day day = exception_day(event, i);
        poom_object *occurrence = 0;
        if (!ppc_day_valid(day)) continue;
        if (!POOM_SUCCEEDED(poom_call_date_out(pattern, POOM_RECURRENCE_GET_OCCURRENCE,
                                               ppc_variant_date(ppc_day_number(day), start_minutes(event)),
                                               &occurrence)) ||
            !occurrence)
            continue;
        result = poom_call(occurrence, POOM_APPOINTMENT_DELETE);
        poom_release(occurrence);
        if (POOM_SUCCEEDED(result)) ++deleted;
    }
    poom_release(pattern);
    if (POOM_SUCCEEDED(result) && deleted) result = poom_call(appointment, POOM_APPOINTMENT_SAVE);
    return result;
}

static poom_result set_appointment(poom_object *appointment, const ppc_event *event) {
    const uint32_t day = ppc_day_number(event->date);
    poom_result result = put_text(appointment, POOM_APPOINTMENT_PUT_SUBJECT, event->title);
    if (POOM_SUCCEEDED(result))
        result = poom_call_date(appointment, POOM_APPOINTMENT_PUT_START, ppc_variant_date(day, start_minutes(event)));
    if (POOM_SUCCEEDED(result))
        result = poom_call_date(appointment, POOM_APPOINTMENT_PUT_END, ppc_variant_date(day, end_minutes(event)));
    if (POOM_SUCCEEDED(result) && untimed(event))
        result = poom_call_long(appointment, POOM_APPOINTMENT_PUT_ALL_DAY_EVENT, POOM_VARIANT_TRUE);
    /* The package has no alarms; a new appointment may come with one. */
    if (POOM_SUCCEEDED(result))
        result = poom_call_long(appointment, POOM_APPOINTMENT_PUT_REMINDER_SET, POOM_VARIANT_FALSE);
    if (POOM_SUCCEEDED(result)) result = put_text(appointment, POOM_APPOINTMENT_PUT_BODY, event->note);
    if (POOM_SUCCEEDED(result) && repeats(event)) result = set_recurrence(appointment, event);
    return result;
}

ppc_item_result ppc_copy_event(poom_object *app, const ppc_event *event) {
    poom_object *appointment = 0;
    poom_result result;
    if (!ppc_event_storable(event)) return PPC_ITEM_REFUSED;
    result = create_item(app, POOM_ITEM_APPOINTMENT, &iid_appointment, &appointment);
    if (POOM_SUCCEEDED(result)) result = set_appointment(appointment, event);
    if (POOM_SUCCEEDED(result)) result = poom_call(appointment, POOM_APPOINTMENT_SAVE);
    if (POOM_SUCCEEDED(result) && repeats(event) && event->exception_count) {
        result = delete_exceptions(appointment, event);
        /* A series that still shows the days the package deleted would be
         * wrong: take it out again rather than leave it so. */
        if (!POOM_SUCCEEDED(result)) (void)poom_call(appointment, POOM_APPOINTMENT_DELETE);
    }
    poom_release(appointment);
    return POOM_SUCCEEDED(result) ? PPC_ITEM_COPIED : PPC_ITEM_FAILED;
}

/* Where a contact text goes; the address is a business address when the
 * contact has a work phone or a company, else a home address. */
static unsigned contact_slot(int field, uint8_t business) {
    switch (field) {
    case SKR_PPC_CONTACT_LAST_NAME: return POOM_CONTACT_PUT_LAST_NAME;
    case SKR_PPC_CONTACT_FIRST_NAME: return POOM_CONTACT_PUT_FIRST_NAME;
    case SKR_PPC_CONTACT_TITLE: return POOM_CONTACT_PUT_JOB_TITLE;
    case SKR_PPC_CONTACT_COMPANY: return POOM_CONTACT_PUT_COMPANY_NAME;
    case SKR_PPC_CONTACT_STREET:
        return business ? POOM_CONTACT_PUT_BUSINESS_ADDRESS_STREET : POOM_CONTACT_PUT_HOME_ADDRESS_STREET;
    case SKR_PPC_CONTACT_CITY:
        return business ? POOM_CONTACT_PUT_BUSINESS_ADDRESS_CITY : POOM_CONTACT_PUT_HOME_ADDRESS_CITY;
    case SKR_PPC_CONTACT_STATE:
        return business ? POOM_CONTACT_PUT_BUSINESS_ADDRESS_STATE : POOM_CONTACT_PUT_HOME_ADDRESS_STATE;
    case SKR_PPC_CONTACT_ZIP:
        return business ? POOM_CONTACT_PUT_BUSINESS_ADDRESS_POSTAL_CODE : POOM_CONTACT_PUT_HOME_ADDRESS_POSTAL_CODE;
    case SKR_PPC_CONTACT_COUNTRY:
        return business ? POOM_CONTACT_PUT_BUSINESS_ADDRESS_COUNTRY : POOM_CONTACT_PUT_HOME_ADDRESS_COUNTRY;
    case SKR_PPC_CONTACT_WORK_PHONE: return POOM_CONTACT_PUT_BUSINESS_TELEPHONE_NUMBER;
    case SKR_PPC_CONTACT_WORK_PHONE2: return POOM_CONTACT_PUT_BUSINESS2_TELEPHONE_NUMBER;
    case SKR_PPC_CONTACT_HOME_PHONE: return POOM_CONTACT_PUT_HOME_TELEPHONE_NUMBER;
    case SKR_PPC_CONTACT_HOME_PHONE2: return POOM_CONTACT_PUT_HOME2_TELEPHONE_NUMBER;
    case SKR_PPC_CONTACT_MOBILE: return POOM_CONTACT_PUT_MOBILE_TELEPHONE_NUMBER;
    case SKR_PPC_CONTACT_PAGER: return POOM_CONTACT_PUT_PAGER_NUMBER;
    case SKR_PPC_CONTACT_FAX: return POOM_CONTACT_PUT_BUSINESS_FAX_NUMBER;
    case SKR_PPC_CONTACT_EMAIL: return POOM_CONTACT_PUT_EMAIL1_ADDRESS;
    case SKR_PPC_CONTACT_EMAIL2: return POOM_CONTACT_PUT_EMAIL2_ADDRESS;
    default: return POOM_CONTACT_PUT_BODY;
    }
}

ppc_item_result ppc_copy_contact(poom_object *app, const ppc_contact *contact) {
    poom_object *item = 0;
    poom_result result = create_item(app, POOM_ITEM_CONTACT, &iid_contact, &item);
    int field;
    for (field = 0; POOM_SUCCEEDED(result) && field < SKR_PPC_CONTACT_TEXT_COUNT; ++field)
        result = put_text(item, contact_slot(field, contact->business), contact->texts[field]);
    if (POOM_SUCCEEDED(result)) result = poom_call(item, POOM_CONTACT_SAVE);
    poom_release(item);
    return POOM_SUCCEEDED(result) ? PPC_ITEM_COPIED : PPC_ITEM_FAILED;
}
