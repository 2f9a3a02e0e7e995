#pragma once
// A minisign public key: the key id that names it and the Ed25519 key. Read
// from the base64 line of a ".pub" file, or from the whole file (its
// "untrusted comment:" line first).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::update {

using MinisignKeyId = std::array<unsigned char, 8>;

struct MinisignKey {
    MinisignKeyId KeyId{};
    std::array<unsigned char, 32> PublicKey{};
};

std::optional<MinisignKey> ParseMinisignKey(std::string_view text);

// Exactly `expected` bytes from standard base64 with padding; empty for
// anything else (other lengths, stray characters, missing padding).
std::optional<std::string> DecodeBase64Exactly(std::string_view text, std::size_t expected);

} // namespace kalvara::update
