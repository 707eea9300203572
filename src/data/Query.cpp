#include "data/Query.h"

#include "data/Connection.h"
#include "data/Errors.h"
#include "data/Format.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Replaces each :name outside quotes and back-quotes by a positional marker and
// lists the names in order, so the values are bound, never spliced into the text.
QString toPositional(const QString& text, QStringList* names)
{
    QString out;
    out.reserve(text.size());
    QChar quote;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            out += c;
            if (c == QLatin1Char('\\') && quote != QLatin1Char('`') && i + 1 < text.size())
                out += text.at(++i);
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < text.size() && isNameChar(text.at(i + 1))
            && (i == 0 || text.at(i - 1) != QLatin1Char(':'))) {
            int j = i + 1;
            while (j < text.size() && isNameChar(text.at(j)))
                ++j;
            if (names)
                names->append(text.mid(i + 1, j - i - 1));
            out += QLatin1Char('?');
            i = j - 1;
            continue;
        }
        out += c;
    }
    return out;
}

// Qt's MySQL driver reads the error texts of prepared statements as Latin-1,
// although the server sends them in UTF-8: a text whose code units all fit a
// byte and whose bytes are valid UTF-8 is read again as UTF-8.
QString repairedErrorText(const QString& text)
{
    bool wide = false;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text;
        wide = wide || c.unicode() > 0x7F;
    }
    if (!wide)
        return text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text.toLatin1());
    return utf8.hasError() ? text : decoded;
}

EDatabaseError databaseError(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return EDatabaseError(repairedErrorText(text), error.nativeErrorCode().toInt());
}

} // namespace

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

// ---- TQuery ---------------------------------------------------------------

TQuery::TQuery(const QString& name, TConnection* connection, QObject* parent)
    : QObject(parent)
    , connection_(connection)
{
    setObjectName(name);
    if (connection_)
        connect(connection_, &TConnection::beforeDisconnect, this, &TQuery::dropPrepared);
}

TQuery::~TQuery() = default;

const TQuery::Parsed& TQuery::parsed() const
{
    const QString current = text();
    if (!parsedValid_ || current != parsed_.text) {
        parsed_.names.clear();
        parsed_.positional = toPositional(current, &parsed_.names);
        parsed_.text = current;
        parsedValid_ = true;
    }
    return parsed_;
}

void TQuery::dropPrepared()
{
    prepared_.reset();
    preparedText_.clear();
}

QStringList TQuery::paramNames() const
{
    QStringList unique;
    for (const QString& n : parsed().names)
        if (!unique.contains(n, Qt::CaseInsensitive))
            unique << n;
    return unique;
}

TParam& TQuery::ParamByName(const QString& name)
{
    if (!paramNames().contains(name, Qt::CaseInsensitive))
        throw EError(QStringLiteral("%1: параметр '%2' не найден").arg(objectName(), name));
    return params_[name.toLower()];
}

void TQuery::bindParams(QSqlQuery& q, const QStringList& names) const
{
    for (int i = 0; i < names.size(); ++i)
        q.bindValue(i, params_.value(names.at(i).toLower()).value());
}

void TQuery::Open()
{
    if (active_)
        return;
    QSqlDatabase db = connection_->database();
    const QStringList names = parsed().names;
    const QString positional = parsed().positional;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool ok;
    if (names.isEmpty()) {
        ok = q.exec(positional);
    } else {
        ok = q.prepare(positional);
        if (ok) {
            bindParams(q, names);
            ok = q.exec();
        }
    }
    if (!ok)
        throw databaseError(q.lastError());

    QStringList fields;
    QVector<QVector<QVariant>> rows;
    if (q.isSelect()) {
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            fields << record.fieldName(i);
        while (q.next()) {
            QVector<QVariant> row(record.count());
            for (int i = 0; i < record.count(); ++i)
                row[i] = q.value(i);
            rows.append(std::move(row));
        }
        // The driver ends the rows with false on a fetch failure too: only an
        // empty error means the rows are all there.
        if (q.lastError().type() != QSqlError::NoError)
            throw databaseError(q.lastError());
    }
    fields_ = fields;
    rows_ = std::move(rows);
    active_ = true;
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = bof_ = rows_.isEmpty();
    bof_ = true;
    notifyReset();
    emit currentChanged(RecNo());
}

void TQuery::Close()
{
    if (!active_)
        return;
    active_ = false;
    rows_.clear();
    fields_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    notifyReset();
}

void TQuery::ExecSQL()
{
    QSqlDatabase db = connection_->database();
    const Parsed& p = parsed();
    if (p.names.isEmpty()) {
        QSqlQuery q(db);
        if (!q.exec(p.positional))
            throw databaseError(q.lastError());
        rowsAffected_ = q.numRowsAffected();
        return;
    }
    // A statement run row by row (an insert per participant) is prepared once.
    if (!prepared_ || preparedText_ != p.positional) {
        dropPrepared();
        auto q = std::make_unique<QSqlQuery>(db);
        if (!q->prepare(p.positional))
            throw databaseError(q->lastError());
        prepared_ = std::move(q);
        preparedText_ = p.positional;
    }
    bindParams(*prepared_, p.names);
    if (!prepared_->exec()) {
        const QSqlError error = prepared_->lastError();
        dropPrepared();
        throw databaseError(error);
    }
    rowsAffected_ = prepared_->numRowsAffected();
    if (prepared_->isSelect())
        prepared_->finish();
}

void TQuery::setCurrent(int row)
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

void TQuery::setRecNo(int n)
{
    eof_ = bof_ = false;
    setCurrent(n - 1);
}

void TQuery::First()
{
    setCurrent(0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void TQuery::Last()
{
    setCurrent(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void TQuery::Next()
{
    bof_ = false;
    if (current_ + 1 >= rows_.size()) {
        eof_ = true;
        return;
    }
    setCurrent(current_ + 1);
    eof_ = false;
}

void TQuery::Prior()
{
    eof_ = false;
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    setCurrent(current_ - 1);
    bof_ = false;
}

int TQuery::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant TQuery::value(int row, const QString& field) const
{
    const int column = fieldIndex(field);
    if (column < 0 || row < 0 || row >= rows_.size())
        return {};
    return rows_.at(row).at(column);
}

TField TQuery::FieldByName(const QString& name) const
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw EError(QStringLiteral("%1: поле '%2' не найдено").arg(objectName(), name));
    if (current_ < 0)
        return TField(name, QVariant());
    return TField(fields_.at(column), rows_.at(current_).at(column));
}

bool TQuery::Locate(const QString& field, const QVariant& value)
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

void TQuery::DisableControls()
{
    ++disabled_;
}

void TQuery::EnableControls()
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

void TQuery::notifyReset()
{
    if (disabled_ > 0) {
        resetPending_ = true;
        return;
    }
    emit dataReset();
}
