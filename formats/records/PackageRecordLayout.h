#ifndef SKEDLIN_FORMATS_PACKAGE_RECORD_LAYOUT_H
#define SKEDLIN_FORMATS_PACKAGE_RECORD_LAYOUT_H
/* The event and contact records of a package, as the builder writes them and
 * the handheld viewers read them (and write the handheld's own records when
 * they copy). Plain C constants, so that the viewers, which are freestanding
 * C, and the builder share this one definition. Texts end in a zero byte.
 *
 * Palm event record, big-endian:
 *   start time, end time, date, flags                    16 bits each
 *   [alarm block, 2 bytes]                               with SKR_EVENT_FLAG_ALARM (never written by the builder)
 *   [repeat type, 0, end date (16), frequency,
 *    repeat-on, start of week, 0]                        with SKR_EVENT_FLAG_REPEAT
 *   [count (16), that many dates (16 each)]              with SKR_EVENT_FLAG_EXCEPTIONS
 *   title                                                with SKR_EVENT_FLAG_DESCRIPTION
 *   [note]                                               with SKR_EVENT_FLAG_NOTE
 *
 * Pocket PC event record, little-endian: the 16-byte header at the
 * SKR_PPC_EVENT_* offsets, the title, the note, then (only for a repeating
 * event with deleted occurrences) a 16-bit count and per date a 16-bit year,
 * the month and the day.
 *
 * Palm contact record, big-endian: phone options (32 bits, a 4-bit label per
 * phone from the low end), field flags (32 bits, SKR_FIELD_* bits), the
 * company offset (8 bits), then the texts of the flagged fields in bit order.
 *
 * Pocket PC contact record: the SKR_PPC_CONTACT_* texts in that order, each
 * present even when empty, with one flag byte between the company and the
 * street (1: the address is a business address). */

/* ---- Palm event record ---- */
#define SKR_PALM_EVENT_HEADER_SIZE 8
#define SKR_PALM_EVENT_ALARM_SIZE 2
#define SKR_PALM_EVENT_REPEAT_SIZE 8
#define SKR_PALM_EVENT_START_TIME 0
#define SKR_PALM_EVENT_END_TIME 2
#define SKR_PALM_EVENT_DATE 4
#define SKR_PALM_EVENT_FLAGS 6
/* Offsets inside the repeat block. */
#define SKR_PALM_REPEAT_TYPE 0
#define SKR_PALM_REPEAT_END_DATE 2
#define SKR_PALM_REPEAT_FREQUENCY 4
#define SKR_PALM_REPEAT_ON 5
#define SKR_PALM_REPEAT_START_OF_WEEK 6

#define SKR_EVENT_FLAG_ALARM 0x4000
#define SKR_EVENT_FLAG_REPEAT 0x2000
#define SKR_EVENT_FLAG_NOTE 0x1000
#define SKR_EVENT_FLAG_EXCEPTIONS 0x0800
#define SKR_EVENT_FLAG_DESCRIPTION 0x0400

/* A time or date field that holds none. */
#define SKR_PALM_NO_TIME 0xFFFF
#define SKR_PALM_NO_DATE 0xFFFF

/* Repeat types of the repeat block. */
enum {
    SKR_REPEAT_NONE = 0,
    SKR_REPEAT_DAILY = 1,
    SKR_REPEAT_WEEKLY = 2,
    SKR_REPEAT_MONTH_BY_DAY = 3,
    SKR_REPEAT_MONTH_BY_DATE = 4,
    SKR_REPEAT_YEARLY = 5
};

