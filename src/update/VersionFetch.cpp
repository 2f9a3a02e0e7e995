#include "update/VersionFetch.h"

#include "update/HttpSyntax.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>

namespace kalvara::update {

namespace {

// The errno that names a failure of the connection; Qt's own codes mean
// nothing to the user and are never shown.
int SystemErrorNumber(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::ProxyConnectionRefusedError:
        return ECONNREFUSED;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProxyConnectionClosedError:
        return ECONNRESET;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProxyNotFoundError:
        return EHOSTUNREACH;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::OperationCanceledError:
        return ETIMEDOUT;
    case QNetworkReply::SslHandshakeFailedError:
        return EPROTO;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return ENETUNREACH;
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return EPROTONOSUPPORT;
    default:
        return EIO;
    }
}

std::string ConnectionFailureText(QNetworkReply::NetworkError error, const QString& qt_text) {
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return "The server's host name could not be found";
    case QNetworkReply::SslHandshakeFailedError:
        // Qt's text names the certificate's fault.
        return "The server's certificate could not be verified: " + qt_text.toStdString();
    case QNetworkReply::ProtocolUnknownError:
        return "The address is neither http nor https";
    default:
        return std::strerror(SystemErrorNumber(error));
    }
}

} // namespace

VersionFetch FetchVersionFile(const std::string& url, std::chrono::milliseconds limit) {
    VersionFetch result;
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(UserAgent()));
    request.setTransferTimeout(static_cast<int>(limit.count()));
    QNetworkReply* reply = manager.get(request);

    bool timed_out = false;
    bool too_long = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, reply, [&] {
        timed_out = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (static_cast<std::size_t>(reply->bytesAvailable()) > MaxVersionFileBytes) {
            too_long = true;
            reply->abort();
        }
    });
    timer.start(limit);
    // The windows repaint meanwhile, but clicks and keys wait (Qt keeps them
    // for after): a second check, or closing the main window under this
    // one, must not start while it is still on the stack. The wait is short.
    if (!reply->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    timer.stop();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (timed_out) {
        result.error_number = ETIMEDOUT;
        result.error_text =
            "The server did not answer within " + std::to_string(limit.count() / 1000) + " seconds";
    } else if (too_long) {
        result.error_number = EFBIG;
        result.error_text = "The answer is too long for a version file";
    } else if (status.isValid() && (reply->error() != QNetworkReply::NoError ||
                                    status.toInt() < 200 || status.toInt() > 299)) {
        result.error_number = status.toInt();
        const std::string reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString();
        result.error_text = "The server answered " + std::to_string(result.error_number) +
                            (reason.empty() ? "" : " " + reason);
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error_number = SystemErrorNumber(reply->error());
        result.error_text = ConnectionFailureText(reply->error(), reply->errorString());
    } else {
        result.ok = true;
        result.text = reply->readAll().toStdString();
    }
    return result;
}

} // namespace kalvara::update
