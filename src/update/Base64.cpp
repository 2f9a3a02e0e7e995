#include "update/Base64.h"

#include <cstdint>

namespace kalvara::update {

std::string Base64Encode(std::string_view bytes) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t pos = 0;
    // Whole groups of three bytes become four characters.
    for (; pos + 3 <= bytes.size(); pos += 3) {
        const std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 1])) << 8 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 2]));
        encoded += alphabet[(group >> 18) & 0x3F];
        encoded += alphabet[(group >> 12) & 0x3F];
        encoded += alphabet[(group >> 6) & 0x3F];
        encoded += alphabet[group & 0x3F];
    }
    // One or two bytes left: pad the last group to four characters.
    const std::size_t rest = bytes.size() - pos; // 0..2
    if (rest > 0) {
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos]))
                              << 16;
        if (rest == 2) {
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 1])) << 8;
        }
        encoded += alphabet[(group >> 18) & 0x3F];
        encoded += alphabet[(group >> 12) & 0x3F];
        encoded += rest == 2 ? alphabet[(group >> 6) & 0x3F] : '=';
        encoded += '=';
    }
    return encoded;
}

} // namespace kalvara::update
