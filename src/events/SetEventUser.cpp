#include "events/SetEventUser.h"

#include "ui/Dialogs.h"
#include "ui/ChildForm.h"
#include "ui/ErrorDisplay.h"
#include "data/DBGrid.h"
#include "data/DataZRT.h"
#include "data/Statements.h"
#include "events/WordWrapCheckBox.h"

#include "ui_SetEventUser.h"


using namespace Qt::Literals::StringLiterals;

TFormSetEventUser* FormSetEventUser = nullptr;

namespace {

// The search text as a LIKE pattern that matches only itself: the wildcards
// and the escape character (backslash, LIKE's default) lose their meaning.
QString likeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

// An integer column as the text that stands in a statement built here; an
// empty value gives an empty text.
QString integerText(const TField& field)
{
    return field.isNull() ? QString() : QString::number(field.asInteger());
}

} // namespace

TFormSetEventUser::TFormSetEventUser(QWidget* parent)
    : TChildForm(parent)
    , ui(new Ui::TFormSetEventUser)
{
    ui->setupUi(this);

    ui->DBGrid1->setColumns({
        {u"surname"_s, u"Фамилия"_s},
        {u"nameP"_s, u"Имя"_s},
        {u"patronymic"_s, u"Отчество"_s},
        {u"nameSchool"_s, u"ОО"_s, true, Qt::AlignLeft | Qt::AlignVCenter, 220},
        {u"nameA"_s, u"МО"_s},
    });
    ui->DBGrid1->setDataSource(DataZRT->SourceSearchUser4SetEduu);
    ui->Splitter1->setStretchFactor(0, 3);
    ui->Splitter1->setStretchFactor(1, 2);

    // The ticks belong to the current pupil: they follow every change of the
    // current row (a search, the arrow keys, a click).
    TQuery* pupils = DataZRT->searchUser4SetEduu;
    connect(pupils, &TDataSet::currentChanged, this, handler([this] { followPupil(); }));
    connect(pupils, &TDataSet::dataReset, this, handler([this] { followPupil(); }));
    showsShared(pupils, [this] { return QVariantMap{{u"searchString"_s, searched_}}; },
                [this] { searchAgain(); });

    ui->EditSurName->installEventFilter(this);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, handler([this] { SpeedButton1Click(); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, handler([this] { BitBtn1Click(); }));
    connect(ui->BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    connect(ui->BitBtn3, &QPushButton::clicked, this, handler([this] { BitBtn3Click(); }));
    connect(ui->DBGrid1, &TDBGrid::CellClick, this, handler([this] { DBGrid1CellClick(); }));
    connect(ui->DBGrid1, &TDBGrid::TitleClick, this,
            handler([this](const QString& field) { DBGrid1TitleClick(field); }));

    start(FormSetEventUser);
}

TFormSetEventUser::~TFormSetEventUser()
{
    delete ui;
}

void TFormSetEventUser::FormCreate()
{
    fillSubject();
}

void TFormSetEventUser::FormClose()
{
    removeComponent();
    DataZRT->searchUser4SetEduu->Close();
}

void TFormSetEventUser::BitBtn1Click()
{
    closeChildForm(this);
}

bool TFormSetEventUser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->EditSurName && event->type() == QEvent::KeyRelease)
        runHandler([this] { EditSurNameKeyUp(); });
    return QWidget::eventFilter(watched, event);
}

void TFormSetEventUser::EditSurNameKeyUp()
{
    ui->BitBtn2->setEnabled(!ui->EditSurName->text().trimmed().isEmpty());
}

void TFormSetEventUser::SpeedButton1Click()
{
    ui->EditSurName->clear();
    ui->BitBtn2->setEnabled(false);
    ui->EditSurName->setFocus();
}

void TFormSetEventUser::BitBtn2Click()
{
    search(likeLiteral(ui->EditSurName->text().trimmed()));
}

void TFormSetEventUser::search(const QString& pattern)
{
    TQuery* q = DataZRT->searchUser4SetEduu;
    q->Close();
    // a new search shows the ticks of its first pupil, whoever was current before
    ticksPupil_ = 0;
    searched_ = pattern;
    q->ParamByName(u"searchString"_s).setAsString(pattern);
    q->Open();
    followPupil();
}

void TFormSetEventUser::searchAgain()
{
    if (!searched_.isNull())
        search(searched_);
}

int TFormSetEventUser::currentPupil() const
{
    const TQuery* q = DataZRT->searchUser4SetEduu;
    if (!q->Active() || q->RecNo() < 1 || !q->isOpenFor({{u"searchString"_s, searched_}}))
        return 0;
    return q->FieldByName(u"id"_s).asInteger();
}

