// Which menu entries are open: a fixed set without a login, everything after
// one, less the entries that rows of `vzl_permissionuser` close for the role.

#include "app/MainZRT.h"

#include "data/Codes.h"
#include "data/DataZRT.h"
#include "data/Statements.h"
#include "data/Errors.h"

#include <QAction>

using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kAlwaysEnabled = {u"N1"_s, u"N10"_s, u"N2"_s, u"N3"_s, u"N22"_s,
                                    u"N137"_s, u"N139"_s, u"N146"_s, u"onLine1"_s};
}

void TFormMainZRT::enableMenu(bool EnableItem)
{
    const QList<QAction*> items = menuItems();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        (*it)->setEnabled(EnableItem);
    for (const QString& name : kAlwaysEnabled)
        if (QAction* item = FindMnuItem(name))
            item->setEnabled(true);
    Permission();
}

void TFormMainZRT::Permission()
{
    if (!DataZRT)
        throw EError(u"Нет соединения с базой данных"_s);
    TQuery* q = DataZRT->emptySQL;
    q->Close();
    q->SQL() = menuPermissionsSql();
    q->Open();
    q->First();
    while (!q->Eof()) {
        if (q->FieldByName(u"permission"_s).asInteger() == Permission::MenuClosed)
            if (QAction* item = FindMnuItem(q->FieldByName(u"MenuItem"_s).asString()))
                item->setEnabled(false);
        q->Next();
    }
    q->Close();
}

QAction* TFormMainZRT::FindMnuItem(const QString& MenuName) const
{
    // menuItems() already lists depth-first: each top-level menu, then its entries.
    for (QAction* item : menuItems())
        if (item->objectName() == MenuName)
            return item;
    return nullptr;
}

bool TFormMainZRT::isViewAnn()
{
    TQuery* q = DataZRT->isViewAnn;
    q->Open();
    const int active = q->FieldByName(u"isActive"_s).asInteger();
    q->Close();
    return active == 1;
}
