#pragma once
// What the download client keeps of a response head.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::update {

struct HttpResponseHead {
    bool has_status_line = false;
    std::string status_code;       // the second word of the status line, "200"
    std::string reason;            // words three to five, "Not Found"
    std::string realm;             // "for " + the realm of "www-authenticate:", for messages
    std::string transfer_encoding; // lower case
    std::string content_encoding;  // lower case; empty when the body is sent as it is
    std::optional<std::uint64_t> content_length;
    std::string connection; // lower case: "keep-alive", "close" or empty
    std::string malformed;  // why the head cannot be trusted; empty when it can

    // Takes one line of the head, without its line end.
    void ApplyLine(std::string_view line);

    // The status code as a number 100..999, or 0 when it is not three digits.
    int NumericStatus() const;

    bool IsChunked() const { return transfer_encoding == "chunked"; }
    // We never ask for an encoding, so a gzip or other body is not the file.
    bool HasForeignEncoding() const {
        return !content_encoding.empty() && content_encoding != "identity";
    }
};

// The head ends at an empty line, or at a line of one blank.
bool IsEndOfHead(std::string_view line);

} // namespace kalvara::update
