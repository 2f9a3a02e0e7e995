#pragma once
// Reading and planting whole files, shared by the suites of this folder.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kalvara::test {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline long EntryCount(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder),
                         std::filesystem::directory_iterator());
}

} // namespace kalvara::test
