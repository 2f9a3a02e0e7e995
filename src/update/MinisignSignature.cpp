#include "update/MinisignSignature.h"

#include <algorithm>
#include <vector>

namespace kalvara::update {

namespace {

constexpr std::string_view UntrustedPrefix = "untrusted comment: ";
constexpr std::string_view TrustedPrefix = "trusted comment: ";

// Lines end at LF, a CR before it is dropped; a last line without LF counts.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

bool HasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f;
    });
}

} // namespace

std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text) {
    if (text.size() > MaxSignatureBytes) {
        return std::nullopt;
    }
    auto lines = Lines(text);
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.size() != 4 || !lines[0].starts_with(UntrustedPrefix) ||
        !lines[2].starts_with(TrustedPrefix)) {
        return std::nullopt;
    }
    const auto signature = DecodeBase64Exactly(lines[1], 2 + 8 + 64);
    const auto global = DecodeBase64Exactly(lines[3], 64);
    if (!signature || !global) {
        return std::nullopt;
    }
    MinisignSignature parsed;
    const std::string_view algorithm = std::string_view(*signature).substr(0, 2);
    if (algorithm == "ED") {
        parsed.Prehashed = true;
    } else if (algorithm != "Ed") {
        return std::nullopt;
    }
    parsed.TrustedComment = std::string(lines[2].substr(TrustedPrefix.size()));
    if (HasControlCharacters(parsed.TrustedComment)) {
        return std::nullopt;
    }
    std::copy_n(signature->begin() + 2, parsed.KeyId.size(), parsed.KeyId.begin());
    std::copy_n(signature->begin() + 10, parsed.Signature.size(), parsed.Signature.begin());
    std::copy_n(global->begin(), parsed.GlobalSignature.size(), parsed.GlobalSignature.begin());
    return parsed;
}

} // namespace kalvara::update
