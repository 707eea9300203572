// Login: the dialog, the check of the account, the session values, the day of
// the entry, the menu and the announcement.

#include "app/MainZRT.h"

#include "app/AnnPrewiew.h"
#include "app/Checkauthorization.h"
#include "ui/Dialogs.h"
#include "data/DataZRT.h"

#include <QDate>
#include <QLineEdit>
#include <QScopeGuard>
#include <memory>

using namespace Qt::Literals::StringLiterals;

void TFormMainZRT::N2Click()
{
    const auto dialog = std::make_unique<TFormCheckauthorization>();
    if (TDialogs::ShowModal(*dialog) != QDialog::Accepted)
        return;
    // Whatever happens below, the account's row does not stay in memory.
    const auto closeQuery = qScopeGuard([] { DataZRT->Qauthorization->Close(); });

    const QString login = dialog->Edit1()->text();
    const TLoginCheck check = checkAuthorization(login, dialog->Edit2()->text());
    switch (check.outcome) {
    case TLoginCheck::WrongLogin:
        ShowErrorMessage(u"Не верный логин"_s);
        closeSessionWindows();
        DataZRT->areaID = 0;
        DataZRT->userID = -1;
        setPanelText(0, u"Не авторизованный пользователь"_s);
        enableMenu(false);
        break;
    case TLoginCheck::WrongPassword:
        DataZRT->userID = -1;
        DataZRT->areaID = 0;
        setPanelText(0, u"Не авторизованный пользователь"_s);
        closeSessionWindows();
        ShowErrorMessage(u"Не верный пароль или учетная запись заблокирована"_s);
        enableMenu(false);
        break;
    case TLoginCheck::Success: {
        // Windows opened for another administrator end with his session.
        if (check.id != DataZRT->userID)
            closeSessionWindows();
        DataZRT->userID = check.id;
        DataZRT->areaID = check.areaID;
        DataZRT->FIO = check.fio;
        DataZRT->LoginUser = login;
        setPanelText(0, u"КРМ: "_s + DataZRT->FIO);

        TQuery* lastEnter = DataZRT->LastEnter;
        lastEnter->Close();
        lastEnter->ParamByName(u"UserID"_s).setAsInteger(DataZRT->userID);
        lastEnter->ParamByName(u"LastEnter"_s).setAsDate(QDate::currentDate());
        lastEnter->ExecSQL();

        enableMenu(true);
        if (isViewAnn()) {
            TFormAnnPrewiew announcement;
            TDialogs::ShowModal(announcement);
        }
        break;
    }
    }
}

void TFormMainZRT::closeSessionWindows()
{
    N136Click();
}
