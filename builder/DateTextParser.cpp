#include "builder/DateTextParser.h"

#include <array>
#include <cctype>
#include <langinfo.h>
#include <locale.h>

namespace skedlin {
namespace {

constexpr std::array<std::string_view, 12> kEnglishMonths = {"january",   "february", "march",    "april",
                                                             "may",       "june",     "july",     "august",
                                                             "september", "october",  "november", "december"};

// A two-digit year below this means 20xx, from it on 19xx.
constexpr int kTwoDigitYearPivot = 30;

enum class TokenKind { Number, Word };

struct Token {
    TokenKind kind;
    std::string text;
};

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '.' || c == '/' || c == '-'; }

bool isWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalpha(byte) || byte >= 0x80;  // UTF-8 letters of month names
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Splits into numbers and words; nullopt when another character appears.
std::optional<std::vector<Token>> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isSeparator(c)) {
            ++i;
        } else if (c >= '0' && c <= '9') {
            std::size_t end = i;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
            tokens.push_back({TokenKind::Number, std::string(text.substr(i, end - i))});
            i = end;
        } else if (isWordByte(c)) {
            std::size_t end = i;
            while (end < text.size() && isWordByte(text[end])) ++end;
            tokens.push_back({TokenKind::Word, asciiLower(text.substr(i, end - i))});
            i = end;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// 1..12, or 0 when the word names no month.
int monthOfWord(const std::string& word, const LocaleMonthNames& localeNames) {
    for (std::size_t m = 0; m < kEnglishMonths.size(); ++m) {
        const std::string_view name = kEnglishMonths[m];
        if (word == name || word == name.substr(0, 3) || (m == 8 && word == "sept")) {
            return static_cast<int>(m + 1);
        }
    }
    for (const auto* names : {&localeNames.full, &localeNames.abbreviated}) {
        for (std::size_t m = 0; m < names->size() && m < 12; ++m) {
            std::string name = asciiLower((*names)[m]);
            while (!name.empty() && name.back() == '.') name.pop_back();  // "janv." style
            if (!name.empty() && word == name) return static_cast<int>(m + 1);
        }
    }
    return 0;
}

// A number token as a value; digit runs longer than four are never part of a date.
std::optional<int> numberValue(const Token& token) {
    if (token.kind != TokenKind::Number || token.text.size() > 4) return std::nullopt;
    return std::stoi(token.text);
}

std::optional<int> yearValue(const Token& token) {
    const auto value = numberValue(token);
    if (!value) return std::nullopt;
    if (token.text.size() <= 2) {
        return *value < kTwoDigitYearPivot ? 2000 + *value : 1900 + *value;
    }
    return value;
}

std::optional<CalendarDate> checked(std::optional<int> year, int month, std::optional<int> day) {
    if (!year || !day) return std::nullopt;
    const CalendarDate date{*year, month, *day};
    if (!isValidDate(date)) return std::nullopt;
    return date;
}

std::optional<CalendarDate> numericDate(const std::vector<Token>& t, NumericDateOrder order) {
    // A year of three or four digits in front is always year-month-day (ISO).
    if (t[0].text.size() >= 3) order = NumericDateOrder::YearMonthDay;
    const Token* year = &t[2];
    const Token* month = &t[1];
    const Token* day = &t[0];
    switch (order) {
    case NumericDateOrder::DayMonthYear: break;
    case NumericDateOrder::MonthDayYear:
        month = &t[0];
        day = &t[1];
        break;
    case NumericDateOrder::YearMonthDay:
        year = &t[0];
        day = &t[2];
        break;
    }
    if (day->text.size() > 2 || month->text.size() > 2) return std::nullopt;
    const auto monthValue = numberValue(*month);
    if (!monthValue) return std::nullopt;
    return checked(yearValue(*year), *monthValue, numberValue(*day));
}

}  // namespace

NumericDateOrder numericDateOrderOf(std::string_view datePattern) {
    std::size_t dayAt = std::string_view::npos;
    std::size_t monthAt = std::string_view::npos;
    std::size_t yearAt = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < datePattern.size(); ++i) {
        if (datePattern[i] != '%') continue;
        std::size_t k = i + 1;
        while (k < datePattern.size() && (datePattern[k] == 'E' || datePattern[k] == 'O' || datePattern[k] == '-' ||
                                          datePattern[k] == '_' || datePattern[k] == '0' || datePattern[k] == '^')) {
            ++k;
        }
        if (k >= datePattern.size()) break;
        switch (datePattern[k]) {
        case 'd':
        case 'e':
            if (dayAt == std::string_view::npos) dayAt = i;
            break;
        case 'm':
        case 'b':
        case 'B':
        case 'h':
            if (monthAt == std::string_view::npos) monthAt = i;
            break;
        case 'y':
        case 'Y':
        case 'C':
            if (yearAt == std::string_view::npos) yearAt = i;
            break;
        case 'F':  // %Y-%m-%d
            return NumericDateOrder::YearMonthDay;
        case 'D':  // %m/%d/%y
            return NumericDateOrder::MonthDayYear;
        default: break;
        }
        i = k;
    }
    if (dayAt == std::string_view::npos || monthAt == std::string_view::npos) {
        return NumericDateOrder::MonthDayYear;
    }
    if (yearAt != std::string_view::npos && yearAt < monthAt && yearAt < dayAt) {
        return NumericDateOrder::YearMonthDay;
    }
    return dayAt < monthAt ? NumericDateOrder::DayMonthYear : NumericDateOrder::MonthDayYear;
}

DateTextConventions userDateTextConventions() {
    DateTextConventions conventions;
    locale_t locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    }
    if (locale == static_cast<locale_t>(0)) return conventions;
    conventions.order = numericDateOrderOf(nl_langinfo_l(D_FMT, locale));
    static constexpr nl_item kFull[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                          MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    static constexpr nl_item kAbbreviated[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                                 ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    for (int m = 0; m < 12; ++m) {
        conventions.monthNames.full.emplace_back(nl_langinfo_l(kFull[m], locale));
        conventions.monthNames.abbreviated.emplace_back(nl_langinfo_l(kAbbreviated[m], locale));
    }
    freelocale(locale);
    return conventions;
}

std::optional<CalendarDate> parseDateText(std::string_view text, const DateTextConventions& conventions) {
    const auto tokens = tokenize(text);
    if (!tokens || tokens->size() != 3) return std::nullopt;
    const std::vector<Token>& t = *tokens;
    const auto isNumber = [&](int i) { return t[i].kind == TokenKind::Number; };

    if (isNumber(0) && isNumber(1) && isNumber(2)) return numericDate(t, conventions.order);

    if (isNumber(0) && !isNumber(1) && isNumber(2)) {
        const int month = monthOfWord(t[1].text, conventions.monthNames);
        if (month == 0) return std::nullopt;
        if (t[0].text.size() >= 3) return checked(yearValue(t[0]), month, numberValue(t[2]));  // 2003 Jan 01
        if (t[2].text.size() > 4) return std::nullopt;
        return checked(yearValue(t[2]), month, numberValue(t[0]));  // 01 Jan 2003
    }
    if (!isNumber(0) && isNumber(1) && isNumber(2)) {
        const int month = monthOfWord(t[0].text, conventions.monthNames);
        if (month == 0 || t[1].text.size() > 2) return std::nullopt;
        return checked(yearValue(t[2]), month, numberValue(t[1]));  // Jan 1, 2003
    }
    return std::nullopt;
}

}  // namespace skedlin
