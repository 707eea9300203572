#pragma once
// Passing scores of the administrator's regional events in the active school
// year; the scores of one event are set in TFormEditPassingScoreReg.

#include "ui/ChildForm.h"

namespace Ui {
class TFormPassingScoreReg;
}

/// Child window: the administrator's active events of the active year with
/// their passing scores (query GETpassingScoreReg, shared by every instance).
///
///     FormMainZRT->openChild(new TFormPassingScoreReg);
class TFormPassingScoreReg : public TChildForm {
    Q_OBJECT
public:
    explicit TFormPassingScoreReg(QWidget* parent = nullptr);
    ~TFormPassingScoreReg() override;

    /// Opens the list for the logged-in administrator.
    void FormCreate() override;
    /// Closes the list and clears FormPassingScoreReg.
    void FormClose() override;
    /// Closes the window (its frame inside the main window, when it has one).
    void BitBtn1Click();
    /// Edits the passing scores of the current row in TFormEditPassingScoreReg;
    /// after OK writes them and re-reads the list at the same row number.
    void BitBtn2Click();
    /// Re-sorts the list by the clicked column.
    void DBGrid1TitleClick(const QString& field);

private:
    Ui::TFormPassingScoreReg* ui;
};

/// The last window opened; cleared when a window closes.
extern TFormPassingScoreReg* FormPassingScoreReg;
