#pragma once
// Entry points for tests: each form name gets its own design and event
// routine, and every event that reaches DispatchEvent is recorded.

#include "gui/Gui.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvara::gui::testing {

struct RecordedEvent {
    std::string form;
    int id = 0;
    int code = 0;
    int value = 0;
    std::string text;
};

using EventHandler = std::function<void(int id, int code, int& value, int& cancel)>;

class EventRecorder : public ::testing::Test {
protected:
    EventRecorder() {
        ResetForTesting();
        InstallEntryPoints(
            EntryPoints{[] {},
                        [this](const std::string& form) {
                            if (auto found = designers.find(form); found != designers.end()) {
                                found->second();
                            }
                        },
                        [this](const std::string& form, int id, int code, int& value, int& cancel) {
                            events.push_back({form, id, code, value, EventText()});
                            if (auto found = handlers.find(form); found != handlers.end()) {
                                found->second(id, code, value, cancel);
                            }
                        }});
    }
    ~EventRecorder() override { ResetForTesting(); }

    std::vector<RecordedEvent> Of(const std::string& form, int code) const {
        std::vector<RecordedEvent> found;
        std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                     [&](const RecordedEvent& e) { return e.form == form && e.code == code; });
        return found;
    }

    // The ids of the form's events of that code, in the order they came.
    std::vector<int> IdsOf(const std::string& form, int code) const {
        std::vector<int> ids;
        for (const RecordedEvent& e : Of(form, code)) {
            ids.push_back(e.id);
        }
        return ids;
    }

    // A plain form captioned with its name, designed by `design`.
    void Open(const std::string& form, double width, double height,
              const std::function<void()>& design = {}, const std::string& parent = "") {
        designers[form] = design ? design : [] {};
        CreateForm(form, parent, form, 0, 0, width, height, "");
    }

    static void Activate(const std::string& form) {
        QWidget* window = FormWidget(form);
        window->activateWindow();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // The control's widget as the Qt class it must be; a test that meets
    // another one fails rather than crashes.
    template <typename T> static T& Widget(const std::string& form, int id) {
        auto* widget = qobject_cast<T*>(ControlWidget(form, id));
        if (widget == nullptr) {
            throw std::logic_error(form + " has no such widget as control " + std::to_string(id));
        }
        return *widget;
    }

    std::map<std::string, std::function<void()>> designers;
    std::map<std::string, EventHandler> handlers;
    std::vector<RecordedEvent> events;
};

} // namespace kalvara::gui::testing
