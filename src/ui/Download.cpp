#include "ui/Download.h"

#include "data/Errors.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {
TDownload::Hook& hook()
{
    static TDownload::Hook h;
    return h;
}
} // namespace

void TDownload::setHook(Hook h)
{
    hook() = std::move(h);
}

QByteArray TDownload::Get(const QUrl& url, const Progress& progress, int timeoutMs)
{
    if (hook())
        return hook()(url, progress);

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager.get(request);

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    bool timedOut = false;
    // The time-out counts from the last bytes received: a slow but living
    // transfer goes on, a server that says nothing ends it.
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        silence.start(timeoutMs);
        if (progress)
            progress(received, total);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    silence.start(timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString errorText = reply->errorString();
    const bool failed = reply->error() != QNetworkReply::NoError;
    const QByteArray body = timedOut || failed ? QByteArray() : reply->readAll();
    reply->deleteLater();
    if (timedOut)
        throw EError(u"Сервер %1 не ответил за %2 с"_s.arg(url.host()).arg(timeoutMs / 1000.0));
    if (failed || (status != 0 && status != 200))
        throw EError(errorText);
    return body;
}
