#pragma once
// Checks on a file named with -o, made before anything is drawn, so that a
// mistyped or protected path is refused as bad input and never half-written.

#include <string>

namespace kalvara::cli {

// "-": the output goes to standard output instead of a file.
inline constexpr const char* StandardOutputName = "-";

// Why the path cannot be written, as the end of "cannot write PATH: ..."; empty
// when it can. Refused: a folder, a device, a FIFO or socket (also behind a
// link), a file without write permission (even for root: the user protected
// it), and a path whose folder is missing or not writable.
std::string OutputFileProblem(const std::string& path);

// The file to replace for the path: the one at the end of its links, so that
// a link named with -o stays a link; the path itself when nothing is there.
std::string FileBehindLinks(const std::string& path);

} // namespace kalvara::cli
