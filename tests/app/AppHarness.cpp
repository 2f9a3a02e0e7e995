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

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kalvara-app-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = fs::canonical(pattern).string();
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

void IsolateEnvironment(const TempFolder& root) {
    for (const char* folder : {"home", "runtime", "config", "data", "cache"}) {
        fs::create_directories(root / folder);
    }
    fs::permissions(root / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("HOME", (root / "home").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    ::unsetenv("KALVARA_HOME");
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

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
    options.program_folder = program_folder_;
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

WhenShown::WhenShown(std::string form, std::function<void()> action)
    : done_(std::make_shared<bool>(false)), alive_(std::make_shared<bool>(true)) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, tries, form, action, done = done_, alive = alive_] {
                         // About ten seconds at most.
                         if (!*alive || ++*tries > 2000) {
                             timer->deleteLater();
                             timer->stop();
                             return;
                         }
                         QWidget* window = gui::FormWidget(form);
                         if (window == nullptr || !window->isVisible()) {
                             return;
                         }
                         timer->stop();
                         timer->deleteLater();
                         *done = true;
                         action();
                     });
    timer->start(5);
}

WhenShown::~WhenShown() {
    *alive_ = false;
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
