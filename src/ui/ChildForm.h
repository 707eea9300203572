#pragma once
// What every working window inside the main window shares: its start through
// FormCreate, its end through FormClose, the global instance pointer that names
// the most recently opened window of its class, and closing through its frame.

#include <QList>
#include <QVariantMap>
#include <QWidget>

class QLabel;
class QProgressBar;
class TProgressLabel;
class TProgressSink;
#include <functional>

class TQuery;

/// Closes a working window: the child window that frames it inside the main
/// window, or the form itself when it stands alone.
///
///     void TFormPassingScoreReg::BitBtn1Click() { closeChildForm(this); }
void closeChildForm(QWidget* form);

/// The base of every working window.
///
/// Windows share the named queries, so another window may have read a shared
/// query for its own choice (another event, another search). A window declares
/// each shared query it shows with its own choice, its own reading routine and
/// the key field of its rows (showsShared). While a shared query holds the
/// window's own choice, the window notes, each time the query is closed, its
/// order line (the last SQL line, which a title click replaces) and the key of
/// its current row. When the window becomes the active window again and the
/// query no longer holds its choice, it reads it anew (FormActivate) and puts
/// back that order and that row by its key (the top row when it is gone).
/// Two windows with the same choice show the same rows, so they share the
/// order and the current row as well. A write that takes its rows from a
/// shared query asks ownRows() first:
///
///     showsShared(DataZRT->GETappPartReg, [this] { return QVariantMap{{u"eduID1"_s, chosenEvent()}}; },
///                 [this] { readCandidate(); });
///     ...
///     if (!ownRows(DataZRT->GETappPartReg)) return;   // re-read, told, nothing written
/// A window's constructor sets up its form
/// and its connections, then calls start(): the hints are mirrored to the status
/// bar and FormCreate runs through the general error display. Closing the window
/// runs FormClose the same way; from then on isClosing() is true, so that
/// reports of its controls hiding on the way out read nothing again.
///
///     TFormPassingScoreReg::TFormPassingScoreReg(QWidget* parent) : TChildForm(parent) {
///         ui->setupUi(this);
///         ...connections...
///         start(FormPassingScoreReg);
///     }
class TChildForm : public QWidget {
    Q_OBJECT
public:
    explicit TChildForm(QWidget* parent = nullptr);
    ~TChildForm() override;

    /// Reads what the window shows when it opens.
    virtual void FormCreate() {}
    /// Closes the queries the window opened.
    virtual void FormClose() {}

    /// The window became the active child window again: each declared shared
    /// query that no longer holds the window's own choice is read again for it,
    /// in the window's own order and at its own row. Windows with more to
    /// refresh override it.
    virtual void FormActivate();

    /// True once the window began to close.
    bool isClosing() const { return closing_; }

    /// Where the window's long actions report their steps: its status label
    /// over the progress bar (showProgressOn), or what setProgress put there.
    TProgressSink& progress();
    /// Lets the long actions report elsewhere (tests); nullptr returns to the label.
    ///
    ///     RecordingProgress steps;
    ///     window.setProgress(&steps);
    void setProgress(TProgressSink* sink) { progressOverride_ = sink; }

    /// Whether a declared shared query is open for this window's own choice.
    bool showsOwnChoice(TQuery* query) const;
    /// Before a write that takes its rows from a shared query: true when the
    /// query holds this window's own choice. When another window read it for
    /// its choice meanwhile, the window reads what it shows again, tells the
    /// user the list was refreshed and returns false; nothing is to be written
    /// then. A query that no other window took (closed, as after a lost
    /// connection, or not read for a choice the window has not read yet) is
    /// read again quietly, and the answer is false all the same.
    bool ownRows(TQuery* query);
    /// The information text ownRows shows.
    static QString refreshedText();

protected:
    /// Lays the status label over the progress bar and hides it (TProgressLabel).
    ///
    ///     showProgressOn(ui->ProgressBar1, ui->Lb);
    void showProgressOn(QProgressBar* bar, QLabel* label);

    /// Makes this the window that instance names (cleared when it closes or is
    /// destroyed), mirrors the hints and runs FormCreate.
    template <class T>
    void start(T*& instance)
    {
        T* self = static_cast<T*>(this);
        instance = self;
        T** slot = &instance;
        // compared with the pointer taken now: by the time the base destructor
        // clears the instance, this is no T any more
        clearInstance_ = [slot, self] {
            if (*slot == self)
                *slot = nullptr;
        };
        startForm();
    }
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

public:
    /// Declares a shared query the window shows: choice gives the parameter
    /// values of the window's own choice, read reads the query for it, keyField
    /// names the field that tells its rows apart.
    ///
    ///     showsShared(DataZRT->GETjournal, [this] { return QVariantMap{{u"eduID"_s, chosenEvent()}}; },
    ///                 [this] { readData(); }, u"numberDiplom"_s);
    void showsShared(TQuery* query, std::function<QVariantMap()> choice, std::function<void()> read,
                     const QString& keyField = QStringLiteral("id"));

protected:
    /// Reads every declared shared query that no longer holds the window's own
    /// choice, in the window's noted order and at its noted row.
    void readShared();

private:
    TProgressLabel* progressLabel_ = nullptr;
    TProgressSink* progressOverride_ = nullptr;
    struct TSharedView {
        TQuery* query;
        std::function<QVariantMap()> choice;
        std::function<void()> read;
        QString keyField;
        /// What the query showed the last time it was closed while it held
        /// the window's choice: that choice, its order line and current key.
        bool held = false;
        QVariantMap heldChoice;
        QString heldOrder;
        QVariant heldKey;
    };
    TSharedView* viewOf(TQuery* query);
    /// Cuts what the controls and the window's parts send to the window and its
    /// parts, before Qt takes the controls down.
    void detachHandlers();
    /// Notes the order and the current key of a query about to be closed, when
    /// it holds the window's choice.
    void noteClosing(TSharedView& view);
    /// Reads a view again for the window's choice, with its noted order and row
    /// when the choice is the one noted.
    void readAgain(TSharedView& view);
    bool restoring_ = false;
    void startForm();
    void watchFrame();
    bool closing_ = false;
    std::function<void()> clearInstance_;
    QList<TSharedView> shared_;
    QWidget* watchedFrame_ = nullptr;
};
