#pragma once
// Data-aware drop-down list: offers the rows of a data source's query, shows
// one field and keeps the key field of the chosen row.

#include <QComboBox>
#include <QPointer>
#include <QVariant>

class TDataSource;
class TDataSet;

/// A drop-down list bound to a query.
///
///     DBLookupComboBox1->setListSource(DataZRT->SourceGETeduReg, "id", "nameEdu");
///     DBLookupComboBox1->setKeyValue(DataZRT->GETeduReg->FieldByName("id").asInteger());
///     connect(DBLookupComboBox1, &TDBLookupComboBox::CloseUp, this, ...);
class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    void setListSource(TDataSource* source, const QString& keyField, const QString& listField);
    TDataSet* query() const;

    /// The key of the chosen row; invalid when nothing is chosen.
    QVariant KeyValue() const { return key_; }
    /// Chooses the row with that key (shows nothing when no row has it).
    void setKeyValue(const QVariant& key);
    /// The key as an integer, 0 when nothing is chosen.
    int keyAsInteger() const;

    /// Chooses the row at that position, as the user would (tests and keyboard).
    void chooseIndex(int index);

    void hidePopup() override;

signals:
    /// The list closed (after a choice or without one).
    void CloseUp();
    /// A key was released while the control had the focus.
    void KeyUp(int key);
    /// The user changed the chosen row, by mouse or keyboard.
    void KeyValueChanged();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void showKey();

    QPointer<TDataSource> source_;
    QString keyField_;
    QString listField_;
    QVariant key_;
    bool updating_ = false;
};
