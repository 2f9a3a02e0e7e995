#include "update/MinisignKey.h"

#include <algorithm>
#include <sodium.h>

namespace kalvara::update {

namespace {

constexpr std::string_view CommentPrefix = "untrusted comment:";

std::string_view TrimLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

} // namespace

std::optional<std::string> DecodeBase64Exactly(std::string_view text, std::size_t expected) {
    // Base64 of `expected` bytes is never longer than this; a longer text is
    // refused before decoding.
    const std::size_t longest = (expected + 2) / 3 * 4;
    if (text.empty() || text.size() > longest) {
        return std::nullopt;
    }
    std::string bytes(expected, '\0');
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), text.data(),
                          text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size() || length != expected) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<MinisignKey> ParseMinisignKey(std::string_view text) {
    // The key is the first line that is not the comment.
    std::string_view line;
    while (!text.empty()) {
        const auto end = text.find('\n');
        line = TrimLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && !line.starts_with(CommentPrefix)) {
            break;
        }
        line = {};
    }
    const auto bytes = DecodeBase64Exactly(line, 2 + 8 + 32);
    if (!bytes || bytes->substr(0, 2) != "Ed") {
        return std::nullopt;
    }
    MinisignKey key;
    std::copy_n(bytes->begin() + 2, key.KeyId.size(), key.KeyId.begin());
    std::copy_n(bytes->begin() + 10, key.PublicKey.size(), key.PublicKey.begin());
    return key;
}

} // namespace kalvara::update
