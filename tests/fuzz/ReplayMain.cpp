// Runs a fuzz target over saved inputs without libFuzzer, so that every build,
// with any compiler, replays the corpus: each argument is a file or a folder
// whose regular files are read in name order. An empty or missing corpus is a
// failure, since a replay of nothing would pass silently.

#include "FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& argument, std::error_code& error) {
    if (!fs::is_directory(argument, error)) {
        return {argument};
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(argument, error)) {
        if (entry.is_regular_file(error)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << file.string() << "\n";
        return false;
    }
    // Exactly the input's size, so that ASan sees reads past its end.
    const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const fs::path& file : InputsOf(argv[i], error)) {
            if (!Replay(file)) {
                return 1;
            }
            ++replayed;
        }
        if (error) {
            std::cerr << "cannot list " << argv[i] << ": " << error.message() << "\n";
            return 1;
        }
    }
    if (replayed == 0) {
        std::cerr << "no inputs to replay\n";
        return 1;
    }
    std::cout << "replayed " << replayed << " inputs\n";
    return 0;
}
