#pragma once
// The new-password dialog: one masked field, OK and Cancel. Its caller hashes
// and stores what was typed (see TFormMainZRT::N104Click).

#include <QDialog>

namespace Ui {
class TFormChangePassword;
}

/// Modal, only the close box; the focus starts in EditPassword.
///
///     TFormChangePassword dlg(this);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ... dlg.ui->EditPassword->text() ...
class TFormChangePassword : public QDialog {
    Q_OBJECT
public:
    explicit TFormChangePassword(QWidget* parent = nullptr);
    ~TFormChangePassword() override;

    void FormShow();

    Ui::TFormChangePassword* ui;

protected:
    void showEvent(QShowEvent* event) override;
};

/// The dialog while it exists.
extern TFormChangePassword* FormChangePassword;
