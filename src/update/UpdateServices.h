#pragma once
// What the update flow asks of the world outside it. The desktop program
// takes the defaults; tests put recorders in their place so that no browser
// opens and every question can be answered by script.

#include "engine/CivilDate.h"

#include <functional>
#include <string>
#include <vector>

namespace kalvara::update {

struct UpdateServices {
    // The message box: parent form, title, text 1, text 2, check-box text,
    // buttons, picture, initial value, options; returns the answer.
    std::function<int(const std::string& parent, const std::string& title, const std::string& text1,
                      const std::string& text2, const std::string& check_text,
                      const std::string& buttons, const std::string& picture, int initial_value,
                      const std::string& options)>
        show_message_box;
    // Opens a web address in the desktop's browser.
    std::function<void(const std::string& url)> open_url;
    // Starts a program detached from this one; false when it could not start.
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>
        start_process;
    // Today's day number.
    std::function<DayNumber()> today;
};

// The services of the desktop program: the message box, the desktop's URL
// handler, a detached process, the local date. Any member left empty in
// `overrides` is filled from these.
UpdateServices DesktopUpdateServices(UpdateServices overrides = {});

} // namespace kalvara::update
