#pragma once
// The one seam through which the program shows message boxes and modal
// dialogs. Tests install hooks here to see and answer every one of them.

#include <QMessageBox>
#include <QString>
#include <functional>

class QDialog;

enum class TMsgDlgType { Information, Warning, Error, Confirmation };

/// A message box as the program asks for it.
struct TMessage {
    TMsgDlgType type;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
};

class TDialogs {
public:
    using MessageHook = std::function<QMessageBox::StandardButton(const TMessage&)>;
    using ModalHook = std::function<int(QDialog&)>;

    /// Shows a modal message box and returns the button pressed. When it
    /// closes, the child window that raised it is the active one again, with
    /// the focus where it was.
    ///
    ///     TDialogs::MessageDlg(u"Данные обновлены"_s, TMsgDlgType::Information);
    static QMessageBox::StandardButton MessageDlg(const QString& text, TMsgDlgType type,
                                                  QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                  const QString& caption = QString());
    /// Shows a dialog modally and returns its result (QDialog::Accepted or
    /// Rejected); afterwards the focus returns as after a message box.
    ///
    ///     TFormNetSelect dlg;
    ///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ...
    static int ShowModal(QDialog& dialog);

    /// Replaces the real windows by hooks (tests); empty hooks restore them.
    static void setHooks(MessageHook messageHook, ModalHook modalHook);
};

/// Shorthands for the message kinds with the single button OK.
void ShowInformation(const QString& text);
void ShowWarning(const QString& text);
void ShowErrorMessage(const QString& text);
