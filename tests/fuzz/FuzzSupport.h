#pragma once
// Shared by the fuzz targets: a property that does not hold aborts, so that libFuzzer
// keeps the input and a corpus replay fails under CTest.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kalvara::fuzz {

inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property does not hold: %s\n", property);
        std::abort();
    }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string_view()
                     : std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input cut at every separator into exactly `count` fields; missing fields
// are empty and the last one keeps any further separators.
inline std::vector<std::string> SplitFields(std::string_view text, char separator,
                                            std::size_t count) {
    std::vector<std::string> fields;
    while (fields.size() + 1 < count) {
        const std::size_t end = text.find(separator);
        if (end == std::string_view::npos) {
            break;
        }
        fields.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    fields.emplace_back(text);
    fields.resize(count);
    return fields;
}

} // namespace kalvara::fuzz
