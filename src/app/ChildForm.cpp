#include "app/ChildForm.h"

#include "data/DataZRT.h"

#include <QMdiSubWindow>

using namespace Qt::Literals::StringLiterals;

void closeChildForm(QWidget* form)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

int openAdministratorEvents(TQuery* events)
{
    events->Close();
    events->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
    events->Open();
    events->First();
    return events->FieldByName(u"id"_s).asInteger();
}
