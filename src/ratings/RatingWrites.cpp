#include "ratings/RatingWrites.h"

#include "data/DataZRT.h"
#include "data/Errors.h"
#include "data/Statements.h"
#include "base/Progress.h"

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

/// Runs one statement of lines on the scratch query with the values bind sets.
void execScratch(const QStringList& lines, const std::function<void(TQuery*)>& bind = {})
{
    TQuery* sql = DataZRT->emptySQL;
    sql->Close();
    sql->SQL().clear();
    sql->SQL() << lines;
    if (bind)
        bind(sql);
    sql->ExecSQL();
}

} // namespace

std::unique_ptr<TApplyUndo> applyPassingScores(int eventID, const QString& classList,
                                               const TPassingScores& scores, TProgressSink& progress)
{
    std::unique_ptr<TApplyUndo> undo;
    const QList<QStringList> statements = statusStatements(eventID, classList);
    progress.setRange(0, 5);
    progress.setPosition(0);
    progress.setStep(u"Запись проходных баллов"_s);
    try {
        // Scores and statuses stand or fall together.
        DataZRT->FDConnection1.inTransaction([&] {
            // read before and after the statements, in the transaction: the undo record
            const TApplySnapshot before = TApplySnapshot::read(eventID, classList);
            TQuery* upd = DataZRT->UPDwinnerReg;
            upd->Close();
            upd->ParamByName(u"eduID"_s).setAsInteger(eventID);
            upd->ParamByName(u"prizeWinnerMin"_s).setAsFloat(scores.prizeWinnerMin);
            upd->ParamByName(u"prizeWinnerMax"_s).setAsFloat(scores.prizeWinnerMax);
            upd->ParamByName(u"Winner"_s).setAsFloat(scores.winner);
            upd->ExecSQL();
            progress.setPosition(1);
            progress.setStepText(u"Обнуление статусов"_s);
            execScratch(statements.at(0));
            progress.setPosition(2);
            execScratch(statements.at(1));
            progress.setPosition(3);
            progress.setStepText(u"Победители..."_s);
            execScratch(statements.at(2), [&](TQuery* q) { q->ParamByName(u"Winner"_s).setAsFloat(scores.winner); });
            progress.setPosition(4);
            progress.setStepText(u"Призеры..."_s);
            execScratch(statements.at(3), [&](TQuery* q) {
                q->ParamByName(u"prizeWinnerMin"_s).setAsFloat(scores.prizeWinnerMin);
                q->ParamByName(u"prizeWinnerMax"_s).setAsFloat(scores.prizeWinnerMax);
            });
            progress.setPosition(5);
            undo = std::make_unique<TApplyUndo>(before, TApplySnapshot::read(eventID, classList));
        });
    } catch (...) {
        // Nothing of it stays written.
        progress.setPosition(0);
        progress.hideStep();
        throw;
    }
    return undo;
}

void writeStatus(int id, int status)
{
    TQuery* upd = DataZRT->UPDstatusReg;
    upd->Close();
    upd->ParamByName(u"id"_s).setAsInteger(id);
    upd->ParamByName(u"statusID"_s).setAsInteger(status);
    upd->ExecSQL();
}

void writeStatusResult(int id, int status, double result)
{
    TQuery* upd = DataZRT->UPDstatusResultReg;
    upd->Close();
    upd->ParamByName(u"id"_s).setAsInteger(id);
    upd->ParamByName(u"statusID"_s).setAsInteger(status);
    upd->ParamByName(u"result"_s).setAsFloat(result);
    upd->ExecSQL();
}

bool postResult(TQuery* rating, int recNo)
{
    if (!rating->Active() || recNo < 1 || recNo > rating->RecordCount())
        return false;
    TQuery* upd = DataZRT->UPDresultReg;
    upd->Close();
    upd->ParamByName(u"id"_s).setAsInteger(TField(u"id"_s, rating->value(recNo - 1, u"id"_s)).asInteger());
    upd->ParamByName(u"result"_s).setValue(rating->value(recNo - 1, u"result"_s));
    try {
        upd->ExecSQL();
    } catch (const EDatabaseError&) {
        // The grid goes back to what the database holds, as far as it can
        // still be read; the failure of the write is the one reported.
        try {
            rating->Refresh();
        } catch (const EDatabaseError&) {
        }
        throw;
    }
    return true;
}
