#pragma once
// The streams a command works with, and the two ways it ends: refused input
// (one line, status 2) and output that could not be written (one line,
// status 1).

#include "cli/OutputWriter.h"

#include <cstdio>
#include <string_view>

namespace kalvara::cli {

struct CommandIo {
    std::FILE* In = nullptr;
    std::FILE* Out = nullptr;
    std::FILE* Err = nullptr;
};

// Exit status of a refused command line.
inline constexpr int BadInput = 2;
// Exit status when nothing, or not everything, could be written.
inline constexpr int NotWritten = 1;

// "kalvara-cli: COMMAND: MESSAGE" on one line of the error stream (without
// "COMMAND: " when command is empty). Returns BadInput.
int Refuse(const CommandIo& io, std::string_view command, std::string_view message);

// Finishes the output. When any part of it could not be written, says so in
// one line and returns NotWritten; otherwise returns status.
int FinishOutput(OutputWriter& out, const CommandIo& io, std::string_view command, int status);

} // namespace kalvara::cli