/* ---- Pocket PC event record ---- */
#define SKR_PPC_EVENT_HEADER_SIZE 16
#define SKR_PPC_EVENT_YEAR 0
#define SKR_PPC_EVENT_MONTH 2
#define SKR_PPC_EVENT_DAY 3
#define SKR_PPC_EVENT_START_HOUR 4
#define SKR_PPC_EVENT_START_MINUTE 5
#define SKR_PPC_EVENT_END_HOUR 6
#define SKR_PPC_EVENT_END_MINUTE 7
#define SKR_PPC_EVENT_RECURRENCE 8
#define SKR_PPC_EVENT_END_YEAR 10
#define SKR_PPC_EVENT_END_MONTH 12
#define SKR_PPC_EVENT_END_DAY 13
#define SKR_PPC_EVENT_FREQUENCY 14
#define SKR_PPC_EVENT_MASK 15
/* An hour or minute byte of an untimed event. */
#define SKR_PPC_NO_TIME 0xFF
/* One deleted occurrence: year (16), month, day. */
#define SKR_PPC_EXCEPTION_SIZE 4

/* The recurrence field (signed 16 bits). */
enum {
    SKR_PPC_RECUR_NONE = -1,
    SKR_PPC_RECUR_DAILY = 0,
    SKR_PPC_RECUR_WEEKLY = 1,
    SKR_PPC_RECUR_MONTH_BY_DATE = 2,
    SKR_PPC_RECUR_MONTH_BY_DAY = 3,
    SKR_PPC_RECUR_YEARLY = 5
};

/* ---- Palm contact record ---- */
#define SKR_PALM_CONTACT_HEADER_SIZE 9
#define SKR_PHONE_COUNT 5
#define SKR_PHONE_LABEL_BITS 4
#define SKR_PHONE_LABEL_MASK 0xF

/* Fields in record order: bit n of the field flags. */
enum {
    SKR_FIELD_LAST_NAME = 0,
    SKR_FIELD_FIRST_NAME = 1,
    SKR_FIELD_COMPANY = 2,
    SKR_FIELD_PHONE1 = 3,
    SKR_FIELD_STREET = 8,
    SKR_FIELD_CITY = 9,
    SKR_FIELD_STATE = 10,
    SKR_FIELD_ZIP = 11,
    SKR_FIELD_COUNTRY = 12,
    SKR_FIELD_TITLE = 13,
    SKR_FIELD_NOTE = 18,
    SKR_FIELD_COUNT = 19
};

/* Phone labels (the 4-bit values of the phone options). */
enum {
    SKR_LABEL_WORK = 0,
    SKR_LABEL_HOME = 1,
    SKR_LABEL_FAX = 2,
    SKR_LABEL_OTHER = 3,
    SKR_LABEL_EMAIL = 4,
    SKR_LABEL_MAIN = 5,
    SKR_LABEL_PAGER = 6,
    SKR_LABEL_MOBILE = 7
};

/* ---- Pocket PC contact record ---- */
enum {
    SKR_PPC_CONTACT_LAST_NAME = 0,
    SKR_PPC_CONTACT_FIRST_NAME,
    SKR_PPC_CONTACT_TITLE,
    SKR_PPC_CONTACT_COMPANY,
    SKR_PPC_CONTACT_STREET,
    SKR_PPC_CONTACT_CITY,
    SKR_PPC_CONTACT_STATE,
    SKR_PPC_CONTACT_ZIP,
    SKR_PPC_CONTACT_COUNTRY,
    SKR_PPC_CONTACT_WORK_PHONE,
    SKR_PPC_CONTACT_WORK_PHONE2,
    SKR_PPC_CONTACT_HOME_PHONE,
    SKR_PPC_CONTACT_HOME_PHONE2,
    SKR_PPC_CONTACT_MOBILE,
    SKR_PPC_CONTACT_PAGER,
    SKR_PPC_CONTACT_FAX,
    SKR_PPC_CONTACT_EMAIL,
    SKR_PPC_CONTACT_EMAIL2,
    SKR_PPC_CONTACT_NOTE,
    SKR_PPC_CONTACT_TEXT_COUNT
};
/* The texts' zero bytes and the flag byte. */
#define SKR_PPC_CONTACT_FIXED_SIZE (SKR_PPC_CONTACT_TEXT_COUNT + 1)

#endif
