#include "export/RatingSheet.h"

#include "export/Excel.h"
#include "base/Progress.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

TRatingRowReader ratingRows(QList<TRatingSheetRow> rows)
{
    return heldRows(std::move(rows));
}

QString ratingCaption()
{
    return u"Рейтинг регионального мероприятия"_s;
}

namespace {

/// The longest event name in a file name, in UTF-8 bytes: with the counter, the
/// rest of the base, the date and the extension the name stays well within the
/// 255 bytes (Linux) or characters (Windows) that a file name may have.
constexpr qsizetype FileNameEventBytes = 180;

/// The text cut to at most `bytes` bytes of UTF-8, whole characters only.
QString cutToBytes(const QString& text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const qsizetype size = text.mid(end, units).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        end += units;
    }
    return text.left(end);
}

} // namespace

QString ratingFileBase(const QString& nameEdu)
{
    return u"_Окончательный_("_s + cutToBytes(nameEdu, FileNameEventBytes) + u")_"_s;
}

int writeRatingSheet(TExcel& xl, const QString& nameEdu, int count, const TRatingRowReader& rows,
                     TProgressSink& progress)
{
    for (const QString& range : {u"A1:F1"_s, u"A2:F2"_s, u"A3:F3"_s}) {
        xl.SelectRange(range);
        xl.MergeSelection();
    }
    xl.SelectRange(u"A1:F4"_s);
    xl.BoldSelection();
    xl.WrapSelection();
    xl.AlignSelection(3);
    xl.AlignSelection({}, 2);
    xl.SetCell(1, 1, u"Министерство образования Велградской области"_s);
    xl.SetCell(2, 1, u"Образовательный центр \"Кассиор\""_s);
    xl.SetCell(3, 1, nameEdu + u". Рейтинг регионального общеобразовательного мероприятия"_s);

    const struct {
        QString title;
        double width;
    } columns[] = {
        {u"№ п/п"_s, 6},
        {u"Фамилия, Имя, Отчество участника"_s, 40},
        {u"Класс"_s, 6},
        {u"Муниципальное образование"_s, 40},
        {u"Баллы"_s, 10},
        {u"Статус"_s, 40},
    };
    for (int c = 1; c <= 6; ++c)
        xl.SetColumnWidth(c, columns[c - 1].width);
    for (int c = 1; c <= 6; ++c)
        xl.SetCell(4, c, columns[c - 1].title);

    progress.setStepText(u"Импорт данных"_s);
    progress.setRange(0, count);
    int r = 5;
    for (TRatingSheetRow row; rows(row); ++r) {
        progress.setPosition(r - 4);
        xl.SetCell(r, 1, QString::number(r - 4) + u'.');
        xl.SetCell(r, 2, row.fio);
        xl.SetCellAs(r, 3, row.classStudy, TValueKind::Number);
        xl.SetCell(r, 4, row.name);
        xl.SetCellAs(r, 5, row.result, TValueKind::Number);
        xl.SetCell(r, 6, row.nameStatus);
    }
    const int last = r - 1;
    progress.setPosition(0);
    progress.setStepText(u"Форматирование таблицы..."_s);

    // Without rows there is nothing to centre below the titles.
    if (last >= 5) {
        for (const QString& column : {u"A"_s, u"C"_s, u"E"_s}) {
            xl.SelectRange(column + u'5' + u':' + column + QString::number(last));
            xl.AlignSelection(3);
        }
    }
    xl.BorderRange(u"A1"_s, u"F"_s + QString::number(last));
    xl.PrepareForPrinting(4, 4);
    return last;
}
