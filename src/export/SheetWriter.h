#pragma once
// Writing a sheet to an .xlsx workbook file.

#include "export/Sheet.h"

#include <QString>

/// Writes the sheet as sheet 1 of a new workbook at path, with the title in the
/// document's properties. The workbook is written under a temporary name in the
/// same folder and renamed when it is complete; an existing file under path is
/// never replaced. Throws EExportError when it cannot be written; then nothing
/// is left under path and no temporary file remains.
///
///     WriteXlsx(sheet, u"/home/admin/Рейтинги/(0)_Окончательный_(Физика)_13.01.2026.xlsx"_s,
///               u"Рейтинг регионального мероприятия"_s);
void WriteXlsx(const TSheet& sheet, const QString& path, const QString& title);
