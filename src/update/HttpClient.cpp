#include "update/HttpClient.h"

#include "core/Notice.h"
#include "msgbox/MessageBoxMarkup.h"
#include "update/Base64.h"
#include "update/DownloadFile.h"
#include "update/HttpResponseHead.h"
#include "update/HttpSyntax.h"
#include "update/ResponseReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kalvara::update {

namespace {

constexpr std::chrono::milliseconds ConnectTimeout{10000};
constexpr std::chrono::milliseconds SendTimeout{10000};
// A head longer than this is not an HTTP server talking to us.
constexpr std::size_t MaxHeadBytes = 65536;

[[noreturn]] void Fail(std::string reason) {
    throw DownloadStop{DownloadStop::Kind::Failed, std::move(reason)};
}

// Thrown when a reused keep-alive connection turns out to be closed before
// the server sent a byte: the server dropped an idle connection, so the
// request is worth one more try on a new connection.
struct StaleConnection {};

std::string TooLarge(std::uint64_t limit) {
    return limit == MaxBodyBytes
               ? "The download is larger than 4 GiB."
               : "The download is larger than " + std::to_string(limit) + " bytes.";
}

void ShowHostNotFound(const std::string& host) {
    ShowNotice("Download Error", "Unable to find web host \"" + QuoteMarkup(host) + "\".{f10,t4}",
               "The update is unable to continue.{f7}");
}

// Reads exactly size bytes of body into file in blocks of at most BlockSize,
// reporting progress and giving the window its events after every block.
void ReceiveBody(ResponseReader& reader, DownloadFile& file, std::uint64_t size,
                 std::uint64_t& received, std::uint64_t expected,
                 const DownloadCallbacks& callbacks) {
    std::vector<char> block(HttpClient::BlockSize);
    while (size > 0) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, block.size()));
        const std::size_t got = reader.ReadSome(block.data(), wanted);
        if (got == 0) {
            Fail("The download ended before the whole file arrived.");
        }
        std::string error;
        if (!file.Write(block.data(), got, error)) {
            Fail(error);
        }
        size -= got;
        received += got;
        if (callbacks.progress) {
            callbacks.progress(received, expected);
        }
        reader.ProcessEventsAndCheckCancel();
    }
}

} // namespace

HttpClient::HttpClient(DownloadCallbacks callbacks, TcpConnection::NameLookup lookup)
    : callbacks_(std::move(callbacks)), connection_(std::move(lookup)) {}

void HttpClient::ForgetConnection() {
    connection_.Close();
    connected_host_.clear();
    server_connection_mode_.clear();
}

bool HttpClient::KeepWaiting() {
    if (callbacks_.process_events) {
        callbacks_.process_events();
    }
    return !(callbacks_.cancel_requested && callbacks_.cancel_requested());
}

std::string HttpClient::Request(const std::string& host, const std::string& path, int keep_alive,
                                const std::string& user, const std::string& password) const {
    std::string request = "GET " + path + " HTTP/1.0\r\n";
    request += "Host: " + host + "\r\n";
    request += "Referer: http://" + host + "\r\n";
    request += "User-Agent: " + UserAgent() + "\r\n";
    request += "Accept: */*\r\n";
    request += "Accept-Language: de-de,de;q=0.8,en-us;q=0.5,en;q=0.3\r\n";
    if (keep_alive == 1) {
        request += "Keep-Alive: 300\r\nConnection: keep-alive\r\n";
    } else if (server_connection_mode_ != "keep-alive") {
        request += "Connection: close\r\n";
    }
    if (!user.empty() && !password.empty()) {
        request += "Authorization: Basic " + Base64Encode(user + ":" + password) + "\r\n";
    }
    request += "\r\n";
    return request;
}

int HttpClient::Download(const std::string& host, const std::string& path, int keep_alive,
                         const std::string& user, const std::string& password,
                         const std::string& file) {
    last_error_.clear();
    status_reason_.clear();
    realm_.clear();

    const auto address = SplitHostPort(host);
    if (!address) {
        last_error_ = "Unable to find web host \"" + host + "\".";
        ShowHostNotFound(host);
        return DownloadFailed;
    }

    // A connection is only ever reused for the host it was opened to: a
    // request for one host must never travel to another.
    if (connection_.IsOpen() && connected_host_ != host) {
        ForgetConnection();
    }
    bool reused = connection_.IsOpen() && server_connection_mode_ == "keep-alive";
    if (!reused) {
        ForgetConnection();
    }

    while (true) {
        if (!connection_.IsOpen()) {
            const auto result = connection_.Connect(*address, ConnectTimeout, ResponseReader::Slice,
                                                    [this] { return KeepWaiting(); });
            if (result == TcpConnection::ConnectResult::Cancelled) {
                ForgetConnection();
                return DownloadCancelled;
            }
            if (result == TcpConnection::ConnectResult::Failed) {
                ForgetConnection();
                last_error_ = "Unable to find web host \"" + host + "\".";
                ShowHostNotFound(host);
                return DownloadFailed;
            }
            connected_host_ = host;
        }
        try {
            return Exchange(host, path, keep_alive, user, password, file, reused);
        } catch (const StaleConnection&) {
            ForgetConnection();
            reused = false; // one more try, on a new connection
        } catch (const DownloadStop& stop) {
            ForgetConnection();
            if (stop.kind == DownloadStop::Kind::Cancelled) {
                return DownloadCancelled;
            }
            last_error_ = stop.reason;
            ShowNotice("Download Error",
                       "The download from \"" + QuoteMarkup(host) + "\" did not complete.{f10,t4}",
                       QuoteMarkup(stop.reason) + "|The update is unable to continue.{f7}");
            return DownloadFailed;
        }
    }
}

