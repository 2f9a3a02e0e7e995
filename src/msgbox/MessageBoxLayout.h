#pragma once
// Where everything of a message box goes, worked out from its values alone.
// Text is measured through a callback, so the arithmetic runs without a
// window; the dialog only realises the result. All positions and sizes are in
// character units and never negative.

#include "msgbox/MessageBoxMarkup.h"

#include <functional>
#include <string>
#include <vector>

namespace kalvara::msgbox {

struct LineExtent {
    double width = 0;
    double height = 0;
};

// Measures one line of text in a numbered font (0: the form's font).
using MeasureLine = std::function<LineExtent(int font, const std::string& line)>;

struct MessageBoxRequest {
    std::string title;
    std::string text1;
    std::string text2;
    std::string checkText;
    std::string buttons;
    std::string options;
    int initialValue = 0;
    // The picture's size in pixels converted to character units; 0 without one.
    double pictureColumns = 0;
    double pictureRows = 0;
    // The room the screen leaves for the whole box, in character units; 0
    // leaves that side unbounded. Texts wider than this are wrapped.
    double maxWidth = 0;
    double maxHeight = 0;
    // The platform style's padding around a box's contents, in character
    // units; 0 keeps one column and half a row.
    double paddingColumns = 0;
    double paddingRows = 0;
};

struct Box {
    double column = 0;
    double row = 0;
    double width = 0;
    double height = 0;
};

struct TextBlockLayout {
    bool present = false;
    std::vector<std::string> lines;
    Box box;
    int font = 0;
    int color = -1;
};

struct ButtonLayout {
    int id = 0; // 11 to 20
    ButtonMarkup markup;
    Box box;
};

struct MessageBoxLayout {
    std::string caption;
    int background = 750;
    double width = 0;
    double height = 0;
    bool centreTexts = false;
    bool showPicture = false;
    Box picture;
    std::string pictureProperties;
    TextBlockLayout text1;
    TextBlockLayout text2;
    // The texts did not fit the screen: text1 holds both, in a box that
    // scrolls, and text2 is absent.
    bool scrollTexts = false;
    TextBlockLayout check;
    bool checkTicked = false;
    std::vector<ButtonLayout> buttons;
};

// One "|"-free line broken at blanks so that no piece is wider than `width`.
// A single word wider than that stays whole on its own line unless
// `breakLongWords`, when it is cut between characters instead.
std::vector<std::string> WrapLine(const std::string& line, double width, int font,
                                  const MeasureLine& measure, bool breakLongWords = false);

MessageBoxLayout ComputeMessageBoxLayout(const MessageBoxRequest& request,
                                         const MeasureLine& measure);

} // namespace kalvara::msgbox
