#pragma once
// The output folder is cleared at every start of the desktop program, but it
// may be a folder the user keeps other files in (any folder can be chosen with
// --home), so only the files Kalvara itself writes there are removed.

#include <string>
#include <string_view>

namespace kalvara {

// The file written to ask the desktop which program opens PDF files.
inline constexpr char ProbeFileName[] = "-x.PDF";

// Creates or rewrites the probe file in the folder with the line "X". A link
// or anything but a regular file in its place is left alone, never written
// through, and the write never blocks. True when the probe was written.
bool WriteProbeFile(const std::string& folder);

// True for the probe file and for names of numbered calendars: three digits,
// then "Calendar.PDF" in any case ("007Calendar.PDF", "123calendar.pdf").
bool IsOwnOutputFileName(std::string_view name);

// Removes the regular files in the folder whose names are Kalvara's own;
// folders, links and every other file stay. A folder that cannot be listed is
// left as it is. Returns how many files were removed.
int ClearOutputFolder(const std::string& folder);

} // namespace kalvara
