#include "update/ResponseReader.h"

#include <algorithm>
#include <cstring>

namespace kalvara::update {

ResponseReader::ResponseReader(TcpConnection& connection, const DownloadCallbacks& callbacks,
                               std::chrono::milliseconds stall_limit)
    : connection_(connection), callbacks_(callbacks), stall_limit_(stall_limit),
      buffer_(HttpClient::BlockSize) {}

void ResponseReader::ProcessEventsAndCheckCancel() {
    if (callbacks_.process_events) {
        callbacks_.process_events();
    }
    if (callbacks_.cancel_requested && callbacks_.cancel_requested()) {
        throw DownloadStop{DownloadStop::Kind::Cancelled, {}};
    }
}

std::size_t ResponseReader::Receive(char* buffer, std::size_t size) {
    auto last_byte = std::chrono::steady_clock::now();
    while (true) {
        const auto received = connection_.Receive(buffer, size, Slice);
        switch (received.status) {
        case TcpConnection::ReceiveStatus::Data:
            bytes_received_ += received.size;
            return received.size;
        case TcpConnection::ReceiveStatus::EndOfStream:
            return 0;
        case TcpConnection::ReceiveStatus::Failed:
            throw DownloadStop{DownloadStop::Kind::Failed,
                               std::string("The connection failed: ") +
                                   std::strerror(received.error_number) + "."};
        case TcpConnection::ReceiveStatus::NothingYet:
            break;
        }
        ProcessEventsAndCheckCancel();
        if (std::chrono::steady_clock::now() - last_byte >= stall_limit_) {
            throw DownloadStop{DownloadStop::Kind::Failed, "The server stopped responding."};
        }
    }
}

bool ResponseReader::ReadLine(std::string& line) {
    while (true) {
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto newline = std::find(first, last, '\n');
        if (newline != last) {
            if (newline - first > static_cast<std::ptrdiff_t>(MaxLineLength)) {
                throw DownloadStop{DownloadStop::Kind::Failed,
                                   "The server sent a line that is too long."};
            }
            line.assign(first, newline);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            begin_ = static_cast<std::size_t>(newline - buffer_.begin()) + 1;
            return true;
        }
        if (end_ - begin_ >= MaxLineLength) {
            throw DownloadStop{DownloadStop::Kind::Failed,
                               "The server sent a line that is too long."};
        }
        // Move the partial line to the front and read more behind it.
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        const std::size_t got = Receive(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) {
            return false;
        }
        end_ += got;
    }
}

std::size_t ResponseReader::ReadSome(char* buffer, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    if (begin_ < end_) {
        const std::size_t take = std::min(size, end_ - begin_);
        std::memcpy(buffer, buffer_.data() + begin_, take);
        begin_ += take;
        return take;
    }
    return Receive(buffer, size);
}

} // namespace kalvara::update
