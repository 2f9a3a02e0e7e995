#include "core/Notice.h"

#include <cstdio>
#include <utility>

namespace kalvara {

namespace {

// The installed hook. This is the program's only notice channel; it is set
// once at start-up by the front end and read by every layer below it.
NoticeHook& InstalledHook() {
    static NoticeHook hook;
    return hook;
}

std::string TrimNewlines(std::string text) {
    const auto first = text.find_first_not_of('\n');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of('\n');
    return text.substr(first, last - first + 1);
}

} // namespace

NoticeHook SetNoticeHook(NoticeHook hook) {
    return std::exchange(InstalledHook(), std::move(hook));
}

void ShowNotice(const std::string& title, const std::string& text1, const std::string& text2) {
    if (const NoticeHook& hook = InstalledHook()) {
        hook(title, text1, text2);
        return;
    }
    const std::string line = PlainNotice(title, text1, text2);
    std::fprintf(stderr, "%s\n", line.c_str());
}

std::string QuoteMarkup(std::string_view plain) {
    std::string quoted;
    quoted.reserve(plain.size());
    for (char c : plain) {
        if (c == '{') {
            quoted += QuotedBrace;
        } else if (c == '|') {
            quoted += QuotedBar;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    return quoted;
}

std::string StripMarkup(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    bool in_group = false;
    for (char c : text) {
        if (in_group) {
            in_group = c != '}';
            continue;
        }
        if (c == '{') {
            in_group = true;
        } else if (c == '|') {
            plain += '\n';
        } else if (c == QuotedBrace || c == QuotedBar) {
            plain += c == QuotedBrace ? '{' : '|'; // quoted from outside text
        } else {
            plain += c;
        }
    }
    return TrimNewlines(std::move(plain));
}

std::string PlainNotice(const std::string& title, const std::string& text1,
                        const std::string& text2) {
    std::string line = StripMarkup(title);
    for (const std::string* text : {&text1, &text2}) {
        std::string plain = StripMarkup(*text);
        for (char& c : plain) {
            if (c == '\n') {
                c = ' ';
            }
        }
        if (!plain.empty()) {
            line += line.empty() ? "" : ": ";
            line += plain;
        }
    }
    return line;
}

} // namespace kalvara
