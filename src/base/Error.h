#pragma once
// The program's own error and the error of an export. Both lie below the
// writers (src/export) and the windows, so that a writer can throw what a
// window catches without either knowing the other. Every error carries its text
// in UTF-8; the general error display shows it to the user.

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

/// What part of an export failed. A window answers each kind with its own
/// message; exportFailureText gives the kind's own words.
enum class TExportFailure {
    /// The output folder could not be made.
    Folder,
    /// The file could not be made, written or given its name (the folder
    /// refuses files, the disk is full, the system refuses the name).
    Write,
    /// The layout asked for what a sheet cannot hold: a bad cell or range, a
    /// text too long for a cell, a row of the wrong width.
    Layout,
};

/// The words of a kind of export failure, as the spreadsheet library gives a
/// text for each of its error codes.
///
///     exportFailureText(TExportFailure::Write)   // "Не удалось записать файл"
inline QString exportFailureText(TExportFailure kind)
{
    switch (kind) {
    case TExportFailure::Folder:
        return QStringLiteral("Не удалось создать папку");
    case TExportFailure::Write:
        return QStringLiteral("Не удалось записать файл");
    case TExportFailure::Layout:
        return QStringLiteral("Неверная разметка таблицы");
    }
    return {};
}

/// An export that cannot be done, with its kind: a bad cell or range, a value
/// the sheet does not hold (layout), or a file that cannot be written (write).
/// The text names the cause: the file and what the system said.
///
///     throw EExportError(u"Неверный адрес ячейки: \"%1\""_s.arg(text));
///     throw EExportError(u"Не удалось записать файл \"%1\": %2"_s.arg(path, reason), TExportFailure::Write);
class EExportError : public EError {
public:
    explicit EExportError(const QString& message, TExportFailure kind = TExportFailure::Layout)
        : EError(message), kind_(kind) {}
    /// What part of the export failed.
    ///
    ///     if (e.kind() == TExportFailure::Write) ShowErrorMessage(ownText + u"\n\r"_s + e.message());
    TExportFailure kind() const { return kind_; }
    QString className() const override { return QStringLiteral("EExportError"); }

private:
    TExportFailure kind_;
};
