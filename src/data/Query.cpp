#include "data/Query.h"

#include "data/Connection.h"
#include "data/Errors.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlField>
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

// Throws the failure of a statement; a statement object still alive on the
// connection is released first, because a lost connection is closed.
[[noreturn]] void fail(TConnection* connection, QSqlQuery& q)
{
    const QSqlError error = q.lastError();
    q = QSqlQuery();
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    connection->raise(repairedErrorText(text), error.nativeErrorCode().toInt());
}

} // namespace

// ---- TQuery ---------------------------------------------------------------

TQuery::TQuery(const QString& name, TConnection* connection, QObject* parent)
    : TDataSet(parent)
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

void TQuery::run(QSqlQuery& q)
{
    const QStringList names = parsed().names;
    const QString positional = parsed().positional;
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
        fail(connection_, q);
}

void TQuery::Open()
{
    if (Active())
        return;
    QSqlQuery q(connection_->database());
    run(q);
    const QStringList names = parsed().names;

    QStringList fields;
    QVector<int> types;
    QVector<QVector<QVariant>> rows;
    if (q.isSelect()) {
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i) {
            fields << record.fieldName(i);
            types << record.field(i).metaType().id();
        }
        while (q.next()) {
            QVector<QVariant> row(record.count());
            for (int i = 0; i < record.count(); ++i)
                row[i] = q.value(i);
            rows.append(std::move(row));
        }
        // The driver ends the rows with false on a fetch failure too: only an
        // empty error means the rows are all there.
        if (q.lastError().type() != QSqlError::NoError)
            fail(connection_, q);
    }
    openedWith_.clear();
    openedText_ = sql_;
    for (const QString& n : names)
        openedWith_.insert(n.toLower(), params_.value(n.toLower()).value());
    setRows(std::move(fields), std::move(rows), std::move(types));
}

std::unique_ptr<TRowCursor> TQuery::OpenForward()
{
    Close();
    auto q = std::make_unique<QSqlQuery>(connection_->database());
    run(*q);
    return std::unique_ptr<TRowCursor>(new TRowCursor(connection_, std::move(q)));
}

bool TQuery::isOpenFor(const QVariantMap& values) const
{
    if (!Active())
        return false;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.key() == QLatin1String("@sql")) {
            const QStringList wanted = it.value().toStringList();
            if (wanted.mid(0, wanted.size() - 1) != openedText_.mid(0, openedText_.size() - 1))
                return false;
            continue;
        }
        const auto opened = openedWith_.constFind(it.key().toLower());
        if (opened == openedWith_.cend() || opened.value() != it.value())
            return false;
    }
    return true;
}

void TQuery::ExecSQL()
{
    QSqlDatabase db = connection_->database();
    const Parsed& p = parsed();
    if (p.names.isEmpty()) {
        QSqlQuery q(db);
        if (!q.exec(p.positional))
            fail(connection_, q);
        rowsAffected_ = q.numRowsAffected();
        return;
    }
    // A statement run row by row (an insert per participant) is prepared once.
    if (!prepared_ || preparedText_ != p.positional) {
        dropPrepared();
        auto q = std::make_unique<QSqlQuery>(db);
        if (!q->prepare(p.positional))
            fail(connection_, *q);
        prepared_ = std::move(q);
        preparedText_ = p.positional;
    }
    bindParams(*prepared_, p.names);
    if (!prepared_->exec()) {
        const std::unique_ptr<QSqlQuery> failed = std::move(prepared_);
        dropPrepared();
        fail(connection_, *failed);
    }
    rowsAffected_ = prepared_->numRowsAffected();
    if (prepared_->isSelect())
        prepared_->finish();
}

void TQuery::Refresh()
{
    const int recNo = RecNo();
    Close();
    Open();
    setRecNo(recNo);
}

// ---- TRowCursor -----------------------------------------------------------

TRowCursor::TRowCursor(TConnection* connection, std::unique_ptr<QSqlQuery> query)
    : connection_(connection)
    , query_(std::move(query))
{
    const QSqlRecord record = query_->record();
    for (int i = 0; i < record.count(); ++i)
        fields_ << record.fieldName(i);
}

TRowCursor::~TRowCursor() = default;

bool TRowCursor::next()
{
    if (query_->next())
        return true;
    // The driver ends the rows with false on a fetch failure too.
    if (query_->lastError().type() != QSqlError::NoError)
        fail(connection_, *query_);
    return false;
}

QVariant TRowCursor::value(int column) const
{
    return query_->value(column);
}

int TRowCursor::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
