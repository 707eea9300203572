#include "export/Excel.h"

#include "base/Error.h"
#include "export/SheetWriter.h"

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The spreadsheet's named alignment constants beside its small numbers.
THAlign HorizontalOf(int value)
{
    switch (value) {
    case 1: return THAlign::General;
    case 2: case -4131: return THAlign::Left;
    case 3: case -4108: return THAlign::Center;
    case 4: case -4152: return THAlign::Right;
    case 5: return THAlign::Fill;
    case 6: case -4130: return THAlign::Justify;
    case 7: return THAlign::CenterAcross;
    case 8: case -4117: return THAlign::Distributed;
    }
    throw EExportError(u"Недопустимое горизонтальное выравнивание: %1"_s.arg(value));
}

TVAlign VerticalOf(int value)
{
    switch (value) {
    case 1: case -4160: return TVAlign::Top;
    case 2: case -4108: return TVAlign::Center;
    case 3: case -4107: return TVAlign::Bottom;
    case 4: case -4130: return TVAlign::Justify;
    case 5: case -4117: return TVAlign::Distributed;
    }
    throw EExportError(u"Недопустимое вертикальное выравнивание: %1"_s.arg(value));
}

constexpr int AutomaticColor = -4105;

/// Days from the spreadsheet's day 0 (the serial numbers of dates from 1 March
/// 1900 on count from 30 December 1899).
const QDate SerialZero(1899, 12, 30);
const QDate FirstSerialDate(1900, 3, 1);

/// The date a short date text of the locale stands for; an invalid date when it
/// is none. A format with two-digit years reads them within the hundred years
/// around today, not in the 1900s.
QDate ReadShortDate(const QString& text, const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text.trimmed(), format);
    if (date.isValid() && !format.contains(u"yyyy"_s)) {
        const int today = QDate::currentDate().year();
        while (date.year() < today - 80)
            date = date.addYears(100);
    }
    return date;
}

} // namespace

QString DateNumberFormat(const QLocale& locale)
{
    const QString qt = locale.dateFormat(QLocale::ShortFormat);
    QString code;
    for (qsizetype i = 0; i < qt.size();) {
        const QChar c = qt.at(i);
        qsizetype run = 1;
        while (i + run < qt.size() && qt.at(i + run) == c)
            ++run;
        if (c == u'\'') {
            // A quoted text of the pattern: '' is one quote mark.
            const qsizetype end = qt.indexOf(u'\'', i + 1);
            const QString literal = qt.mid(i + 1, (end < 0 ? qt.size() : end) - i - 1);
            if (literal.isEmpty())
                code += u"\\'"_s;
            else
                code += u'"' + literal + u'"';
            i = end < 0 ? qt.size() : end + 1;
            continue;
        }
        if (c == u'd')
            code += QString(std::min<qsizetype>(run, 4), u'd');
        else if (c == u'M')
            code += QString(std::min<qsizetype>(run, 4), u'm');
        else if (c == u'y')
            code += u"yyyy"_s;
        else if (c == u'.' || c == u'/' || c == u'-' || c == u' ' || c == u',')
            code += QString(run, c);
        else
            for (qsizetype k = 0; k < run; ++k)
                code += u'\\' + QString(c);
        i += run;
    }
    return code;
}

QString PageFooter()
{
    return u"&CСтраница &P из &N"_s;
}

TExcel::TExcel(TDocumentOpener opener) : opener_(std::move(opener)) {}

void TExcel::SetOpener(TDocumentOpener opener)
{
    opener_ = std::move(opener);
}

void TExcel::StartExcel()
{
    started_ = true;
    sheet_.reset();
    selection_ = TCellRange();
    caption_.clear();
    savedPath_.clear();
    shownPath_.clear();
}

void TExcel::AddWorkbook()
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
    sheet_.emplace();
    dates_.clear();
    dateFormat_ = DateNumberFormat();
    selection_ = TCellRange();
    savedPath_.clear();
    shownPath_.clear();
}

void TExcel::DisableEvents()
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
}

void TExcel::SetCaption(const QString& caption)
{
    if (!started_)
        throw EExportError(u"Табличный процессор не запущен"_s);
    caption_ = caption;
}

TSheet& TExcel::sheet()
{
    if (!sheet_)
        throw EExportError(u"Рабочая книга не создана"_s);
    return *sheet_;
}

const TSheet& TExcel::Sheet() const
{
    if (!sheet_)
        throw EExportError(u"Рабочая книга не создана"_s);
    return *sheet_;
}

void TExcel::SelectRange(const QString& range)
{
    sheet();
    selection_ = TCellRange::parse(range);
}

void TExcel::SelectRange(const QString& first, const QString& last)
{
    sheet();
    selection_ = TCellRange::parse(first, last);
}

QString TExcel::Selection() const
{
    return selection_.text();
}

void TExcel::format(const std::function<void(TCellFormat&)>& change)
{
    sheet().applyFormat(selection_, change);
}

void TExcel::MergeSelection()
{
    sheet().merge(selection_);
}

void TExcel::BoldSelection()
{
    format([](TCellFormat& f) { f.bold = true; });
}

