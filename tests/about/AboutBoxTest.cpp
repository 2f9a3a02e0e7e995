// The About box driven through the window layer's real dispatch, offscreen.

#include "about/AboutBox.h"

#include "gui/Gui.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace kalvara {
namespace {

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        const std::string programFolder = folder_.path().toStdString() + "/";
        gui::InstallEntryPoints(gui::EntryPoints{
            [] {},
            [programFolder](const std::string& form) {
                if (form == AboutFormName) {
                    DesignAboutBox(programFolder);
                }
            },
            [](const std::string& form, int id, int code, int& value, int& cancel) {
                if (form == AboutFormName) {
                    AboutBoxEvent(id, code, value, cancel);
                }
            },
        });
    }

    void TearDown() override { gui::ResetForTesting(); }

    // Opens the box, runs `whileOpen` once it shows, and closes it with its
    // own Close button unless `whileOpen` already did.
    void OpenAndRun(const std::function<void()>& whileOpen) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            whileOpen();
            if (gui::FormExists(AboutFormName)) {
                Click(AboutCloseButtonId);
            }
        });
        OpenAboutBox("");
        EXPECT_TRUE(ran);
        EXPECT_FALSE(gui::FormExists(AboutFormName));
    }

    static void Click(int id) {
        auto* button = qobject_cast<QAbstractButton*>(gui::ControlWidget(AboutFormName, id));
        ASSERT_NE(button, nullptr) << "button " << id;
        button->click();
    }

    static QTextEdit* HistoryBox() {
        return qobject_cast<QTextEdit*>(gui::ControlWidget(AboutFormName, AboutHistoryBoxId));
    }

    static bool Visible(int id) {
        QWidget* widget = gui::ControlWidget(AboutFormName, id);
        return widget != nullptr && widget->isVisible();
    }

    QTemporaryDir folder_;
};

TEST(AboutReleaseDate, ReadsMonthDayYearWithATwoDigitDay) {
    EXPECT_EQ(AboutVersionText(), "Version 5.3.0.0 \u2014 Released 8-06-2017");
}

// Each opening starts on page 1; the second one ends through the window's
// close command rather than the Close button.
TEST_F(AboutBoxTest, FirstPageAndThePageButtonThatTogglesIt) {
    OpenAndRun([] {
        EXPECT_EQ(gui::GetText(AboutFormName, 0), "About Kalvara");
        EXPECT_EQ(gui::GetText(AboutFormName, AboutProductLabelId), "Kalvara");
        EXPECT_EQ(gui::GetText(AboutFormName, AboutVersionLabelId), AboutVersionText());
        EXPECT_EQ(gui::GetText(AboutFormName, AboutRightsLabelId),
                  std::string(RightsNotice) + "|All rights reserved.");
        // The two texts given while their labels load.
        EXPECT_FALSE(gui::GetText(AboutFormName, AboutUseLabelId).empty());
        const std::string thanks = gui::GetText(AboutFormName, AboutThanksLabelId);
        EXPECT_TRUE(thanks.ends_with("in the development of Kalvara.")) << thanks;
        EXPECT_EQ(std::count(thanks.begin(), thanks.end(), '|'), 2) << "three lines";
        for (int id :
             {AboutProductLabelId, AboutUseLabelId, AboutThanksLabelId, AboutCloseButtonId}) {
            EXPECT_TRUE(Visible(id)) << id;
        }
        EXPECT_FALSE(Visible(AboutHistoryBoxId));
        EXPECT_EQ(gui::GetText(AboutFormName, AboutPageButtonId), AboutShowHistoryCaption);

        Click(AboutPageButtonId);
        EXPECT_TRUE(Visible(AboutHistoryBoxId));
        EXPECT_FALSE(Visible(AboutProductLabelId));
        EXPECT_FALSE(Visible(AboutUseLabelId));
        EXPECT_TRUE(Visible(AboutPageButtonId));
        EXPECT_EQ(gui::GetText(AboutFormName, AboutPageButtonId), AboutShowInfoCaption);

        Click(AboutPageButtonId);
        EXPECT_FALSE(Visible(AboutHistoryBoxId));
        EXPECT_TRUE(Visible(AboutProductLabelId));
        EXPECT_EQ(gui::GetText(AboutFormName, AboutPageButtonId), AboutShowHistoryCaption);
        Click(AboutPageButtonId); // left on page 2
    });
    OpenAndRun([] {
        EXPECT_FALSE(Visible(AboutHistoryBoxId));
        EXPECT_EQ(gui::GetText(AboutFormName, AboutPageButtonId), AboutShowHistoryCaption);
        gui::FormWidget(AboutFormName)->close();
    });
}

// The shipped history until the program folder holds one of its own.
TEST_F(AboutBoxTest, HistoryIsShownAsRichTextFromTheProgramFolder) {
    OpenAndRun([] {
        ASSERT_NE(HistoryBox(), nullptr);
        EXPECT_TRUE(HistoryBox()->toPlainText().contains("Version 5.3.0.0"));
    });
    std::ofstream(folder_.path().toStdString() + "/History.rtf", std::ios::binary)
        << R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\b Version 9} caf\'e9\par second})";
    OpenAndRun([] {
        ASSERT_NE(HistoryBox(), nullptr);
        EXPECT_TRUE(HistoryBox()->isReadOnly());
        EXPECT_EQ(HistoryBox()->toPlainText(), QString::fromUtf8("Version 9 caf\u00e9\nsecond"));
    });
}

// A FIFO in the file's place would hold the box up forever if it were read;
// it counts as missing and the shipped history is shown.
TEST_F(AboutBoxTest, AHistoryThatIsNotARegularFileIsPassedOver) {
    ASSERT_EQ(::mkfifo((folder_.path().toStdString() + "/History.rtf").c_str(), 0600), 0);
    OpenAndRun([] {
        ASSERT_NE(HistoryBox(), nullptr);
        EXPECT_TRUE(HistoryBox()->toPlainText().contains("Version 5.3.0.0"));
    });
}

} // namespace
} // namespace kalvara