void TFormSetEventUser::followPupil()
{
    if (isClosing())
        return;
    const int pupil = currentPupil();
    ui->BitBtn3->setEnabled(pupil != 0);
    if (pupil == 0) {
        for (QCheckBox* box : eventBoxes())
            box->setChecked(false);
        ticksPupil_ = 0;
    } else if (pupil != ticksPupil_) {
        CheckSubjUser();
    }
}

void TFormSetEventUser::DBGrid1CellClick()
{
    CheckSubjUser();
}

void TFormSetEventUser::DBGrid1TitleClick(const QString& field)
{
    TDataZRT::SortSQL(DataZRT->searchUser4SetEduu, field);
}

QList<QCheckBox*> TFormSetEventUser::eventBoxes() const
{
    return ui->ScrollBox1->widget()->findChildren<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFormSetEventUser::removeComponent()
{
    for (QCheckBox* box : eventBoxes())
        delete box;
}

void TFormSetEventUser::fillSubject()
{
    removeComponent();
    QWidget* contents = ui->ScrollBox1->widget();
    auto* layout = static_cast<QBoxLayout*>(contents->layout());
    TQuery* q = DataZRT->viewSubjectsReg;
    q->Close();
    q->ParamByName(u"userID"_s).setAsInteger(DataZRT->userID);
    q->Open();
    for (q->First(); !q->Eof(); q->Next()) {
        const QString nameEdu = q->FieldByName(u"nameEdu"_s).asString();
        auto* box = new TWordWrapCheckBox(contents);
        box->setWordWrap(true);
        box->setCursor(Qt::PointingHandCursor);
        box->setObjectName(u"check_"_s + integerText(q->FieldByName(u"id"_s)));
        box->setText(nameEdu);
        box->setToolTip(u"Выбрать мероприятие "_s + nameEdu);
        box->setStatusTip(box->toolTip());
        // One under another in the order of the rows, above the spare room.
        layout->insertWidget(layout->count() - 1, box);
    }
    q->Close();
}

void TFormSetEventUser::CheckSubjUser()
{
    const QList<QCheckBox*> boxes = eventBoxes();
    for (QCheckBox* box : boxes)
        box->setChecked(false);
    TQuery* choices = DataZRT->GETeduUserReg;
    choices->Close();
    choices->ParamByName(u"userID"_s).setAsInteger(DataZRT->searchUser4SetEduu->FieldByName(u"id"_s).asInteger());
    choices->Open();
    for (choices->First(); !choices->Eof(); choices->Next()) {
        // Choices of events without a box (another administrator's) tick nothing.
        const QString name = u"check_"_s + integerText(choices->FieldByName(u"educationListID"_s));
        for (QCheckBox* box : boxes)
            if (box->objectName() == name)
                box->setChecked(true);
    }
    choices->Close();
    ticksPupil_ = currentPupil();
}

bool TFormSetEventUser::checkSubject() const
{
    for (const QCheckBox* box : eventBoxes())
        if (box->isChecked())
            return true;
    return false;
}

QString TFormSetEventUser::createSQL(const QString& userID, const QString& classStudy) const
{
    QList<int> events;
    const QList<QCheckBox*> boxes = eventBoxes();
    for (auto it = boxes.crbegin(); it != boxes.crend(); ++it) {
        if (!(*it)->isChecked())
            continue;
        const QString name = (*it)->objectName();
        events << name.mid(name.indexOf(u'_') + 1).toInt();
    }
    return userEventsInsertSql(userID, classStudy, events);
}

void TFormSetEventUser::BitBtn3Click()
{
    TQuery* pupils = DataZRT->searchUser4SetEduu;
    if (!ownRows(pupils))
        return;
    if (currentPupil() == 0)
        return;
    if (!checkSubject()) {
        ShowErrorMessage(u"Не определено мероприятие"_s);
        return;
    }
    guardedWrite([this] {
        TQuery* pupil = DataZRT->searchUser4SetEduu;
        const QString userID = integerText(pupil->FieldByName(u"id"_s));
        const QString classStudy = integerText(pupil->FieldByName(u"classStudy"_s));
        // The old choices go only together with the new ones: a failed INSERT
        // (a pupil without a class gives an empty value) keeps them.
        DataZRT->FDConnection1.inTransaction([&] {
            TQuery* sql = DataZRT->emptySQL;
            sql->Close();
            sql->SQL().clear();
            sql->SQL() << userEventsDeleteSql(userID);
            sql->ExecSQL();
            sql->Close();
            sql->SQL().clear();
            sql->SQL() << createSQL(userID, classStudy);
            sql->ExecSQL();
        });
        ShowInformation(u"Данные обновлены"_s);
    });
}
