#include "AppHarness.h"

#include "about/AboutBox.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/PrintRangeDialog.h"
#include "gui/Gui.h"
#include "msgbox/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

namespace kalvara::test {

AppHarness::AppHarness(const std::string& settings) : program_folder_(root_ / "program/") {
    WriteFile(SettingsFile(), settings);
    QObject::connect(&message_timer_, &QTimer::timeout, [this] {
        const std::string form = msgbox::MessageBoxFormName;
        if (QWidget* box = gui::FormWidget(form); box == nullptr || !box->isVisible()) {
            return;
        }
        // The texts as one line: the box may break them where it likes.
        message_titles.push_back(gui::GetText(form, 0));
        message_texts.push_back(QString::fromStdString(gui::GetText(form, msgbox::Text1Id) + " " +
                                                       gui::GetText(form, msgbox::Text2Id))
                                    .replace(QLatin1Char('|'), QLatin1Char(' '))
                                    .simplified()
                                    .toStdString());
        Click(form, msgbox::FirstButtonId);
    });
    message_timer_.start(5);
}

AppHarness::~AppHarness() {
    gui::ResetForTesting();
    Pump(2);
}

void AppHarness::Start() {
    DesktopOptions options;
    FolderSources folders;
    folders.HomeOption = folder_given.empty() ? program_folder_ : folder_given;
    options.paths = ResolveProgramPaths(folders).Paths;
    options.open_file = [this](const std::string& path) { opened.push_back(path); };
    options.find_pdf_reader = [found = reader_found] {
        return std::string(found ? "/usr/bin/true" : "");
    };
    options.after_update = after_update;
    options.update_services.show_message_box = [this](const std::string&, const std::string& title,
                                                      const auto&...) {
        update_messages.push_back(title);
        return update_answer;
    };
    options.open_web_page = [this](const std::string& url) {
        opened.push_back(url);
        return browser_starts;
    };
    options.choose_export_file = [this](const std::string& suggested_name) {
        export_suggestions.push_back(suggested_name);
        return export_answer;
    };
    options.update_services.start_process = [](const std::string&,
                                               const std::vector<std::string>&) { return false; };
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

std::string AppHarness::HelpPage() {
    return app_->Help() == nullptr ? "" : app_->Help()->CurrentPage().fileName().toStdString();
}

void Pump(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void Click(const std::string& form, int id) {
    auto* button = qobject_cast<QAbstractButton*>(gui::ControlWidget(form, id));
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

void Type(const std::string& form, int id, const std::string& text) {
    auto* field = qobject_cast<QLineEdit*>(gui::ControlWidget(form, id));
    ASSERT_NE(field, nullptr) << form << " has no field " << id;
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, QString::fromStdString(text));
}

std::string TooltipOf(const std::string& form, int id) {
    QWidget* widget = gui::ControlWidget(form, id);
    if (widget == nullptr) {
        return {};
    }
    // Take the last tooltip down at once: QToolTip hides it only on a timer.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "qtooltip_label") {
            top->hide();
        }
    }
    const QPoint local(2, 2);
    QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
    // Long tooltips are wrapped into lines; compare the words.
    return QToolTip::isVisible() ? QToolTip::text().simplified().toStdString() : std::string();
}

void InDialog(const std::string& form, const std::function<void()>& open,
              const std::function<void()>& answer) {
    bool answered = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* window = gui::FormWidget(form); window != nullptr && window->isVisible()) {
            timer.stop();
            answered = true;
            answer();
        }
    });
    timer.start(5);
    open();
    EXPECT_TRUE(answered) << form << " did not show";
    EXPECT_FALSE(gui::FormExists(form)) << form << " stayed";
}

void InEveryDialog(const std::function<void(const std::string& form)>& answer) {
    Click(MainFormName, StyleRadioId(1));
    for (const auto& [form, open] : std::vector<std::pair<std::string, std::function<void()>>>{
             {PrintRangeFormName, [] { Click(MainFormName, GenerateButtonId); }},
             {PreferencesFormName, [] { TriggerMenu(MainFormName, MenuPreferences); }},
             {AboutFormName, [] { TriggerMenu(MainFormName, MenuAbout); }}}) {
        InDialog(form, open, [&] { answer(form); });
    }
}

std::string ClosedVersionUrl() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return "VersionUrl=http://127.0.0.1:" + std::to_string(server.serverPort()) +
           "/ZorvVersion.txt\n";
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace kalvara::test
