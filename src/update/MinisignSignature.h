#pragma once
// A minisign signature file (".minisig"), four lines:
//   untrusted comment: <anything>
//   base64 of "Ed" (signs the file itself) or "ED" (signs its BLAKE2b-512
//     hash), the signer's key id and the 64-byte signature
//   trusted comment: <text>
//   base64 of the 64-byte global signature over signature + text
// Only this exact shape is accepted, and nothing longer than 4 KiB.

#include "update/MinisignKey.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvara::update {

inline constexpr std::size_t MaxSignatureBytes = 4096;

struct MinisignSignature {
    bool Prehashed = false;
    MinisignKeyId KeyId{};
    std::array<unsigned char, 64> Signature{};
    std::string TrustedComment; // without its "trusted comment: " prefix
    std::array<unsigned char, 64> GlobalSignature{};
};

std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text);

} // namespace kalvara::update
