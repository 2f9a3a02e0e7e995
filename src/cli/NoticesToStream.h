#pragma once

#include "core/Notice.h"

#include <cstdio>
#include <fmt/format.h>
#include <string>

namespace kalvara::cli {

// PDF errors and other notices of the lower layers go to the command's error
// stream while it runs, and the program-wide hook is restored afterwards.
class NoticesToStream {
public:
    explicit NoticesToStream(std::FILE* err)
        : hook_([this, err](const std::string& title, const std::string& text1,
                            const std::string& text2) {
              fmt::print(err, "kalvara-cli: {}\n", PlainNotice(title, text1, text2));
              ++count_;
          }) {}
    NoticesToStream(const NoticesToStream&) = delete;
    NoticesToStream& operator=(const NoticesToStream&) = delete;

    // How many notices have been shown so far.
    int Count() const { return count_; }

private:
    int count_ = 0;
    ScopedNoticeHook hook_;
};

} // namespace kalvara::cli
