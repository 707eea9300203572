#pragma once
// The journal of the diplomas (certificates) of a regional event: one line per
// regional-stage participant with his status, name, class, school and the
// number of his diploma, winners and prize-winners highlighted; exported to a
// spreadsheet in "Журнал". The journal only reads.

#include "ui/ChildForm.h"

#include <QColor>
#include <memory>

class TEventChoice;
class TExcel;

namespace Ui {
class TFormCreateDiplomJournal;
}

/// Child window "Электронный журнал выдачи дипломов (сертификатов) участникам
/// регионального этапа олимпиад".
///
///     FormMainZRT->openChild(new TFormCreateDiplomJournal);   // lists the events, reads the first journal
class TFormCreateDiplomJournal : public TChildForm {
    Q_OBJECT
public:
    explicit TFormCreateDiplomJournal(QWidget* parent = nullptr);
    ~TFormCreateDiplomJournal() override;

    /// Lists the administrator's events of every school year whose diplomas
    /// are released, chooses the first and reads its journal.
    void FormCreate() override;
    /// Closes the journal and the event list.
    void FormClose() override;

    /// The chosen event changed: its journal is read.
    void DBLookupComboBox1CloseUp();
    void DBLookupComboBox1KeyUp(int key);
    /// The choice changed without the list or a key (the mouse wheel).
    void DBLookupComboBox1KeyValueChanged();
    /// Sorts the journal by the clicked column; the order stays with the shared
    /// query, for other events and later windows too.
    void DBGrid1TitleClick(const QString& field);
    /// The background of a row: light red for winners (7), peach for
    /// prize-winners (10), invalid for the normal colours.
    QColor DBGrid1DrawColumnCell(int recNo) const;
    /// "Экспорт": the journal as the grid shows it into a new workbook saved
    /// in "Журнал", then shown; the grid comes back to its row however the
    /// export ends (exportSheet).
    void BitBtn4Click();

    /// Reads the journal of the chosen event; the export is open only when it
    /// has rows.
    void readData();
    /// The number of journal lines of the chosen event, counted by the server.
    int getRecordCount();

    /// The id of the chosen event (0 when none is chosen).
    int chosenEvent() const;
    /// The list text of the chosen event (school year and name).
    QString chosenEventText() const;

private:
    Ui::TFormCreateDiplomJournal* ui;
    TEventChoice* events_;
    /// The spreadsheet of the last export; the next export replaces it.
    std::unique_ptr<TExcel> XLAplication;
};

/// The most recently opened instance; cleared when it closes.
extern TFormCreateDiplomJournal* FormCreateDiplomJournal;
