#include "ui/Dialogs.h"

#include "ui/Hints.h"

#include <QCoreApplication>
#include <QStatusTipEvent>

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

using namespace Qt::Literals::StringLiterals;

namespace {
TDialogs::MessageHook& messageHook()
{
    static TDialogs::MessageHook hook;
    return hook;
}

TDialogs::ModalHook& modalHook()
{
    static TDialogs::ModalHook hook;
    return hook;
}

/// While a message box or a dialog is open the focus is away; when it closes,
/// the window that raised it is the active child window again, with the
/// focus where it was (or where the raising code put it), whatever window the
/// main window would otherwise bring back to the front.
class TFocusReturn {
public:
    TFocusReturn()
        : focus_(QApplication::focusWidget())
    {
        // The handler that raises the box runs for the active child window.
        if (QWidget* top = QApplication::activeWindow())
            if (auto* area = top->findChild<QMdiArea*>())
                raising_ = area->activeSubWindow();
        for (QWidget* w = focus_; w && !raising_; w = w->parentWidget())
            raising_ = qobject_cast<QMdiSubWindow*>(w);
        // The focus may still lie in the window left behind: it goes back into the raising one.
        if (raising_ && focus_ && !raising_->isAncestorOf(focus_))
            focus_ = raising_->widget() ? raising_->widget()->focusWidget() : nullptr;
    }
    ~TFocusReturn()
    {
        if (raising_)
            if (QMdiArea* area = raising_->mdiArea(); area && area->activeSubWindow() != raising_)
                area->setActiveSubWindow(raising_);
        if (focus_)
            focus_->setFocus(Qt::OtherFocusReason);
        else if (raising_)
            raising_->setFocus(Qt::OtherFocusReason);
    }
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;

private:
    QPointer<QWidget> focus_;
    QPointer<QMdiSubWindow> raising_;
};

QString defaultCaption(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::Information: return u"Информация"_s;
    case TMsgDlgType::Warning: return u"Предупреждение"_s;
    case TMsgDlgType::Error: return u"Ошибка"_s;
    case TMsgDlgType::Confirmation: return u"Подтверждение"_s;
    }
    return {};
}
} // namespace

QMessageBox::StandardButton TDialogs::MessageDlg(const QString& text, TMsgDlgType type,
                                                 QMessageBox::StandardButtons buttons,
                                                 const QString& caption)
{
    const TMessage message{type, caption.isEmpty() ? defaultCaption(type) : caption, text, buttons};
    if (messageHook())
        return messageHook()(message);
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (type) {
    case TMsgDlgType::Information: icon = QMessageBox::Information; break;
    case TMsgDlgType::Warning: icon = QMessageBox::Warning; break;
    case TMsgDlgType::Error: icon = QMessageBox::Critical; break;
    case TMsgDlgType::Confirmation: icon = QMessageBox::Question; break;
    }
    TFocusReturn focusReturn;
    QMessageBox box(icon, message.caption, text, buttons, QApplication::activeWindow());
    return QMessageBox::StandardButton(box.exec());
}

int TDialogs::ShowModal(QDialog& dialog)
{
    // Every dialog of the program has a fixed border, on every platform: its
    // size is the one it has when it opens.
    if (!dialog.testAttribute(Qt::WA_Resized))
        dialog.adjustSize();
    dialog.setFixedSize(dialog.size());
    // Its hints reach the status bar as the main window's do...
    mirrorHints(&dialog);
    int result;
    if (modalHook())
        result = modalHook()(dialog);
    else {
        TFocusReturn focusReturn;
        result = dialog.exec();
    }
    // ...and the hint of a closed dialog does not stay there.
    QStatusTipEvent noHint{QString()};
    QCoreApplication::sendEvent(&dialog, &noHint);
    return result;
}

void TDialogs::setHooks(MessageHook message, ModalHook modal)
{
    messageHook() = std::move(message);
    modalHook() = std::move(modal);
}

void ShowInformation(const QString& text)
{
    TDialogs::MessageDlg(text, TMsgDlgType::Information);
}

void ShowWarning(const QString& text)
{
    TDialogs::MessageDlg(text, TMsgDlgType::Warning);
}

void ShowErrorMessage(const QString& text)
{
    TDialogs::MessageDlg(text, TMsgDlgType::Error);
}
