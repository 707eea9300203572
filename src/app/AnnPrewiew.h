#pragma once
// The announcement of the platform for the regional administrators, shown
// after a login when it is switched on.

#include <QByteArray>
#include <QColor>
#include <QDialog>
#include <QVariant>

class QTextEdit;

namespace Ui {
class TFormAnnPrewiew;
}

/// Modal; fills itself from `GETadv` when it is shown.
///
///     TFormAnnPrewiew dlg;
///     TDialogs::ShowModal(dlg);
class TFormAnnPrewiew : public QDialog {
    Q_OBJECT
public:
    explicit TFormAnnPrewiew(QWidget* parent = nullptr);
    ~TFormAnnPrewiew() override;

    QTextEdit* RichEdit1() const;

    /// Reads the announcement and its background colour into RichEdit1.
    void FormShow();

    /// The bytes of a stored text: the low 8 bits of each UTF-16 code unit.
    static QByteArray lowBytes(const QString& text);
    /// A Windows colour value (red in the low byte). Invalid for an empty value
    /// and for system colours this program does not know, which keep the
    /// view's own background.
    static QColor windowsColor(const QVariant& value);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TFormAnnPrewiew* ui;
};

/// The dialog while it is open.
extern TFormAnnPrewiew* FormAnnPrewiew;
