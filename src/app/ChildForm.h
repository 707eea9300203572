#pragma once
// What every working window inside the main window shares.

class QWidget;
class TQuery;

/// Closes a working window: the child window that frames it inside the main
/// window, or the form itself when it stands alone.
///
///     void TFormPassingScoreReg::BitBtn1Click() { closeChildForm(this); }
void closeChildForm(QWidget* form);

/// Reopens a list of the logged-in administrator's events (its parameter
/// `userID`) and gives the id of its first row, 0 when there is none.
///
///     ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->GETeduReg));
int openAdministratorEvents(TQuery* events);
