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
/// each shared query it shows with its own choice and its own reading routine
/// (showsShared); when it becomes the active window again it reads them anew
/// for its own choice (FormActivate), and a write that takes its rows from a
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
    /// query is read again for the window's own choice (at the same record when
    /// it already held that choice). Windows with more to refresh override it.
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
    /// query holds this window's own choice. Otherwise the window reads what it
    /// shows again, tells the user the list was refreshed and returns false;
    /// nothing is to be written then.
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
        instance = static_cast<T*>(this);
        T** slot = &instance;
        clearInstance_ = [slot, this] {
            if (*slot == static_cast<T*>(this))
                *slot = nullptr;
        };
        startForm();
    }
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

    /// Declares a shared query the window shows: choice gives the parameter
    /// values of the window's own choice, read reads the query for it.
    void showsShared(TQuery* query, std::function<QVariantMap()> choice, std::function<void()> read);
    /// Reads every declared shared query for the window's own choice.
    void readShared();

private:
    TProgressLabel* progressLabel_ = nullptr;
    TProgressSink* progressOverride_ = nullptr;
    struct TSharedView {
        TQuery* query;
        std::function<QVariantMap()> choice;
        std::function<void()> read;
    };
    void startForm();
    void watchFrame();
    bool closing_ = false;
    std::function<void()> clearInstance_;
    QList<TSharedView> shared_;
    QWidget* watchedFrame_ = nullptr;
};
