#include "AppHarness.h"

#include "gui/Gui.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace kalvara::test {

AppHarness::AppHarness() {
    IsolateEnvironment(root_);
    program_folder_ = root_ / "program/";
    fs::create_directories(program_folder_);
    // No test may reach the network: the automatic update check is not due.
    WriteFile(SettingsFile(), "[Update]\nLastCheck=99999999\n");
}

AppHarness::~AppHarness() {
    gui::ResetForTesting();
    Pump(2);
}

void AppHarness::Start() {
    DesktopOptions options;
    options.program_folder = folder_given_.empty() ? program_folder_ : folder_given_;
    options.open_file = [this](const std::string& path) { opened_.push_back(path); };
    const bool found = reader_found_;
    options.find_pdf_reader = [found]() -> std::string { return found ? "/usr/bin/true" : ""; };
    options.after_update = after_update_;
    options.update_services.show_message_box =
        [this](const std::string&, const std::string& title, const std::string&, const std::string&,
               const std::string&, const std::string& buttons, const std::string&, int,
               const std::string&) {
            update_messages_.push_back(title);
            // The last button is always the one that declines.
            int count = 0;
            for (const char c : buttons) {
                count += c == '|' ? 1 : 0;
            }
            return buttons.rfind("*{", 0) == 0 ? count : count + 1;
        };
    options.update_services.open_url = [this](const std::string& url) { opened_.push_back(url); };
    options.update_services.start_process = [this](const std::string& program,
                                                   const std::vector<std::string>&) {
        started_.push_back(program);
        return true;
    };
    app_ = std::make_unique<DesktopApp>(options);
    gui::InstallEntryPoints(app_->EntryPoints());
    app_->InitialiseGui();
    Pump();
}

std::vector<std::string> AppHarness::Calendars() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(OutputFolder(), error)) {
        files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void Pump(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QAbstractButton* Button(const std::string& form, int id) {
    return qobject_cast<QAbstractButton*>(gui::ControlWidget(form, id));
}

void Click(const std::string& form, int id) {
    QAbstractButton* button = Button(form, id);
    ASSERT_NE(button, nullptr) << form << " has no button " << id;
    button->click();
}

void TriggerMenu(const std::string& form, int id) {
    QWidget* window = gui::FormWidget(form);
    ASSERT_NE(window, nullptr);
    for (QAction* action : window->findChildren<QAction*>()) {
        if (!action->isSeparator() && action->data().toInt() == id) {
            action->trigger();
            return;
        }
    }
    FAIL() << form << " has no menu item " << id;
}

QString TooltipOf(const std::string& form, int id) {
    QWidget* widget = gui::ControlWidget(form, id);
    if (widget == nullptr) {
        return {};
    }
    // QToolTip hides on a timer; take the last tooltip down at once so that
    // only a tooltip shown for this event counts.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "qtooltip_label") {
            top->hide();
        }
    }
    const QPoint local(2, 2);
    QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
    // Long tooltips are wrapped into lines; compare the words.
    return QToolTip::isVisible() ? QToolTip::text().simplified() : QString();
}

} // namespace kalvara::test
