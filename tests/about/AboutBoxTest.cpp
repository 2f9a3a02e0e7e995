#include "about/AboutBox.h"

#include "gui/Gui.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QTextEdit>
#include <QTimer>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace kalvara {
namespace {

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override {
        gui::InstallEntryPoints(gui::EntryPoints{
            [] {}, [this](const std::string&) { DesignAboutBox(folder_.Path().string() + "/"); },
            [](const std::string&, int id, int code, int& value, int& cancel) {
                AboutBoxEvent(id, code, value, cancel);
            }});
    }

    void TearDown() override { gui::ResetForTesting(); }

    // Opens the box, runs `whileOpen` once it shows, and closes it with the
    // window's own close command unless `whileOpen` already closed it.
    static void OpenAndRun(const std::function<void()>& whileOpen) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            whileOpen();
            if (gui::FormExists(AboutFormName)) {
                gui::FormWidget(AboutFormName)->close();
            }
        });
        OpenAboutBox("");
        EXPECT_TRUE(ran);
        EXPECT_FALSE(gui::FormExists(AboutFormName));
    }

    static void Click(int id) {
        qobject_cast<QAbstractButton*>(gui::ControlWidget(AboutFormName, id))->click();
    }

    static std::string History() {
        auto* box = qobject_cast<QTextEdit*>(gui::ControlWidget(AboutFormName, AboutHistoryBoxId));
        return box->isReadOnly() ? box->toPlainText().toStdString() : "(editable)";
    }

    test::TempFolder folder_;
};

// Each opening starts on page 1, whichever page the last one ended on; the
// shipped history shows until the program folder holds one of its own.
TEST_F(AboutBoxTest, ThePageButtonTogglesBetweenInfoAndReadOnlyHistory) {
    // Whether product label, statement of use and history show, then the
    // page button's caption.
    const auto page = [] {
        std::string shown;
        for (const int id : {AboutProductLabelId, AboutUseLabelId, AboutHistoryBoxId}) {
            shown += gui::ControlWidget(AboutFormName, id)->isVisible() ? "1" : "0";
        }
        return shown + " " + gui::GetText(AboutFormName, AboutPageButtonId);
    };
    const std::string info = std::string("110 ") + AboutShowHistoryCaption;
    OpenAndRun([&] {
        // The texts given while their labels load.
        EXPECT_TRUE(gui::GetText(AboutFormName, AboutThanksLabelId).ends_with("of Kalvara."));
        EXPECT_EQ(gui::GetText(AboutFormName, AboutVersionLabelId),
                  "Version 5.3.0.0 \u2014 Released 8-06-2017");
        EXPECT_EQ(page(), info);
        Click(AboutPageButtonId);
        EXPECT_EQ(page(), std::string("001 ") + AboutShowInfoCaption);
        EXPECT_NE(History().find("Version 5.3.0.0"), std::string::npos);
        Click(AboutPageButtonId);
        EXPECT_EQ(page(), info);
        Click(AboutPageButtonId);
        Click(AboutCloseButtonId);
        EXPECT_FALSE(gui::FormExists(AboutFormName));
    });
    std::ofstream(folder_ / "History.rtf", std::ios::binary)
        << R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\b Version 9} caf\'e9\par second})";
    OpenAndRun([&] {
        EXPECT_EQ(page(), info);
        EXPECT_EQ(History(), "Version 9 caf\u00e9\nsecond");
    });
}

} // namespace
} // namespace kalvara
