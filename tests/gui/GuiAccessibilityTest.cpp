// What a screen reader and a keyboard user meet in a form: roles, names taken
// from captions, descriptions, and Tab in reading order.

#include "EventRecorder.h"

#include <QAccessible>
#include <QWidget>

namespace kalvara::gui {
namespace {

using GuiAccessibility = testing::EventRecorder;

QAccessibleInterface* Reader(const std::string& form, int id) {
    return QAccessible::queryAccessibleInterface(ControlWidget(form, id));
}

TEST_F(GuiAccessibility, ControlsHaveRolesNamesAndReadingOrderTabs) {
    // Placed out of reading order on purpose: the field before its caption,
    // the lower button before the upper one.
    Open("AX", 40, 12, [] {
        AddTextField(100, 20, 1, 6, 1, "", "T");
        AddLabel(105, 1, 1, 18, 1, "Calendar starting year:", "L");
        AddButton(120, 1, 8, 10, 1, "Lower", "T");
        AddRadio(110, 1, 3, 10, 1, "First", "GT");
        AddRadio(111, 1, 5, 10, 1, "Second", "T");
        AddCheckBox(115, 20, 3, 10, 1, "Check", "T");
        AddPicture(125, 20, 5, 5, 2, "", "");
    });
    SetAccessibleDescription("AX", 125, "Preview of the Year calendar");

    EXPECT_EQ(Reader("AX", 100)->role(), QAccessible::EditableText);
    EXPECT_EQ(Reader("AX", 100)->text(QAccessible::Name), "Calendar starting year:");
    EXPECT_EQ(Reader("AX", 110)->role(), QAccessible::RadioButton);
    EXPECT_EQ(Reader("AX", 111)->role(), QAccessible::RadioButton);
    EXPECT_EQ(Reader("AX", 115)->role(), QAccessible::CheckBox);
    EXPECT_EQ(Reader("AX", 120)->role(), QAccessible::Button);
    EXPECT_EQ(Reader("AX", 120)->text(QAccessible::Name), "Lower");
    EXPECT_EQ(Reader("AX", 125)->text(QAccessible::Description), "Preview of the Year calendar");

    const std::vector<int> reading{100, 110, 115, 111, 120};
    for (std::size_t i = 1; i < reading.size(); ++i) {
        QWidget* next = ControlWidget("AX", reading[i - 1])->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, ControlWidget("AX", reading[i])) << "after control " << reading[i - 1];
    }
}

} // namespace
} // namespace kalvara::gui
