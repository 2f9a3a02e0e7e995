#include "msgbox/MessageBoxMarkup.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kalvara::msgbox {

namespace {

// Sizes beyond this many character units are nonsense on any screen.
constexpr double kLargestSize = 500.0;
// Colour and font numbers beyond this are kept bounded so they convert safely.
constexpr double kLargestNumber = 1'000'000.0;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads [+-]digits[.digits] from the start of `text`; trailing text is ignored.
std::optional<double> ReadNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    double value = 0;
    bool digits = false;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0) {
        value = std::min(value * 10 + (text[pos] - '0'), kLargestNumber);
        digits = true;
        ++pos;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double scale = 0.1;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) != 0) {
            value += (text[pos] - '0') * scale;
            scale /= 10;
            digits = true;
            ++pos;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double SizeFrom(double value) {
    return std::clamp(value, 0.0, kLargestSize);
}

void ApplyButtonGroup(ButtonMarkup& button, const std::vector<MarkupItem>& items) {
    for (const MarkupItem& item : items) {
        switch (item.letter) {
        case 'W':
            button.width = SizeFrom(item.value);
            break;
        case 'H':
            button.height = SizeFrom(item.value);
            break;
        case 'F':
            button.font = ToNumber(item.value);
            break;
        case 'B':
            button.background = ToNumber(item.value);
            break;
        case 'T':
            button.textColor = ToNumber(item.value);
            break;
        case 'G':
            button.style = ButtonStyle::Standard;
            break;
        case '3':
            button.style = ButtonStyle::ThreeD;
            break;
        case 'R':
            button.style = ButtonStyle::RoundRect;
            break;
        case 'E':
            button.style = ButtonStyle::Ellipse;
            break;
        case 'C':
            button.style = ButtonStyle::Color;
            break;
        default:
            break;
        }
    }
}

} // namespace

MarkedText ParseMarkedText(std::string_view value) {
    MarkedText marked;
    const auto open = value.find('{');
    marked.visible = std::string(value.substr(0, open));
    std::replace(marked.visible.begin(), marked.visible.end(), QuotedBrace, '{');
    if (open == std::string_view::npos) {
        return marked;
    }
    std::string_view group = value.substr(open + 1);
    if (const auto close = group.find('}'); close != std::string_view::npos) {
        group = group.substr(0, close);
    }
    while (!group.empty()) {
        const auto comma = group.find(',');
        std::string_view item = group.substr(0, comma);
        group = comma == std::string_view::npos ? std::string_view() : group.substr(comma + 1);
        while (!item.empty() && IsBlank(item.front())) {
            item.remove_prefix(1);
        }
        if (item.empty()) {
            continue;
        }
        MarkupItem parsed;
        parsed.letter = Upper(item.front());
        if (const auto number = ReadNumber(item.substr(1))) {
            parsed.value = *number;
            parsed.hasValue = true;
        }
        marked.items.push_back(parsed);
    }
    return marked;
}

std::optional<double> FindNumber(const std::vector<MarkupItem>& items, char letter) {
    std::optional<double> found;
    for (const MarkupItem& item : items) {
        if (item.letter == letter) {
            found = item.value;
        }
    }
    return found;
}

int ToNumber(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -kLargestNumber, kLargestNumber));
}

TitleMarkup ParseTitle(std::string_view title) {
    const MarkedText marked = ParseMarkedText(title);
    TitleMarkup parsed;
    parsed.caption = marked.visible;
    // A caption is one line: a quoted bar is simply a bar.
    std::replace(parsed.caption.begin(), parsed.caption.end(), QuotedBar, '|');
    if (const auto b = FindNumber(marked.items, 'B')) {
        parsed.background = ToNumber(*b);
    }
    parsed.minWidth = SizeFrom(FindNumber(marked.items, 'W').value_or(0));
    parsed.minHeight = SizeFrom(FindNumber(marked.items, 'H').value_or(0));
    return parsed;
}

TextMarkup ParseText(std::string_view text, bool allowWrap) {
    const MarkedText marked = ParseMarkedText(text);
    TextMarkup parsed;
    parsed.text = marked.visible;
    parsed.font = ToNumber(FindNumber(marked.items, 'F').value_or(0));
    parsed.color = ToNumber(FindNumber(marked.items, 'T').value_or(-1));
    if (allowWrap) {
        parsed.wrapWidth = SizeFrom(FindNumber(marked.items, 'W').value_or(0));
    }
    return parsed;
}

std::vector<ButtonMarkup> ParseButtonList(std::string_view list) {
    std::vector<std::string_view> items;
    while (true) {
        const auto bar = list.find('|');
        items.push_back(list.substr(0, bar));
        if (bar == std::string_view::npos) {
            break;
        }
        list.remove_prefix(bar + 1);
    }
    ButtonMarkup defaults;
    std::size_t first = 0;
    if (!items.empty() && items.front().starts_with("*{")) {
        ApplyButtonGroup(defaults, ParseMarkedText(items.front()).items);
        first = 1;
    }
    std::vector<ButtonMarkup> buttons;
    for (std::size_t i = first; i < items.size() && buttons.size() < MaxButtons; ++i) {
        if (items[i].empty()) {
            continue;
        }
        const MarkedText marked = ParseMarkedText(items[i]);
        ButtonMarkup button = defaults;
        button.caption = marked.visible;
        ApplyButtonGroup(button, marked.items);
        buttons.push_back(button);
    }
    return buttons;
}

BoxOptions ParseOptions(std::string_view options) {
    BoxOptions parsed;
    for (char c : options) {
        switch (Upper(c)) {
        case 'C':
            parsed.centre = true;
            break;
        case 'J':
            parsed.justify = true;
            break;
        case 'W':
            parsed.equalWidths = true;
            break;
        case 'L':
            parsed.larger = true;
            break;
        case 'F':
        case 'R':
        case 'S':
            if (parsed.pictureProperties.find(Upper(c)) == std::string::npos) {
                parsed.pictureProperties += Upper(c);
            }
            break;
        default:
            break;
        }
    }
    return parsed;
}

std::string VisibleCaption(std::string_view caption) {
    std::string visible;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                visible += '&';
                ++i;
            }
            continue;
        }
        visible += caption[i];
    }
    return visible;
}

} // namespace kalvara::msgbox
