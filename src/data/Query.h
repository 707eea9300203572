#pragma once
// Named queries: an SQL text held line by line, named parameters, and the rows
// of the last opening (a data set) with a current row that every bound view follows.

#include "data/DataSet.h"

#include <QDate>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class QSqlQuery;
class TConnection;

/// A named parameter of a query.
///
///     q->ParamByName("userID").setAsInteger(DataZRT->userID);
class TParam {
public:
    void setAsInteger(int v) { value_ = v; }
    void setAsFloat(double v) { value_ = v; }
    void setAsString(const QString& v) { value_ = v; }
    void setAsDate(const QDate& v) { value_ = v; }
    void setValue(const QVariant& v) { value_ = v; }
    void clear() { value_ = QVariant(); }
    const QVariant& value() const { return value_; }

private:
    QVariant value_;
};

/// The rows of one run of a statement, read forward one at a time and kept
/// nowhere: a large export reads its rows once, as the server sends them,
/// without a copy of them all. Made by TQuery::OpenForward. Until the last row
/// was read or the cursor is gone, no other statement may run on the connection
/// (the server is still sending this one's rows).
///
///     std::unique_ptr<TRowCursor> rows = q->OpenForward();
///     const int fio = rows->fieldIndex("fio");
///     while (rows->next())
///         names << rows->value(fio).toString();
class TRowCursor {
public:
    ~TRowCursor();
    TRowCursor(const TRowCursor&) = delete;
    TRowCursor& operator=(const TRowCursor&) = delete;

    /// Moves to the next row; false after the last one. A failure while the
    /// rows are read throws EDatabaseError.
    bool next();
    /// The value of a column (from 0) of the current row.
    QVariant value(int column) const;
    /// The position of a field (names without regard to case), -1 when there is none.
    int fieldIndex(const QString& name) const;

private:
    friend class TQuery;
    TRowCursor(TConnection* connection, std::unique_ptr<QSqlQuery> query);

    TConnection* connection_;
    std::unique_ptr<QSqlQuery> query_;
    QStringList fields_;
};

/// A parameterised SQL text on the one connection.
///
///     q->Close();
///     q->ParamByName("eduID").setAsInteger(12);
///     q->Open();
///     for (q->First(); !q->Eof(); q->Next())
///         names << q->FieldByName("fio").asString();
class TQuery : public TDataSet {
    Q_OBJECT
public:
    TQuery(const QString& name, TConnection* connection, QObject* parent = nullptr);
    ~TQuery() override;

    /// The SQL text, one entry per line. Change it only while the query is closed.
    QStringList& SQL() { return sql_; }
    const QStringList& SQL() const { return sql_; }
    /// The text as it is sent, lines joined by line breaks.
    QString text() const { return sql_.join(QStringLiteral("\r\n")); }

    /// The parameter of that name (names are matched without regard to case).
    /// Throws EError when the text has no such parameter.
    TParam& ParamByName(const QString& name);
    /// Names of the parameters of the text, in order of first appearance.
    QStringList paramNames() const;

    /// Runs the text and keeps its rows; the first row becomes current.
    /// Opening an open query does nothing. A failure throws EDatabaseError.
    void Open() override;
    /// Runs the text and gives its rows to be read once, forward, instead of
    /// keeping them: the query itself stays closed. A failure throws EDatabaseError.
    ///
    ///     q->SQL() = lines;
    ///     auto rows = q->OpenForward();
    ///     while (rows->next()) write(rows->value(0));
    std::unique_ptr<TRowCursor> OpenForward();
    /// Runs the text as a statement. A failure throws EDatabaseError. A text
    /// with parameters stays prepared on the server for the next run while the
    /// text and the connection stay the same.
    void ExecSQL();
    /// Rows touched by the last ExecSQL.
    int RowsAffected() const { return rowsAffected_; }

    /// Reads the rows again and returns to the same record number (kept inside
    /// the rows that are there now).
    ///
    ///     upd->ExecSQL();
    ///     DataZRT->GETpassingScoreReg->Refresh();
    void Refresh();

    /// Whether the query is open with these parameter values (names without
    /// regard to case); the values of other parameters do not count. For a
    /// text built with its values, the key "@sql" holds the text (a list of
    /// lines): it matches the opened text but for its last (sort) line.
    ///
    ///     if (!DataZRT->GETappPartReg->isOpenFor({{"eduID1", event}})) ...
    bool isOpenFor(const QVariantMap& values) const;

    TConnection* connection() const { return connection_; }

private:
    /// The text with positional markers and its parameter names in order.
    struct Parsed {
        QString text;
        QString positional;
        QStringList names;
    };
    /// The parsed text, parsed again only after the text changed.
    const Parsed& parsed() const;
    void dropPrepared();
    /// Runs the text (its parameters bound) in q, which reads forward only;
    /// throws EDatabaseError on a failure.
    void run(QSqlQuery& q);
    /// Binds the values of the named parameters in the order of their markers.
    void bindParams(QSqlQuery& q, const QStringList& names) const;

    mutable Parsed parsed_;
    mutable bool parsedValid_ = false;
    /// The statement ExecSQL prepared last, with the text it was prepared from.
    std::unique_ptr<QSqlQuery> prepared_;
    QString preparedText_;

    TConnection* connection_;
    QStringList sql_;
    QMap<QString, TParam> params_;
    /// The parameter values of the last opening.
    QMap<QString, QVariant> openedWith_;
    QStringList openedText_;
    int rowsAffected_ = 0;
};
