#pragma once
// The choice of one of the administrator's events in a drop-down list: the
// list's lifecycle (opening on the first event, close-up, keys, the mouse
// wheel, nothing read while the window closes), the event list declared as a
// shared query of the window, and the fields of the chosen event.

#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

class TChildForm;
class TDBLookupComboBox;
class TDataSet;
class TDataSource;
class TMemTable;
class TQuery;

/// One event drop-down of a working window.
///
///     events_ = new TEventChoice(this, ui->DBLookupComboBox1, DataZRT->SourceGETeduReg, u"nameEdu"_s,
///                                TEventChoice::EveryCloseUp, [this] { eventChange(); });
///     ...
///     void FormCreate() override { events_->openFirst(); eventChange(); }
///     void DBLookupComboBox1CloseUp() { events_->CloseUp(); }
///     ... events_->value(u"permission"_s) ...
class TEventChoice : public QObject {
    Q_OBJECT
public:
    /// When the window hears of a choice.
    enum Rereading {
        /// Every close-up of the list and every key released in it; the wheel
        /// and other changes only when they choose another event.
        EveryCloseUp,
        /// Only when another event than the one shown is chosen (close-up,
        /// keyboard, wheel); keys are not heard.
        OnChange,
    };

    /// Binds the drop-down to the event list behind source (key `id`, shown
    /// field listField) and declares the list a shared query of the form, read
    /// again for the logged-in administrator keeping the chosen event. changed
    /// runs, as one user action, when the window is to show the chosen event.
    TEventChoice(TChildForm* form, TDBLookupComboBox* box, TDataSource* source, const QString& listField,
                 Rereading rereading, std::function<void()> changed);
    /// A list copied once into memory behind an entry of its own (id 0) with
    /// that text: the window keeps it whatever other windows do with the event
    /// list; choosing is not reported.
    ///
    ///     events_ = new TEventChoice(this, ui->ComboBoxEdu, DataZRT->SourceGETeduReg, u"nameEdu"_s, AllEvents);
    TEventChoice(TChildForm* form, TDBLookupComboBox* box, TDataSource* source, const QString& listField,
                 const QString& firstEntry);

    /// Reads the administrator's events and chooses the first (the own entry
    /// of a copied list); returns its id, 0 when there is none.
    int openFirst();
    /// Closes the shared event list.
    void close();

    /// The id of the chosen event (0 when none is chosen).
    int chosenEvent() const;
    /// A field of the chosen event's row; invalid when the list no longer holds it.
    ///
    ///     const int permission = events_->value(u"permission"_s).toInt();
    QVariant value(const QString& field) const;
    /// Whether the list holds the chosen event.
    bool holdsChosen() const;

    /// The drop-down list closed.
    void CloseUp();
    /// A key was released in the drop-down list.
    void KeyUp();
    /// The choice changed without the list or a key (the mouse wheel, a test).
    void KeyValueChanged();

private:
    TDataSet* list() const;
    int rowOfChosen() const;
    void report();

    TChildForm* form_;
    TDBLookupComboBox* box_;
    TQuery* events_;
    QString listField_;
    Rereading rereading_ = EveryCloseUp;
    std::function<void()> changed_;
    TMemTable* copy_ = nullptr;
    TDataSource* copySource_ = nullptr;
    QString firstEntry_;
    int shown_ = -1;
};
