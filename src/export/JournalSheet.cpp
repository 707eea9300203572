#include "export/JournalSheet.h"

#include "export/Excel.h"
#include "base/Progress.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

TJournalRowReader journalRows(QList<TJournalSheetRow> rows)
{
    return heldRows(std::move(rows));
}

QString journalCaption()
{
    return u"Журнал выдачи дипломов"_s;
}

QString journalFileBase()
{
    return u"Журнал_"_s;
}

int writeJournalSheet(TExcel& xl, const QString& eventText, const TJournalRowReader& rows, TProgressSink& progress)
{
    progress.setStepText(u"Создание заголовков таблицы"_s);
    for (const QString& range : {u"A1:F1"_s, u"A2:F2"_s, u"A3:F3"_s, u"A4:F4"_s}) {
        xl.SelectRange(range);
        xl.MergeSelection();
    }
    xl.SetCell(1, 1, u"Министерство образования Велградской области"_s);
    xl.SetCell(2, 1, u"Образовательный центр \"Кассиор\""_s);
    xl.SetCell(3, 1, eventText + u". Журнал выдачи дипломов (сертификатов)"_s);

    const struct {
        QString title;
        double width;
    } columns[] = {
        {u"№ п/п"_s, 6},
        {u"Статус участника"_s, 30},
        {u"ФИО участника"_s, 35},
        {u"Класс"_s, 5},
        {u"Образовательная организация"_s, 40},
        {u"№ Диплома (сертификата)"_s, 15},
    };
    for (int c = 1; c <= 6; ++c)
        xl.SetCell(5, c, columns[c - 1].title);
    for (int c = 1; c <= 6; ++c)
        xl.SetColumnWidth(c, columns[c - 1].width);
    xl.SelectRange(u"A1:F5"_s);
    xl.BoldSelection();
    xl.WrapSelection();
    xl.AlignSelection(3);
    xl.AlignSelection({}, 2);

    progress.setStepText(u"Импорт данных..."_s);
    int r = 6;
    for (TJournalSheetRow row; rows(row); ++r) {
        xl.SetCell(r, 1, r - 5);
        xl.SetCell(r, 2, row.nameStatus);
        xl.SetCell(r, 3, row.fio);
        xl.SetCellAs(r, 4, row.classStudy, TValueKind::Number);
        xl.SetCell(r, 5, row.fullname);
        xl.SetCell(r, 6, row.numberDiplom);
        xl.SelectRange(u"E"_s + QString::number(r));
        xl.SetSelectionFontSize(8);
        progress.setPosition(r - 5);
    }
    const int last = r - 1;
    progress.setPosition(0);
    progress.setStepText(u"Форматирование таблицы..."_s);

    // Without rows there is nothing below the titles to wrap or align.
    if (last >= 6) {
        xl.SelectRange(u"A6:F"_s + QString::number(last));
        xl.WrapSelection();
        xl.AlignSelection({}, 1);
    }
    xl.SelectRange(u"D5:D"_s + QString::number(last));
    xl.AlignSelection(3);
    xl.SelectRange(u"A5"_s);
    xl.BorderRange(u"A1"_s, u"F"_s + QString::number(last));
    xl.PrepareForPrinting(5, 5);
    return last;
}
