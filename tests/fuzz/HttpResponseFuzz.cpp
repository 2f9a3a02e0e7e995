// Whatever a web server answers, the download client either stores the body
// or leaves no file behind, and a stored body sized by Content-Length has
// exactly that size. The answer travels over a real loopback connection, as
// in the client's own tests, cut into sends at the sizes the input asks for.

#include "FuzzSupport.h"
#include "core/Notice.h"
#include "support/TempFolder.h"
#include "update/HttpClient.h"
#include "update/HttpResponseHead.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using kalvara::fuzz::Require;
namespace fs = std::filesystem;

// One listener for the whole run, answering each connection with the answer
// handed over for it; a server per input would spend its time starting up.
class AnswerServer {
public:
    AnswerServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 4) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        host_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        std::thread([this] { Serve(); }).detach();
    }

    const std::string& Host() const { return host_; }

    // Hands over the answer for the next connection.
    void Prepare(std::string answer, std::size_t send_size) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
        send_size_ = send_size;
        served_ = false;
    }

    // Waits until the connection of the prepared answer is closed, so that
    // the next input starts from a quiet server.
    void WaitUntilServed() {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return served_; });
    }

private:
    void Serve() {
        while (true) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) {
                continue;
            }
            ReadRequest(fd);
            std::string answer;
            std::size_t send_size = 0;
            {
                std::lock_guard lock(mutex_);
                answer = answer_;
                send_size = send_size_;
            }
            for (std::size_t sent = 0; sent < answer.size(); sent += send_size) {
                const std::size_t part = std::min(send_size, answer.size() - sent);
                if (::send(fd, answer.data() + sent, part, MSG_NOSIGNAL) < 0) {
                    break; // the client has had enough
                }
            }
            ::close(fd);
            std::lock_guard lock(mutex_);
            served_ = true;
            changed_.notify_all();
        }
    }

    static void ReadRequest(int fd) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                return;
            }
            request.append(buffer, static_cast<std::size_t>(got));
        }
    }

    int listener_ = -1;
    std::string host_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string answer_;
    std::size_t send_size_ = 1;
    bool served_ = true;
};

// What the head announces, read line by line as the client reads it.
kalvara::update::HttpResponseHead HeadOf(std::string_view answer) {
    kalvara::update::HttpResponseHead head;
    while (!answer.empty()) {
        const std::size_t end = answer.find("\r\n");
        const std::string_view line = answer.substr(0, end);
        if (kalvara::update::IsEndOfHead(line) || end == std::string_view::npos) {
            break;
        }
        head.ApplyLine(line);
        answer.remove_prefix(end + 2);
    }
    return head;
}

struct Fixture {
    Fixture() {
        kalvara::SetNoticeHook([](const std::string&, const std::string&, const std::string&) {});
    }
    AnswerServer server;
    kalvara::test::TempFolder folder;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static Fixture fixture;
    // The first byte sets the size of each send: 0 sends everything at once.
    const std::size_t send_size = data[0] == 0 ? size : data[0];
    std::string answer(kalvara::fuzz::AsText(data + 1, size - 1));
    const std::string file = fixture.folder / "Setup.bin";

    fixture.server.Prepare(answer, send_size);
    kalvara::update::HttpClient client(
        {[](std::uint64_t, std::uint64_t) {}, [] {}, [] { return false; }});
    client.SetStallLimit(std::chrono::seconds(5));
    const int result = client.Download(fixture.server.Host(), "/Setup.bin", 0, "", "", file);
    fixture.server.WaitUntilServed();

    std::error_code error;
    const bool stored = fs::exists(file, error);
    Require(stored == (result == kalvara::update::DownloadStored),
            "a file is left exactly when the download reports it stored");
    Require(result != kalvara::update::DownloadCancelled, "nothing asked for a cancel");
    if (stored) {
        const auto head = HeadOf(answer);
        if (!head.IsChunked() && head.content_length) {
            Require(fs::file_size(file, error) == *head.content_length,
                    "a stored body has the announced length");
        }
        fs::remove(file, error);
    }
    return 0;
}
