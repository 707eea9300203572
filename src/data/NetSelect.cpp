#include "data/NetSelect.h"

#include "ui_NetSelect.h"

TFormNetSelect::TFormNetSelect(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormNetSelect)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    setItemIndex(0);
}

TFormNetSelect::~TFormNetSelect()
{
    delete ui;
}

int TFormNetSelect::ItemIndex() const
{
    return ui->RadioItem1->isChecked() ? 1 : (ui->RadioItem0->isChecked() ? 0 : -1);
}

void TFormNetSelect::setItemIndex(int index)
{
    (index == 1 ? ui->RadioItem1 : ui->RadioItem0)->setChecked(true);
}
