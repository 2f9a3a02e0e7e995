// A message box laid out from any values and mark-up by a measurer that may misbehave.

#include "FuzzSupport.h"
#include "msgbox/MessageBoxLayout.h"
#include "msgbox/MessageBoxMarkup.h"

#include <cmath>
#include <limits>

namespace {

using kalvara::fuzz::Require;
using namespace kalvara::msgbox;

bool IsSane(double value) {
    return std::isfinite(value) && value >= 0;
}

void CheckBox(const Box& box) {
    Require(IsSane(box.column) && IsSane(box.row), "a position is finite and not negative");
    Require(IsSane(box.width) && IsSane(box.height), "a size is finite and not negative");
}

void CheckBlock(const TextBlockLayout& block) {
    CheckBox(block.box);
    for (const std::string& line : block.lines) {
        Require(line.find('|') == std::string::npos, "a laid-out line holds no line break");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Two bytes steer the measurer and the initial check-box value; the rest
    // are the six values of a message box, separated by NUL bytes.
    const unsigned quirk = data[0];
    const std::vector<std::string> fields =
        kalvara::fuzz::SplitFields(kalvara::fuzz::AsText(data + 2, size - 2), '\0', 6);

    const MessageBoxRequest request{.title = fields[0],
                                    .text1 = fields[1],
                                    .text2 = fields[2],
                                    .checkText = fields[3],
                                    .buttons = fields[4],
                                    .options = fields[5],
                                    .initialValue = data[1] % 3 - 1,
                                    .pictureColumns = quirk % 5 == 0 ? 0 : quirk / 4.0,
                                    .pictureRows = quirk % 7 == 0 ? -1 : quirk / 8.0};

    // Widths grow with the text, as a real font's do, except that some fonts
    // answer nonsense, which the layout must not pass on.
    const MeasureLine measure = [quirk](int font, const std::string& line) {
        Require(font >= 0, "the measurer is asked for a real font number");
        constexpr double infinity = std::numeric_limits<double>::infinity();
        const double length = static_cast<double>(line.size());
        const LineExtent nonsense[] = {
            {std::nan(""), 1.0}, {infinity, -infinity}, {-length, -2.0}, {1e300, 1e300}};
        const unsigned pick = (quirk + static_cast<unsigned>(font)) % 8;
        return pick < 4 ? nonsense[pick]
                        : LineExtent{0.6 * length * (1 + font % 3), 1.0 + font % 2};
    };
    const MessageBoxLayout layout = ComputeMessageBoxLayout(request, measure);
    Require(IsSane(layout.width) && IsSane(layout.height), "the box has a sane size");
    CheckBox(layout.picture);
    CheckBlock(layout.text1);
    CheckBlock(layout.text2);
    CheckBlock(layout.check);
    Require(layout.buttons.size() <= static_cast<std::size_t>(MaxButtons), "at most ten buttons");
    for (const ButtonLayout& button : layout.buttons) {
        CheckBox(button.box);
        Require(button.id >= 11 && button.id <= 20, "button ids run from 11 to 20");
        Require(IsSane(button.markup.width) && IsSane(button.markup.height),
                "a button's own size is sane");
    }

    for (const MarkupItem& item : ParseMarkedText(fields[1]).items) {
        Require(std::isfinite(item.value), "a mark-up number is finite");
        Require(!(item.letter >= 'a' && item.letter <= 'z'), "mark-up letters are upper case");
    }
    const std::string caption = VisibleCaption(fields[4]);
    Require(caption.size() <= fields[4].size(), "a visible caption is never longer");
    return 0;
}
