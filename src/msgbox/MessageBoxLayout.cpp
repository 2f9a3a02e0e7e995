#include "msgbox/MessageBoxLayout.h"

#include <algorithm>
#include <cmath>

namespace kalvara::msgbox {

namespace {

constexpr double kLargestSize = 500.0;
constexpr double kNarrowestWrap = 4.0;
constexpr double kLargestPadding = 5.0;
constexpr double kFewestScrolledRows = 3.0;
constexpr double kScrollBarColumns = 2.5;

double Sane(double value) {
    return std::isfinite(value) ? std::clamp(value, 0.0, kLargestSize) : 0.0;
}

// A style's padding, kept within reason so a freak metric cannot swallow the box.
double PaddingOr(double padding, double fallback) {
    return std::isfinite(padding) && padding > 0 ? std::min(padding, kLargestPadding) : fallback;
}

LineExtent Measure(const MeasureLine& measure, int font, const std::string& line) {
    const LineExtent extent = measure(std::max(0, font), line);
    return {Sane(extent.width), Sane(extent.height)};
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const auto bar = text.find('|', start);
        lines.push_back(text.substr(start, bar - start));
        if (bar == std::string::npos) {
            return lines;
        }
        start = bar + 1;
    }
}

bool IsBlankText(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// A UTF-8 word cut into pieces no wider than `width`, never inside a
// character; every piece holds at least one character so the cutting ends.
std::vector<std::string> BreakWord(const std::string& word, double width, int font,
                                   const MeasureLine& measure) {
    std::vector<std::string> pieces;
    std::string current;
    std::size_t at = 0;
    while (at < word.size()) {
        std::size_t next = at + 1;
        while (next < word.size() && (static_cast<unsigned char>(word[next]) & 0xC0) == 0x80) {
            ++next;
        }
        const std::string character = word.substr(at, next - at);
        if (!current.empty() && Measure(measure, font, current + character).width > width) {
            pieces.push_back(current);
            current.clear();
        }
        current += character;
        at = next;
    }
    pieces.push_back(current);
    return pieces;
}

// Lines of a text block after wrapping, with the block's size. `boundWidth`
// (0: none) is the widest the screen allows; it wraps even without a W.
TextBlockLayout LayOutText(const TextMarkup& markup, double boundWidth,
                           const MeasureLine& measure) {
    TextBlockLayout block;
    block.present = !IsBlankText(markup.text);
    block.font = markup.font;
    block.color = markup.color;
    if (!block.present) {
        return block;
    }
    for (const std::string& line : SplitLines(markup.text)) {
        std::vector<std::string> pieces{line};
        if (markup.wrapWidth > 0) {
            pieces = WrapLine(line, markup.wrapWidth, markup.font, measure);
        }
        for (const std::string& piece : pieces) {
            if (boundWidth <= 0) {
                block.lines.push_back(piece);
                continue;
            }
            for (std::string& bounded : WrapLine(piece, boundWidth, markup.font, measure, true)) {
                block.lines.push_back(std::move(bounded));
            }
        }
    }
    double widest = 0;
    for (const std::string& line : block.lines) {
        const LineExtent extent = Measure(measure, markup.font, line);
        widest = std::max(widest, extent.width);
        block.box.height += extent.height;
    }
    block.box.width = widest + 1.0;
    return block;
}

} // namespace

std::vector<std::string> WrapLine(const std::string& line, double width, int font,
                                  const MeasureLine& measure, bool breakLongWords) {
    std::vector<std::string> pieces;
    std::string current;
    bool started = false;
    std::size_t start = 0;
    while (start <= line.size()) {
        auto blank = line.find(' ', start);
        if (blank == std::string::npos) {
            blank = line.size();
        }
        const std::string word = line.substr(start, blank - start);
        start = blank + 1;
        if (started) {
            const std::string candidate = current + " " + word;
            if (Measure(measure, font, candidate).width <= width || IsBlankText(current)) {
                current = candidate;
                continue;
            }
            pieces.push_back(current);
        }
        started = true;
        current = word;
        if (breakLongWords && Measure(measure, font, word).width > width) {
            std::vector<std::string> cut = BreakWord(word, width, font, measure);
            current = cut.back();
            cut.pop_back();
            pieces.insert(pieces.end(), cut.begin(), cut.end());
        }
    }
    pieces.push_back(current);
    return pieces;
}

MessageBoxLayout ComputeMessageBoxLayout(const MessageBoxRequest& request,
                                         const MeasureLine& measure) {
    MessageBoxLayout layout;
    const BoxOptions options = ParseOptions(request.options);
    // L doubles the padding, whichever the style gives.
    const double scale = options.larger ? 2.0 : 1.0;
    const double margin = scale * PaddingOr(request.paddingColumns, 1.0);
    const double gap = scale * PaddingOr(request.paddingRows, 0.5);
    layout.checkTicked = request.initialValue < 0;
    layout.centreTexts = options.centre;
    layout.pictureProperties = options.pictureProperties;

    const TitleMarkup title = ParseTitle(request.title);
    layout.caption = title.caption;
    layout.background = title.background;

    const double pictureWidth = Sane(request.pictureColumns);
    const double pictureHeight = Sane(request.pictureRows);

    // Buttons: defaults, own group, then room for the caption.
    std::vector<ButtonMarkup> buttons = ParseButtonList(request.buttons);
    double widest = 0;
    for (ButtonMarkup& button : buttons) {
        const double caption = Measure(measure, button.font, VisibleCaption(button.caption)).width;
        button.width = std::max(button.width, caption + 1.0);
        widest = std::max(widest, button.width);
    }
    double rowWidth = 0;
    double rowHeight = 0;
    for (ButtonMarkup& button : buttons) {
        if (options.equalWidths) {
            button.width = widest;
        }
        rowWidth += button.width;
        rowHeight = std::max(rowHeight, button.height);
    }
    if (buttons.size() > 1) {
        rowWidth += 1.0 * static_cast<double>(buttons.size() - 1);
    }

    // Texts share what the screen leaves beside the picture and the margins;
    // a bound too small for a few characters is ignored rather than obeyed.
    const double maxWidth = Sane(request.maxWidth);
    double boundWidth = maxWidth - pictureWidth - 2 * margin - 1.0;
    if (maxWidth <= 0 || boundWidth < kNarrowestWrap) {
        boundWidth = 0;
    }
    double cursor = gap;
    layout.text1 = LayOutText(ParseText(request.text1, true), boundWidth, measure);
    layout.text2 = LayOutText(ParseText(request.text2, true), boundWidth, measure);
    for (TextBlockLayout* block : {&layout.text1, &layout.text2}) {
        if (block->present) {
            block->box.row = cursor;
            cursor += block->box.height;
        }
    }

    const TextMarkup check = ParseText(request.checkText, false);
    layout.check.font = check.font;
    layout.check.color = check.color;
    layout.check.present = !check.text.empty();
    if (layout.check.present) {
        layout.check.lines = SplitLines(check.text);
        double checkWidest = 0;
        double checkHeight = 0;
        for (const std::string& line : layout.check.lines) {
            const LineExtent extent = Measure(measure, check.font, line);
            checkWidest = std::max(checkWidest, extent.width);
            checkHeight += extent.height;
        }
        layout.check.box.width = checkWidest + 3.0;
        layout.check.box.height = checkHeight + 0.5;
        layout.check.box.row = cursor;
        cursor += layout.check.box.height;
    }

    // Texts taller than the screen allows, even wrapped, go into one box that
    // scrolls, as small as that leaves it but never below a few lines; the
    // check box and the buttons stay in view below it.
    const double maxHeight = Sane(request.maxHeight);
    const double textsHeight = (layout.text1.present ? layout.text1.box.height : 0.0) +
                               (layout.text2.present ? layout.text2.box.height : 0.0);
    const double overflow = cursor + rowHeight + 2 * gap - maxHeight;
    if (maxHeight > 0 && overflow > 0 && textsHeight > kFewestScrolledRows) {
        const double room = std::max(kFewestScrolledRows, textsHeight - overflow);
        TextBlockLayout& shown = layout.text1.present ? layout.text1 : layout.text2;
        if (&shown == &layout.text1 && layout.text2.present) {
            shown.lines.emplace_back();
            shown.lines.insert(shown.lines.end(), layout.text2.lines.begin(),
                               layout.text2.lines.end());
            shown.box.width = std::max(shown.box.width, layout.text2.box.width);
            layout.text2 = {};
        }
        shown.box.row = gap;
        shown.box.height = room;
        shown.box.width += kScrollBarColumns;
        layout.check.box.row -= textsHeight - room;
        cursor -= textsHeight - room;
        layout.scrollTexts = true;
    }

    double contentWidth = std::max({layout.text1.present ? layout.text1.box.width : 0.0,
                                    layout.text2.present ? layout.text2.box.width : 0.0,
                                    layout.check.present ? layout.check.box.width : 0.0, rowWidth});
    layout.width = pictureWidth + margin + contentWidth + margin;
    const double minWidth = boundWidth > 0
                                ? std::min(title.minWidth, std::max(maxWidth, layout.width))
                                : title.minWidth;
    if (minWidth > layout.width) {
        contentWidth += minWidth - layout.width;
        layout.width = minWidth;
    }
    layout.height = std::max(pictureHeight + 2 * gap, cursor + rowHeight + 2 * gap);
    const double minHeight = maxHeight > 0
                                 ? std::min(title.minHeight, std::max(maxHeight, layout.height))
                                 : title.minHeight;
    if (minHeight > layout.height) {
        const double shift = (minHeight - layout.height) / 2;
        for (TextBlockLayout* block : {&layout.text1, &layout.text2, &layout.check}) {
            block->box.row += shift;
        }
        layout.height = minHeight;
    }

    const double left = pictureWidth + margin;
    layout.showPicture = pictureWidth > 2;
    layout.picture = {margin, gap, pictureWidth, pictureHeight};
    for (TextBlockLayout* block : {&layout.text1, &layout.text2}) {
        block->box.column = left;
        block->box.width = contentWidth;
    }
    layout.check.box.column = left;
    if (options.centre) {
        layout.check.box.column += contentWidth / 2 - layout.check.box.width / 2;
    }

    const double rowTop = layout.height - rowHeight - gap;
    double x = left;
    if (options.justify) {
        x = layout.width - margin - rowWidth;
    } else if (options.centre) {
        x = left + contentWidth / 2 - rowWidth / 2;
    }
    int id = 11;
    for (const ButtonMarkup& button : buttons) {
        ButtonLayout placed;
        placed.id = id++;
        placed.markup = button;
        placed.box = {x, rowTop + rowHeight - button.height, button.width, button.height};
        layout.buttons.push_back(placed);
        x += button.width + 1.0;
    }
    return layout;
}

} // namespace kalvara::msgbox
