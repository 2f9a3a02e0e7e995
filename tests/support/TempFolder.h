#pragma once
// A fresh folder below the system's temporary folder, removed with everything
// in it when the test ends, so that tests run side by side without meeting.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kalvara::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kalvara-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder from " + pattern);
        }
        // Canonical, so that paths the program resolves compare equal.
        path_ = std::filesystem::canonical(pattern);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // A test may have taken write permission away to provoke a failure.
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(path_, ignored);
    }

    const std::filesystem::path& Path() const { return path_; }
    // A path inside the folder.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string operator/(const std::string& name) const { return File(name); }

private:
    std::filesystem::path path_;
};

} // namespace kalvara::test
