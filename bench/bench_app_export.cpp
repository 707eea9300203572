// Exporting a large application through the export window: the short and the
// full application of an event with 10,000 participants (all with a venue and
// an accompanying person) among about 100,000 pupils, as a spreadsheet and as an
// HTML file, from the click on "Экспорт" to the saved file.
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_app_export --server-dir /tmp/bench-db --out /tmp/bench-out
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the folder "Заявки" is made below it and keeps the four files of the
// last run; a temporary folder when not given), --data FILE (SQL made by
// db/generate_demo.py; made here with --pupils 100000 --events 200 --big-event
// 10000 when not given), --runs N (5; medians are printed), --keep (keep the
// database).
//
// Prints "short_xlsx: N ms", "short_html: N ms", "full_xlsx: N ms",
// "full_html: N ms" and "full_statements: N ms"; everything else goes to the
// error output. full_statements is what the full application's three statements
// (the full count, the short count and the rows) take through the client library
// alone, on the same connection in the same runs, every value of every row read:
// full_xlsx and full_html minus it are the program's own share.

#include "BenchSupport.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "export/AppExportReg.h"
#include "export/AppStatements.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <ctime>

using namespace Qt::Literals::StringLiterals;
using bench::fail;
using bench::median;
using bench::say;

namespace {

constexpr int Participants = 10000;

struct Export {
    const char* name;
    bool full;
    bool excel;
};

/// The processor time of this process so far, in milliseconds: on a machine
/// shared with other work the wall times swing, this much less.
double processorMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

/// Runs one statement as the scratch query sends it (its lines joined by CR LF)
/// and reads every value of every row through QSqlQuery alone.
void readAll(QSqlDatabase db, const QStringList& lines)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(lines.join(u"\r\n"_s)))
        fail(u"statement failed: "_s + q.lastError().text());
    const int columns = q.record().count();
    qint64 values = 0;
    while (q.next())
        for (int i = 0; i < columns; ++i)
            values += q.value(i).isValid();
    if (q.lastError().type() != QSqlError::NoError)
        fail(u"reading rows failed: "_s + q.lastError().text());
    if (values == 0)
        fail(u"the statement gave no values"_s);
}

/// The full application's statements alone, as the export runs them: the full
/// count, the short count, then the rows (planned as the export plans them,
/// without row-id filters).
qint64 fullStatements(TDataZRT& dm, int event)
{
    const QString level = u"3"_s;
    QElapsedTimer t;
    t.start();
    QSqlDatabase db = dm.FDConnection1.database();
    readAll(db, fullCountSql(level, event));
    readAll(db, shortCountSql(level, event));
    dm.FDConnection1.withoutRowidFilter([&] { readAll(db, fullRowsSql(level, event)); });
    return t.elapsed();
}

