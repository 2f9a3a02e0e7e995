// The update flow's own windows as a screen reader meets them, designed by
// the flow itself and shown by the real GUI layer offscreen.

#include "UpdateFlowFixture.h"
#include "support/FormReading.h"

#include <QAccessible>

namespace kalvara::update::test {
namespace {

class UpdateWindowsAccessibility : public UpdateFlowTest {
protected:
    void SetUp() override {
        QAccessible::setActive(true);
        UpdateFlowTest::SetUp();
    }
    void TearDown() override {
        UpdateFlowTest::TearDown();
        QAccessible::setActive(false);
    }

    QAccessibleInterface* Reader(const std::string& form, int id) {
        return QAccessible::queryAccessibleInterface(gui::ControlWidget(form, id));
    }
};

TEST_F(UpdateWindowsAccessibility, DownloadWindowNamesItsProgressAndItsCancelButton) {
    // Shown as the flow shows it while a download runs.
    gui::CreateForm(DownloadFormName, "", "Updating...", 0, 0, 41.5, 6.875, "C");
    kalvara::test::ExpectReadable(DownloadFormName);
    QAccessibleInterface* progress = Reader(DownloadFormName, DownloadProgressId);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->role(), QAccessible::ProgressBar);
    EXPECT_EQ(progress->text(QAccessible::Name), "Downloading Program Update");
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
    WriteSetting(settings_, "Update", "NewVer", "5.4.0.0");
    answers_ = {1};
    flow_->AfterUpdateStep("/update");
    EXPECT_TRUE(read);
    EXPECT_FALSE(gui::FormExists(WhatsNewFormName));
}

} // namespace
} // namespace kalvara::update::test
