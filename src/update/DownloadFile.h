#pragma once
// The local file a download writes. Until Keep() succeeds the file is only a
// partial download, and it is deleted when this object goes away: whatever
// way a download ends early, no half-written file is left behind.

#include "core/UniqueFd.h"

#include <cstddef>
#include <string>

namespace kalvara::update {

class DownloadFile {
public:
    DownloadFile() = default;
    ~DownloadFile() { Discard(); }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // Creates or empties the file, readable and writable by the owner only.
    // A symbolic link at that name is refused rather than followed. On
    // failure returns false and puts the reason into error.
    bool Open(const std::string& path, std::string& error);

    bool Write(const char* data, std::size_t size, std::string& error);

    // Flushes the data to the disk and closes the file, which then stays.
    bool Keep(std::string& error);

    // Closes and deletes the partial file; nothing happens when none is open.
    void Discard();

    bool IsOpen() const { return fd_.Valid(); }

private:
    UniqueFd fd_;
    std::string path_;
};

} // namespace kalvara::update
