#pragma once
// The inline mark-up of the message box, read without any window: a value's
// visible text runs to its first "{"; from there to the end is its group of
// comma-separated items, each an option letter (either case) followed by a
// decimal number. A missing "}" is forgiven, unknown letters are kept for the
// caller to ignore, and numbers are bounded so that no size can run away.

#include "core/Notice.h" // QuoteMarkup and its stand-ins

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvara::msgbox {

struct MarkupItem {
    char letter = 0;       // upper-case
    double value = 0;      // 0 when the item has no number
    bool hasValue = false; // "G" and "3" carry no number
};

struct MarkedText {
    std::string visible;
    std::vector<MarkupItem> items;
};

// Splits a value into its visible text and its group.
MarkedText ParseMarkedText(std::string_view value);

// The number of the last item with this letter (upper-case), if any.
std::optional<double> FindNumber(const std::vector<MarkupItem>& items, char letter);

// A number from the mark-up as a colour or font number.
int ToNumber(double value);

// Title: caption, B background colour, W and H minimum size.
struct TitleMarkup {
    std::string caption;
    int background = 750;
    double minWidth = 0;
    double minHeight = 0;
};
TitleMarkup ParseTitle(std::string_view title);

// Text blocks and the check box: F font, T text colour, W wrap width
// (texts only; 0 is no wrapping). Font 0 is the form's font, colour -1 the
// default text colour.
struct TextMarkup {
    std::string text;
    int font = 0;
    int color = -1;
    double wrapWidth = 0;
};
TextMarkup ParseText(std::string_view text, bool allowWrap);

enum class ButtonStyle { Standard, ThreeD, RoundRect, Ellipse, Color };

struct ButtonMarkup {
    std::string caption;
    double width = 8.0;
    double height = 1.5;
    int font = 0;
    int background = 750;
    int textColor = 0;
    ButtonStyle style = ButtonStyle::Color;
};

inline constexpr int MaxButtons = 10;

// The button list: "|"-separated; a first item "*{...}" sets the defaults of
// every button; every further non-empty item is one button, at most ten.
std::vector<ButtonMarkup> ParseButtonList(std::string_view list);

// The options string: letters anywhere, either case.
struct BoxOptions {
    bool centre = false;           // C
    bool justify = false;          // J
    bool equalWidths = false;      // W
    bool larger = false;           // L
    std::string pictureProperties; // F, R, S as given
};
BoxOptions ParseOptions(std::string_view options);

// A caption as shown: "&" marks the mnemonic and is not drawn, "&&" is one "&".
std::string VisibleCaption(std::string_view caption);

} // namespace kalvara::msgbox
