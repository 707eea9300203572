#include "ui/ChildForm.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "ui/ProgressLabel.h"

#include "ui/Dialogs.h"
#include "data/GridPause.h"
#include "data/Query.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

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
    detachHandlers();
}

void TChildForm::detachHandlers()
{
    // The controls are taken down after this window's own part is gone, and a
    // control going down may still report a change (a drop-down losing its
    // list): nothing it sends may reach the window's handlers or its parts.
    QList<QObject*> receivers{this};
    for (QObject* child : children())
        if (!child->isWidgetType())
            receivers << child;
    for (QObject* sender : findChildren<QObject*>())
        for (QObject* receiver : receivers)
            if (sender != receiver)
                QObject::disconnect(sender, nullptr, receiver, nullptr);
    for (const TSharedView& view : shared_)
        if (view.query)
            QObject::disconnect(view.query, nullptr, this, nullptr);
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

bool TChildForm::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        watchFrame();
    return QWidget::event(event);
}

void TChildForm::watchFrame()
{
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame || frame == watchedFrame_)
        return;
    watchedFrame_ = frame;
    // The first activation comes with the opening, right after FormCreate read
    // everything; every later one reads the shared queries again.
    auto opened = std::make_shared<bool>(false);
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this, opened](Qt::WindowStates before, Qt::WindowStates now) {
                if (!(now & Qt::WindowActive) || (before & Qt::WindowActive) || isClosing())
                    return;
                if (!*opened) {
                    *opened = true;
                    return;
                }
                runHandler([this] { FormActivate(); });
            });
}

void TChildForm::showsShared(TQuery* query, std::function<QVariantMap()> choice, std::function<void()> read,
                             const QString& keyField)
{
    shared_.append({query, std::move(choice), std::move(read), keyField, false, {}, {}, {}});
    connect(query, &TDataSet::aboutToClose, this, [this, query] {
        for (TSharedView& view : shared_)
            if (view.query == query)
                noteClosing(view);
    });
}

TChildForm::TSharedView* TChildForm::viewOf(TQuery* query)
{
    for (TSharedView& view : shared_)
        if (view.query == query)
            return &view;
    return nullptr;
}

void TChildForm::noteClosing(TSharedView& view)
{
    if (restoring_ || isClosing())
        return;
    const QVariantMap choice = view.choice();
    if (!view.query->isOpenFor(choice))
        return;
    view.held = true;
    view.heldChoice = choice;
    view.heldOrder = view.query->SQL().isEmpty() ? QString() : view.query->SQL().last();
    view.heldKey = view.query->fieldIndex(view.keyField) >= 0 && !view.query->IsEmpty()
                       ? view.query->FieldByName(view.keyField).value()
                       : QVariant();
}

void TChildForm::readAgain(TSharedView& view)
{
    const bool resume = view.held && view.heldChoice == view.choice();
    const QString order = view.heldOrder;
    const QVariant key = view.heldKey;
    view.read();
    TQuery* q = view.query;
    if (!resume || !q->isOpenFor(view.choice()))
        return;
    struct Restoring {
        bool& flag;
        explicit Restoring(bool& f) : flag(f) { flag = true; }
        ~Restoring() { flag = false; }
    } restoring(restoring_);
    if (!order.isEmpty() && !q->SQL().isEmpty() && q->SQL().last() != order) {
        // the window's own title-click order
        q->Close();
        q->SQL().last() = order;
        q->Open();
    }
    if (key.isValid() && q->fieldIndex(view.keyField) >= 0 && !q->Locate(view.keyField, key))
        q->First();
}

void TChildForm::FormActivate()
{
    readShared();
}

void TChildForm::readShared()
{
    for (TSharedView& view : shared_)
        if (!view.query->isOpenFor(view.choice()))
            readAgain(view);
}

bool TChildForm::showsOwnChoice(TQuery* query) const
{
    for (const TSharedView& view : shared_)
        if (view.query == query)
            return query->isOpenFor(view.choice());
    return query->Active();
}

bool TChildForm::ownRows(TQuery* query)
{
    if (showsOwnChoice(query))
        return true;
    TSharedView* view = viewOf(query);
    // Another window's choice stands where this window's stood before.
    const bool taken = view && query->Active() && view->held && view->heldChoice == view->choice();
    readShared();
    if (taken)
        ShowInformation(refreshedText());
    // the user sees the list read again before anything is done with it
    return false;
}

QString TChildForm::refreshedText()
{
    return u"Список в этом окне был прочитан заново: его изменил выбор в другом окне. "
           u"Проверьте список и повторите действие."_s;
}

void TChildForm::showProgressOn(QProgressBar* bar, QLabel* label)
{
    progressLabel_ = new TProgressLabel(bar, label, this);
}

TProgressSink& TChildForm::progress()
{
    if (progressOverride_)
        return *progressOverride_;
    static TNullProgress none;
    return progressLabel_ ? static_cast<TProgressSink&>(*progressLabel_) : none;
}
