#include "events/EditPassingScoreReg.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "data/Format.h"
#include "data/Errors.h"

#include "ui_EditPassingScoreReg.h"

#include <QShowEvent>

TFormEditPassingScoreReg* FormEditPassingScoreReg = nullptr;

TFormEditPassingScoreReg::TFormEditPassingScoreReg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormEditPassingScoreReg)
{
    ui->setupUi(this);
    mirrorHints(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    // Every change of the text counts, typed or set by the program; setting
    // the text a field already holds is no change and fires nothing.
    connect(ui->EditprizeWinnerMax, &QLineEdit::textChanged, this, [this] { maxChanged(); });
    ui->EditprizeWinnerMax->installEventFilter(this);
    FormEditPassingScoreReg = this;
}

TFormEditPassingScoreReg::~TFormEditPassingScoreReg()
{
    if (FormEditPassingScoreReg == this)
        FormEditPassingScoreReg = nullptr;
    delete ui;
}

void TFormEditPassingScoreReg::setValues(const QString& nameEdu, const QString& prizeWinnerMin,
                                         const QString& prizeWinnerMax, const QString& winner)
{
    ui->Label2->setText(nameEdu);
    ui->EditprizeWinnerMin->setText(prizeWinnerMin);
    ui->EditprizeWinnerMax->setText(prizeWinnerMax);
    ui->EditWinner->setText(winner);
}

QString TFormEditPassingScoreReg::minText() const
{
    return ui->EditprizeWinnerMin->text();
}

QString TFormEditPassingScoreReg::maxText() const
{
    return ui->EditprizeWinnerMax->text();
}

QString TFormEditPassingScoreReg::winnerText() const
{
    return ui->EditWinner->text();
}

void TFormEditPassingScoreReg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runHandler([this] { FormShow(); });
}

void TFormEditPassingScoreReg::FormShow()
{
    ui->EditprizeWinnerMin->setFocus();
}

void TFormEditPassingScoreReg::maxChanged()
{
    try {
        EditprizeWinnerMaxChange();
        pendingError_.clear();
    } catch (const EError& e) {
        pendingError_ = e.message();
        if (!keyDown_)
            reportPending();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TFormEditPassingScoreReg::reportPending()
{
    if (pendingError_.isEmpty())
        return;
    const EConvertError error(pendingError_);
    pendingError_.clear();
    ShowException(error);
    ui->EditprizeWinnerMax->setFocus();
}

bool TFormEditPassingScoreReg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->EditprizeWinnerMax) {
        if (event->type() == QEvent::KeyPress) {
            keyDown_ = true;
        } else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut) {
            keyDown_ = false;
            reportPending();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormEditPassingScoreReg::EditprizeWinnerMaxChange()
{
    const double max = StrToFloat(ui->EditprizeWinnerMax->text());
    ui->EditWinner->setText(FloatToStr(max + 0.01));
}
