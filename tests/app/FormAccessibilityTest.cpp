// Every form as a screen reader meets it: each control the keyboard can reach
// has the role its behaviour calls for and a name, and Tab walks the controls
// in reading order.

#include "AppHarness.h"
#include "about/AboutBox.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"
#include "support/FormReading.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace kalvara::test {
namespace {

class FormAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        QAccessible::setActive(true);
        harness_.Start();
    }
    void TearDown() override { QAccessible::setActive(false); }

    AppHarness harness_;
};

TEST_F(FormAccessibility, MainWindowNamesItsFieldByItsCaptionAndDescribesThePreview) {
    // Tab enters the styles at the checked one, wherever it is.
    Click(MainFormName, StyleRadioId(3));
    ExpectReadable(MainFormName);
    const QWidget* year = gui::ControlWidget(MainFormName, YearFieldId);
    EXPECT_EQ(year->accessibleName(), "Calendar starting year:");
    const QString preview =
        gui::ControlWidget(MainFormName, PreviewPictureId)->accessibleDescription();
    EXPECT_EQ(preview, "Preview of the Year calendar");
    // A tooltip is also what the reader says about the control.
    const std::string tip = TooltipOf(MainFormName, StyleRadioId(2));
    EXPECT_FALSE(tip.empty());
    EXPECT_EQ(
        gui::ControlWidget(MainFormName, StyleRadioId(2))->accessibleDescription().toStdString(),
        tip);
}

TEST_F(FormAccessibility, EveryDialogIsReadableAndWalkedByTab) {
    InEveryDialog([](const std::string& form) {
        ExpectReadable(form);
        if (form == PreferencesFormName) {
            // The description follows the state the tooltip describes.
            QWidget* close = gui::ControlWidget(form, CloseButtonId);
            const QString before = close->accessibleDescription();
            Click(form, ShowQuartersBoxId);
            close->setFocus();
            Pump();
            EXPECT_NE(close->accessibleDescription(), before);
        } else if (form == AboutFormName) {
            Click(form, AboutPageButtonId); // the history page
            ExpectReadable(form);
        }
        QTest::keyClick(gui::FormWidget(form), Qt::Key_Escape);
    });
}

TEST_F(FormAccessibility, MessageBoxIsDescribedByItsTextsAndMarksFocusOnDrawnButtons) {
    bool drawnButtonFocused = false;
    harness_.StopAnsweringMessages();
    InDialog(
        msgbox::MessageBoxFormName,
        [] {
            msgbox::ShowMessageBox(MainFormName, "Check Failed", "The first line.",
                                   "The second line.", "", "&Retry{R}|&Cancel{E}", "", 1, "");
        },
        [&] {
            QWidget* box = gui::FormWidget(msgbox::MessageBoxFormName);
            EXPECT_EQ(box->accessibleDescription(), "The first line. The second line.");
            EXPECT_EQ(AccessibilityFaults(box), std::vector<std::string>{});
            auto* cancel =
                gui::ControlWidget(msgbox::MessageBoxFormName, msgbox::FirstButtonId + 1);
            // The program paints these faces; the focus must still show.
            const QImage unfocused = cancel->grab().toImage();
            cancel->setFocus();
            drawnButtonFocused = cancel->hasFocus() && cancel->grab().toImage() != unfocused;
            Click(msgbox::MessageBoxFormName, msgbox::FirstButtonId + 1);
        });
    EXPECT_TRUE(drawnButtonFocused);
}

TEST_F(FormAccessibility, HelpWindowControlsHaveNames) {
    TriggerMenu(MainFormName, MenuHelpContents);
    HelpViewer* help = harness_.App().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(AccessibilityFaults(help), std::vector<std::string>{});
}

} // namespace
} // namespace kalvara::test
