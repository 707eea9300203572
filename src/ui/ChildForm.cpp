#include "ui/ChildForm.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

void closeChildForm(QWidget* form)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

TChildForm::TChildForm(QWidget* parent)
    : QWidget(parent)
{
}

TChildForm::~TChildForm()
{
    // A window destroyed while shown hides its controls on the way out.
    closing_ = true;
    if (clearInstance_)
        clearInstance_();
}

void TChildForm::startForm()
{
    mirrorHints(this);
    runHandler([this] { FormCreate(); });
}

void TChildForm::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    runHandler([this] { FormClose(); });
    if (clearInstance_)
        clearInstance_();
    event->accept();
}
