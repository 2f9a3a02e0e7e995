// Whatever a server answers over loopback, the download client must cope with.

#include "FuzzSupport.h"
#include "core/Notice.h"
#include "core/UniqueFd.h"
#include "support/TempFolder.h"
#include "update/HttpClient.h"
#include "update/HttpResponseHead.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>

namespace {

using kalvara::fuzz::Require;
namespace fs = std::filesystem;

// One listener for the whole run; each input's answer is served by a thread
// of its own, which gives up after a while if the client never connects.
struct Loopback {
    Loopback() : listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        const timeval patience{10, 0};
        if (!listener ||
            ::setsockopt(listener.Get(), SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience) ||
            ::bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener.Get(), 4) != 0 ||
            ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        host = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    }

    kalvara::UniqueFd listener;
    std::string host;
    kalvara::ScopedNoticeHook quiet{
        [](const std::string&, const std::string&, const std::string&) {}};
    kalvara::test::TempFolder folder;
};

// Reads one request head, then sends the answer in parts of `send_size`.
void AnswerOnce(int listener, std::string_view answer, std::size_t send_size) {
    const kalvara::UniqueFd connection(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
    std::string request;
    char buffer[1024];
    while (connection && request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ::recv(connection.Get(), buffer, sizeof buffer, 0);
        if (got <= 0) {
            return;
        }
        request.append(buffer, static_cast<std::size_t>(got));
    }
    for (std::size_t sent = 0; connection && sent < answer.size(); sent += send_size) {
        const std::size_t part = std::min(send_size, answer.size() - sent);
        if (::send(connection.Get(), answer.data() + sent, part, MSG_NOSIGNAL) < 0) {
            return; // the client has had enough
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static Loopback loopback;
    // The first byte sets the size of each send: 0 sends everything at once.
    const std::size_t send_size = data[0] == 0 ? size : data[0];
    const std::string_view answer = kalvara::fuzz::AsText(data + 1, size - 1);
    const std::string file = loopback.folder / "Setup.bin";

    std::thread server(AnswerOnce, loopback.listener.Get(), answer, send_size);
    kalvara::update::HttpClient client(
        {[](std::uint64_t, std::uint64_t) {}, [] {}, [] { return false; }});
    client.SetStallLimit(std::chrono::seconds(5));
    const int result = client.Download(loopback.host, "/Setup.bin", 0, "", "", file);
    server.join(); // the next input starts from a quiet server

    std::error_code error;
    const bool stored = fs::exists(file, error);
    Require(stored == (result == kalvara::update::DownloadStored),
            "a file is left exactly when the download reports it stored");
    Require(result != kalvara::update::DownloadCancelled, "nothing asked for a cancel");
    if (stored) {
        // What the head announces, read line by line as the client reads it.
        kalvara::update::HttpResponseHead head;
        for (std::string_view rest = answer; !rest.empty();) {
            const std::size_t end = rest.find("\r\n");
            const std::string_view line = rest.substr(0, end);
            if (kalvara::update::IsEndOfHead(line) || end == std::string_view::npos) {
                break;
            }
            head.ApplyLine(line);
            rest.remove_prefix(end + 2);
        }
        if (!head.IsChunked() && head.content_length) {
            Require(fs::file_size(file, error) == *head.content_length,
                    "a stored body has the announced length");
        }
        fs::remove(file, error);
    }
    return 0;
}
