#include "data/Connection.h"

#include "data/Errors.h"
#include "data/ServerCertificate.h"

#include <QAtomicInt>
#include <QFileInfo>
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

constexpr int kTlsRefused = 2026; // the client's number for a failed TLS set-up

// What a refused TLS set-up means, in the user's words, before the client's text.
QString tlsRefusalText(const QString& clientText, const QString& host)
{
    QString why;
    if (clientText.contains(u"server does not support", Qt::CaseInsensitive))
        why = QStringLiteral("сервер не предлагает шифрованное соединение (TLS)");
    else if (clientText.contains(u"issuer", Qt::CaseInsensitive) || clientText.contains(u"self-signed", Qt::CaseInsensitive)
             || clientText.contains(u"self signed", Qt::CaseInsensitive)
             || clientText.contains(u"verify failed", Qt::CaseInsensitive))
        why = QStringLiteral("сертификат сервера не подписан центром сертификации, указанным в настройках (db_ssl_ca)");
    else if (clientText.contains(u"Validation of SSL server certificate", Qt::CaseInsensitive))
        why = QStringLiteral("сертификат сервера выдан не на имя \"%1\"").arg(host);
    else
        why = QStringLiteral("защищённое соединение не установлено");
    return QStringLiteral("Сервер базы данных отклонён: ") + why + QStringLiteral(".\r\nОтвет клиента: ") + clientText;
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
    pingTimer_.setInterval(30000);
    connect(&pingTimer_, &QTimer::timeout, this, [this] { pingIdle(); });
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
    const QString host = param(QStringLiteral("Server"));
    const QString authority = param(QStringLiteral("SSL_CA"));
    const bool required = param(QStringLiteral("TLS")).compare(u"required", Qt::CaseInsensitive) == 0;
    if (required && authority.isEmpty())
        throw EDatabaseError(QStringLiteral("Сервер базы данных не проверен: шифрование обязательно (db_tls=required), "
                                            "но файл центра сертификации (db_ssl_ca) не указан."), kTlsRefused);
    if (!authority.isEmpty() && !QFileInfo(authority).isReadable())
        throw EDatabaseError(QStringLiteral("Сервер базы данных не проверен: файл центра сертификации \"%1\" "
                                            "не найден или не читается.").arg(authority), kTlsRefused);
    if (required && !serverCertificateCheckAvailable())
        throw EDatabaseError(QStringLiteral("Сервер базы данных не проверен: эта сборка программы не может проверить "
                                            "сертификат сервера, а шифрование обязательно (db_tls=required)."),
                             kTlsRefused);
    db.setHostName(host);
    db.setPort(param(QStringLiteral("Port")).toInt());
    db.setDatabaseName(param(QStringLiteral("Database")));
    db.setUserName(param(QStringLiteral("User_Name")));
    db.setPassword(param(QStringLiteral("Password")));
    // The client's defaults stand: no compression, no automatic reconnect.
    db.setConnectOptions(authority.isEmpty() ? QString() : QStringLiteral("SSL_CA=") + authority);
    bool checked = false;
    bool opened = false;
    {
        TServerCertificateCheck check(required);
        opened = db.open();
        checked = check.applied();
    }
    if (!opened) {
        const QSqlError error = db.lastError();
        const int code = error.nativeErrorCode().toInt();
        throw EDatabaseError(code == kTlsRefused ? tlsRefusalText(errorText(error), host) : errorText(error), code);
    }
    cipher_.clear();
    {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Ssl_cipher'")) && q.next())
            cipher_ = q.value(1).toString();
    }
    if (required && (!checked || cipher_.isEmpty())) {
        // Not reached while the check works; a session that escaped it is not used.
        db.close();
        cipher_.clear();
        throw EDatabaseError(QStringLiteral("Сервер базы данных отклонён: соединение не зашифровано, "
                                            "а шифрование обязательно (db_tls=required)."), kTlsRefused);
    }
    lost_ = false;
    pingTimer_.start();
    emit afterConnect();
}

void TConnection::Close()
{
    lost_ = false;
    pingTimer_.stop();
    cipher_.clear();
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
    // 2026: on an encrypted connection a server that went away breaks the TLS
    // session ("unexpected eof while reading"); at a connect it means a refused
    // TLS set-up, which Open() reports as it is.
    return nativeCode == 2006 || nativeCode == 2013 || nativeCode == 2055 || nativeCode == kTlsRefused;
}

void TConnection::raise(const QString& text, int nativeCode)
{
    if (!isConnectionLoss(nativeCode))
        throw EDatabaseError(text, nativeCode);
    markLost(text, nativeCode);
    throw EConnectionLost(text, nativeCode);
}

void TConnection::markLost(const QString& text, int nativeCode)
{
    Close();
    lost_ = true;
    // The action that found the loss reports it; the next one connects again.
    triedIn_ = TUserAction::current();
    lossText_ = text;
    lossCode_ = nativeCode;
}

void TConnection::setPingInterval(int ms)
{
    pingTimer_.setInterval(ms);
}

bool TConnection::pingIdle()
{
    // A user action may wait in a message box with its statements half done:
    // it is not disturbed. Statements themselves block this thread, so no
    // check can run while one is under way.
    if (TUserAction::current() != 0)
        return true;
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (!db.isOpen())
        return true;
    int code = 0;
    QString text;
    {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("DO 0")))
            return true;
        code = q.lastError().nativeErrorCode().toInt();
        text = errorText(q.lastError());
    }
    if (!isConnectionLoss(code))
        return true;
    markLost(text, code);
    return false;
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
