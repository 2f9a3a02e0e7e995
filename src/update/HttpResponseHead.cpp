#include "update/HttpResponseHead.h"

#include "update/HttpSyntax.h"

#include <vector>

namespace kalvara::update {

namespace {

std::vector<std::string_view> BlankSeparatedWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(line.substr(start, pos - start));
        }
    }
    return words;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool IsEndOfHead(std::string_view line) {
    return line.empty() || line == " ";
}

void HttpResponseHead::ApplyLine(std::string_view line) {
    if (StartsWith(line, "HTTP")) {
        const auto words = BlankSeparatedWords(line);
        has_status_line = true;
        status_code = words.size() > 1 ? std::string(words[1]) : std::string();
        reason.clear();
        for (std::size_t i = 2; i < words.size() && i < 5; ++i) {
            reason += reason.empty() ? "" : " ";
            reason += words[i];
        }
        return;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
        return;
    }
    const std::string name = AsciiLower(TrimSpacesAndTabs(line.substr(0, colon)));
    const std::string_view value = TrimSpacesAndTabs(line.substr(colon + 1));
    if (name == "www-authenticate") {
        // Kept as the server wrote it, quotes and all: it reads as a quoted
        // name in a message ("for "Updates"").
        const auto at = AsciiLower(value).find("realm=");
        if (at != std::string::npos) {
            realm = "for " + std::string(value.substr(at + 6));
        }
    } else if (name == "transfer-encoding") {
        transfer_encoding = AsciiLower(value);
    } else if (name == "content-encoding") {
        content_encoding = AsciiLower(value);
    } else if (name == "content-length") {
        const auto length = ParseContentLength(value);
        if (!length) {
            malformed = "The server sent an invalid content length.";
        } else if (content_length && *content_length != *length) {
            malformed = "The server sent two different content lengths.";
        } else {
            content_length = length;
        }
    } else if (name == "connection") {
        connection = AsciiLower(value);
    }
}

int HttpResponseHead::NumericStatus() const {
    if (status_code.size() != 3) {
        return 0;
    }
    int number = 0;
    for (char c : status_code) {
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number >= 100 ? number : 0;
}

} // namespace kalvara::update