int run(const QStringList& args)
{
    const auto o = bench::BenchOptions::parse(args, 5);
    const int runs = o.runs;
    QTemporaryDir tmp;
    const QString out = o.outDirOr(tmp.filePath(u"out"_s));
    bench::BenchDb admin(o, u"bench_export"_s);
    admin.loadDemo(bench::makeLargeData(o.data, tmp.filePath(u"big.sql"_s), Participants));
    // A server in use keeps statistics of its tables; a freshly loaded one gets
    // them here, so that the planner sees the data as it would there.
    admin.exec(u"ANALYZE TABLE vzl_application_reg, vzl_users, vzl_users4add, vzl_schools, vzl_areas, "
               "vzl_maintainer, vzl_statusparticipant, vzl_educationallist_reg, vzl_periods"_s);
    QElapsedTimer t;
    t.start();

    // The event of the active year with the most application rows, and one of
    // its administrators.
    const bench::LargestEvent largest = bench::largestEvent(admin);
    const int period = largest.period;
    const int event = largest.event;
    const int user = largest.user;
    const int rows = admin.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2"_s
                                      .arg(event).arg(period)).toInt();
    if (rows < Participants)
        fail(u"the largest event %1 has %2 application rows, not %3: give data made with --big-event %3"_s.arg(event)
                 .arg(rows).arg(Participants));

    TDataZRT dm;
    bench::connectDataModule(dm, o, admin, user);

    // The question before a long spreadsheet is answered "No" (go on); every
    // other message is recorded and ends the benchmark as a failure.
    QStringList messages;
    TDialogs::setHooks(
        [&](const TMessage& m) {
            if (m.buttons.testFlag(QMessageBox::No))
                return QMessageBox::No;
            messages << m.text;
            return QMessageBox::Ok;
        },
        [](QDialog&) { return int(QDialog::Rejected); });
    QStringList opened;
    TShell::setHooks([&](const QUrl& url) { opened << url.toLocalFile(); return true; },
                     [](const QString&, const QStringList&) { return true; });
    setOutputRoot(out);

    const Export exports[] = {
        {"short_xlsx", false, true},
        {"short_html", false, false},
        {"full_xlsx", true, true},
        {"full_html", true, false},
    };
    QList<qint64> times[4];
    QList<qint64> statements;
    QList<double> cpu[5];
    QStringList lastFiles;
    for (int r = 0; r < runs; ++r) {
        // only the files of the last run stay
        for (const QString& f : std::as_const(lastFiles))
            QFile::remove(f);
        lastFiles.clear();
        TFormAppExportReg form;
        auto* combo = form.findChild<TDBLookupComboBox*>(u"ComboBoxEdu"_s);
        combo->chooseIndex(combo->findData(event));
        if (form.chosenEvent() != event)
            fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
        for (int e = 0; e < 4; ++e) {
            form.findChild<QRadioButton*>(exports[e].full ? u"RadioFormFull"_s : u"RadioFormShort"_s)->setChecked(true);
            form.findChild<QRadioButton*>(exports[e].excel ? u"RadioFormatExcel"_s : u"RadioFormatHTML"_s)->setChecked(true);
            messages.clear();
            opened.clear();
            const double cpuFrom = processorMs();
            t.restart();
            form.BitBtn2Click();
            times[e] << t.elapsed();
            cpu[e] << processorMs() - cpuFrom;
            say(u"run %1, %2: %3 ms (processor %4 ms)"_s.arg(r + 1).arg(QString::fromLatin1(exports[e].name))
                    .arg(times[e].last()).arg(qRound(cpu[e].last())));
            // the saved spreadsheet reports itself; the full one may first warn about missing data
            if (exports[e].excel && !messages.isEmpty() && messages.last().startsWith(u"Таблица сохранена в файле:"_s))
                messages.removeLast();
            if (!messages.isEmpty() || opened.size() != 1 || !QFileInfo::exists(opened.first()))
                fail(u"%1 did not write its file; messages: %2"_s.arg(QString::fromLatin1(exports[e].name),
                                                                      messages.join(u"; "_s)));
            lastFiles << opened.first();
        }
        form.close();
        const double cpuFrom = processorMs();
        statements << fullStatements(dm, event);
        cpu[4] << processorMs() - cpuFrom;
        say(u"run %1, full_statements: %2 ms (processor %3 ms)"_s.arg(r + 1).arg(statements.last())
                .arg(qRound(cpu[4].last())));
    }
    TDialogs::setHooks({}, {});
    TShell::setHooks({}, {});
    setOutputRoot({});

    say(u"event %1 of administrator %2: %3 application rows, %4 runs; files in %5"_s.arg(event).arg(user).arg(rows)
            .arg(runs).arg(QDir(out).filePath(u"Заявки"_s)));
    for (int e = 0; e < 4; ++e)
        std::printf("%s: %lld ms\n", exports[e].name, static_cast<long long>(median(times[e])));
    std::printf("full_statements: %lld ms\n", static_cast<long long>(median(statements)));
    say(u"program's share: full_xlsx %1 ms, full_html %2 ms; in this process's processor time (medians): "
          "full_xlsx %3 ms, full_html %4 ms, full_statements %5 ms"_s.arg(median(times[2]) - median(statements))
            .arg(median(times[3]) - median(statements)).arg(qRound(median(cpu[2]))).arg(qRound(median(cpu[3])))
            .arg(qRound(median(cpu[4]))));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, "bench_app_export", run);
}
