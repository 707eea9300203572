#include "data/Connection.h"

#include "data/Errors.h"

#include <QAtomicInt>
#include <QSqlError>

namespace {
QAtomicInt connectionCounter;

QString errorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}
} // namespace

TConnection::TConnection(QObject* parent)
    : QObject(parent)
    , name_(QStringLiteral("talvira-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name_);
}

TConnection::~TConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) {
            emit beforeDisconnect();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name_);
}

void TConnection::setParams(const QStringList& params)
{
    params_ = params;
}

QString TConnection::param(const QString& key) const
{
    const QString prefix = key + QLatin1Char('=');
    for (const QString& line : params_)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

void TConnection::Open()
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen())
        return;
    if (!db.isValid())
        throw EDatabaseError(QStringLiteral("Драйвер MySQL недоступен"), 0);
    db.setHostName(param(QStringLiteral("Server")));
    db.setPort(param(QStringLiteral("Port")).toInt());
    db.setDatabaseName(param(QStringLiteral("Database")));
    db.setUserName(param(QStringLiteral("User_Name")));
    db.setPassword(param(QStringLiteral("Password")));
    // The client's defaults stand: no compression, no automatic reconnect.
    db.setConnectOptions();
    if (!db.open()) {
        const QSqlError error = db.lastError();
        throw EDatabaseError(errorText(error), error.nativeErrorCode().toInt());
    }
    emit afterConnect();
}

void TConnection::Close()
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (!db.isOpen())
        return;
    emit beforeDisconnect();
    db.close();
    emit afterDisconnect();
}

bool TConnection::Connected() const
{
    return QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase TConnection::database() const
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (!db.isOpen())
        throw EDatabaseError(QStringLiteral("Нет соединения с базой данных"), 0);
    return db;
}

void TConnection::begin()
{
    QSqlDatabase db = database();
    if (!db.transaction()) {
        const QSqlError error = db.lastError();
        throw EDatabaseError(errorText(error), error.nativeErrorCode().toInt());
    }
}

void TConnection::commit()
{
    QSqlDatabase db = database();
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        throw EDatabaseError(errorText(error), error.nativeErrorCode().toInt());
    }
}

void TConnection::rollback()
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen())
        db.rollback();
}
