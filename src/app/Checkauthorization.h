#pragma once
// The login dialog (login and password, the network button) and the check of
// a login against the accounts of the regional administrators.

#include <QDialog>
#include <QString>

class QLineEdit;

namespace Ui {
class TFormCheckauthorization;
}

/// What a login and password give against the accounts table.
struct TLoginCheck {
    enum Outcome { WrongLogin, WrongPassword, Success };
    Outcome outcome = WrongLogin;
    // The account's values, read only on Success.
    int id = -1;
    int areaID = 0;
    QString fio;
};

/// Looks the login up among the active accounts of the regional administrators
/// (`Qauthorization`, left open for the caller to close) and checks the
/// password against the stored hash. Both texts are used as typed. A hash that
/// does not parse throws EBCryptError; a database failure throws too.
///
///     const TLoginCheck r = checkAuthorization(u"admin@velgrad.example"_s, u"secret"_s);
///     if (r.outcome == TLoginCheck::Success) DataZRT->userID = r.id;
TLoginCheck checkAuthorization(const QString& login, const QString& password);

/// Modal; created for one login and freed afterwards. OK means "log in".
///
///     TFormCheckauthorization dlg;
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) use(dlg.Edit1()->text());
class TFormCheckauthorization : public QDialog {
    Q_OBJECT
public:
    explicit TFormCheckauthorization(QWidget* parent = nullptr);
    ~TFormCheckauthorization() override;

    QLineEdit* Edit1() const;
    QLineEdit* Edit2() const;

    /// Clears the password and puts the focus into the login.
    void FormShow();
    /// The network button: chooses a profile and connects with it; the dialog stays open.
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TFormCheckauthorization* ui;
};

/// The dialog while it is open.
extern TFormCheckauthorization* FormCheckauthorization;
