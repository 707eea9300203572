#pragma once
// Failures of the program are exceptions. Every error carries its text in UTF-8;
// the general error display shows it to the user.

#include <QString>
#include <stdexcept>

/// Base of the program's own errors.
///
///     throw EError(QStringLiteral("Не выбран класс обучения"));
class EError : public std::runtime_error {
public:
    explicit EError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
    /// Name of the error's type, as the connection failure texts quote it.
    virtual QString className() const { return QStringLiteral("EError"); }
};

/// A failure reported by the database server or its client library.
///
///     throw EDatabaseError(q.lastError().text(), q.lastError().nativeErrorCode().toInt());
class EDatabaseError : public EError {
public:
    EDatabaseError(const QString& message, int nativeCode) : EError(message), code_(nativeCode) {}
    int nativeCode() const { return code_; }
    QString className() const override { return QStringLiteral("EDatabaseError"); }

private:
    int code_;
};

/// A text that is not a number in the user's number format.
class EConvertError : public EError {
public:
    using EError::EError;
    QString className() const override { return QStringLiteral("EConvertError"); }
};

/// A spreadsheet export that cannot be done: a bad cell or range, a value the
/// sheet does not hold, or a workbook that cannot be written.
///
///     throw EExportError(u"Неверный адрес ячейки: \"%1\""_s.arg(text));
class EExportError : public EError {
public:
    using EError::EError;
    QString className() const override { return QStringLiteral("EExportError"); }
};
