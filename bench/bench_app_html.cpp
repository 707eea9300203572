// Writing large applications as HTML files: 10,000 rows of the short (20
// columns) and of the full application (38 columns), with Cyrillic texts, some
// that need escaping and some outside windows-1251.
//
//     build/bench/bench_app_html --out /tmp/bench-html
//
// Options: --out DIR (the files are left there; a temporary folder when not
// given), --rows N (10000), --runs N (5; the median is printed), --server-dir DIR
// (accepted for the common command line; the writer needs no database).
// Each figure is printed as "name: N ms": the text into memory, and the file
// written through the temporary name and renamed.

#include "export/AppColumns.h"
#include "export/AppHtml.h"
#include "export/SaveFile.h"
#include "base/Progress.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<QStringList> makeRows(const TAppForm& form, int count)
{
    const QStringList samples = {
        u"Иванов"_s, u"Мария"_s, u"Александровна"_s, u"Да"_s, u"17.09.2024"_s, u"+7 (912) 345-67-89"_s,
        u"МБОУ \"Средняя общеобразовательная школа № 12 с углублённым изучением отдельных предметов\""_s,
        u"ул. Ленина, д. 5 & корп. <2>"_s, u"teacher@school12.ru"_s, u"Имеются"_s, u"Победитель ✓"_s,
        u"Велград"_s, u""_s,
    };
    QList<QStringList> rows;
    rows.reserve(count);
    for (int k = 0; k < count; ++k) {
        QStringList row;
        for (int n = 2; n <= form.columns.size(); ++n)
            row << samples[(k + n) % samples.size()];
        rows << row;
    }
    return rows;
}

qint64 median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString out;
    int rowCount = 10000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--out"_s)
            out = args[i + 1];
        else if (args[i] == u"--rows"_s)
            rowCount = args[i + 1].toInt();
        else if (args[i] == u"--runs"_s)
            runs = args[i + 1].toInt();
        else if (args[i] != u"--server-dir"_s) {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    QTemporaryDir temporary;
    if (out.isEmpty())
        out = temporary.path();
    QDir().mkpath(out);

    TNullProgress none;
    const struct {
        const char* name;
        const TAppForm& form;
    } forms[] = {{"short", shortApp()}, {"full", fullApp()}};
    for (const auto& f : forms) {
        const QList<QStringList> rows = makeRows(f.form, rowCount);
        QList<qint64> memory, file;
        qint64 bytes = 0;
        for (int r = 0; r < runs; ++r) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QElapsedTimer t;
            t.start();
            writeAppHtml(buffer, f.form, u"Химия"_s, rowCount, appRows(rows), none);
            memory << t.elapsed();
            bytes = buffer.size();

            const QString path = QDir(out).filePath(u"(%1)%2.html"_s.arg(r).arg(QString::fromLatin1(f.name)));
            QFile::remove(path);
            t.restart();
            saveFile(path, [&](QIODevice& d) { writeAppHtml(d, f.form, u"Химия"_s, rowCount, appRows(rows), none); });
            file << t.elapsed();
        }
        std::fprintf(stderr, "%s: %d rows x %lld columns, %lld bytes\n", f.name, rowCount,
                     qlonglong(f.form.columns.size()), qlonglong(bytes));
        std::printf("%s_html_%d_rows_memory: %lld ms\n", f.name, rowCount, qlonglong(median(memory)));
        std::printf("%s_html_%d_rows_file: %lld ms\n", f.name, rowCount, qlonglong(median(file)));
    }
    return 0;
}
