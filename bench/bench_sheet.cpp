// A large full application as a spreadsheet: 10,000 rows of 38 columns written
// and formatted the way the full application export does it (the red mark and
// four small cells per row, then wrap, alignment, fill and borders over the
// table), then saved. Prints the time of the operations and of the save
// (medians of the runs). The save measures the wrapped texts for the row
// heights with the fonts of the offscreen platform, as the program does with
// its own.
//
//     build/bench/bench_sheet --out /tmp/bench-out
//
// Options: --server-dir DIR (taken for uniformity; the spreadsheet needs no
// server), --out DIR (where the workbooks go; a temporary folder when not
// given), --rows N (10000), --runs N (3).

#include "export/Excel.h"

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Columns = 38;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Build(TExcel& xl, int rows)
{
    xl.StartExcel();
    xl.AddWorkbook();
    xl.DisableEvents();
    xl.SetCaption(u"Полная заявка"_s);
    for (const QString& r : {u"A1:AL1"_s, u"A2:AL2"_s, u"A3:AL3"_s, u"A4:U4"_s, u"V4:AB4"_s, u"AC4:AL4"_s}) {
        xl.SelectRange(r);
        xl.MergeSelection();
    }
    xl.SetCell(1, 1, u"Министерство образования Велградской области"_s);
    xl.SetCell(2, 1, u"Образовательный центр \"Кассиор\""_s);
    xl.SetCell(3, 1, u"Физика. Детализированная заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."_s);
    xl.SetCell(4, 1, u"Участник"_s);
    xl.SetCell(4, 22, u"Учитель (наставник), подготовивший участника"_s);
    xl.SetCell(4, 29, u"Сопровождающий"_s);
    for (int c = 1; c <= Columns; ++c) {
        xl.SetCell(5, c, u"Заголовок столбца %1"_s.arg(c));
        xl.SetColumnWidth(c, c % 3 ? 12 : 30);
    }
    xl.TurnCellText(u"G5"_s);
    xl.SetRowHeight(5, 120);
    xl.SelectRange(u"A1:AL5"_s);
    xl.BoldSelection();
    xl.WrapSelection();
    xl.AlignSelection(3, 2);

    for (int k = 1; k <= rows; ++k) {
        const int r = 5 + k;
        xl.SetCell(r, 1, QString::number(k));
        for (int c = 2; c <= 8; ++c)
            xl.SetCell(r, c, c == 8 ? (k % 4 ? u"Не имеются"_s : u"Имеются"_s) : u"Иванова Мария Петровна %1"_s.arg(k));
        if (k % 4 == 0) {
            xl.SelectRange(u"H%1"_s.arg(r));
            xl.BoldSelection();
            xl.SetSelectionFontColor(3);
        }
        for (int c = 9; c <= Columns; ++c)
            xl.SetCell(r, c, u"Значение %1.%2"_s.arg(k).arg(c));
        for (const char16_t* column : {u"I", u"M", u"Z", u"AH"}) {
            xl.SelectRange(QString::fromUtf16(column) + QString::number(r));
            xl.SetSelectionFontSize(8);
        }
    }
    const QString last = QString::number(5 + rows);
    xl.SelectRange(u"A6:AL"_s + last);
    xl.WrapSelection();
    xl.AlignSelection({}, 1);
    for (const QString& c : {u"E"_s, u"G"_s, u"J"_s, u"P"_s, u"R"_s, u"AF"_s}) {
        xl.SelectRange(c + u"5:"_s + c + last);
        xl.AlignSelection(3);
    }
    xl.SelectRange(u"A5"_s);
    xl.FillRange(u"V4"_s, u"AB"_s + last, 0xB8FFF9);
    xl.BorderRange(u"A1"_s, u"AL"_s + last);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString out;
    int rows = 10000;
    int runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--out")
            out = args[i + 1];
        else if (args[i] == u"--rows")
            rows = std::max(1, args[i + 1].toInt());
        else if (args[i] == u"--runs")
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] != u"--server-dir") {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    QTemporaryDir temp;
    if (out.isEmpty())
        out = temp.path();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 1;
    }

    std::vector<double> build, save;
    qint64 size = 0;
    for (int run = 0; run < runs; ++run) {
        const QString path = QDir(out).filePath(u"bench_sheet_%1_%2.xlsx"_s.arg(QCoreApplication::applicationPid()).arg(run));
        TExcel xl;
        QElapsedTimer t;
        t.start();
        Build(xl, rows);
        build.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        xl.SaveSheet(path);
        save.push_back(t.nsecsElapsed() / 1e6);
        size = QFileInfo(path).size();
        if (out == temp.path())
            QFile::remove(path);
    }
    std::printf("sheet_operations_%dx%d: %.0f ms\n", rows, Columns, Median(build));
    std::printf("sheet_save_%dx%d: %.0f ms\n", rows, Columns, Median(save));
    std::fprintf(stderr, "file size %lld bytes\n", static_cast<long long>(size));
    return 0;
}
