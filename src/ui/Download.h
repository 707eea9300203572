#pragma once
// Downloads from the file server. The call waits in a local event loop, so the
// window keeps painting while the bytes come; tests answer it from a local HTTP
// server or replace it with a hook.

#include <QByteArray>
#include <QUrl>
#include <functional>

class TDownload {
public:
    /// Bytes received so far and the total (-1 while the server has not said).
    using Progress = std::function<void(qint64 received, qint64 total)>;
    /// Answers instead of the network (tests): returns the bytes or throws.
    using Hook = std::function<QByteArray(const QUrl& url, const Progress& progress)>;

    /// Fetches url with a plain GET. Throws EError when the server cannot be
    /// reached, answers with an error status, or sends nothing for timeoutMs.
    ///
    ///     const QByteArray jpeg = TDownload::Get(DataZRT->fileServerUrl(u"/Images/ZRT_6.jpg"_s),
    ///         [&](qint64 got, qint64 total) { bar->setMaximum(int(total)); bar->setValue(int(got)); });
    static QByteArray Get(const QUrl& url, const Progress& progress = {}, int timeoutMs = 5000);

    /// Replaces the network by a hook (tests); an empty hook restores it.
    static void setHook(Hook hook);
};
