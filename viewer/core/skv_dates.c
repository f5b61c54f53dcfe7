/* Dates and times as the package and the handheld encode them:
 * date = (year - 1904) * 512 + month * 32 + day, time = hours * 256 + minutes. */
#include "skv_internal.h"

uint16_t skv_date_year(uint16_t date) { return (uint16_t)(1904 + (date >> 9)); }
uint8_t skv_date_month(uint16_t date) { return (uint8_t)(date >> 5 & 0x0F); }
uint8_t skv_date_day(uint16_t date) { return (uint8_t)(date & 0x1F); }

static uint8_t days_in_month(uint16_t year, uint8_t month) {
    static const uint8_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) return 29;
    return days[month - 1];
}

uint8_t skv_date_valid(uint16_t date) {
    uint8_t month = skv_date_month(date), day = skv_date_day(date);
    if (date == SKV_NO_DATE || month < 1 || month > 12 || day < 1) return 0;
    return day <= days_in_month(skv_date_year(date), month);
}

uint8_t skv_time_valid(uint16_t time) { return (time >> 8) < 24 && (time & 0xFF) < 60; }

uint8_t skv_date_weekday(uint16_t date) {
    static const uint8_t shift[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    uint16_t year = skv_date_year(date);
    uint8_t month = skv_date_month(date);
    if (month < 1 || month > 12) return 0;
    if (month < 3) --year;
    return (uint8_t)((year + year / 4 - year / 100 + year / 400 + shift[month - 1] + skv_date_day(date)) % 7);
}

const char *skv_weekday_short(uint8_t weekday) {
    switch (weekday) {
    case 0: return "Sun";
    case 1: return "Mon";
    case 2: return "Tue";
    case 3: return "Wed";
    case 4: return "Thu";
    case 5: return "Fri";
    default: return "Sat";
    }
}

static const char *weekday_long(uint8_t weekday) {
    switch (weekday) {
    case 0: return "Sunday";
    case 1: return "Monday";
    case 2: return "Tuesday";
    case 3: return "Wednesday";
    case 4: return "Thursday";
    case 5: return "Friday";
    default: return "Saturday";
    }
}

static const char *month_name(uint8_t month) {
    switch (month) {
    case 1: return "January";
    case 2: return "February";
    case 3: return "March";
    case 4: return "April";
    case 5: return "May";
    case 6: return "June";
    case 7: return "July";
    case 8: return "August";
    case 9: return "September";
    case 10: return "October";
    case 11: return "November";
    default: return "December";
    }
}

static uint16_t put(char *out, const char *text, uint16_t limit) {
    uint16_t n = 0;
    while (text[n] && n < limit) {
        out[n] = text[n];
        ++n;
    }
    return n;
}

static uint16_t format(char *out, uint16_t date, uint8_t full) {
    uint16_t n;
    if (!skv_date_valid(date)) return put(out, "(no date)", 20);
    n = full ? put(out, weekday_long(skv_date_weekday(date)), 20)
             : put(out, skv_weekday_short(skv_date_weekday(date)), 3);
    if (full) out[n++] = ',';
    out[n++] = ' ';
    n += skv_format_number(out + n, skv_date_day(date));
    out[n++] = ' ';
    n += put(out + n, month_name(skv_date_month(date)), full ? 20 : 3);
    out[n++] = ' ';
    n += skv_format_number(out + n, skv_date_year(date));
    return n;
}

uint16_t skv_format_date(char *out, uint16_t date) { return format(out, date, 0); }
uint16_t skv_format_long_date(char *out, uint16_t date) { return format(out, date, 1); }

uint16_t skv_format_time(char *out, uint16_t time) {
    uint8_t hours = (uint8_t)(time >> 8), minutes = (uint8_t)(time & 0xFF);
    uint8_t shown = (uint8_t)(hours % 12 == 0 ? 12 : hours % 12);
    uint16_t n;
    if (!skv_time_valid(time)) {
        skv_mem_copy(out, "--:--", 5);
        return 5;
    }
    n = skv_format_number(out, shown);
    out[n++] = ':';
    out[n++] = (char)('0' + minutes / 10 % 10);
    out[n++] = (char)('0' + minutes % 10);
    out[n++] = ' ';
    out[n++] = hours < 12 ? 'a' : 'p';
    out[n++] = 'm';
    return n;
}
