#pragma once
// Detailing the regional application of an event: venue, hotel, dates and the
// accompanying person of each participant, for one row or a group at once.

#include <QColor>
#include <QDate>
#include <QList>
#include "ui/ChildForm.h"

namespace Ui {
class TFormAppCreateEditRegion;
}

/// The five details that one write gives to every chosen row.
struct TAppDetails {
    int actionareaID = 0;
    int hotel = 0;
    QDate dateIn;
    QDate dateOut;
    int maintainerID = 0;
};

/// Child window "Детализация заявок на участие (проживание) при проведении
/// региональных мероприятий".
///
///     auto* form = new TFormAppCreateEditRegion;   // reads the events and the first one's list
///     FormMainZRT->openChild(form);
class TFormAppCreateEditRegion : public TChildForm {
    Q_OBJECT
public:
    explicit TFormAppCreateEditRegion(QWidget* parent = nullptr);
    ~TFormAppCreateEditRegion() override;

    /// Reads the administrator's events, chooses the first one, reads its list.
    void FormCreate() override;
    /// Closes the list and the event list.
    void FormClose() override;

    void DBLookupComboBox1CloseUp();
    void DBLookupComboBox1KeyUp(int key);
    /// The choice changed without a key or the list (e.g. the mouse wheel).
    void DBLookupComboBox1KeyValueChanged();
    void DBGrid1TitleClick(const QString& field);
    /// The background of a row: pale green when its participant needs a hotel.
    QColor DBGrid1DrawColumnCell(int recNo) const;

    /// "Редактировать" or a double-click: the detail dialog for the selected
    /// row or the selected group, then the write.
    void BitBtn2Click();
    /// Writes the details to the rows (record numbers, in list order), then
    /// reads the list again and returns to the row that was current. When the
    /// database refuses a row the rows before it stay written, the list is
    /// read again all the same, and the failure goes on to the caller.
    void writeDetails(const TAppDetails& details, const QList<int>& rows);

    /// Reads the list of the chosen event; "Редактировать" follows its count.
    void readData();

    int chosenEvent() const;

private:
    void readEvents();
    Ui::TFormAppCreateEditRegion* ui;
    int listEvent_ = -1;
};

extern TFormAppCreateEditRegion* FormAppCreateEditRegion;
