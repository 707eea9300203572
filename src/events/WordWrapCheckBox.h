#pragma once
// A check box whose caption can wrap onto several lines.

#include <QCheckBox>

/// A QCheckBox that, with word wrap on, breaks its caption at the width it is
/// given and asks its layout for the height that needs. text(), isChecked()
/// and the signals are those of QCheckBox; a click anywhere on it toggles it.
///
///     auto* box = new TWordWrapCheckBox(contents);
///     box->setWordWrap(true);
///     box->setText(u"2025-2026 у/г. Олимпиада по математике"_s);
class TWordWrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TWordWrapCheckBox(QWidget* parent = nullptr);

    void setWordWrap(bool on);
    bool wordWrap() const { return wordWrap_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    /// Width of the indicator and the gap before the caption.
    int indicatorSpace() const;
    QRect textRect(int width) const;

    bool wordWrap_ = false;
};
