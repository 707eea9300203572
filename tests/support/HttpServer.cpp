#include "support/HttpServer.h"

#include <QTcpSocket>

HttpServer::HttpServer()
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void HttpServer::answer(QTcpSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QList<QByteArray> request = socket->readLine().trimmed().split(' ');
    socket->readAll(); // the headers; nothing here depends on them
    const QByteArray path = request.value(1);
    requests << path;
    if (silent_)
        return;
    const auto it = bodies_.constFind(path);
    const bool found = it != bodies_.constEnd();
    const QByteArray body = found ? *it : QByteArray("not found");
    socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                  + QByteArray("Content-Type: application/octet-stream\r\nContent-Length: ")
                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
