#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding), as the Authorization
// header of Basic authentication needs it.

#include <string>
#include <string_view>

namespace kalvara::update {

std::string Base64Encode(std::string_view bytes);

} // namespace kalvara::update
