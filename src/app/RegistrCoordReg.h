#pragma once
// The administrator's personal data: municipality, place of work, position,
// name and phone of the logged-in account, shown and changed in a modal dialog.

#include <QDialog>
#include <QString>

namespace Ui {
class TFormRegistrCoordReg;
}

/// Drops leading and trailing characters whose code is 32 or lower (blanks and
/// control characters), as the checks of typed fields do.
///
///     Trim(u"  x\t"_s)   // "x"
QString Trim(const QString& text);

/// Modal; filled from ListCoordReg when created. Closing with OK is allowed
/// only when every field is filled (checkParam); the close button and the close
/// box always close.
///
///     TFormRegistrCoordReg dlg(this);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted)
///         UPDcoord(dlg, dlg.areaKey());
class TFormRegistrCoordReg : public QDialog {
    Q_OBJECT
public:
    explicit TFormRegistrCoordReg(QWidget* parent = nullptr);
    ~TFormRegistrCoordReg() override;

    /// Opens GETarea and fills the fields from the account `userID`; an
    /// account without its additional row leaves every field empty, key 0.
    void FormCreate();
    /// Whether the dialog may close with that result.
    bool FormCloseQuery(int result);
    /// Closes GETarea.
    void FormClose();
    /// Every field but the municipality filled (after trimming blanks); at the
    /// first empty one its message is shown, the focus goes there and the
    /// answer is false.
    bool checkParam();

    void done(int result) override;

    /// What the fields hold now, as typed.
    QString surnameText() const;
    QString nameText() const;
    QString patronymicText() const;
    QString phoneText() const;
    QString placeWorkText() const;
    QString postWorkText() const;
    /// The chosen municipality, 0 when none is chosen.
    int areaKey() const;

private:
    Ui::TFormRegistrCoordReg* ui;
};

/// The dialog while it is open.
extern TFormRegistrCoordReg* FormRegistrCoordReg;
