#include "ui/Hints.h"

#include <QWidget>

void mirrorHints(QWidget* root)
{
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets)
        if (w->statusTip().isEmpty() && !w->toolTip().isEmpty())
            w->setStatusTip(w->toolTip());
}
