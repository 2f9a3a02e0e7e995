#pragma once
// The one way the lower layers tell the user something. The desktop program
// points the hook at its message box, the command line at stderr. Texts carry
// the message-box mark-up: "|" breaks a line, a trailing "{...}" group sets
// fonts and colours.

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kalvara {

using NoticeHook = std::function<void(const std::string& title, const std::string& text1,
                                      const std::string& text2)>;

// Installs the hook for the whole program and returns the one it replaces.
// Without a hook, notices go to stderr with the mark-up removed.
NoticeHook SetNoticeHook(NoticeHook hook);

void ShowNotice(const std::string& title, const std::string& text1, const std::string& text2);

// Installs a hook for as long as it lives and puts the previous one back, so
// that a test or a window that redirects notices for a while cannot forget to.
class ScopedNoticeHook {
public:
    explicit ScopedNoticeHook(NoticeHook hook) : previous_(SetNoticeHook(std::move(hook))) {}
    ScopedNoticeHook(const ScopedNoticeHook&) = delete;
    ScopedNoticeHook& operator=(const ScopedNoticeHook&) = delete;
    ~ScopedNoticeHook() { SetNoticeHook(std::move(previous_)); }

private:
    NoticeHook previous_;
};

// Text as a terminal shows it: mark-up groups removed, "|" as a line break,
// blank lines at either end dropped.
std::string StripMarkup(std::string_view text);

// Text from outside the program (a server's words, a host name, a file path, a
// system message) made safe to place in a notice: its "{" cannot start a
// mark-up group and its "|" cannot break a line; both are shown as they
// stand. Line breaks and other control characters become blanks.
std::string QuoteMarkup(std::string_view plain);

// How QuoteMarkup writes a literal "{" and "|". The message box's parser turns
// the brace back into "{"; the bar stays until the window layer has broken
// the lines at the real bars, and is drawn as "|".
inline constexpr char QuotedBrace = '\x1e';
inline constexpr char QuotedBar = '\x1f';

// Title, text 1 and text 2 of a notice joined into one plain line, for stderr.
std::string PlainNotice(const std::string& title, const std::string& text1,
                        const std::string& text2);

} // namespace kalvara
