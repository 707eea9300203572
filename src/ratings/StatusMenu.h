#pragma once
// The status menu of the rating grid: the statuses that may be set by hand,
// each an item with its code.

#include <QList>
#include <QString>

class QMenu;
class QWidget;

/// One item of the status menu.
struct TStatusItem {
    const char* name; ///< "N1" ... "N5"
    QString caption;  ///< the status name as stored, compared with `nameStatus`
    int code;         ///< the status it writes
};

/// The items in menu order: candidate, participant, winner, prize-winner, not arrived.
///
///     statusItems().at(2).code   // Status::Winner
const QList<TStatusItem>& statusItems();

/// A menu of checkable items N1 to N5 in that order; the caller connects them.
///
///     QMenu* menu = createStatusMenu(this);
///     connect(menu->actions().at(0), &QAction::triggered, this, ...);
QMenu* createStatusMenu(QWidget* parent);

/// Ticks the item whose caption is the row's status name, unticks the others.
///
///     tickStatus(menu, u"Призер регионального этапа"_s);
void tickStatus(QMenu* menu, const QString& nameStatus);
