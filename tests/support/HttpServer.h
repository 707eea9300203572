#pragma once
// A small HTTP server on the loopback interface for tests and benchmarks: it
// serves fixed bytes at fixed paths, answers 404 for any other path, and in
// silent mode accepts connections and never answers. It runs in the thread's
// event loop, so the program's own local event loops serve it too.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <stdexcept>

/// Serves what it is given at the paths it is given.
///
///     HttpServer server;
///     server.serve(u"/Images/ZRT_all.jpg"_s, jpegBytes);
///     DataZRT->fileServerPort = server.port();
///     ... the download ...
///     QCOMPARE(server.requests(), QStringList{u"/Images/ZRT_all.jpg"_s});
class HttpServer {
public:
    HttpServer()
    {
        if (!server_.listen(QHostAddress::LocalHost, 0))
            throw std::runtime_error("HttpServer: cannot listen on the loopback interface");
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                accept(socket);
        });
    }

    /// The port it listens on.
    int port() const { return server_.serverPort(); }
    /// Answers GET path with 200 and these bytes.
    void serve(const QString& path, const QByteArray& body) { files_.insert(path, body); }
    /// Accepts every connection and never answers (a server that hangs).
    void setSilent(bool on) { silent_ = on; }
    /// The paths asked for, in order.
    const QStringList& requests() const { return requests_; }

private:
    void accept(QTcpSocket* socket)
    {
        socket->setParent(&server_);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray& head = pending_[socket];
            head += socket->readAll();
            const qsizetype end = head.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
            pending_.remove(socket);
            const QString path = requestLine.size() > 1 ? QString::fromUtf8(requestLine.at(1)) : QString();
            requests_ << path;
            if (silent_)
                return;
            const auto found = files_.constFind(path);
            const QByteArray body = found != files_.cend() ? *found : QByteArray("not found");
            QByteArray answer = found != files_.cend() ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
            answer += "Content-Type: application/octet-stream\r\nContent-Length: " + QByteArray::number(body.size())
                      + "\r\nConnection: close\r\n\r\n";
            socket->write(answer);
            socket->write(body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    QHash<QString, QByteArray> files_;
    QHash<QTcpSocket*, QByteArray> pending_;
    QStringList requests_;
    bool silent_ = false;
};
