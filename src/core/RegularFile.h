#pragma once
// Reading the program's own data files (History.rtf, help pages, pictures)
// safely: a FIFO, device or folder put in their place is treated as a missing
// file, and looking at it never blocks.

#include <cstddef>
#include <optional>
#include <string>

namespace kalvara {

// True for a regular file or a symbolic link to one.
bool IsRegularFile(const std::string& path);

// The first max_bytes bytes of the file, opened without blocking and read
// only when the opened descriptor is a regular file. Nothing when the file is
// missing, unreadable or of another type.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t max_bytes);

} // namespace kalvara
