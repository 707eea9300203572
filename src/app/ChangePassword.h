#pragma once
// The new-password dialog: one masked field, OK and Cancel. Its caller hashes
// and stores what was typed (see TFormMainZRT::N104Click).

#include <QDialog>
#include <QString>

namespace Ui {
class TFormChangePassword;
}

/// Modal, only the close box; the focus starts in EditPassword.
///
///     TFormChangePassword dlg(this);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ... dlg.passwordText() ...
class TFormChangePassword : public QDialog {
    Q_OBJECT
public:
    explicit TFormChangePassword(QWidget* parent = nullptr);
    ~TFormChangePassword() override;

    void FormShow();
    /// The typed password.
    QString passwordText() const;

private:
    Ui::TFormChangePassword* ui;

protected:
    void showEvent(QShowEvent* event) override;
};

/// The dialog while it exists.
extern TFormChangePassword* FormChangePassword;
