#pragma once
// Where the program leaves its files and how it names them: the working
// folders beside the program, names made safe for any file system, and the
// counter that keeps an export from overwriting an earlier one.

#include <QDate>
#include <QString>

/// Each character that a Windows or Linux file name cannot hold (/ \ : * ? " < > |
/// and control characters) becomes "_"; a name of dots and blanks alone becomes
/// "_" throughout, so that it cannot name a folder above.
///
///     SafeFileName(u"Химия 10/11: финал"_s)   // "Химия 10_11_ финал"
QString SafeFileName(const QString& name);

/// The folder where the working folder name ("Заявки", "Рейтинги", "Журнал",
/// "Дипломы") stands: beside the executable unless setOutputRoot chose another.
///
///     OutputFolder(u"Рейтинги"_s)   // "/opt/talvira/Рейтинги"
QString OutputFolder(const QString& name);
/// Puts the working folders below root (tests and benchmarks); an empty root
/// returns to the folder of the executable.
void setOutputRoot(const QString& root);
/// The folder below which the working folders stand.
QString outputRoot();

/// The first free path folder/"(n)" + base + date + extension, n counting from 0,
/// with base and the date in the user's short date format made safe.
///
///     CounterFileName(OutputFolder(u"Рейтинги"_s), u"Рейтинг_(Химия)_"_s, u".xlsx"_s)
///     // ".../Рейтинги/(0)Рейтинг_(Химия)_10.12.2026.xlsx", then (1) ...
QString CounterFileName(const QString& folder, const QString& base, const QString& extension,
                        const QDate& date = QDate::currentDate());
