#pragma once
// Key pairs the minisign tool makes in a test's own folder, and signatures
// made with them: no secret key lives in the sources.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kalvara::update::test {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class MinisignKeys {
public:
    MinisignKeys(const std::filesystem::path& folder, const std::string& name)
        : public_(folder / (name + ".pub")), secret_(folder / (name + ".key")) {
        std::filesystem::create_directories(folder);
        ok_ = Run("minisign -G -f -W -p '" + public_.string() + "' -s '" + secret_.string() + "'");
    }

    bool Ok() const { return ok_; }
    std::string PublicFile() const { return ReadFile(public_); }
    // Only the base64 key line, as the settings file and the build take it.
    std::string PublicLine() const {
        const std::string text = PublicFile();
        const auto start = text.find('\n') + 1;
        return text.substr(start, text.find('\n', start) - start);
    }

    // Writes file + ".minisig"; legacy signs the bytes rather than their hash.
    bool Sign(const std::filesystem::path& file, bool legacy = false) const {
        return Run("minisign -S " + std::string(legacy ? "-l " : "") + "-s '" + secret_.string() +
                   "' -m '" + file.string() + "' -x '" + file.string() + ".minisig'");
    }

private:
    static bool Run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1 </dev/null").c_str()) == 0;
    }

    std::filesystem::path public_, secret_;
    bool ok_ = false;
};

} // namespace kalvara::update::test
