#pragma once
// The words in which the spreadsheet exports report a saved workbook and a
// spreadsheet that could not be written.

#include <QDir>
#include <QString>

/// The message after a workbook was saved, with the path in the system's notation.
///
///     ShowInformation(sheetSavedText(path));   // "Таблица сохранена в файле:\n\r/home/.../(0)Журнал_13.01.2026.xlsx"
inline QString sheetSavedText(const QString& path)
{
    return QStringLiteral("Таблица сохранена в файле:\n\r") + QDir::toNativeSeparators(path);
}

/// The error message of a spreadsheet that could not be made or saved.
///
///     ShowErrorMessage(sheetWriteErrorText());
inline QString sheetWriteErrorText()
{
    return QStringLiteral("Ошибка записи в MS Excel.\n\r"
                          "Скорее всего у Вас не лицензионная версия MS Excel.\n\r"
                          "РЕКОМЕНДАЦИЯ:\n\r"
                          "Перед экспортом данных откройте MS Excel и создайте пустой лист.");
}

/// The error message of a working folder that could not be made.
///
///     ShowErrorMessage(folderErrorText(u"Журнал"_s));   // "Не удалось создать папку \"Журнал\""
inline QString folderErrorText(const QString& folder)
{
    return QStringLiteral("Не удалось создать папку \"") + folder + u'"';
}
