// The rating of an event with 10,000 participants: reading it into the grid
// and applying the passing scores (the scores and the four status statements),
// and recounting the preview of the passing scores after one change of a box.
//
// The benchmark makes its own database on a running server, loads the tables,
// the reference rows and the large demo data into it, and drops it at the end:
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_ratings --server-dir /tmp/bench-db --out /tmp/bench-ratings
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the window is saved there as rating-window.png, 1400 x 900), --data FILE (SQL made by
// db/generate_demo.py; made here with --pupils 100000 --events 200 --big-event
// 10000 when not given), --runs N (7), --keep.

#include "BenchSupport.h"
#include "ui/Dialogs.h"
#include "ratings/CreateRatingReg.h"
#include "ratings/RatingPreview.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using bench::fail;
using bench::median;
using bench::say;

namespace {

int run(const QStringList& args)
{
    bench::LargeDemo demo(args, 7, u"bench_ratings"_s);
    const auto& o = demo.options;
    const int runs = o.runs;
    const QString outDir = o.outDir;
    bench::BenchDb& admin = demo.db;
    QElapsedTimer t;
    t.start();

    // The event of the active year with the most regional-stage rows, and one
    // of its administrators; it is opened for editing.
    const auto [period, event, user, rows] = demo.largest;
    admin.exec(u"UPDATE vzl_educationallist_reg SET permission=1 WHERE id=%1"_s.arg(event));

    TDataZRT dm;
    bench::connectDataModule(dm, o, admin, user);
    QStringList messages;
    bench::recordMessages(messages);

    auto* form = new TFormCeateRatingReg;
    form->resize(1400, 900);
    auto* combo = form->findChild<TDBLookupComboBox*>(u"DBLookupComboBox1"_s);
    combo->chooseIndex(combo->findData(event));
    if (form->chosenEvent() != event)
        fail(u"event %1 is not offered to administrator %2"_s.arg(event).arg(user));
    // Every class of the event.
    for (int k = 1; k <= 10; ++k)
        form->findChild<QCheckBox*>(u"CheckBox%1"_s.arg(k))->setChecked(true);
    form->readPreview();

    QList<double> read, apply;
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->readData();
        read << t.nsecsElapsed() / 1e6;
    }
    const int listed = dm.GETcreateRatingReg->RecordCount();
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->BitBtn2Click();
        apply << t.nsecsElapsed() / 1e6;
    }
    // The preview: one change of a box recounts every row in memory.
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        fail(u"the window is not shown"_s);
    auto* minBox = form->findChild<QLineEdit*>(u"EditWinnerMin"_s);
    const QString typed = minBox->text();
    QList<double> preview;
    for (int r = 0; r < std::max(runs, 21); ++r) {
        const QString text = r % 2 ? typed : typed + u'5';
        t.restart();
        minBox->setText(text);
        preview << t.nsecsElapsed() / 1e6;
    }
    minBox->setText(typed);
    QCoreApplication::processEvents();
    if (!outDir.isEmpty()) {
        const QString picture = QDir(outDir).filePath(u"rating-window.png"_s);
        if (!form->grab().save(picture))
            fail(u"cannot save "_s + picture);
        say(u"saved "_s + picture);
    }
    if (!messages.isEmpty())
        fail(u"messages: "_s + messages.join(u"; "_s));
    const int winners = admin.scalar(u"SELECT COUNT(*) FROM vzl_application_reg WHERE educationlListID_reg=%1 AND periodID=%2"
                                     " AND statusparticipantID=7"_s.arg(event).arg(period)).toInt();

    std::printf("event %d of administrator %d: %d rows, %d listed, %d winners, %d in the preview, %d runs\n", event,
                user, rows, listed, winners, int(form->preview()->histogram()->bins().isEmpty() ? 0 : [&] {
                    int n = 0;
                    for (const auto& b : form->preview()->histogram()->bins())
                        n += b.count;
                    return n;
                }()), runs);
    std::printf("rating_read: %.0f ms\n", median(read));
    std::printf("rating_apply: %.0f ms\n", median(apply));
    std::printf("rating_preview: %.0f ms\n", median(preview));
    std::printf("preview recount in detail: median %.3f ms\n", median(preview));
    std::printf("targets: read 100 ms -> %s, apply 200 ms -> %s, preview 5 ms -> %s\n",
                median(read) <= 100 ? "met" : "MISSED", median(apply) <= 200 ? "met" : "MISSED",
                median(preview) <= 5 ? "met" : "MISSED");
    form->close();
    delete form;
    TDialogs::setHooks({}, {});
    return median(read) <= 100 && median(apply) <= 200 && median(preview) <= 5 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, "bench_ratings", run);
}
