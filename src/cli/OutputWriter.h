#pragma once
// Everything a command prints to standard output goes through one of these:
// text is gathered in a buffer and handed to the stream in large blocks, and
// every hand-over and the final flush are checked, so that a full disk or a
// closed pipe ends the command with an error instead of a silent loss.

#include <cstdio>
#include <fmt/compile.h>
#include <fmt/format.h>
#include <string>
#include <string_view>

namespace kalvara::cli {

class OutputWriter {
public:
    explicit OutputWriter(std::FILE* stream);
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;

    void Write(std::string_view text) {
        buffer_.append(text.data(), text.data() + text.size());
        FlushIfFull();
    }

    template <typename... Args> void Format(fmt::format_string<Args...> format, Args&&... args) {
        fmt::format_to(fmt::appender(buffer_), format, std::forward<Args>(args)...);
        FlushIfFull();
    }

    // The fast path for the long tables: the format is compiled in.
    template <typename Compiled, typename... Args>
    void FormatCompiled(const Compiled& format, const Args&... args) {
        fmt::format_to(fmt::appender(buffer_), format, args...);
        FlushIfFull();
    }

    // Hands over what is left and flushes the stream. False when any write
    // failed; Problem() then says why.
    bool Finish();

    bool Failed() const { return error_ != 0; }
    // "No space left on device"; empty while nothing failed.
    std::string Problem() const;

private:
    static constexpr std::size_t BlockSize = 64 * 1024;

    void FlushIfFull() {
        if (buffer_.size() >= BlockSize) {
            HandOver();
        }
    }
    void HandOver();

    std::FILE* stream_;
    fmt::memory_buffer buffer_;
    int error_ = 0;
};

} // namespace kalvara::cli
