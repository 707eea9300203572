#include "ratings/StatusMenu.h"

#include "data/Codes.h"

#include <QMenu>

using namespace Qt::Literals::StringLiterals;

const QList<TStatusItem>& statusItems()
{
    static const QList<TStatusItem> items = {
        {"N1", u"Кандидат в участники"_s, Status::Candidate},
        {"N2", u"Участник регионального этапа"_s, Status::Participant},
        {"N3", u"Победитель регионального этапа"_s, Status::Winner},
        {"N4", u"Призер регионального этапа"_s, Status::PrizeWinner},
        {"N5", u"Не прибыл на региональный этап"_s, Status::NotArrived},
    };
    return items;
}

QMenu* createStatusMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(u"PopupStatus"_s);
    for (const TStatusItem& item : statusItems()) {
        QAction* action = menu->addAction(item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
    }
    return menu;
}

void tickStatus(QMenu* menu, const QString& nameStatus)
{
    for (QAction* action : menu->actions())
        action->setChecked(action->text() == nameStatus);
}
