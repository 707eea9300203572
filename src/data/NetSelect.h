#pragma once
// The network dialog: which profile to connect with. It has no logic of its
// own; its caller applies the choice through TDataZRT::changeNET.

#include <QDialog>

namespace Ui {
class TFormNetSelect;
}

/// Modal; "Интернет" is chosen whenever it opens.
///
///     TFormNetSelect dlg;
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted && !DataZRT->changeNET(dlg.ItemIndex())) ...
class TFormNetSelect : public QDialog {
    Q_OBJECT
public:
    explicit TFormNetSelect(QWidget* parent = nullptr);
    ~TFormNetSelect() override;

    /// The chosen item: 0 internet, 1 local network.
    int ItemIndex() const;
    void setItemIndex(int index);

private:
    Ui::TFormNetSelect* ui;
};
