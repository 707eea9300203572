#include "data/Connection.h"

#include "data/Errors.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QAtomicInt connectionCounter;
// Actions run on the one user-interface thread.
int actionDepth = 0;
int actionNumber = 0;

QString errorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}
} // namespace

TUserAction::TUserAction()
{
    if (actionDepth++ == 0)
        ++actionNumber;
}

TUserAction::~TUserAction()
{
    --actionDepth;
}

int TUserAction::current()
{
    return actionDepth > 0 ? actionNumber : 0;
}

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
    lost_ = false;
    emit afterConnect();
}

void TConnection::Close()
{
    lost_ = false;
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

QSqlDatabase TConnection::database()
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen())
        return db;
    if (!lost_)
        throw EDatabaseError(QStringLiteral("Нет соединения с базой данных"), 0);
    // Lost: one quiet attempt per action, with the parameters in use.
    const int action = TUserAction::current();
    if (action != 0 && action == triedIn_)
        throw EConnectionLost(lossText_, lossCode_);
    triedIn_ = action;
    try {
        Open();
    } catch (const EDatabaseError& e) {
        lossText_ = e.message();
        lossCode_ = e.nativeCode();
        throw EConnectionLost(lossText_, lossCode_);
    }
    return QSqlDatabase::database(name_, false);
}

bool TConnection::isConnectionLoss(int nativeCode)
{
    return nativeCode == 2006 || nativeCode == 2013 || nativeCode == 2055;
}

void TConnection::raise(const QString& text, int nativeCode)
{
    if (!isConnectionLoss(nativeCode))
        throw EDatabaseError(text, nativeCode);
    Close();
    lost_ = true;
    // The action that found the loss reports it; the next one connects again.
    triedIn_ = TUserAction::current();
    lossText_ = text;
    lossCode_ = nativeCode;
    throw EConnectionLost(text, nativeCode);
}

bool TConnection::setRowidFilter(bool on, bool raiseFailure)
{
    QSqlDatabase db = database();
    QSqlQuery q(db);
    const auto failed = [&] {
        if (raiseFailure)
            raise(errorText(q.lastError()), q.lastError().nativeErrorCode().toInt());
        return false;
    };
    const QString from = on ? QStringLiteral("rowid_filter=off") : QStringLiteral("rowid_filter=on");
    if (!q.exec(QStringLiteral("SELECT @@SESSION.optimizer_switch")))
        return failed();
    if (!q.next() || !q.value(0).toString().contains(from))
        return false;
    if (!q.exec(on ? QStringLiteral("SET SESSION optimizer_switch='rowid_filter=on'")
                   : QStringLiteral("SET SESSION optimizer_switch='rowid_filter=off'")))
        return failed();
    return true;
}

void TConnection::begin()
{
    QSqlDatabase db = database();
    if (!db.transaction()) {
        const QSqlError error = db.lastError();
        raise(errorText(error), error.nativeErrorCode().toInt());
    }
}

void TConnection::commit()
{
    QSqlDatabase db = database();
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        if (!isConnectionLoss(error.nativeErrorCode().toInt()))
            db.rollback();
        raise(errorText(error), error.nativeErrorCode().toInt());
    }
}

void TConnection::rollback()
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen())
        db.rollback();
}
