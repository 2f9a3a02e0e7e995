#pragma once
// The HTTP/1.0 client that downloads the program's installer into a local
// file. It knows nothing of windows: the download window reaches it through
// three callbacks (progress, running pending events, asking for a cancel).
// One client lives for the whole run and keeps at most one connection, which
// it reuses only after the server answered "connection: keep-alive".

#include "update/TcpConnection.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace kalvara::update {

// Results of Download other than an HTTP status code.
inline constexpr int DownloadStored = 0;     // the body is in the file
inline constexpr int DownloadCancelled = -1; // the cancel callback said so; no file is left
inline constexpr int DownloadFailed = -2; // the "Download Error" notice was shown; no file is left

struct DownloadCallbacks {
    // After every block: bytes received so far and bytes expected, 0 when the
    // answer does not say (chunked or ended by closing the connection).
    std::function<void(std::uint64_t received, std::uint64_t expected)> progress;
    // Runs the window's pending events: after the head, after every block, and
    // at least every 100 ms while the server sends nothing.
    std::function<void()> process_events;
    // Asked right after process_events; true stops the download.
    std::function<bool()> cancel_requested;
};

class HttpClient {
public:
    static constexpr std::size_t BlockSize = 32768;

    // lookup resolves host names (getaddrinfo when empty).
    explicit HttpClient(DownloadCallbacks callbacks = {}, TcpConnection::NameLookup lookup = {});

    void SetCallbacks(DownloadCallbacks callbacks) { callbacks_ = std::move(callbacks); }

    // How long the server may stay silent before the download fails with
    // "The server stopped responding." (30 s unless set).
    void SetStallLimit(std::chrono::milliseconds limit) { stall_limit_ = limit; }

    // The largest body a download accepts (4 GiB unless set); a larger one
    // fails and leaves no file. A signature file is far smaller than that.
    void SetBodyLimit(std::uint64_t bytes) { body_limit_ = std::min(bytes, MaxBodyBytes); }

    // Fetches http://host/path into file. host may carry a port
    // ("127.0.0.1:8080"); without one it is 80. keep_alive 1 asks the server
    // to keep the connection open. user and password, when both are given,
    // go out as Basic authentication. Returns DownloadStored, the server's
    // status code when it was not 200 (nothing is written), DownloadCancelled
    // or DownloadFailed. Errors are shown through the program's notice.
    int Download(const std::string& host, const std::string& path, int keep_alive,
                 const std::string& user, const std::string& password, const std::string& file);

    // The open connection, if any, and what the server said about it.
    bool HasOpenConnection() const { return connection_.IsOpen(); }
    const std::string& ConnectedHost() const { return connected_host_; }
    const std::string& ServerConnectionMode() const { return server_connection_mode_; }

    // Of the last answer: the reason text of the status line ("Not Found")
    // and the realm of an authentication challenge, as "for <realm>".
    const std::string& StatusReason() const { return status_reason_; }
    const std::string& Realm() const { return realm_; }

    // Why the last download failed (text 2 of its notice without mark-up);
    // empty after a success.
    const std::string& LastError() const { return last_error_; }

private:
    int Exchange(const std::string& host, const std::string& path, int keep_alive,
                 const std::string& user, const std::string& password, const std::string& file,
                 bool reused);
    std::string Request(const std::string& host, const std::string& path, int keep_alive,
                        const std::string& user, const std::string& password) const;
    void ForgetConnection();
    bool KeepWaiting();

    DownloadCallbacks callbacks_;
    std::chrono::milliseconds stall_limit_{30000};
    std::uint64_t body_limit_ = MaxBodyBytes;
    TcpConnection connection_;
    std::string connected_host_;
    std::string server_connection_mode_;
    std::string status_reason_;
    std::string realm_;
    std::string last_error_;
};

} // namespace kalvara::update
