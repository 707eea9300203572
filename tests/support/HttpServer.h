#pragma once
// A tiny HTTP server on the loopback for tests of downloads: it serves fixed
// bodies by path, answers 404 for the rest, or accepts and never answers.

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

/// Listens on 127.0.0.1 on a free port for its lifetime.
///
///     HttpServer server;
///     server.serve("/Images/ZRT_6.jpg", jpegBytes);
///     DataZRT->fileServerPort = server.port();
class HttpServer : public QTcpServer {
    Q_OBJECT
public:
    HttpServer();
    quint16 port() const { return serverPort(); }
    /// The body served for a path (status 200).
    void serve(const QByteArray& path, const QByteArray& body) { bodies_.insert(path, body); }
    /// Accepts connections but never answers (a server that hangs).
    void setSilent(bool on) { silent_ = on; }
    /// The paths asked for, in order.
    QList<QByteArray> requests;

private:
    void answer(QTcpSocket* socket);
    QHash<QByteArray, QByteArray> bodies_;
    bool silent_ = false;
};
