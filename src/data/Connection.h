#pragma once
// The one connection to the central database.

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QTimer>

/// One action of the user (a handler run from a click, a key, a menu entry).
/// Actions nest; the outermost one counts. Within one action a lost connection
/// is tried again at most once.
///
///     { TUserAction action; handler(); }
class TUserAction {
public:
    TUserAction();
    ~TUserAction();
    TUserAction(const TUserAction&) = delete;
    TUserAction& operator=(const TUserAction&) = delete;
    /// The number of the action under way, 0 outside every action.
    static int current();
};

/// A MySQL/MariaDB connection driven by parameter lines of the form Key=Value
/// (Server, Port, Database, User_Name, Password and the fixed settings).
/// It never opens by itself at first: a statement run before the first
/// successful Open fails. A statement that finds the server gone (client errors
/// 2006, 2013, 2055; 2026 for a broken TLS session) closes the connection (afterDisconnect) and throws
/// EConnectionLost; the next action connects again once, with the same
/// parameters, before its first statement, and reports EConnectionLost when
/// that fails too. Nothing is run again on its own.
///
/// Encryption: a line SSL_CA=PATH (a certificate authority, PEM) makes the
/// connection encrypted whenever the server offers TLS, and the server's
/// certificate must then be signed by that authority. With TLS=required as
/// well, the connection is made only encrypted, to a server whose certificate
/// the authority signed for the host of the Server line; anything else is
/// refused before the user name and password are sent (client error 2026).
///
/// While the connection is open and no user action runs, a cheap statement
/// checks every pingInterval() ms that the server is still there; when it is
/// gone the connection is closed (afterDisconnect, the lamp turns red) and the
/// next action connects again as after any loss. Nothing is shown by it.
///
///     TConnection c;
///     c.setParams({"Server=127.0.0.1", "Port=17001", "Database=olimp",
///                  "User_Name=olimp", "Password=...", "SSL_CA=/etc/talvira/ca.pem", "TLS=required"});
///     c.Open();   // throws EDatabaseError with the client's error number
class TConnection : public QObject {
    Q_OBJECT
public:
    explicit TConnection(QObject* parent = nullptr);
    ~TConnection() override;

    void setParams(const QStringList& params);
    const QStringList& params() const { return params_; }
    QString param(const QString& key) const;

    /// Opens the connection; emits afterConnect on success, throws EDatabaseError otherwise.
    void Open();
    /// Closes an open connection and emits afterDisconnect; a closed one stays as it is.
    void Close();
    bool Connected() const;
    /// The cipher of the open connection's TLS session, empty when the
    /// connection is not encrypted (or closed).
    ///
    ///     c.cipher()   // "TLS_AES_256_GCM_SHA384"
    const QString& cipher() const { return cipher_; }

    /// The time between two idle checks of an open connection, in ms (30 s).
    int pingInterval() const { return pingTimer_.interval(); }
    void setPingInterval(int ms);
    /// One idle check now: false when it found the server gone (the
    /// connection is then closed and marked lost); true otherwise, also when
    /// nothing was checked (closed, or a user action under way).
    bool pingIdle();

    /// The Qt connection. While the connection is closed: after a loss it is
    /// opened again (once per action), otherwise EDatabaseError is thrown.
    QSqlDatabase database();
    /// True after a loss until the connection is opened or closed on purpose.
    bool Lost() const { return lost_; }

    /// Whether a client error number means the connection went away.
    ///
    ///     TConnection::isConnectionLoss(2006)   // true
    static bool isConnectionLoss(int nativeCode);
    /// Throws the failure of a statement on this connection: EConnectionLost
    /// (after closing the connection) when the server went away, else EDatabaseError.
    [[noreturn]] void raise(const QString& text, int nativeCode);

    /// Runs fn inside one transaction: commit when it returns, rollback when it throws.
    template <class F>
    void inTransaction(F&& fn)
    {
        begin();
        try {
            fn();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    /// Runs fn with the planner's row-id filters switched off for this session,
    /// and switches them on again afterwards. MariaDB (10.4 and later) may plan
    /// a wide join of many tables from its smallest table when it counts on such
    /// a filter, and then reads every pupil of the region instead of the rows of
    /// one event: the full application of 10,000 rows took twice as long. A
    /// server without the switch (MySQL, older MariaDB) runs fn as it is.
    ///
    ///     DataZRT->FDConnection1.withoutRowidFilter([&] { q->Open(); });
    template <class F>
    void withoutRowidFilter(F&& fn)
    {
        const bool switched = setRowidFilter(false);
        try {
            fn();
        } catch (...) {
            // The failure of fn is what is reported; a session that went with
            // the connection needs nothing back.
            if (switched && Connected())
                setRowidFilter(true, false);
            throw;
        }
        if (switched)
            setRowidFilter(true);
    }

signals:
    void afterConnect();
    /// The open connection is about to close: statements kept on it go now.
    void beforeDisconnect();
    void afterDisconnect();

private:
    /// Sets the row-id filter switch of the session when the server has it and
    /// it is not already so; true when it was changed. A failure is thrown when
    /// raise is true, else it leaves the switch as it is.
    bool setRowidFilter(bool on, bool raise = true);
    /// Closes the connection after a loss and remembers its text for the next action.
    void markLost(const QString& text, int nativeCode);
    void begin();
    void commit();
    void rollback();

    QString name_;
    QStringList params_;
    bool lost_ = false;
    /// The action that last found the connection gone or tried it again.
    int triedIn_ = -1;
    QString lossText_;
    int lossCode_ = 0;
    QString cipher_;
    QTimer pingTimer_;
};
