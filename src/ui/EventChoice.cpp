#include "ui/EventChoice.h"

#include "ui/ChildForm.h"
#include "ui/ErrorDisplay.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/MemTable.h"
#include "data/Query.h"

using namespace Qt::Literals::StringLiterals;

TEventChoice::TEventChoice(TChildForm* form, TDBLookupComboBox* box, TDataSource* source,
                           const QString& listField, Rereading rereading, std::function<void()> changed)
    : QObject(form)
    , form_(form)
    , box_(box)
    , events_(qobject_cast<TQuery*>(source->DataSet()))
    , listField_(listField)
    , rereading_(rereading)
    , changed_(std::move(changed))
{
    box_->setListSource(source, u"id"_s, listField_);
    connect(box_, &TDBLookupComboBox::CloseUp, this, handler([this] { CloseUp(); }));
    if (rereading_ == EveryCloseUp)
        connect(box_, &TDBLookupComboBox::KeyUp, this, handler([this] { KeyUp(); }));
    connect(box_, &TDBLookupComboBox::KeyValueChanged, this, handler([this] { KeyValueChanged(); }));
    form_->showsShared(events_, [] { return QVariantMap{{u"userID"_s, DataZRT->userID}}; }, [this] {
        // shared: read again, it keeps this window's choice
        const QVariant key = box_->KeyValue();
        openAdministratorEvents(events_);
        box_->setKeyValue(key);
    });
}

TEventChoice::TEventChoice(TChildForm* form, TDBLookupComboBox* box, TDataSource* source,
                           const QString& listField, const QString& firstEntry)
    : QObject(form)
    , form_(form)
    , box_(box)
    , events_(qobject_cast<TQuery*>(source->DataSet()))
    , listField_(listField)
    , firstEntry_(firstEntry)
{
    copy_ = new TMemTable(u"MemEdu"_s, {u"id"_s, listField_}, this);
    copySource_ = new TDataSource(u"SourceMemEdu"_s, copy_, this);
    box_->setListSource(copySource_, u"id"_s, listField_);
}

TDataSet* TEventChoice::list() const
{
    return copy_ ? static_cast<TDataSet*>(copy_) : events_;
}

int TEventChoice::openFirst()
{
    const int first = openAdministratorEvents(events_);
    if (!copy_) {
        box_->setKeyValue(first);
        shown_ = first;
        return first;
    }
    copy_->Open();
    copy_->EmptyTable();
    copy_->AppendRecord({0, firstEntry_});
    for (int row = 0; row < events_->RecordCount(); ++row)
        copy_->AppendRecord({events_->value(row, u"id"_s), events_->value(row, listField_)});
    box_->setKeyValue(0);
    copy_->Locate(u"id"_s, 0);
    // the copy is what the window shows; the shared list is left to the others
    events_->Close();
    shown_ = 0;
    return 0;
}

void TEventChoice::close()
{
    events_->Close();
}

int TEventChoice::chosenEvent() const
{
    return box_->keyAsInteger();
}

int TEventChoice::rowOfChosen() const
{
    const TDataSet* events = list();
    const QVariant key = box_->KeyValue();
    if (!key.isValid() || key.isNull() || !events->Active())
        return -1;
    const int id = chosenEvent();
    for (int row = 0; row < events->RecordCount(); ++row)
        if (events->value(row, u"id"_s).toInt() == id)
            return row;
    return -1;
}

QVariant TEventChoice::value(const QString& field) const
{
    const int row = rowOfChosen();
    return row < 0 ? QVariant() : list()->value(row, field);
}

bool TEventChoice::holdsChosen() const
{
    return rowOfChosen() >= 0;
}

void TEventChoice::report()
{
    if (!changed_)
        return;
    shown_ = chosenEvent();
    changed_();
}

void TEventChoice::CloseUp()
{
    if (form_->isClosing())
        return;
    if (rereading_ == EveryCloseUp || chosenEvent() != shown_)
        report();
}

void TEventChoice::KeyUp()
{
    if (!form_->isClosing() && rereading_ == EveryCloseUp)
        report();
}

void TEventChoice::KeyValueChanged()
{
    if (!form_->isClosing() && chosenEvent() != shown_)
        report();
}
