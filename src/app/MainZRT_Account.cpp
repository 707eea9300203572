// Personal data, password change and the forgotten-password notice.

#include "app/ChangePassword.h"
#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "app/MainZRT.h"
#include "app/RegistrCoordReg.h"
#include "crypto/Bcrypt.h"
#include "data/DataZRT.h"
#include "data/Statements.h"

using namespace Qt::Literals::StringLiterals;

void TFormMainZRT::N102Click()
{
    TFormRegistrCoordReg dialog(this);
    if (TDialogs::ShowModal(dialog) == QDialog::Accepted)
        UPDcoord(dialog, dialog.areaKey());
}

void TFormMainZRT::UPDcoord(TFormRegistrCoordReg& form, int IDarea)
{
    bool nameStored = false;
    const bool stored = guardedWrite([&] {
        TQuery* coord = DataZRT->UPDcoordReg;
        coord->Close();
        coord->ParamByName(u"surname"_s).setAsString(TDataZRT::my_ucfirst(form.surnameText()));
        coord->ParamByName(u"name"_s).setAsString(TDataZRT::my_ucfirst(form.nameText()));
        coord->ParamByName(u"patronymic"_s).setAsString(TDataZRT::my_ucfirst(form.patronymicText()));
        coord->ParamByName(u"phone"_s).setAsString(form.phoneText());
        coord->ParamByName(u"areaID"_s).setAsInteger(IDarea);
        coord->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
        coord->ExecSQL();
        nameStored = true;

        // Place of work and position go in as bound values, so whatever was
        // typed (quotes, backslashes, SQL) is stored as text under any SQL mode.
        TQuery* add = DataZRT->emptySQL;
        add->Close();
        add->SQL().clear();
        add->SQL() << workplaceUpdateSql(DataZRT->userID);
        add->ParamByName(u"placeWork"_s).setAsString(form.placeWorkText());
        add->ParamByName(u"postWork"_s).setAsString(form.postWorkText());
        add->ExecSQL();
    });
    if (nameStored) {
        // The status bar names the administrator as the login would now read him.
        DataZRT->FIO = TDataZRT::my_ucfirst(form.surnameText()) + u' ' + TDataZRT::my_ucfirst(form.nameText())
                       + u' ' + TDataZRT::my_ucfirst(form.patronymicText());
        setPanelText(0, u"КРМ: "_s + DataZRT->FIO);
    }
    if (stored)
        ShowInformation(u"Данные обновлены"_s);
}

void TFormMainZRT::N104Click()
{
    TFormChangePassword dialog(this);
    if (TDialogs::ShowModal(dialog) != QDialog::Accepted)
        return;
    const QString password = Trim(dialog.passwordText());
    if (password.isEmpty()) {
        ShowErrorMessage(u"Не введен новый пароль"_s);
        return;
    }
    TQuery* q = DataZRT->newPassword;
    q->Close();
    q->ParamByName(u"id"_s).setAsInteger(DataZRT->userID);
    q->ParamByName(u"NEWpassword"_s).setAsString(TBCrypt::HashPassword(password));
    if (guardedWrite([q] { q->ExecSQL(); }))
        ShowInformation(u"Пароль обновлен"_s);
}

void TFormMainZRT::N10Click()
{
    ShowInformation(u"Если Вы забыли пароль, обратитесь к администратору АИС в образовательный центр \"Кассиор\". Он назначит Вам новый пароль."_s);
}
