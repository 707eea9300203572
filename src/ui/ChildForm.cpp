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

void TChildForm::showsShared(TQuery* query, std::function<QVariantMap()> choice, std::function<void()> read)
{
    shared_.append({query, std::move(choice), std::move(read)});
}

void TChildForm::FormActivate()
{
    readShared();
}

void TChildForm::readShared()
{
    for (const TSharedView& view : std::as_const(shared_)) {
        // the rows of this window's own choice come back at their row
        std::optional<TGridPause> pause;
        if (view.query->isOpenFor(view.choice()))
            pause.emplace(view.query);
        view.read();
    }
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
    readShared();
    ShowInformation(refreshedText());
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
