#include "events/EditPassingScoreReg.h"

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "ui/ScoreBoxes.h"

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
    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { runHandler([this] { BitBtn1Click(); }); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    // Every change of the text counts, typed or set by the program; setting
    // the text a field already holds is no change and fires nothing.
    connect(ui->EditprizeWinnerMax, &QLineEdit::textChanged, this,
            [this] { runHandler([this] { EditprizeWinnerMaxChange(); }); });
    checkScoreBoxesWhenLeft(this, {ui->EditprizeWinnerMin, ui->EditprizeWinnerMax, ui->EditWinner});
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

void TFormEditPassingScoreReg::BitBtn1Click()
{
    if (checkScoreBoxes({ui->EditprizeWinnerMin, ui->EditprizeWinnerMax, ui->EditWinner}))
        accept();
}

TPassingScores TFormEditPassingScoreReg::scores() const
{
    return checkPassingScores(minText(), maxText(), winnerText()).scores;
}

void TFormEditPassingScoreReg::EditprizeWinnerMaxChange()
{
    if (const std::optional<QString> winner = proposedWinner(ui->EditprizeWinnerMax->text()))
        ui->EditWinner->setText(*winner);
}
