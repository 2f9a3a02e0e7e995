#include "update/TcpConnection.h"

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <thread>
#include <utility>

namespace kalvara::update {

namespace {

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

int PollOne(int fd, short events, std::chrono::milliseconds wait) {
    pollfd entry{fd, events, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, static_cast<int>(wait.count()));
    } while (ready < 0 && errno == EINTR);
    return ready;
}

// The name lookup runs on a thread of its own: the system resolver cannot be
// interrupted and may take many seconds when the network is poor, and the
// windows must stay alive (and "&Cancel" work) meanwhile. A lookup that is
// given up finishes in the background and frees its own result.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int result = EAI_FAIL;
    AddrInfoList addresses;
};

TcpConnection::ConnectResult
Resolve(const TcpConnection::NameLookup& look_up, const HostAndPort& host,
        std::chrono::steady_clock::time_point deadline, std::chrono::milliseconds slice,
        const std::function<bool()>& keep_waiting, AddrInfoList& addresses) {
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, look_up, name = host.name, service = std::to_string(host.port)] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int result = look_up(name.c_str(), service.c_str(), &hints, &found);
        const std::lock_guard lock(lookup->mutex);
        lookup->result = result;
        lookup->addresses.reset(found);
        lookup->done = true;
        lookup->finished.notify_all();
    }).detach();

    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished.wait_for(lock, slice, [&] { return lookup->done; })) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return TcpConnection::ConnectResult::Failed;
        }
        lock.unlock();
        const bool go_on = !keep_waiting || keep_waiting();
        lock.lock();
        if (!go_on) {
            return TcpConnection::ConnectResult::Cancelled;
        }
    }
    if (lookup->result != 0 || !lookup->addresses) {
        return TcpConnection::ConnectResult::Failed;
    }
    addresses = std::move(lookup->addresses);
    return TcpConnection::ConnectResult::Connected;
}

} // namespace

TcpConnection::TcpConnection(NameLookup lookup)
    : lookup_(lookup ? std::move(lookup) : NameLookup(::getaddrinfo)) {}

TcpConnection::ConnectResult TcpConnection::Connect(const HostAndPort& host,
                                                    std::chrono::milliseconds timeout,
                                                    std::chrono::milliseconds slice,
                                                    const std::function<bool()>& keep_waiting) {
    Close();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    AddrInfoList addresses;
    const ConnectResult looked_up =
        Resolve(lookup_, host, deadline, slice, keep_waiting, addresses);
    if (looked_up != ConnectResult::Connected) {
        return looked_up;
    }

    for (const addrinfo* address = addresses.get(); address != nullptr;
         address = address->ai_next) {
        UniqueFd candidate(::socket(address->ai_family,
                                    address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                    address->ai_protocol));
        if (!candidate) {
            continue;
        }
        if (::connect(candidate.Get(), address->ai_addr, address->ai_addrlen) == 0) {
            socket_ = std::move(candidate);
            return ConnectResult::Connected;
        }
        if (errno != EINPROGRESS) {
            continue;
        }
        while (true) {
            const int ready = PollOne(candidate.Get(), POLLOUT, slice);
            if (ready > 0) {
                int error = 0;
                socklen_t length = sizeof error;
                if (::getsockopt(candidate.Get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                    error == 0) {
                    socket_ = std::move(candidate);
                    return ConnectResult::Connected;
                }
                break; // refused or unreachable: try the next address
            }
            if (ready < 0 || std::chrono::steady_clock::now() >= deadline) {
                break;
            }
            if (keep_waiting && !keep_waiting()) {
                return ConnectResult::Cancelled;
            }
        }
    }
    return ConnectResult::Failed;
}

bool TcpConnection::SendAll(std::string_view data, std::chrono::milliseconds timeout,
                            int& error_number) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!data.empty()) {
        const ssize_t sent = ::send(socket_.Get(), data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            std::chrono::steady_clock::now() < deadline) {
            PollOne(socket_.Get(), POLLOUT, std::chrono::milliseconds(100));
            continue;
        }
        error_number = sent < 0 ? errno : EPIPE;
        return false;
    }
    return true;
}

TcpConnection::Received TcpConnection::Receive(char* buffer, std::size_t size,
                                               std::chrono::milliseconds slice) {
    Received result;
    const int ready = PollOne(socket_.Get(), POLLIN, slice);
    if (ready == 0) {
        result.status = ReceiveStatus::NothingYet;
        return result;
    }
    if (ready < 0) {
        result.error_number = errno;
        return result;
    }
    ssize_t got;
    do {
        got = ::recv(socket_.Get(), buffer, size, 0);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        result.status = ReceiveStatus::Data;
        result.size = static_cast<std::size_t>(got);
    } else if (got == 0) {
        result.status = ReceiveStatus::EndOfStream;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
        result.status = ReceiveStatus::NothingYet;
    } else {
        result.error_number = errno;
    }
    return result;
}

} // namespace kalvara::update
