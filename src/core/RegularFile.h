#pragma once
// Reading a file only when it is a regular file (or a link to one), without
// ever blocking: a FIFO, a device or a folder in its place reads as missing.

#include <string>

namespace kalvara {

struct RegularFile {
    enum class State {
        Missing,    // nothing there
        NotRegular, // something there that is not a regular file
        Unreadable, // a regular file that could not be read; Errno says why
        Read,       // Bytes hold the whole file
    };
    State Status = State::Missing;
    int Errno = 0;
    std::string Bytes;
};

RegularFile ReadRegularFile(const std::string& path);

} // namespace kalvara
