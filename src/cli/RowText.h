#pragma once
// One line of a long table, put together in place. The week tables run to
// 421,594 rows; general formatting costs more per row than the whole rest of
// the work, so the rows are built from fixed pieces: text, plain numbers and
// zero-padded digits.

#include "engine/CivilDate.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fmt/format.h>
#include <string_view>

namespace kalvara::cli {

class RowText {
public:
    RowText& Text(std::string_view text) {
        std::memcpy(text_ + size_, text.data(), text.size());
        size_ += text.size();
        return *this;
    }
    RowText& Number(std::int32_t number) {
        const fmt::format_int digits(number);
        return Text({digits.data(), digits.size()});
    }
    // The number right-aligned in width characters, as "{:4}" does.
    RowText& Padded(std::int32_t number, std::size_t width) {
        const fmt::format_int digits(number);
        for (std::size_t i = digits.size(); i < width; ++i) {
            text_[size_++] = ' ';
        }
        return Text({digits.data(), digits.size()});
    }
    // The text left-aligned in width characters.
    RowText& LeftAligned(std::string_view text, std::size_t width) {
        Text(text);
        for (std::size_t i = text.size(); i < width; ++i) {
            text_[size_++] = ' ';
        }
        return *this;
    }
    // 0..9999 with leading zeros to `digits` places (2 or 4).
    RowText& ZeroPadded(std::int32_t number, int digits) {
        for (int place = digits - 1; place >= 0; --place) {
            text_[size_ + static_cast<std::size_t>(place)] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
        size_ += static_cast<std::size_t>(digits);
        return *this;
    }
    // 2026-01-01.
    RowText& Date(std::int32_t year, std::int32_t month, std::int32_t day) {
        ZeroPadded(year, 4).Text("-").ZeroPadded(month, 2).Text("-");
        return ZeroPadded(day, 2);
    }

    // The Monday and the Sunday after it as ISO dates with separator between
    // them, from one conversion of the Monday.
    RowText& WeekDates(DayNumber monday, std::string_view separator) {
        std::int32_t month = 0;
        std::int32_t day = 0;
        std::int32_t year = 0;
        JulianToMDY(monday, month, day, year);
        Date(year, month, day).Text(separator);
        day += 6;
        if (const std::int32_t length = DaysIn(month, year); day > length) {
            day -= length;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        return Date(year, month, day);
    }

    std::string_view View() const { return {text_, size_}; }

private:
    static std::int32_t DaysIn(std::int32_t month, std::int32_t year) {
        constexpr std::int32_t Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        return Days[month - 1] + (month == 2 ? IsLeapYear(year) : 0);
    }

    // Room for the longest row (a JSON week object is under 200 characters).
    char text_[256];
    std::size_t size_ = 0;
};

} // namespace kalvara::cli
