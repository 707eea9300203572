// Forming a large application: ">>" of the participant list window for an
// event with 2,000 candidates among about 100,000 pupils, then "<<".
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_app_create --server-dir /tmp/bench-db
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --data FILE (SQL made by db/generate_demo.py; made here with --pupils 100000
// --events 200 when not given), --runs N (3), --candidates N (2000), --keep,
// --out DIR (taken for uniformity; nothing is written there).

#include "BenchSupport.h"
#include "ui/Dialogs.h"
#include "applications/AppCreateReg.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using bench::fail;
using bench::median;

namespace {

int run(const QStringList& args)
{
    const auto o = bench::BenchOptions::parse(args, 3, {u"--candidates"_s});
    const int runs = o.runs;
    const int wanted = o.extra(u"--candidates"_s, u"2000"_s).toInt();
    QTemporaryDir tmp;
    bench::BenchDb admin(o, u"bench_app"_s);
    admin.loadDemo(bench::makeLargeData(o.data, tmp.filePath(u"big.sql"_s)));
    QElapsedTimer t;
    t.start();

    // The event of the active year with the most choices and no application
    // yet, and one of its administrators.
    const int period = admin.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
    const int event = admin.scalar(u"SELECT B.educationListID FROM vzl_userseducation_reg B WHERE B.periodsID=%1"
                                   " AND NOT EXISTS (SELECT 1 FROM vzl_application_reg C WHERE C.educationlListID_reg=B.educationListID)"
                                   " GROUP BY B.educationListID ORDER BY COUNT(*) DESC LIMIT 1"_s.arg(period)).toInt();
    const int user = admin.scalar(u"SELECT usersID FROM vzl_userseducation WHERE educationListID=%1 AND periodsID=%2 LIMIT 1"_s
                                      .arg(event).arg(period)).toInt();
    // Only pupils with further data are candidates: complete the few choosers
    // without them, then take away choices above the wanted count.
    admin.exec(u"INSERT INTO vzl_users4add(usersID,classStudy) SELECT B.usersID, 10 FROM vzl_userseducation_reg B"
               " WHERE B.educationListID=%1 AND B.periodsID=%2"
               " AND NOT EXISTS (SELECT 1 FROM vzl_users4add E WHERE E.usersID=B.usersID)"_s.arg(event).arg(period));
    const int chosen = admin.scalar(u"SELECT COUNT(*) FROM vzl_userseducation_reg WHERE educationListID=%1 AND periodsID=%2"_s
                                        .arg(event).arg(period)).toInt();
    if (chosen > wanted)
        admin.exec(u"DELETE FROM vzl_userseducation_reg WHERE educationListID=%1 AND periodsID=%2 ORDER BY id DESC LIMIT %3"_s
                       .arg(event).arg(period).arg(chosen - wanted));
    const int pupils = admin.scalar(u"SELECT COUNT(*) FROM vzl_users WHERE roleID=4"_s).toInt();

    TDataZRT dm;
    bench::connectDataModule(dm, o, admin, user);
    QStringList messages;
    bench::recordMessages(messages);

    QList<double> add, removeAll;
    int candidates = 0;
    for (int r = 0; r < runs; ++r) {
        TFormAppCreateReg form;
        auto* combo = form.findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
        combo->chooseIndex(combo->findData(event));
        if (form.chosenEvent() != event)
            fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
        candidates = dm.GETappPartReg->RecordCount();

        t.restart();
        form.SpeedButton2Click();
        add << t.nsecsElapsed() / 1e9;
        const int inserted = dm.AppCreateRegSet->RecordCount();
        if (inserted != candidates || dm.GETappPartReg->RecordCount() != 0 || !messages.isEmpty())
            fail(u"\">>\" inserted %1 of %2 candidates; messages: %3"_s.arg(inserted).arg(candidates)
                     .arg(messages.join(u"; "_s)));

        t.restart();
        form.SpeedButton3Click();
        removeAll << t.nsecsElapsed() / 1e9;
        if (dm.AppCreateRegSet->RecordCount() != 0 || dm.GETappPartReg->RecordCount() != candidates)
            fail(u"\"<<\" did not empty the application"_s);
        form.close();
    }
    TDialogs::setHooks({}, {});

    std::printf("event %d of administrator %d: %d candidates among %d pupils, %d runs\n", event, user,
                candidates, pupils, runs);
    std::printf("\">>\" (insert every candidate, read both lists again): median %.2f s, best %.2f s, %.2f ms per row\n",
                median(add), *std::min_element(add.begin(), add.end()), median(add) * 1000 / std::max(1, candidates));
    std::printf("\"<<\" (one DELETE, read both lists again): median %.3f s\n", median(removeAll));
    std::printf("target for \">>\": 5 s -> %s\n", median(add) <= 5.0 ? "met" : "MISSED");
    std::printf("app_create_all: %.0f ms\n", median(add) * 1000);
    std::printf("app_remove_all: %.0f ms\n", median(removeAll) * 1000);
    return median(add) <= 5.0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, "bench_app_create", run);
}
