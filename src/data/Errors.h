#pragma once
// Failures of the program are exceptions. Every error carries its text in UTF-8;
// the general error display shows it to the user. EError and the export's
// EExportError stand in base/Error.h; the failures of the database here.

#include "base/Error.h"

#include <QString>

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

/// A statement failed because the connection to the server went away (the
/// client's "gone away" and "lost connection" errors), or the connection could
/// not be made again. The text says what to do, the server's own text follows.
///
///     throw EConnectionLost(u"Server has gone away"_s, 2006);
///     // "Соединение с базой данных потеряно. ...\r\n\r\nServer has gone away"
class EConnectionLost : public EDatabaseError {
public:
    EConnectionLost(const QString& serverText, int nativeCode)
        : EDatabaseError(lead() + QStringLiteral("Ответ сервера:\r\n") + serverText, nativeCode) {}
    QString className() const override { return QStringLiteral("EConnectionLost"); }
    /// The words before the server's text.
    static QString lead()
    {
        return QStringLiteral("Соединение с базой данных потеряно. Действие не выполнено до конца: то, что не "
                              "записано, не будет записано само. Повторите действие, программа подключится к "
                              "базе данных заново. Если ошибка повторится, проверьте сеть или выберите её "
                              "кнопкой \"Выбор сети\" в окне авторизации.\r\n\r\n");
    }
};

/// A text that is not a number in the user's number format.
class EConvertError : public EError {
public:
    using EError::EError;
    QString className() const override { return QStringLiteral("EConvertError"); }
};
