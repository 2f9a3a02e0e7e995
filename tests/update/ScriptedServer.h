#pragma once
// A loopback HTTP server for the download client's tests. It answers each
// request it reads with the next scripted answer, on whichever connection the
// request came, and records what it received.

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kalvara::update::test {

struct ScriptedAnswer {
    std::vector<std::string> parts; // sent one after the other, each with its own send()
    bool close_after = true;        // close the connection once everything is sent
    bool stall_after = false;       // stay connected and silent until the server stops
};

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ScriptedAnswer> answers)
        : answers_(answers.begin(), answers.end()) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // port 0: any free port
        socklen_t length = sizeof address;
        if (listener_ < 0 || ::bind(listener_, Raw(address), sizeof address) != 0 ||
            ::listen(listener_, 8) != 0 || ::getsockname(listener_, Raw(address), &length) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot listen on loopback");
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~ScriptedServer() {
        stopping_ = true;
        acceptor_.join();
        for (auto& connection : connections_) {
            connection.join();
        }
        ::close(listener_);
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // "127.0.0.1:<port>", as the client takes it.
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    int ConnectionsAccepted() const { return accepted_; }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    static sockaddr* Raw(sockaddr_in& address) { return reinterpret_cast<sockaddr*>(&address); }

    // Blocking calls on the socket give up every 20 ms, so that its thread
    // notices the server stopping.
    static int Patient(int fd) {
        const timeval wait{0, 20000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        return fd;
    }

    void AcceptLoop() {
        while (!stopping_) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                ++accepted_;
                connections_.emplace_back([this, fd] { Serve(Patient(fd)); });
            }
        }
    }

    void Serve(int fd) {
        std::string pending;
        while (!stopping_) {
            const auto end = pending.find("\r\n\r\n");
            if (end == std::string::npos) {
                char buffer[4096];
                const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
                if (got > 0) {
                    pending.append(buffer, static_cast<std::size_t>(got));
                } else if (got == 0 || errno != EAGAIN) {
                    break;
                }
                continue;
            }
            std::unique_lock lock(mutex_);
            requests_.push_back(pending.substr(0, end + 4));
            if (answers_.empty()) {
                break;
            }
            const ScriptedAnswer answer = std::move(answers_.front());
            answers_.pop_front();
            lock.unlock();
            pending.erase(0, end + 4);
            for (const auto& part : answer.parts) {
                ::send(fd, part.data(), part.size(), MSG_NOSIGNAL);
            }
            while (answer.stall_after && !stopping_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            if (answer.stall_after || answer.close_after) {
                break;
            }
        }
        ::close(fd);
    }

    const int listener_ = Patient(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    std::deque<ScriptedAnswer> answers_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

} // namespace kalvara::update::test
