#pragma once
// The diploma of one participant on the screen, before anything is saved.

#include <QDialog>
#include <QImage>
#include <QWidget>

namespace Ui {
class TFormDiplomaPreview;
}

/// Shows an image scaled to fit its size, keeping its proportions.
///
///     view->setImage(createTitle(templ, d, faces));
class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

/// Modal dialog "Просмотр диплома (сертификата)": the drawn image, scaled to
/// the dialog, which can be enlarged or maximised. It opens as large as its
/// screen allows with the frame and the button row in view.
///
///     TFormDiplomaPreview dlg(image, u"Петров Иван Сергеевич"_s, this);
///     TDialogs::ShowModal(dlg);
class TFormDiplomaPreview : public QDialog {
    Q_OBJECT
public:
    TFormDiplomaPreview(const QImage& image, const QString& participant, QWidget* parent = nullptr);
    ~TFormDiplomaPreview() override;

    /// The image shown, at its full size.
    const QImage& image() const;

    /// The size the dialog opens with on a screen whose free area (without
    /// task bars) is available: a page of the image's proportions at most 800
    /// pixels high, the window frame and title (up to 60 pixels) left room.
    ///
    ///     TFormDiplomaPreview::openingSize(QSize(1366, 728), QSize(1654, 2339))   // 453 x 668
    static QSize openingSize(const QSize& available, const QSize& image);

private:
    Ui::TFormDiplomaPreview* ui;
};
