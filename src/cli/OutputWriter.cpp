#include "cli/OutputWriter.h"

#include <cerrno>
#include <cstring>

namespace kalvara::cli {

OutputWriter::OutputWriter(std::FILE* stream) : stream_(stream) {}

void OutputWriter::HandOver() {
    if (error_ == 0 && buffer_.size() > 0) {
        errno = 0;
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
            error_ = errno != 0 ? errno : EIO;
        }
    }
    // After a failure the rest is dropped: nothing more can reach the reader.
    buffer_.clear();
}

bool OutputWriter::Finish() {
    HandOver();
    if (error_ == 0) {
        errno = 0;
        if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) {
            error_ = errno != 0 ? errno : EIO;
        }
    }
    return error_ == 0;
}

std::string OutputWriter::Problem() const {
    return error_ == 0 ? std::string() : std::string(std::strerror(error_));
}

} // namespace kalvara::cli
