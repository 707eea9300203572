#include "data/MemTable.h"

#include "data/Errors.h"

TMemTable::TMemTable(const QString& name, QStringList fields, QObject* parent)
    : TDataSet(parent)
    , definedFields_(std::move(fields))
{
    setObjectName(name);
}

void TMemTable::Open()
{
    if (!Active())
        setRows(definedFields_, {});
}

void TMemTable::EmptyTable()
{
    Open();
    clearRows();
}

void TMemTable::AppendRecord(const QVariantList& values)
{
    Open();
    appendRow(QVector<QVariant>(values.begin(), values.end()));
}

void TMemTable::setFieldValue(const QString& field, const QVariant& value)
{
    const int column = fieldIndex(field);
    if (column < 0)
        throw EError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), field));
    if (RecNo() < 1)
        throw EError(QStringLiteral("%1: нет текущей записи").arg(objectName()));
    setValue(RecNo() - 1, column, value);
}
