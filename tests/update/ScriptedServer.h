#pragma once
// A loopback HTTP server for the download client's tests. It answers each
// request it reads with the next scripted answer, on whichever connection the
// request came, and records what it received.

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kalvara::update::test {

struct ScriptedAnswer {
    std::vector<std::string> parts; // sent one after the other, each with its own send()
    bool close_after = true;        // close the connection once everything is sent
    bool stall_after = false;       // stay connected and silent until the server stops
};

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ScriptedAnswer> answers);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // "127.0.0.1:<port>", as the client takes it.
    std::string Host() const;
    int ConnectionsAccepted() const { return accepted_; }
    std::vector<std::string> Requests() const;

private:
    void AcceptLoop();
    void Serve(int fd);

    int listener_ = -1;
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
