#pragma once
// Reading a file only when it is a regular file (or a link to one), without
// ever blocking: a FIFO, a device or a folder put in its place reads as
// missing. The settings file and the program's own data files (History.rtf,
// help pages, pictures) are read this way.

#include <cstddef>
#include <limits>
#include <string>

namespace kalvara {

struct RegularFile {
    enum class State {
        Missing,    // nothing there
        NotRegular, // something there that is not a regular file
        Unreadable, // a regular file that could not be read; Errno says why
        Read,       // Bytes hold the file, up to the limit asked for
    };
    State Status = State::Missing;
    int Errno = 0;
    std::string Bytes;

    bool WasRead() const { return Status == State::Read; }
};

// True for a regular file or a symbolic link to one.
bool IsRegularFile(const std::string& path);

// The first max_bytes bytes of the file.
RegularFile ReadRegularFile(const std::string& path,
                            std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

} // namespace kalvara
