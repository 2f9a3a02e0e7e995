#include "update/HttpSyntax.h"

#include "core/TextHelpers.h"

#include <cstdio>

namespace kalvara::update {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HasBlankOrControl(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    std::uint32_t port = 0; // at most 99999 with five digits
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

} // namespace

std::optional<HostAndPort> SplitHostPort(std::string_view host) {
    if (host.empty() || HasBlankOrControl(host)) {
        return std::nullopt;
    }
    HostAndPort result;
    std::string_view rest;
    if (host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string_view::npos || close == 1) {
            return std::nullopt;
        }
        result.name = std::string(host.substr(1, close - 1));
        rest = host.substr(close + 1);
    } else {
        const auto colon = host.find(':');
        result.name = std::string(host.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view{} : host.substr(colon);
    }
    if (result.name.empty()) {
        return std::nullopt;
    }
    if (!rest.empty()) {
        if (rest.front() != ':') {
            return std::nullopt;
        }
        const auto port = ParsePort(rest.substr(1));
        if (!port) {
            return std::nullopt;
        }
        result.port = *port;
    }
    return result;
}

bool IsSafeRequestPath(std::string_view path) {
    return !path.empty() && path.front() == '/' && !HasBlankOrControl(path);
}

std::optional<std::uint64_t> ParseContentLength(std::string_view value) {
    value = TrimSpacesAndTabs(value);
    if (value.empty()) {
        return std::nullopt;
    }
    std::uint64_t length = 0;
    for (char c : value) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        length = length * 10 + static_cast<std::uint64_t>(c - '0');
        if (length > MaxBodyBytes) { // checked every digit, so it never overflows
            return std::nullopt;
        }
    }
    return length;
}

std::optional<std::uint64_t> ParseChunkSize(std::string_view line) {
    std::size_t pos = 0;
    std::uint64_t size = 0;
    while (pos < line.size() && HexDigitValue(line[pos]) >= 0) {
        size = size * 16 + static_cast<std::uint64_t>(HexDigitValue(line[pos]));
        if (size > MaxBodyBytes) {
            return std::nullopt;
        }
        ++pos;
    }
    if (pos == 0) {
        return std::nullopt;
    }
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos < line.size() && line[pos] != ';') {
        return std::nullopt;
    }
    return size;
}

std::string UserAgent() {
    std::string runtime;
#if defined(_LIBCPP_VERSION)
    runtime = "libc++ " + std::to_string(_LIBCPP_VERSION);
#elif defined(__GLIBCXX__)
    runtime = "libstdc++ " + std::to_string(__GLIBCXX__);
#else
    runtime = "C++ " + std::to_string(__cplusplus);
#endif
#if defined(__clang__)
    runtime += "; Clang " __clang_version__;
#elif defined(__GNUC__)
    runtime += "; GCC " + std::to_string(__GNUC__) + "." + std::to_string(__GNUC_MINOR__) + "." +
               std::to_string(__GNUC_PATCHLEVEL__);
#endif
    return "Divora/1.82 (" + runtime + ")";
}

} // namespace kalvara::update
