#include "ui/Dialogs.h"

#include "ui/Hints.h"

#include <QCoreApplication>
#include <QStatusTipEvent>

#include <QApplication>
#include <QDialog>

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
    else
        result = dialog.exec();
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
