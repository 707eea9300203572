#include "events/PassingScoreReg.h"

#include "ui/Dialogs.h"
#include "ui/ChildForm.h"
#include "ui/ErrorDisplay.h"
#include "data/DBGrid.h"
#include "data/DataZRT.h"
#include "events/EditPassingScoreReg.h"

#include "ui_PassingScoreReg.h"


using namespace Qt::Literals::StringLiterals;

TFormPassingScoreReg* FormPassingScoreReg = nullptr;

TFormPassingScoreReg::TFormPassingScoreReg(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormPassingScoreReg)
{
    ui->setupUi(this);

    constexpr Qt::Alignment centred = Qt::AlignCenter;
    ui->DBGrid1->setColumns({
        {u"id"_s, u""_s, false},
        {u"nameEdu"_s, u"Наименование мероприятия"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 320},
        {u"prizeWinnerMin"_s, u"МИН для призера"_s, true, centred, 135},
        {u"prizeWinnerMax"_s, u"МАКС для призера"_s, true, centred, 145},
        {u"Winner"_s, u"ОТ и > для победителя"_s, true, centred, 175},
        {u"dateStart"_s, u"Начало"_s, true, centred, 95},
        {u"dateEnd"_s, u"Окончание"_s, true, centred, 95},
    });
    ui->DBGrid1->setDataSource(DataZRT->SourceGETpassingScoreReg);

    connect(ui->BitBtn1, &QPushButton::clicked, this, handler([this] { BitBtn1Click(); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    connect(ui->DBGrid1, &TDBGrid::DblClick, this, handler([this] { BitBtn2Click(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));

    showsShared(DataZRT->GETpassingScoreReg, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; },
                [this] { FormCreate(); });

    start(FormPassingScoreReg);
}

TFormPassingScoreReg::~TFormPassingScoreReg()
{
    delete ui;
}

void TFormPassingScoreReg::FormCreate()
{
    TQuery* q = DataZRT->GETpassingScoreReg;
    q->Close();
    q->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
    q->Open();
}

void TFormPassingScoreReg::FormClose()
{
    DataZRT->GETpassingScoreReg->Close();
}

void TFormPassingScoreReg::BitBtn1Click()
{
    closeChildForm(this);
}

void TFormPassingScoreReg::BitBtn2Click()
{
    TQuery* q = DataZRT->GETpassingScoreReg;
    if (!ownRows(q))
        return;
    const int id = q->FieldByName(u"id"_s).asInteger();
    TFormEditPassingScoreReg dialog;
    dialog.setValues(q->FieldByName(u"nameEdu"_s).asString(), q->FieldByName(u"prizeWinnerMin"_s).asString(),
                     q->FieldByName(u"prizeWinnerMax"_s).asString(), q->FieldByName(u"Winner"_s).asString());
    // The dialog closes only with scores that pass the rule; a refused write
    // brings it back with what was typed.
    bool accepted = false;
    while (TDialogs::ShowModal(dialog) == QDialog::Accepted) {
        accepted = true;
        const TPassingScores scores = dialog.scores();
        const bool written = guardedWrite([&] {
            TQuery* upd = DataZRT->UPDpassingScoreReg;
            upd->ParamByName(u"id"_s).setAsInteger(id);
            upd->ParamByName(u"prizeWinnerMin"_s).setAsFloat(scores.prizeWinnerMin);
            upd->ParamByName(u"prizeWinnerMax"_s).setAsFloat(scores.prizeWinnerMax);
            upd->ParamByName(u"Winner"_s).setAsFloat(scores.winner);
            upd->ExecSQL();
        });
        if (written)
            break;
    }
    // After OK the list is re-read, whether the write went through or not.
    if (accepted)
        q->Refresh();
}

void TFormPassingScoreReg::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->GETpassingScoreReg, field);
}
