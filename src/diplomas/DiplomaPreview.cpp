#include "diplomas/DiplomaPreview.h"

#include "ui_DiplomaPreview.h"

#include <QPainter>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

TImageView::TImageView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TImageView::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QSize TImageView::sizeHint() const
{
    // A page of the template's proportions, about 800 pixels high.
    if (image_.isNull() || image_.height() == 0)
        return {560, 800};
    return {qMax(200, 800 * image_.width() / image_.height()), 800};
}

void TImageView::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.drawImage(target, image_);
}

TFormDiplomaPreview::TFormDiplomaPreview(const QImage& image, const QString& participant, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormDiplomaPreview)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowTitle(windowTitle() + u": "_s + participant);
    ui->Image1->setImage(image);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        resize(openingSize(screen->availableGeometry().size(), image.size()));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TFormDiplomaPreview::~TFormDiplomaPreview()
{
    delete ui;
}

QSize TFormDiplomaPreview::openingSize(const QSize& available, const QSize& image)
{
    // Room for the frame and title of the window, and for the button row and
    // the margins around the picture inside it.
    constexpr int frame = 60, buttons = 60, margins = 24;
    const int height = qMax(200, qMin(800 + buttons, available.height() - frame));
    const int pictureHeight = height - buttons;
    const int pictureWidth = image.isEmpty() ? pictureHeight * 7 / 10 : pictureHeight * image.width() / image.height();
    return {qMin(qMax(300, pictureWidth + margins), qMax(300, available.width() - margins)), height};
}

const QImage& TFormDiplomaPreview::image() const
{
    return ui->Image1->image();
}
