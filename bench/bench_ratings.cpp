// The rating of an event with 10,000 participants: reading it into the grid
// and applying the passing scores (the scores and the four status statements),
// recounting the preview of the passing scores (counts and changes of status)
// after one change of a box, and taking an apply back ("Отменить применение":
// the restore, then the rating and the preview read again) when it changed
// nearly every status, statuses set by hand among them.
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
#include "ratings/RatingUndo.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Format.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
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
    QList<double> previewRead;
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->readPreview();
        previewRead << t.nsecsElapsed() / 1e6;
    }
    for (int r = 0; r < runs; ++r) {
        t.restart();
        form->BitBtn2Click();
        apply << t.nsecsElapsed() / 1e6;
    }
    // Undoing: before each apply the statuses are scattered over candidates,
    // participants and the statuses set by hand, so that the apply changes most
    // of them; undoing must bring back exactly that state.
    const QString eventRows = u"educationlListID_reg=%1 AND periodID=%2 AND levelolimpID=3"_s.arg(event).arg(period);
    const auto fingerprint = [&] {
        return admin.scalar(u"SELECT CONCAT(COUNT(*), '/', SUM(id * statusparticipantID)) FROM vzl_application_reg WHERE "_s
                            + eventRows).toString();
    };
    QList<double> undo, restore, snapshot;
    int undone = 0;
    for (int r = 0; r < runs; ++r) {
        admin.exec(u"UPDATE vzl_application_reg SET statusparticipantID=ELT(1 + (id + %1) MOD 5, 1, 4, 15, 8, 9) WHERE "_s
                       .arg(r) + eventRows);
        const QString before = fingerprint();
        form->BitBtn2Click();
        t.restart();
        form->BitBtn5Click();
        undo << t.nsecsElapsed() / 1e6;
        if (fingerprint() != before)
            fail(u"undo run %1 did not restore the statuses"_s.arg(r));
        if (messages.size() != 1 || !messages.first().contains(u"Оставлено как есть, потому что их изменили после применения: 0."_s))
            fail(u"undo run %1: "_s + messages.join(u"; "_s));
        undone = messages.first().section(u"Восстановлено статусов: "_s, 1).section(u'.', 0, 0).toInt();
        messages.clear();
        // the restore alone, as the record runs it (nobody else writes here, so
        // the snapshots may be taken outside the apply's transaction)
        admin.exec(u"UPDATE vzl_application_reg SET statusparticipantID=ELT(1 + (id + %1) MOD 5, 1, 4, 15, 8, 9) WHERE "_s
                       .arg(r + 1) + eventRows);
        const QString scattered = fingerprint();
        t.restart();
        const TApplySnapshot snapBefore = TApplySnapshot::read(event, form->classGroup());
        snapshot << t.nsecsElapsed() / 1e6;
        form->BitBtn2Click();
        const TApplyUndo record(snapBefore, TApplySnapshot::read(event, form->classGroup()));
        t.restart();
        const TUndoResult done = record.run();
        restore << t.nsecsElapsed() / 1e6;
        if (fingerprint() != scattered || done.left != 0)
            fail(u"restore run %1 did not restore the statuses"_s.arg(r));
    }
    // The last apply is offered for undoing while the window is looked at.
    form->BitBtn2Click();
    if (!form->findChild<QPushButton*>(u"BitBtn5"_s)->isVisibleTo(form))
        fail(u"\"Отменить применение\" is not offered after applying"_s);

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
    // The picture: three participants marked absent since the apply, and a
    // lower prize-winner score typed: the preview shows what applying would change.
    admin.exec(u"UPDATE vzl_application_reg SET statusparticipantID=15 WHERE "_s + eventRows
               + u" ORDER BY id LIMIT 3"_s);
    form->readPreview();
    minBox->setText(FloatToStr(StrToFloat(typed) - 2.5));
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
    std::printf("preview recount in detail: median %.3f ms; reading its rows (after an event, class or status change) median %.1f ms\n",
                median(preview), median(previewRead));
    std::printf("rating_undo: %.0f ms\n", median(undo));
    std::printf("undo in detail: %d statuses restored per run; the restore alone (one transaction) median %.1f ms;"
                " one snapshot of scores and statuses (an apply takes two) median %.1f ms\n",
                undone, median(restore), median(snapshot));
    std::printf("targets: read 100 ms -> %s, apply 200 ms -> %s, preview 5 ms -> %s, undo 200 ms -> %s\n",
                median(read) <= 100 ? "met" : "MISSED", median(apply) <= 200 ? "met" : "MISSED",
                median(preview) <= 5 ? "met" : "MISSED", median(undo) <= 200 ? "met" : "MISSED");
    form->close();
    delete form;
    TDialogs::setHooks({}, {});
    return median(read) <= 100 && median(apply) <= 200 && median(preview) <= 5 && median(undo) <= 200 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, "bench_ratings", run);
}
