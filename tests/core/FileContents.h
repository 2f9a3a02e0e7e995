#pragma once
// Whole files and the notices shown, for the suites of this folder.

#include "core/Notice.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kalvara::test {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline long EntryCount(const std::filesystem::path& folder) {
    return std::ranges::distance(std::filesystem::directory_iterator(folder));
}

// Each notice as its title, ": " and its two texts run together.
inline NoticeHook RecordInto(std::vector<std::string>& notices) {
    return [&notices](const auto& title, const auto& text1, const auto& text2) {
        notices.push_back(title + ": " + text1 + text2);
    };
}

} // namespace kalvara::test
