#pragma once
// Assigning a pupil to regional events: find the pupil by surname, tick the
// administrator's events he takes part in, save the choices of the active period.

#include <QList>
#include "ui/ChildForm.h"

class QCheckBox;

namespace Ui {
class TFormSetEventUser;
}

/// Child window. The found pupils are the shared query searchUser4SetEduu; the
/// events are check boxes named "check_" + event id inside ScrollBox1, built
/// once when the window opens.
///
///     FormMainZRT->openChild(new TFormSetEventUser);
class TFormSetEventUser : public TChildForm {
    Q_OBJECT
public:
    explicit TFormSetEventUser(QWidget* parent = nullptr);
    ~TFormSetEventUser() override;

    /// Builds the event check boxes.
    void FormCreate() override;
    /// Removes the check boxes, closes the found list, clears FormSetEventUser.
    void FormClose() override;
    /// Closes the window (its frame inside the main window, when it has one).
    void BitBtn1Click();
    /// "Найти" is enabled exactly when the trimmed search text is not empty.
    void EditSurNameKeyUp();
    /// Empties the search text and disables "Найти".
    void SpeedButton1Click();
    /// Finds the pupils whose surname contains the trimmed search text;
    /// the ticks show the first pupil's choices, "Сохранить" is enabled when
    /// there is a current pupil.
    void BitBtn2Click();
    /// Shows the choices of the pupil of the clicked row.
    void DBGrid1CellClick();
    void DBGrid1TitleClick(const QString& field);
    /// Replaces the current pupil's choices of the active period by the ticked events.
    void BitBtn3Click();

    /// (Re)builds one check box per event of the administrator in the active period.
    void fillSubject();
    /// Destroys the event check boxes.
    void removeComponent();
    /// Ticks exactly the events the current pupil has chosen.
    void CheckSubjUser();
    /// Whether any event is ticked.
    bool checkSubject() const;
    /// The INSERT of the ticked events for one pupil; the values stand in the
    /// text as given, the box created last comes first.
    ///
    ///     createSQL("5", "9")
    ///     // "INSERT INTO `vzl_userseducation_reg`(...) VALUES (5,12,(SELECT ...),9),(5,11,...)"
    QString createSQL(const QString& userID, const QString& classStudy) const;

    /// The event check boxes in the order they were created.
    QList<QCheckBox*> eventBoxes() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Finds the pupils for a LIKE pattern and shows the ticks of the first.
    void search(const QString& pattern);
    /// The last search again (the shared list may hold another window's).
    void searchAgain();
    /// Ticks the choices of the current pupil when he is not the one ticked;
    /// with no current pupil of this window's search the ticks are cleared and
    /// "Сохранить" is disabled.
    void followPupil();
    /// The id of the current pupil of this window's search, 0 when there is none.
    int currentPupil() const;

    Ui::TFormSetEventUser* ui;
    /// The pattern of this window's last search (null before the first).
    QString searched_;
    /// The pupil whose choices the ticks show, 0 for none.
    int ticksPupil_ = 0;
};

/// The last window opened; cleared when a window closes.
extern TFormSetEventUser* FormSetEventUser;
