#pragma once
// The about box: picture, name, version, purpose and the organisation's notice,
// which opens its web site when clicked.

#include <QDialog>

namespace Ui {
class TAboutBox;
}

/// Modal; OKButton closes it.
///
///     TAboutBox box(this);
///     TDialogs::ShowModal(box);
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    /// Opens the organisation's web site, as the main menu's site entry does.
    void Label3Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::TAboutBox* ui;
};

/// The box while it exists.
extern TAboutBox* AboutBox;
