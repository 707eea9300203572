// Exporting 10,000 rows from their windows to .xlsx: the final rating of an
// event with 10,000 participants (every class ticked) from the rating window,
// and its diploma journal from the journal window. Each export runs as the
// button does it, from the count or the rows to the saved file; the files stay
// in the output folder, named as the exports name them ("Рейтинги", "Журнал").
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_exports --server-dir /tmp/bench-db --out /tmp/bench-exports
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the exported files; a temporary folder when not given), --data FILE
// (SQL made by db/generate_demo.py; made here with --pupils 100000 --events 200
// --big-event 10000 when not given), --runs N (5), --keep.

#include "BenchSupport.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"
#include "diplomas/CreateDiplomJournal.h"
#include "ratings/CreateRatingReg.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using bench::fail;
using bench::median;

namespace {

int run(const QStringList& args)
{
    bench::LargeDemo demo(args, 5, u"bench_exports"_s);
    const auto& o = demo.options;
    const int runs = o.runs;
    const QString outDir = o.outDirOr(demo.tmp.filePath(u"out"_s));
    setOutputRoot(outDir);
    bench::BenchDb& admin = demo.db;
    QElapsedTimer t;
    t.start();

    // The event of the active year with the most regional-stage rows and one
    // administrator of the region; its diplomas are released and he is
    // responsible for it.
    const auto [period, event, largestUser, rows] = demo.largest;
    int user = largestUser;
    if (user == 0) {
        user = admin.scalar(u"SELECT id FROM vzl_users WHERE roleID=54280 ORDER BY id LIMIT 1"_s).toInt();
        if (user == 0)
            fail(u"the data holds no administrator"_s);
        admin.exec(u"INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES (%1,%2,%3)"_s
                       .arg(user).arg(event).arg(period));
    }
    admin.exec(u"UPDATE vzl_educationallist_reg SET permissionDiplom=1 WHERE id=%1"_s.arg(event));
    // Every pupil's account active, so that the rating lists every participant.
    admin.exec(u"UPDATE vzl_users SET isActive=1 WHERE roleID=4"_s);

    TDataZRT dm;
    bench::connectDataModule(dm, o, admin, user);
    QStringList messages;
    bench::recordMessages(messages);
    QStringList opened;
    TShell::setHooks(
        [&](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        },
        {});
    // Every export ends with the message naming its file; anything else is a failure.
    const auto checkSaved = [&](const QString& what) {
        if (messages.size() != 1 || !messages.first().startsWith(u"Таблица сохранена в файле:"_s))
            fail(what + u": "_s + messages.join(u"; "_s));
        messages.clear();
    };

    auto* rating = new TFormCeateRatingReg;
    auto* combo = rating->findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(event));
    if (rating->chosenEvent() != event)
        fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
    for (int k = 1; k <= 11; ++k)
        rating->findChild<QCheckBox*>(u"CheckBox%1"_s.arg(k))->setChecked(true);
    rating->readData();
    const int listed = dm.GETcreateRatingReg->RecordCount();
    QList<double> ratingTimes;
    for (int r = 0; r < runs; ++r) {
        t.restart();
        rating->BitBtn4Click();
        ratingTimes << t.nsecsElapsed() / 1e6;
        checkSaved(u"rating"_s);
    }
    rating->close();
    delete rating;

    auto* journal = new TFormCreateDiplomJournal;
    combo = journal->findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(event));
    if (journal->chosenEvent() != event)
        fail(u"the journal does not offer event %1 to administrator %2"_s.arg(event).arg(user));
    const int lines = dm.GETjournal->RecordCount();
    QList<double> journalTimes;
    for (int r = 0; r < runs; ++r) {
        t.restart();
        journal->BitBtn4Click();
        journalTimes << t.nsecsElapsed() / 1e6;
        checkSaved(u"journal"_s);
    }
    journal->close();
    delete journal;
    TDialogs::setHooks({}, {});
    TShell::setHooks({}, {});

    QStringList files;
    for (QDirIterator it(outDir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(outDir).relativeFilePath(it.next());
    files.sort();
    std::printf("event %d of administrator %d: %d rows, %d in the rating, %d in the journal, %d runs\n", event, user,
                rows, listed, lines, runs);
    std::printf("files in %s: %s\n", qPrintable(QDir::toNativeSeparators(outDir)), qPrintable(files.join(u", "_s)));
    std::printf("rating_xlsx: %.0f ms\n", median(ratingTimes));
    std::printf("journal_xlsx: %.0f ms\n", median(journalTimes));
    const bool met = median(ratingTimes) <= 500 && median(journalTimes) <= 500;
    std::printf("targets: rating 500 ms -> %s, journal 500 ms -> %s\n", median(ratingTimes) <= 500 ? "met" : "MISSED",
                median(journalTimes) <= 500 ? "met" : "MISSED");
    return met ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, "bench_exports", run);
}
