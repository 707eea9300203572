#pragma once
// Named queries: an SQL text held line by line, named parameters, and the rows
// of the last opening with a current row that every bound view follows.

#include <QDate>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class QSqlQuery;
class TConnection;

/// The value of one field of the current row.
///
///     int n = q->FieldByName("countUser").asInteger();   // 0 when empty
class TField {
public:
    TField(QString name, QVariant value) : name_(std::move(name)), value_(std::move(value)) {}
    const QString& name() const { return name_; }
    QVariant value() const { return value_; }
    bool isNull() const;
    /// Integer value; an empty value reads as 0, a non-numeric text throws EConvertError.
    int asInteger() const;
    /// Float value; an empty value reads as 0.
    double asFloat() const;
    /// The display text: numbers in the user's format, dates in the short date format.
    QString asString() const;
    /// Date value; invalid when the value is not a date.
    QDate asDate() const;

    /// Display text of any stored value.
    static QString displayText(const QVariant& value);

private:
    QString name_;
    QVariant value_;
};

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

/// A parameterised SQL text on the one connection.
///
///     q->Close();
///     q->ParamByName("eduID").setAsInteger(12);
///     q->Open();
///     for (q->First(); !q->Eof(); q->Next())
///         names << q->FieldByName("fio").asString();
class TQuery : public QObject {
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
    void Open();
    void Close();
    /// Runs the text as a statement. A failure throws EDatabaseError. A text
    /// with parameters stays prepared on the server for the next run while the
    /// text and the connection stay the same.
    void ExecSQL();
    bool Active() const { return active_; }
    /// Rows touched by the last ExecSQL.
    int RowsAffected() const { return rowsAffected_; }

    int RecordCount() const { return int(rows_.size()); }
    bool IsEmpty() const { return rows_.isEmpty(); }
    /// Number of the current row, from 1; 0 when there is none.
    int RecNo() const { return current_ + 1; }
    /// Moves to row n (from 1), kept inside the rows.
    void setRecNo(int n);
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }

    /// A field of the current row. Throws EError for an unknown name; on an
    /// empty result every field reads as empty.
    TField FieldByName(const QString& name) const;
    int fieldIndex(const QString& name) const;
    const QStringList& fieldNames() const { return fields_; }
    QVariant value(int row, int column) const { return rows_.at(row).at(column); }
    QVariant value(int row, const QString& field) const;

    /// Moves to the first row whose field equals value; false when none does.
    bool Locate(const QString& field, const QVariant& value);

    /// Views stop following the query until the matching EnableControls.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }

    TConnection* connection() const { return connection_; }

signals:
    /// The rows were replaced (opened, closed, re-read): views rebuild.
    void dataReset();
    /// The current row moved; views follow unless controls are disabled.
    void currentChanged(int recNo);

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
    /// Binds the values of the named parameters in the order of their markers.
    void bindParams(QSqlQuery& q, const QStringList& names) const;
    void setCurrent(int row);
    void notifyReset();

    mutable Parsed parsed_;
    mutable bool parsedValid_ = false;
    /// The statement ExecSQL prepared last, with the text it was prepared from.
    std::unique_ptr<QSqlQuery> prepared_;
    QString preparedText_;

    TConnection* connection_;
    QStringList sql_;
    QMap<QString, TParam> params_;
    QStringList fields_;
    QVector<QVector<QVariant>> rows_;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool active_ = false;
    int rowsAffected_ = 0;
    int disabled_ = 0;
    bool resetPending_ = false;
};

/// What grids and drop-down lists bind to: every view on the same source shows
/// the same rows and follows the same current row.
class TDataSource : public QObject {
    Q_OBJECT
public:
    TDataSource(const QString& name, TQuery* dataSet, QObject* parent = nullptr)
        : QObject(parent), dataSet_(dataSet)
    {
        setObjectName(name);
    }
    TQuery* DataSet() const { return dataSet_; }

private:
    TQuery* dataSet_;
};
