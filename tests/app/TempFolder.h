#pragma once
// Temporary folders and files for the desktop program's tests.

#include <string>

namespace kalvara::test {

// A folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Points HOME, XDG_RUNTIME_DIR and the XDG folders below `root`.
void IsolateEnvironment(const TempFolder& root);

// The text of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);
// Writes a file, creating its folder.
void WriteFile(const std::string& path, const std::string& text);

} // namespace kalvara::test
