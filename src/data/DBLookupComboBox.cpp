#include "data/DBLookupComboBox.h"

#include "data/DataSet.h"

#include <QKeyEvent>

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating_ || index < 0)
            return;
        key_ = itemData(index);
        if (TDataSet* q = query(); q && q->Active() && index < q->RecordCount())
            q->setRecNo(index + 1);
        emit KeyValueChanged();
    });
}

TDataSet* TDBLookupComboBox::query() const
{
    return source_ ? source_->DataSet() : nullptr;
}

void TDBLookupComboBox::setListSource(TDataSource* source, const QString& keyField,
                                      const QString& listField)
{
    if (TDataSet* old = query())
        disconnect(old, nullptr, this, nullptr);
    source_ = source;
    keyField_ = keyField;
    listField_ = listField;
    if (TDataSet* q = query())
        connect(q, &TDataSet::dataReset, this, &TDBLookupComboBox::rebuild);
    rebuild();
}

void TDBLookupComboBox::rebuild()
{
    updating_ = true;
    clear();
    if (TDataSet* q = query(); q && q->Active()) {
        for (int row = 0; row < q->RecordCount(); ++row)
            addItem(TField::displayText(q->value(row, listField_)), q->value(row, keyField_));
    }
    updating_ = false;
    showKey();
}

void TDBLookupComboBox::showKey()
{
    updating_ = true;
    int found = -1;
    if (key_.isValid() && !key_.isNull()) {
        for (int i = 0; i < count(); ++i) {
            if (itemData(i).toString() == key_.toString()) {
                found = i;
                break;
            }
        }
    }
    setCurrentIndex(found);
    updating_ = false;
}

void TDBLookupComboBox::setKeyValue(const QVariant& key)
{
    key_ = key;
    showKey();
}

int TDBLookupComboBox::keyAsInteger() const
{
    return key_.isValid() && !key_.isNull() ? key_.toInt() : 0;
}

void TDBLookupComboBox::chooseIndex(int index)
{
    setCurrentIndex(index);
}

void TDBLookupComboBox::hidePopup()
{
    QComboBox::hidePopup();
    emit CloseUp();
}

void TDBLookupComboBox::keyReleaseEvent(QKeyEvent* event)
{
    QComboBox::keyReleaseEvent(event);
    emit KeyUp(event->key());
}
