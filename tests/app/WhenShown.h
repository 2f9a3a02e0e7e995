#pragma once
// Answers a modal form from inside the call that opens it.

#include <functional>
#include <memory>
#include <string>

namespace kalvara::test {

// While a call that opens a modal form runs, does `action` once the form is
// shown. Give up after a while so that a form that never shows cannot hang
// the test; `Done()` tells whether the action ran.
class WhenShown {
public:
    WhenShown(std::string form, std::function<void()> action);
    ~WhenShown();
    bool Done() const { return *done_; }

private:
    std::shared_ptr<bool> done_;
    std::shared_ptr<bool> alive_;
};

} // namespace kalvara::test
