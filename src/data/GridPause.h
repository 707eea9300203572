#pragma once
// The one guard that pauses the views of a data set (its grids and drop-down
// lists) and brings the data set back to the row it was on, however the work
// in between ends: a walk over the rows, a re-read, a write.

#include "data/DataSet.h"

#include <QString>
#include <QVariant>

/// While it lives, the views of the data set stop following it; when it ends
/// (or at resume) the data set goes back to the row that was current when the
/// guard began, and the views follow again. The row is found again by its
/// record number, or, with a key field, by the value of that field (the record
/// number where no row holds the key any more, e.g. after the row was removed).
///
///     {
///         TGridPause pause(DataZRT->GETjournal);          // row 5 is current
///         for (q->First(); !q->Eof(); q->Next()) ...      // the grid stands still
///     }                                                   // row 5 again, the grid follows
///
///     TGridPause pause(DataZRT->GETcreateRatingReg, u"id"_s);
///     readData();                                          // re-read, order changed
///     pause.resume();                                      // the row of the same id
class TGridPause {
public:
    /// Pauses the views and keeps the current row by its record number.
    explicit TGridPause(TDataSet* data) : data_(data), recNo_(data->RecNo()) { data_->DisableControls(); }
    /// Pauses the views and keeps the current row by the value of `keyField`.
    ///
    ///     TGridPause pause(q, u"id"_s);
    TGridPause(TDataSet* data, const QString& keyField)
        : data_(data), recNo_(data->RecNo()), keyField_(keyField)
    {
        if (data->Active() && !data->IsEmpty())
            key_ = data->FieldByName(keyField).value();
        data_->DisableControls();
    }
    ~TGridPause() { resume(); }
    TGridPause(const TGridPause&) = delete;
    TGridPause& operator=(const TGridPause&) = delete;

    /// Goes back to the kept row now; the views stay paused.
    ///
    ///     pause.restoreRow();
    void restoreRow()
    {
        if (!data_)
            return;
        if (!keyField_.isEmpty() && !key_.isNull() && data_->fieldIndex(keyField_) >= 0
            && data_->Locate(keyField_, key_))
            return;
        data_->setRecNo(recNo_);
    }
    /// Goes back to the kept row and lets the views follow again (once; the
    /// destructor then does nothing).
    ///
    ///     pause.resume();   // before the file is saved: the grid shows its row again
    void resume()
    {
        if (!data_)
            return;
        restoreRow();
        data_->EnableControls();
        data_ = nullptr;
    }
    /// The record number kept.
    int keptRecNo() const { return recNo_; }

private:
    TDataSet* data_;
    int recNo_;
    QString keyField_;
    QVariant key_;
};
