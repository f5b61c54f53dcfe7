#include "ppc_variant_date.h"

#define FIRST_YEAR 1900
#define LAST_YEAR 2999
#define MINUTES_PER_DAY 1440u
#define DOUBLE_EXPONENT_BIAS 1023
#define DOUBLE_MANTISSA_BITS 52
/* The significant bits of a double, plus one to round with. */
#define QUOTIENT_BITS 54

/* Divisions by constants written as multiplications and shifts: compiled
 * for size, the compiler would call a division routine instead, and the
 * handheld build links no such routine. Exact for years below 43,700. */
static uint32_t hundreds(uint32_t year) { return (year * 5243u) >> 19; }

static int leap_year(uint32_t year) {
    const uint32_t centuries = hundreds(year);
    if (year & 3u) return 0;
    return year != centuries * 100u || (centuries & 3u) == 0;
}

/* Days from 1 March to the first of `month`, counted from March (0) to
 * February (11). */
static uint32_t days_before_month(uint32_t month) {
    switch (month) {
    case 0: return 0;
    case 1: return 31;
    case 2: return 61;
    case 3: return 92;
    case 4: return 122;
    case 5: return 153;
    case 6: return 184;
    case 7: return 214;
    case 8: return 245;
    case 9: return 275;
    case 10: return 306;
    default: return 337;
    }
}

static uint8_t days_in_month(uint32_t year, uint8_t month) {
    switch (month) {
    case 2: return (uint8_t)(leap_year(year) ? 29 : 28);
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
    }
}

int ppc_day_valid(ppc_day day) {
    return day.year >= FIRST_YEAR && day.year <= LAST_YEAR && day.month >= 1 && day.month <= 12 && day.day >= 1 &&
           day.day <= days_in_month(day.year, day.month);
}

uint32_t ppc_day_number(ppc_day day) {
    /* Days since 1 March of year 0 of a calendar whose years start in March,
     * so that the leap day is the last day of a year. */
    uint32_t year = day.year - (day.month <= 2 ? 1u : 0u);
    uint32_t month = day.month > 2 ? day.month - 3u : day.month + 9u;
    uint32_t day_of_year = days_before_month(month) + day.day - 1u;
    uint32_t days = year * 365u + (year >> 2) - hundreds(year) + (hundreds(year) >> 2) + day_of_year;
    /* 30 December 1899 in the same count. */
    return days - 693899u;
}

poom_date ppc_variant_date(uint32_t days, uint32_t minutes) {
    const uint32_t numerator = days * MINUTES_PER_DAY + minutes;
    poom_date date = {0, 0};
    uint32_t remainder = 0, high = 0, low = 0;
    int position = 31, exponent = 0, bits = 0;
    uint32_t round, sticky;
    if (numerator == 0) return date;

    /* Long division numerator / MINUTES_PER_DAY, one quotient bit at a
     * time: first the integer part (bits 31..0 of the numerator), then the
     * fraction, until the leading one and 53 more bits are known. */
    while (bits < QUOTIENT_BITS) {
        uint32_t bit = 0;
        remainder <<= 1;
        if (position >= 0) remainder |= (numerator >> position) & 1u;
        if (remainder >= MINUTES_PER_DAY) {
            remainder -= MINUTES_PER_DAY;
            bit = 1;
        }
        if (bits == 0 && bit) exponent = position;
        if (bits > 0 || bit) {
            high = (high << 1) | (low >> 31);
            low = (low << 1) | bit;
            ++bits;
        }
        --position;
    }

    /* Round to nearest, ties to even: the last bit decides, the remainder
     * tells whether anything lies below it. */
    round = low & 1u;
    sticky = remainder != 0;
    low = (low >> 1) | (high << 31);
    high >>= 1;
    if (round && (sticky || (low & 1u))) {
        if (++low == 0) ++high;
        if (high >> (DOUBLE_MANTISSA_BITS - 32 + 1)) { /* carried to 2^53 */
            low = (low >> 1) | (high << 31);
            high >>= 1;
            ++exponent;
        }
    }
    date.low = low;
    date.high = ((uint32_t)(exponent + DOUBLE_EXPONENT_BIAS) << (DOUBLE_MANTISSA_BITS - 32)) |
                (high & ((1u << (DOUBLE_MANTISSA_BITS - 32)) - 1u));
    return date;
}