int HttpClient::Exchange(const std::string& host, const std::string& path, int keep_alive,
                         const std::string& user, const std::string& password,
                         const std::string& file, bool reused) {
    if (!IsSafeRequestPath(path)) {
        Fail("The download address \"" + path + "\" is not valid.");
    }
    int send_error = 0;
    if (!connection_.SendAll(Request(host, path, keep_alive, user, password), SendTimeout,
                             send_error)) {
        if (reused) {
            throw StaleConnection{};
        }
        Fail(std::string("The request could not be sent: ") + std::strerror(send_error) + ".");
    }

    ResponseReader reader(connection_, callbacks_, stall_limit_);
    HttpResponseHead head;
    std::size_t head_bytes = 0;
    std::string line;
    while (true) {
        bool got_line = false;
        try {
            got_line = reader.ReadLine(line);
        } catch (const DownloadStop& stop) {
            if (reused && stop.kind == DownloadStop::Kind::Failed && reader.BytesReceived() == 0) {
                throw StaleConnection{};
            }
            throw;
        }
        if (!got_line) {
            if (reused && reader.BytesReceived() == 0) {
                throw StaleConnection{};
            }
            Fail("The server closed the connection without a complete answer.");
        }
        head_bytes += line.size() + 2;
        if (head_bytes > MaxHeadBytes) {
            Fail("The server's answer has too long a head.");
        }
        if (IsEndOfHead(line)) {
            break;
        }
        head.ApplyLine(line);
    }

    server_connection_mode_ = head.connection;
    status_reason_ = head.reason;
    realm_ = head.realm;
    reader.ProcessEventsAndCheckCancel();

    const int status = head.NumericStatus();
    if (!head.has_status_line || status == 0) {
        Fail("The server's answer was not understood.");
    }
    if (status != 200) {
        // Its body is not read, so the connection cannot carry another request.
        ForgetConnection();
        return status;
    }
    if (!head.malformed.empty()) {
        Fail(head.malformed);
    }
    if (head.HasForeignEncoding()) {
        Fail("The server sent the file in an encoding Kalvara does not accept.");
    }
    if (head.content_length && *head.content_length > body_limit_) {
        Fail(TooLarge(body_limit_));
    }

    DownloadFile output;
    std::string error;
    if (!output.Open(file, error)) {
        Fail(error);
    }
    std::uint64_t received = 0;
    bool delimited = true; // the body's end is known without the connection closing
    if (head.IsChunked()) {
        while (true) {
            if (!reader.ReadLine(line)) {
                Fail("The download ended before the whole file arrived.");
            }
            const auto size = ParseChunkSize(line);
            if (!size) {
                Fail("The server sent an invalid chunk size.");
            }
            if (*size == 0) {
                break;
            }
            if (*size > body_limit_ - received) {
                Fail(TooLarge(body_limit_));
            }
            ReceiveBody(reader, output, *size, received, 0, callbacks_);
            if (!reader.ReadLine(line)) {
                Fail("The download ended before the whole file arrived.");
            }
            if (!line.empty()) {
                Fail("The server sent a malformed chunk.");
            }
        }
        // Trailer fields up to the empty line; a server that closes here
        // instead has simply ended the connection.
        while (true) {
            if (!reader.ReadLine(line)) {
                delimited = false;
                break;
            }
            if (IsEndOfHead(line)) {
                break;
            }
        }
    } else if (head.content_length) {
        ReceiveBody(reader, output, *head.content_length, received, *head.content_length,
                    callbacks_);
    } else {
        delimited = false;
        std::vector<char> block(BlockSize);
        while (true) {
            const std::size_t got = reader.ReadSome(block.data(), block.size());
            if (got == 0) {
                break;
            }
            if (got > body_limit_ - received) {
                Fail(TooLarge(body_limit_));
            }
            if (!output.Write(block.data(), got, error)) {
                Fail(error);
            }
            received += got;
            if (callbacks_.progress) {
                callbacks_.progress(received, 0);
            }
            reader.ProcessEventsAndCheckCancel();
        }
    }
    if (!output.Keep(error)) {
        Fail(error);
    }
    if (callbacks_.progress) {
        callbacks_.progress(received, received);
    }
    if (!delimited || server_connection_mode_ != "keep-alive") {
        ForgetConnection();
    }
    return DownloadStored;
}

} // namespace kalvara::update
