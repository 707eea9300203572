#include "data/DataSet.h"

#include "data/Connection.h"
#include "data/Errors.h"
#include "data/Format.h"

#include <QDateTime>
#include <algorithm>
#include <QLocale>

// ---- TField ---------------------------------------------------------------

bool TField::isNull() const
{
    return value_.isNull() || !value_.isValid();
}

int TField::asInteger() const
{
    if (isNull())
        return 0;
    if (value_.typeId() == QMetaType::QString) {
        const QString text = value_.toString().trimmed();
        if (text.isEmpty())
            return 0;
        bool ok = false;
        const int v = text.toInt(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' не является правильным целым числом").arg(text));
        return v;
    }
    if (value_.typeId() == QMetaType::Double || value_.typeId() == QMetaType::Float)
        return int(value_.toDouble());
    return value_.toInt();
}

double TField::asFloat() const
{
    if (isNull())
        return 0.0;
    if (value_.typeId() == QMetaType::QString) {
        const QString text = value_.toString().trimmed();
        return text.isEmpty() ? 0.0 : StrToFloat(text);
    }
    return value_.toDouble();
}

QString TField::displayText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(value.toDouble());
    case QMetaType::QDate:
        return DateToStr(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return DateToStr(dt.date());
        return QLocale().toString(dt, QLocale::ShortFormat);
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QString::number(value.toInt());
    default:
        return value.toString();
    }
}

QString TField::asString() const
{
    return displayText(value_);
}

QDate TField::asDate() const
{
    if (isNull())
        return {};
    if (value_.typeId() == QMetaType::QDate)
        return value_.toDate();
    if (value_.typeId() == QMetaType::QDateTime)
        return value_.toDateTime().date();
    return QDate::fromString(value_.toString(), Qt::ISODate);
}

// ---- TDataSet -------------------------------------------------------------

void TDataSet::setRows(QStringList fields, QVector<QVector<QVariant>> rows, QVector<int> types)
{
    fields_ = std::move(fields);
    types_ = std::move(types);
    rows_ = std::move(rows);
    closed_ = {};
    active_ = true;
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
    bof_ = true;
    notifyReset();
    emit currentChanged(RecNo());
}

void TDataSet::appendRow(QVector<QVariant> row)
{
    row.resize(fields_.size());
    rows_.append(std::move(row));
    notifyReset();
    eof_ = bof_ = false;
    setCurrent(int(rows_.size()) - 1);
}

void TDataSet::clearRows()
{
    rows_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    notifyReset();
}

void TDataSet::Close()
{
    if (!active_)
        return;
    emit aboutToClose();
    active_ = false;
    closed_ = {std::move(fields_), std::move(types_), std::move(rows_), current_, TUserAction::current()};
    rows_.clear();
    fields_.clear();
    types_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    notifyReset();
}

bool TDataSet::giveBackClosedRows()
{
    if (active_ || closed_.action < 0 || closed_.action != TUserAction::current())
        return false;
    fields_ = std::move(closed_.fields);
    types_ = std::move(closed_.types);
    rows_ = std::move(closed_.rows);
    const int current = closed_.current;
    closed_ = {};
    active_ = true;
    current_ = rows_.isEmpty() ? -1 : std::clamp(current, 0, int(rows_.size()) - 1);
    eof_ = bof_ = rows_.isEmpty();
    notifyReset();
    emit currentChanged(RecNo());
    return true;
}

void TDataSet::setCurrent(int row)
{
    if (rows_.isEmpty()) {
        current_ = -1;
        return;
    }
    row = std::clamp(row, 0, int(rows_.size()) - 1);
    if (row == current_)
        return;
    current_ = row;
    emit currentChanged(RecNo());
}

void TDataSet::setRecNo(int n)
{
    eof_ = bof_ = false;
    setCurrent(n - 1);
}

void TDataSet::First()
{
    setCurrent(0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void TDataSet::Last()
{
    setCurrent(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void TDataSet::Next()
{
    bof_ = false;
    if (current_ + 1 >= rows_.size()) {
        eof_ = true;
        return;
    }
    setCurrent(current_ + 1);
    eof_ = false;
}

void TDataSet::Prior()
{
    eof_ = false;
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    setCurrent(current_ - 1);
    bof_ = false;
}

int TDataSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant TDataSet::value(int row, const QString& field) const
{
    const int column = fieldIndex(field);
    if (column < 0 || row < 0 || row >= rows_.size())
        return {};
    return rows_.at(row).at(column);
}

int TDataSet::requiredFieldIndex(const QString& name) const
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw EError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), name));
    return column;
}

TField TDataSet::FieldByName(const QString& name) const
{
    const int column = requiredFieldIndex(name);
    if (current_ < 0)
        return TField(name, QVariant());
    return TField(fields_.at(column), rows_.at(current_).at(column));
}

bool TDataSet::Locate(const QString& field, const QVariant& value)
{
    const int column = fieldIndex(field);
    if (column < 0)
        throw EError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), field));
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_.at(row).at(column) == value) {
            eof_ = bof_ = false;
            setCurrent(row);
            return true;
        }
    }
    return false;
}

void TDataSet::setValue(int row, int column, const QVariant& value)
{
    rows_[row][column] = value;
    emit rowChanged(row);
}

void TDataSet::DisableControls()
{
    ++disabled_;
}

void TDataSet::EnableControls()
{
    if (disabled_ == 0)
        return;
    if (--disabled_ == 0) {
        if (resetPending_) {
            resetPending_ = false;
            emit dataReset();
        }
        emit currentChanged(RecNo());
    }
}

void TDataSet::notifyReset()
{
    if (disabled_ > 0) {
        resetPending_ = true;
        return;
    }
    emit dataReset();
}
