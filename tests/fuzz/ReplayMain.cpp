// Replays saved inputs without libFuzzer: each argument is a file or a folder read in name
// order. An empty or missing corpus fails, since a replay of nothing would pass silently.

#include "FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        std::vector<fs::path> files;
        if (!fs::is_directory(argv[i], error)) {
            files.emplace_back(argv[i]); // a missing one fails below, unread
        } else {
            for (const auto& entry : fs::directory_iterator(argv[i], error)) {
                if (entry.is_regular_file(error)) {
                    files.push_back(entry.path());
                }
            }
            if (error) {
                std::cerr << "cannot list " << argv[i] << ": " << error.message() << "\n";
                return 1;
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::cerr << "cannot read " << file.string() << "\n";
                return 1;
            }
            // Exactly the input's size, so that ASan sees reads past its end.
            const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(in),
                                                  std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::cerr << "no inputs to replay\n";
        return 1;
    }
    std::cout << "replayed " << replayed << " inputs\n";
    return 0;
}
