#pragma once
// A data set that lives only in memory: the program defines its fields and
// appends its rows; grids and drop-down lists bind to it like to a query.

#include "data/DataSet.h"

/// Rows held by the program.
///
///     TMemTable MemEdu(u"MemEdu"_s, {u"id"_s, u"name"_s});
///     MemEdu.Open();
///     MemEdu.AppendRecord({0, u"В отчете отобразить ВСЕ общеобразовательные мероприятия"_s});
///     TDataSource SourceMemEdu(u"SourceMemEdu"_s, &MemEdu);
class TMemTable : public TDataSet {
    Q_OBJECT
public:
    TMemTable(const QString& name, QStringList fields, QObject* parent = nullptr);

    /// Opens the table with its fields and no rows (an open table stays as it is).
    void Open() override;
    /// Removes every row; the table stays open.
    void EmptyTable();
    /// Appends a row with the values of the fields in their order (missing ones
    /// are empty) and makes it current. Opens the table when it is closed.
    void AppendRecord(const QVariantList& values);
    /// Sets one field of the current row. Throws EError for an unknown field or
    /// when there is no current row.
    ///
    ///     MemList.setFieldValue(u"sel"_s, u"Да"_s);
    void setFieldValue(const QString& field, const QVariant& value);

private:
    QStringList definedFields_;
};
