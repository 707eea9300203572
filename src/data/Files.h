#pragma once
// Where the program leaves its files and how it names them: the working
// folders (beside the program, or in the user's documents when the program is
// installed in a system folder), names made safe for any file system, and the
// counter that keeps an export from overwriting an earlier one.

#include <QDate>
#include <QString>
#include <functional>

/// Each character that a Windows or Linux file name cannot hold (/ \ : * ? " < > |
/// and control characters) becomes "_"; a name of dots and blanks alone becomes
/// "_" throughout, so that it cannot name a folder above.
///
///     SafeFileName(u"Химия 10/11: финал"_s)   // "Химия 10_11_ финал"
QString SafeFileName(const QString& name);

/// The folder where the working folder name ("Заявки", "Рейтинги", "Журнал",
/// "Дипломы") stands: below outputRoot().
///
///     OutputFolder(u"Рейтинги"_s)   // "/opt/talvira/Рейтинги"
QString OutputFolder(const QString& name);
/// Puts the working folders below root (tests and benchmarks); an empty root
/// returns to the choice of chooseOutputRoot.
void setOutputRoot(const QString& root);
/// The folder below which the working folders stand: the root set by
/// setOutputRoot, else chooseOutputRoot for the executable's folder and the
/// user's documents folder, chosen once per run. The documents' subfolder is
/// created here when it is missing.
QString outputRoot();

/// Whether the working folders may stand in folder: it is an existing folder
/// where a file can be created, and not one of the system's program folders
/// below /usr, which hold no one's files even where an administrator could
/// write there.
///
///     CanHoldWorkingFolders(u"/usr/bin"_s)        // false, also for root
///     CanHoldWorkingFolders(u"/home/a/talvira"_s) // true for its owner
bool CanHoldWorkingFolders(const QString& folder);

/// The root of the working folders of a program in programFolder: that folder
/// itself where canHold allows it (a portable copy, the build folder, a copy on
/// Windows), otherwise the subfolder "Тальвира" of documentsFolder.
///
///     chooseOutputRoot(u"/usr/bin"_s, u"/home/a/Документы"_s)   // "/home/a/Документы/Тальвира"
QString chooseOutputRoot(const QString& programFolder, const QString& documentsFolder,
                         const std::function<bool(const QString&)>& canHold = CanHoldWorkingFolders);

/// The first free path folder/"(n)" + base + date + extension, n counting from 0,
/// with base and the date in the user's short date format made safe.
///
///     CounterFileName(OutputFolder(u"Рейтинги"_s), u"Рейтинг_(Химия)_"_s, u".xlsx"_s)
///     // ".../Рейтинги/(0)Рейтинг_(Химия)_10.12.2026.xlsx", then (1) ...
QString CounterFileName(const QString& folder, const QString& base, const QString& extension,
                        const QDate& date = QDate::currentDate());
