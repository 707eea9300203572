#pragma once
// A data set: named fields, rows of values and a current row that every bound
// view follows. Queries fill it from the database, memory tables from the
// program itself.

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <utility>

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

/// Rows with named fields and a current row.
///
///     for (ds->First(); !ds->Eof(); ds->Next())
///         total += ds->FieldByName("result").asFloat();
class TDataSet : public QObject {
    Q_OBJECT
public:
    explicit TDataSet(QObject* parent = nullptr) : QObject(parent) {}

    /// Makes the rows available; the first row becomes current.
    virtual void Open() = 0;
    /// Drops the rows (kept aside for giveBackClosedRows until the next opening).
    void Close();
    bool Active() const { return active_; }

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
    /// The position of a field (names without regard to case), -1 when there is none.
    int fieldIndex(const QString& name) const;
    /// The position of a field; throws EError for an unknown name, as FieldByName does.
    ///
    ///     const int result = q->requiredFieldIndex(u"result"_s);
    int requiredFieldIndex(const QString& name) const;
    const QStringList& fieldNames() const { return fields_; }
    /// The type the database gave a field (a QMetaType id), or
    /// QMetaType::UnknownType where the data set does not know it.
    int fieldType(int column) const { return column >= 0 && column < types_.size() ? types_.at(column) : 0; }
    QVariant value(int row, int column) const { return rows_.at(row).at(column); }
    QVariant value(int row, const QString& field) const;
    /// Changes one stored value (row from 0); views repaint the row.
    ///
    ///     ds->setValue(ds->RecNo() - 1, ds->fieldIndex("result"), 20.5);
    void setValue(int row, int column, const QVariant& value);

    /// Moves to the first row whose field equals value; false when none does.
    bool Locate(const QString& field, const QVariant& value);

    /// Views stop following the data set until the matching EnableControls.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }

signals:
    /// The rows are about to be dropped (Close of an open data set): the current
    /// row can still be read.
    void aboutToClose();
    /// The rows were replaced (opened, closed, re-read): views rebuild.
    void dataReset();
    /// The current row moved; views follow unless controls are disabled.
    void currentChanged(int recNo);
    /// One row's values changed (row from 0).
    void rowChanged(int row);

protected:
    /// Takes the fields and rows of an opening; the first row becomes current.
    void setRows(QStringList fields, QVector<QVector<QVariant>> rows, QVector<int> types = {});
    /// Appends a row and makes it current.
    void appendRow(QVector<QVariant> row);
    /// Removes every row, keeping the fields.
    void clearRows();
    void setCurrent(int row);
    void notifyReset();
    /// An opening that followed a Close within the same user action failed:
    /// the data set shows the rows it had before that Close again, so that a
    /// failed re-read (a server gone) empties no view that shares it. False,
    /// and nothing changes, when there is nothing to give back.
    bool giveBackClosedRows();

private:
    QStringList fields_;
    QVector<int> types_;
    QVector<QVector<QVariant>> rows_;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool active_ = false;
    int disabled_ = 0;
    /// The rows of the last Close and the user action it came in (-1: none).
    struct TClosedRows {
        QStringList fields;
        QVector<int> types;
        QVector<QVector<QVariant>> rows;
        int current = -1;
        int action = -1;
    } closed_;
    bool resetPending_ = false;
};

/// What grids and drop-down lists bind to: every view on the same source shows
/// the same rows and follows the same current row. The data set is a query or
/// a memory table.
class TDataSource : public QObject {
    Q_OBJECT
public:
    TDataSource(const QString& name, TDataSet* dataSet, QObject* parent = nullptr)
        : QObject(parent), dataSet_(dataSet)
    {
        setObjectName(name);
    }
    TDataSet* DataSet() const { return dataSet_; }

private:
    TDataSet* dataSet_;
};

/// The rows of a data set from its current row on, each read into a row of the
/// caller's kind: one text member per field, as the grid shows its value. The
/// source answers false at the end and leaves the data set there. A field the
/// data set does not hold throws EError at once, as FieldByName does.
///
///     auto rows = textRowsOf<TRatingSheetRow>(q, {{u"fio"_s, &TRatingSheetRow::fio},
///                                                 {u"result"_s, &TRatingSheetRow::result}});
///     TRatingSheetRow row;
///     while (rows(row)) ...
template <class Row>
std::function<bool(Row&)> textRowsOf(TDataSet* ds, std::initializer_list<std::pair<QString, QString Row::*>> fields)
{
    QVector<std::pair<int, QString Row::*>> columns;
    for (const auto& [name, member] : fields)
        columns.append({ds->requiredFieldIndex(name), member});
    return [ds, columns](Row& row) {
        if (ds->Eof())
            return false;
        const int at = ds->RecNo() - 1;
        for (const auto& [column, member] : columns)
            row.*member = TField::displayText(ds->value(at, column));
        ds->Next();
        return true;
    };
}
