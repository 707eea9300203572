#include "ui/ErrorDisplay.h"

#include "ui/Dialogs.h"
#include "data/Errors.h"

using namespace Qt::Literals::StringLiterals;

QString applicationTitle()
{
    return u"Тальвира"_s;
}

QString generalErrorText(const QString& text)
{
    if (!text.isEmpty() && text.back().isLetterOrNumber())
        return text + u'.';
    return text;
}

void ShowException(const std::exception& error)
{
    // One lost connection is told once per action, however many of its
    // steps (a window opening, another one activated) run into it.
    if (dynamic_cast<const EConnectionLost*>(&error) && TUserAction::current() != 0) {
        static int toldIn = 0;
        if (toldIn == TUserAction::current())
            return;
        toldIn = TUserAction::current();
    }
    TDialogs::MessageDlg(generalErrorText(QString::fromUtf8(error.what())), TMsgDlgType::Error,
                         QMessageBox::Ok, applicationTitle());
}

bool guardedWrite(const std::function<void()>& write)
{
    try {
        write();
        return true;
    } catch (const EConnectionLost&) {
        throw;
    } catch (const std::exception&) {
        ShowErrorMessage(u"Ошибка записи в БД"_s);
        return false;
    }
}
