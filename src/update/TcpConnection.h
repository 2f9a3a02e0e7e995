#pragma once
// One client TCP connection on a non-blocking socket. Every wait is cut into
// short slices so that the caller can run the window's pending events and
// notice a cancel while the network is slow or silent.

#include "core/UniqueFd.h"
#include "update/HttpSyntax.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

struct addrinfo;

namespace kalvara::update {

class TcpConnection {
public:
    enum class ConnectResult { Connected, Failed, Cancelled };
    enum class ReceiveStatus { Data, EndOfStream, NothingYet, Failed };

    struct Received {
        ReceiveStatus status = ReceiveStatus::Failed;
        std::size_t size = 0; // bytes placed in the buffer for Data
        int error_number = 0; // errno for Failed
    };

    // Looks a host name up the way getaddrinfo does (which it is unless a
    // caller brings another resolver); what it leaves in found is released
    // with freeaddrinfo. It runs on a thread of its own and may outlive the
    // connection.
    using NameLookup = std::function<int(const char* name, const char* service,
                                         const addrinfo* hints, addrinfo** found)>;

    // An empty lookup is getaddrinfo.
    explicit TcpConnection(NameLookup lookup = {});

    // Resolves the host and connects to the first address that answers within
    // timeout. Between slices keep_waiting runs; when it returns false the
    // attempt is abandoned and Cancelled comes back.
    ConnectResult Connect(const HostAndPort& host, std::chrono::milliseconds timeout,
                          std::chrono::milliseconds slice,
                          const std::function<bool()>& keep_waiting);

    // Sends everything or fails (returns false with errno kept in error_number).
    bool SendAll(std::string_view data, std::chrono::milliseconds timeout, int& error_number);

    // Waits at most slice for bytes and receives up to size of them.
    Received Receive(char* buffer, std::size_t size, std::chrono::milliseconds slice);

    void Close() { socket_.Reset(); }
    bool IsOpen() const { return socket_.Valid(); }

private:
    NameLookup lookup_;
    UniqueFd socket_;
};

} // namespace kalvara::update
