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
    RowText& IsoDate(DayNumber day) {
        std::int32_t month = 0;
        std::int32_t day_of_month = 0;
        std::int32_t year = 0;
        JulianToMDY(day, month, day_of_month, year);
        ZeroPadded(year, 4).Text("-").ZeroPadded(month, 2).Text("-");
        return ZeroPadded(day_of_month, 2);
    }

    std::string_view View() const { return {text_, size_}; }

private:
    // Room for the longest row (a JSON week object is under 200 characters).
    char text_[256];
    std::size_t size_ = 0;
};

} // namespace kalvara::cli
