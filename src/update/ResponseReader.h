#pragma once
// Reads a response from a TcpConnection: lines of the head and blocks of the
// body. Waiting is done in 100 ms slices; between slices the window's events
// run and the cancel callback is asked, so a silent server never freezes the
// program. Stops are thrown as DownloadStop and turned into results by the
// client; nothing beyond the client sees them.

#include "update/HttpClient.h"
#include "update/TcpConnection.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvara::update {

struct DownloadStop {
    enum class Kind { Cancelled, Failed };
    Kind kind;
    std::string reason; // for Failed: what went wrong, as a sentence
};

class ResponseReader {
public:
    static constexpr std::chrono::milliseconds Slice{100};
    static constexpr std::size_t MaxLineLength = 8192;

    ResponseReader(TcpConnection& connection, const DownloadCallbacks& callbacks,
                   std::chrono::milliseconds stall_limit);

    // One line without its CR LF; false at the end of the stream.
    bool ReadLine(std::string& line);

    // Up to size bytes (at least one); 0 at the end of the stream.
    std::size_t ReadSome(char* buffer, std::size_t size);

    // Runs the window's events and throws when a cancel was asked for.
    void ProcessEventsAndCheckCancel();

    std::uint64_t BytesReceived() const { return bytes_received_; }

private:
    // Waits for bytes and receives up to size into buffer; 0 at the end.
    std::size_t Receive(char* buffer, std::size_t size);

    TcpConnection& connection_;
    const DownloadCallbacks& callbacks_;
    std::chrono::milliseconds stall_limit_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // unread bytes are buffer_[begin_, end_)
    std::size_t end_ = 0;
    std::uint64_t bytes_received_ = 0;
};

} // namespace kalvara::update
