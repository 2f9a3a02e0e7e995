// The update flow's own windows as a screen reader meets them: the download
// window and the update information window, designed by the flow itself and
// shown by the real GUI layer offscreen.

#include "core/SettingsStore.h"
#include "gui/Gui.h"
#include "support/FormReading.h"
#include "support/TempFolder.h"
#include "update/UpdateFlow.h"

#include <QAccessible>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace kalvara::update::test {
namespace {

class UpdateWindowsAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        QAccessible::setActive(true);
        gui::InstallEntryPoints(
            {[] {},
             [this](const std::string& form) {
                 if (UpdateFlow::OwnsForm(form)) {
                     flow_.DesignForm(form);
                 }
             },
             [this](const std::string& form, int id, int code, int& value, int& cancel) {
                 if (UpdateFlow::OwnsForm(form)) {
                     flow_.DispatchEvent(form, id, code, value, cancel);
                 }
             }});
        gui::CreateForm("KV", "", "Kalvara", 0, 0, 40, 10, "");
    }
    void TearDown() override {
        gui::ResetForTesting();
        QAccessible::setActive(false);
    }

    QAccessibleInterface* Reader(const std::string& form, int id) {
        return QAccessible::queryAccessibleInterface(gui::ControlWidget(form, id));
    }

    kalvara::test::TempFolder root_;
    UpdateFlow flow_{
        root_.File("Zorv.ini"), root_.Path().string() + "/", root_.File("data"),
        DesktopUpdateServices(
            {[](auto&&...) { return 1; }, [](auto&&...) {}, [](auto&&...) { return false; }, {}})};
};

TEST_F(UpdateWindowsAccessibility, DownloadWindowNamesItsProgressAndItsCancelButton) {
    // Shown as the flow shows it while a download runs.
    gui::CreateForm(DownloadFormName, "", "Updating...", 0, 0, 41.5, 6.875, "C");
    kalvara::test::ExpectReadable(DownloadFormName);
    QAccessibleInterface* progress = Reader(DownloadFormName, DownloadProgressId);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->role(), QAccessible::ProgressBar);
    EXPECT_EQ(progress->text(QAccessible::Name), "Downloading Program Update");
    EXPECT_EQ(Reader(DownloadFormName, DownloadCancelId)->role(), QAccessible::PushButton);
    EXPECT_EQ(Reader(DownloadFormName, DownloadCancelId)->text(QAccessible::Name), "Cancel");
}

TEST_F(UpdateWindowsAccessibility, UpdateInformationNamesItsTextAndClosesFromTheKeyboard) {
    // The window is modal: it is read while it waits for its answer.
    bool read = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* window = gui::FormWidget(WhatsNewFormName);
        if (window == nullptr || !window->isVisible() || read) {
            return;
        }
        read = true;
        kalvara::test::ExpectReadable(WhatsNewFormName);
        QAccessibleInterface* text = Reader(WhatsNewFormName, WhatsNewTextId);
        EXPECT_EQ(text ? text->text(QAccessible::Name) : "", "Program history");
        EXPECT_TRUE(text && text->state().readOnly);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    poll.start(20);
    // As after an installer ran: its report is answered "See What's New".
    WriteSetting(root_.File("Zorv.ini"), "Update", "NewVer", "5.4.0.0");
    flow_.AfterUpdateStep("/update");
    EXPECT_TRUE(read);
    EXPECT_FALSE(gui::FormExists(WhatsNewFormName));
}

} // namespace
} // namespace kalvara::update::test
