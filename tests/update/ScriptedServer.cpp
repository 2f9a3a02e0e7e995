#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kalvara::update::test {

ScriptedServer::ScriptedServer(std::vector<ScriptedAnswer> answers)
    : answers_(answers.begin(), answers.end()) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // port 0: any free port
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
    stopping_ = true;
    acceptor_.join();
    for (auto& connection : connections_) {
        connection.join();
    }
    ::close(listener_);
}

std::string ScriptedServer::Host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> ScriptedServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptedServer::AcceptLoop() {
    while (!stopping_) {
        pollfd entry{listener_, POLLIN, 0};
        if (::poll(&entry, 1, 20) <= 0) {
            continue;
        }
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            ++accepted_;
            connections_.emplace_back([this, fd] { Serve(fd); });
        }
    }
}

void ScriptedServer::Serve(int fd) {
    std::string pending;
    while (!stopping_) {
        std::size_t end;
        while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
            pollfd entry{fd, POLLIN, 0};
            if (stopping_) {
                ::close(fd);
                return;
            }
            if (::poll(&entry, 1, 20) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                ::close(fd);
                return;
            }
            pending.append(buffer, static_cast<std::size_t>(got));
        }
        ScriptedAnswer answer;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(pending.substr(0, end + 4));
            if (answers_.empty()) {
                break;
            }
            answer = std::move(answers_.front());
            answers_.pop_front();
        }
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

} // namespace kalvara::update::test
