#include "update/VersionFetch.h"

#include "update/HttpSyntax.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace kalvara::update {

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

    if (timed_out) {
        result.error_number = QNetworkReply::TimeoutError;
        result.error_text =
            "The server did not answer within " + std::to_string(limit.count() / 1000) + " seconds";
    } else if (too_long) {
        result.error_number = QNetworkReply::UnknownContentError;
        result.error_text = "The answer is too long for a version file";
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error_number = reply->error();
        result.error_text = reply->errorString().toStdString();
    } else {
        result.ok = true;
        result.text = reply->readAll().toStdString();
    }
    return result;
}

} // namespace kalvara::update
