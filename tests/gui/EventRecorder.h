#pragma once
// The next form opened gets its own design routine, each form name its own event
// routine, and every event reaching DispatchEvent is recorded.

#include "gui/Gui.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
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
        const auto design = [this](const std::string&) {
            if (const auto routine = std::exchange(design_, {})) {
                routine();
            }
        };
        const auto dispatch = [this](const std::string& form, int id, int code, int& value,
                                     int& cancel) {
            events.push_back({form, id, code, value, EventText()});
            if (const auto found = handlers.find(form); found != handlers.end()) {
                found->second(id, code, value, cancel);
            }
        };
        InstallEntryPoints(EntryPoints{[] {}, design, dispatch});
    }
    ~EventRecorder() override { ResetForTesting(); }

    std::vector<RecordedEvent> Of(const std::string& form, int code) const {
        std::vector<RecordedEvent> found;
        std::ranges::copy_if(events, std::back_inserter(found), [&](const RecordedEvent& e) {
            return e.form == form && e.code == code;
        });
        return found;
    }
    std::vector<int> IdsOf(const std::string& form, int code) const {
        return Fields(form, code, &RecordedEvent::id);
    }
    std::vector<int> ValuesOf(const std::string& form, int code) const {
        return Fields(form, code, &RecordedEvent::value);
    }

    void Open(const std::string& form, double width, double height,
              std::function<void()> design = {}, const std::string& parent = "") {
        design_ = std::move(design);
        CreateForm(form, parent, form, 0, 0, width, height, "");
    }

    // A control of another class fails the test rather than crashing it.
    template <typename T> static T& Widget(const std::string& form, int id) {
        if (auto* widget = qobject_cast<T*>(ControlWidget(form, id))) {
            return *widget;
        }
        throw std::logic_error(form + " has no such widget as control " + std::to_string(id));
    }

    std::map<std::string, EventHandler> handlers;
    std::vector<RecordedEvent> events;

private:
    std::vector<int> Fields(const std::string& form, int code, int RecordedEvent::*field) const {
        std::vector<int> found;
        std::ranges::transform(Of(form, code), std::back_inserter(found), field);
        return found;
    }

    std::function<void()> design_;
};

} // namespace kalvara::gui::testing
