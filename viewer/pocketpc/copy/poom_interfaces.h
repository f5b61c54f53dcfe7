#ifndef POOM_INTERFACES_H
#define POOM_INTERFACES_H
/* The handheld's calendar and contact store, as far as the copy uses it: its
 * class and interface ids and the vtable positions of the methods we call.
 * Every interface derives from IDispatch, so slots 0..6 are QueryInterface,
 * AddRef, Release and the four IDispatch methods; an interface's own methods
 * follow in the order of its published declaration.
 *
 * The emulator tests read this file to stand the store in, so each fact is
 * one line of the form `#define POOM_<INTERFACE>_<METHOD> <slot>` or
 * `#define POOM_GUID_<NAME> {data1, data2, data3, {8 bytes}}`. */

#include <stdint.h>

typedef struct poom_guid {
    uint32_t data1;
    uint16_t data2, data3;
    uint8_t data4[8];
} poom_guid;

/* One fact per line, for the tests that read this file. */
/* clang-format off */
#define POOM_GUID_CLSID_APPLICATION {0x05058F23, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}}
#define POOM_GUID_IID_APP {0x05058F22, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}}
#define POOM_GUID_IID_APPOINTMENT {0x5B43F691, 0x202C, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}}
#define POOM_GUID_IID_CONTACT {0x7F804E40, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}}
#define POOM_GUID_IID_RECURRENCE_PATTERN {0x38F47300, 0x270F, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}}
/* clang-format on */

/* IUnknown, the start of every vtable. */
#define POOM_UNKNOWN_QUERY_INTERFACE 0 /* (const guid *iid, void **out) */
#define POOM_UNKNOWN_ADD_REF 1
#define POOM_UNKNOWN_RELEASE 2

/* The application object. */
#define POOM_APP_LOGON 7        /* (long window) */
#define POOM_APP_LOGOFF 8       /* () */
#define POOM_APP_CREATE_ITEM 11 /* (long item kind, IDispatch **out) */

/* Appointments. DATE arguments travel as two 32-bit halves (see poom_call.h). */
#define POOM_APPOINTMENT_GET_RECURRENCE_PATTERN 8 /* (IRecurrencePattern **out) */
#define POOM_APPOINTMENT_PUT_SUBJECT 26           /* (BSTR) */
#define POOM_APPOINTMENT_PUT_START 29             /* (DATE) */
#define POOM_APPOINTMENT_PUT_END 31               /* (DATE) */
#define POOM_APPOINTMENT_PUT_ALL_DAY_EVENT 32     /* (VARIANT_BOOL) */
#define POOM_APPOINTMENT_PUT_BODY 35              /* (BSTR) */
#define POOM_APPOINTMENT_PUT_REMINDER_SET 36      /* (VARIANT_BOOL) */
#define POOM_APPOINTMENT_SAVE 40                  /* () */
#define POOM_APPOINTMENT_DELETE 42                /* () */

/* Recurrence patterns. */
#define POOM_RECURRENCE_PUT_RECURRENCE_TYPE 20  /* (long) */
#define POOM_RECURRENCE_PUT_PATTERN_END_DATE 24 /* (DATE) */
#define POOM_RECURRENCE_PUT_NO_END_DATE 25      /* (VARIANT_BOOL) */
#define POOM_RECURRENCE_PUT_INTERVAL 27         /* (long) */
#define POOM_RECURRENCE_PUT_DAY_OF_WEEK_MASK 28 /* (long) */
#define POOM_RECURRENCE_PUT_DAY_OF_MONTH 29     /* (long) */
#define POOM_RECURRENCE_PUT_INSTANCE 30         /* (long) */
#define POOM_RECURRENCE_PUT_MONTH_OF_YEAR 32    /* (long) */
#define POOM_RECURRENCE_GET_OCCURRENCE 35       /* (DATE, IAppointment **out) */

/* Contacts: every setter takes a BSTR. */
#define POOM_CONTACT_PUT_BUSINESS_FAX_NUMBER 59
#define POOM_CONTACT_PUT_COMPANY_NAME 60
#define POOM_CONTACT_PUT_EMAIL1_ADDRESS 62
#define POOM_CONTACT_PUT_MOBILE_TELEPHONE_NUMBER 63
#define POOM_CONTACT_PUT_PAGER_NUMBER 65
#define POOM_CONTACT_PUT_BUSINESS_TELEPHONE_NUMBER 66
#define POOM_CONTACT_PUT_JOB_TITLE 67
#define POOM_CONTACT_PUT_HOME_TELEPHONE_NUMBER 68
#define POOM_CONTACT_PUT_EMAIL2_ADDRESS 69
#define POOM_CONTACT_PUT_HOME2_TELEPHONE_NUMBER 72
#define POOM_CONTACT_PUT_BUSINESS2_TELEPHONE_NUMBER 80
#define POOM_CONTACT_PUT_FIRST_NAME 82
#define POOM_CONTACT_PUT_LAST_NAME 84
#define POOM_CONTACT_PUT_HOME_ADDRESS_STREET 86
#define POOM_CONTACT_PUT_HOME_ADDRESS_CITY 87
#define POOM_CONTACT_PUT_HOME_ADDRESS_STATE 88
#define POOM_CONTACT_PUT_HOME_ADDRESS_POSTAL_CODE 89
#define POOM_CONTACT_PUT_HOME_ADDRESS_COUNTRY 90
#define POOM_CONTACT_PUT_BUSINESS_ADDRESS_STREET 96
#define POOM_CONTACT_PUT_BUSINESS_ADDRESS_CITY 97
#define POOM_CONTACT_PUT_BUSINESS_ADDRESS_STATE 98
#define POOM_CONTACT_PUT_BUSINESS_ADDRESS_POSTAL_CODE 99
#define POOM_CONTACT_PUT_BUSINESS_ADDRESS_COUNTRY 100
#define POOM_CONTACT_PUT_BODY 103
#define POOM_CONTACT_SAVE 107

/* Values the calls take. */
#define POOM_ITEM_APPOINTMENT 1
#define POOM_ITEM_CONTACT 2
#define POOM_VARIANT_TRUE (-1)
#define POOM_VARIANT_FALSE 0
#define POOM_RECURS_DAILY 0
#define POOM_RECURS_WEEKLY 1
#define POOM_RECURS_MONTHLY 2   /* on a day of the month */
#define POOM_RECURS_MONTH_NTH 3 /* on the nth weekday of the month */
#define POOM_RECURS_YEARLY 5    /* on a day of a month */
#define POOM_INSTANCE_LAST 5    /* the last such weekday of the month */

#endif