void TExcel::WrapSelection()
{
    format([](TCellFormat& f) { f.wrap = true; });
}

void TExcel::AlignSelection(std::optional<int> horizontal, std::optional<int> vertical)
{
    sheet();
    // Both numbers are checked before the selection changes.
    const int h = horizontal ? int(HorizontalOf(*horizontal)) : 0;
    const int v = vertical ? int(VerticalOf(*vertical)) : 0;
    format([h, v](TCellFormat& f) {
        if (h)
            f.horizontal = THAlign(h);
        if (v)
            f.vertical = TVAlign(v);
    });
}

void TExcel::SetSelectionFontSize(double points)
{
    sheet();
    if (!(points >= 1 && points <= 409))
        throw EExportError(u"Недопустимый размер шрифта: %1"_s.arg(points));
    format([points](TCellFormat& f) { f.fontSize = points; });
}

void TExcel::SetSelectionFontColor(int colorIndex)
{
    sheet();
    const int rgb = colorIndex == AutomaticColor ? -1 : PaletteColor(colorIndex);
    if (rgb < 0 && colorIndex != AutomaticColor)
        throw EExportError(u"Недопустимый номер цвета шрифта: %1"_s.arg(colorIndex));
    format([rgb](TCellFormat& f) { f.fontColor = rgb; });
}

void TExcel::SetCell(int row, int column, const QString& text)
{
    sheet().setText(row, column, text);
}

void TExcel::SetCell(int row, int column, double number)
{
    sheet().setNumber(row, column, number);
}

void TExcel::SetCell(int row, int column, const QDate& date)
{
    TSheet& s = sheet();
    if (!date.isValid() || date < FirstSerialDate || date.year() > 9999)
        throw EExportError(u"Дату %1 нельзя записать в ячейку %2"_s.arg(date.toString(Qt::ISODate),
                                                                         TCellRange::cell(row, column).text()));
    s.setNumber(row, column, double(SerialZero.daysTo(date)));
    s.applyFormat(TCellRange::cell(row, column), [this](TCellFormat& f) { f.numberFormat = dateFormat_; });
}

void TExcel::SetCellAs(int row, int column, const QString& text, TValueKind kind)
{
    TSheet& s = sheet();
    if (kind == TValueKind::Number && !text.isEmpty()) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = locale.toDouble(text.trimmed(), &ok);
        if (ok && std::isfinite(value)) {
            s.setNumber(row, column, value);
            return;
        }
    } else if (kind == TValueKind::Date && !text.isEmpty()) {
        auto it = dates_.constFind(text);
        if (it == dates_.constEnd())
            it = dates_.insert(text, ReadShortDate(text, QLocale()));
        if (it->isValid() && *it >= FirstSerialDate && it->year() <= 9999) {
            SetCell(row, column, *it);
            return;
        }
    }
    s.setText(row, column, text);
}

void TExcel::SetColumnWidth(int column, double width)
{
    sheet().setColumnWidth(column, width);
}

void TExcel::SetRowHeight(int row, double height)
{
    sheet().setRowHeight(row, height);
}

void TExcel::TurnCellText(const QString& cell)
{
    sheet().applyFormat(TCellRange::parse(cell), [](TCellFormat& f) { f.rotation = 90; });
}

void TExcel::FillRange(const QString& first, const QString& last, int colorBgr)
{
    TSheet& s = sheet();
    if (colorBgr < 0 || colorBgr > 0xFFFFFF)
        throw EExportError(u"Недопустимый цвет заливки: %1"_s.arg(colorBgr, 0, 16));
    const int rgb = (colorBgr & 0xFF) << 16 | (colorBgr & 0xFF00) | (colorBgr >> 16 & 0xFF);
    s.applyFormat(TCellRange::parse(first, last), [rgb](TCellFormat& f) { f.fill = rgb; });
}

void TExcel::BorderRange(const QString& first, const QString& last)
{
    sheet().applyFormat(TCellRange::parse(first, last), [](TCellFormat& f) { f.border = true; });
}

void TExcel::PrepareForPrinting(int firstTitleRow, int lastTitleRow)
{
    TSheet& s = sheet();
    TCellRange::cell(firstTitleRow, 1);
    TCellRange::cell(lastTitleRow, 1);
    TPrintSetup setup;
    setup.a4 = true;
    setup.orientation = TOrientation::ByWidth;
    setup.fitToWidth = true;
    setup.titleFirstRow = std::min(firstTitleRow, lastTitleRow);
    setup.titleLastRow = std::max(firstTitleRow, lastTitleRow);
    setup.footer = PageFooter();
    s.setPrintSetup(setup);
}

void TExcel::SaveSheet(const QString& path)
{
    WriteXlsx(sheet(), path, caption_);
    savedPath_ = path;
}

bool TExcel::ShowExcel()
{
    if (savedPath_.isEmpty() || !opener_)
        return false;
    if (shownPath_ == savedPath_)
        return true;
    const bool opened = opener_(savedPath_);
    if (opened)
        shownPath_ = savedPath_;
    return opened;
}
