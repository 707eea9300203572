#pragma once
// The one connection to the central database.

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

/// A MySQL/MariaDB connection driven by parameter lines of the form Key=Value
/// (Server, Port, Database, User_Name, Password and the fixed settings).
/// It never opens by itself: a statement run while it is closed fails.
///
///     TConnection c;
///     c.setParams({"Server=127.0.0.1", "Port=17001", "Database=olimp",
///                  "User_Name=olimp", "Password=..."});
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

    /// The Qt connection; throws EDatabaseError while the connection is closed.
    QSqlDatabase database() const;

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

signals:
    void afterConnect();
    /// The open connection is about to close: statements kept on it go now.
    void beforeDisconnect();
    void afterDisconnect();

private:
    void begin();
    void commit();
    void rollback();

    QString name_;
    QStringList params_;
};
