#pragma once
// Radio buttons laid out in a designer form, gathered into one group whose ids
// are the item positions, as a radio group's item index.

#include <QAbstractButton>
#include <QButtonGroup>
#include <initializer_list>

/// The buttons as one group, each with its position (from 0) as its id.
///
///     gender_ = radioGroup(this, {ui->RadioGender0, ui->RadioGender1, ui->RadioGender2});
///     const int item = gender_->checkedId();   // 0 is "ВСЕ"
inline QButtonGroup* radioGroup(QObject* parent, std::initializer_list<QAbstractButton*> buttons)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (QAbstractButton* button : buttons)
        group->addButton(button, id++);
    return group;
}
