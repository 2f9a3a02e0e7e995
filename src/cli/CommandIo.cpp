#include "cli/CommandIo.h"

#include <fmt/format.h>

namespace kalvara::cli {

namespace {

void Say(const CommandIo& io, std::string_view command, std::string_view message) {
    if (command.empty()) {
        fmt::print(io.Err, "kalvara-cli: {}\n", message);
    } else {
        fmt::print(io.Err, "kalvara-cli: {}: {}\n", command, message);
    }
    std::fflush(io.Err);
}

} // namespace

int Refuse(const CommandIo& io, std::string_view command, std::string_view message) {
    Say(io, command, message);
    return BadInput;
}

int FinishOutput(OutputWriter& out, const CommandIo& io, std::string_view command, int status) {
    if (out.Finish()) {
        return status;
    }
    Say(io, command, "cannot write to standard output: " + out.Problem());
    return NotWritten;
}

} // namespace kalvara::cli
