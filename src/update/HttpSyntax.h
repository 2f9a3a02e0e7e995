#pragma once
// The small pieces of HTTP text the download client reads and writes, as pure
// functions so that every malformed form can be tried without a server.

#include "core/TextHelpers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::update {

// No body, chunk or length above this is accepted: 4 GiB is far beyond any
// installer, and the limit keeps a hostile answer from filling the disk.
inline constexpr std::uint64_t MaxBodyBytes = std::uint64_t{1} << 32;

struct HostAndPort {
    std::string name; // without brackets for an IPv6 literal
    std::uint16_t port = 80;
};

// "example.org", "example.org:8080", "127.0.0.1:8080", "[::1]:8080". Empty
// when the name is empty, the port is not a number in 1..65535, or the text
// holds blanks or control characters.
std::optional<HostAndPort> SplitHostPort(std::string_view host);

// A request path may go on the request line only when it starts with "/" and
// holds no blanks or control characters (which would split the request).
bool IsSafeRequestPath(std::string_view path);

// The value of "content-length:": decimal digits only, at most MaxBodyBytes.
std::optional<std::uint64_t> ParseContentLength(std::string_view value);

// A chunk-size line: hexadecimal digits, then optionally blanks and a ";"
// extension. Empty for anything else and for sizes above MaxBodyBytes.
std::optional<std::uint64_t> ParseChunkSize(std::string_view line);

// The User-Agent value; its comment names the C++ run-time and the compiler.
std::string UserAgent();

} // namespace kalvara::update
