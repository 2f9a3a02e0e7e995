#pragma once
// A loopback HTTP server that answers each request with the next scripted
// answer and records it; past the script, it serves its folder's files.

#include "core/UniqueFd.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace kalvara::update::test {

// What the server does with the connection once an answer is sent; Stall
// stays connected and silent until the server stops.
enum class Then { Close, KeepOpen, Stall };

struct ScriptedAnswer {
    std::string text;
    Then then = Then::Close;
};

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ScriptedAnswer> answers, std::filesystem::path folder = {})
        : answers_(std::move(answers)), folder_(std::move(folder)) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}}; // port 0: any free port
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (::bind(listener_.Get(), raw, length) != 0 || ::listen(listener_.Get(), 8) != 0 ||
            ::getsockname(listener_.Get(), raw, &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        host_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        thread_ = std::thread([this] { Run(); });
    }
    ~ScriptedServer() {
        stopping_ = true;
        thread_.join();
    }

    const std::string& Host() const { return host_; }
    int ConnectionsAccepted() const { return accepted_; }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    // Blocking calls on the socket give up every 20 ms, so that the thread
    // notices the server stopping.
    static UniqueFd Patient(int fd) {
        const timeval wait{0, 20000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        return UniqueFd(fd);
    }

    // One connection at a time is enough: the client keeps at most one open,
    // and closes it before it opens the next.
    void Run() {
        while (!stopping_) {
            if (const UniqueFd connection =
                    Patient(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC))) {
                ++accepted_;
                Serve(connection.Get());
            }
        }
    }

    ScriptedAnswer Answer(const std::string& request) {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (requests_.size() <= answers_.size()) {
            return answers_[requests_.size() - 1];
        }
        if (folder_.empty()) {
            return {}; // past the script's end the answer is to hang up
        }
        // "GET /<path> HTTP/1.x"
        std::ifstream file(folder_ / request.substr(5, request.find(' ', 5) - 5), std::ios::binary);
        const std::string body{std::istreambuf_iterator<char>(file), {}};
        return {file.is_open() ? "HTTP/1.0 200 OK\r\nContent-Length: " +
                                     std::to_string(body.size()) + "\r\n\r\n" + body
                               : "HTTP/1.0 404 File not found\r\n\r\n"};
    }

    void Serve(int fd) {
        std::string pending;
        char buffer[4096];
        while (!stopping_) {
            const auto end = pending.find("\r\n\r\n");
            if (end == std::string::npos) {
                const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
                if (got == 0 || (got < 0 && errno != EAGAIN)) {
                    return;
                }
                pending.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
                continue;
            }
            const ScriptedAnswer answer = Answer(pending.substr(0, end + 4));
            pending.erase(0, end + 4);
            ::send(fd, answer.text.data(), answer.text.size(), MSG_NOSIGNAL);
            while (answer.then == Then::Stall && !stopping_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            if (answer.then != Then::KeepOpen) {
                return;
            }
        }
    }

    const UniqueFd listener_ = Patient(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const std::vector<ScriptedAnswer> answers_;
    const std::filesystem::path folder_;
    std::string host_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace kalvara::update::test
