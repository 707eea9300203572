#pragma once
// What every working window inside the main window shares: its start through
// FormCreate, its end through FormClose, the global instance pointer that names
// the most recently opened window of its class, and closing through its frame.

#include <QWidget>
#include <functional>

/// Closes a working window: the child window that frames it inside the main
/// window, or the form itself when it stands alone.
///
///     void TFormPassingScoreReg::BitBtn1Click() { closeChildForm(this); }
void closeChildForm(QWidget* form);

/// The base of every working window. A window's constructor sets up its form
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

    /// True once the window began to close.
    bool isClosing() const { return closing_; }

protected:
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

private:
    void startForm();
    bool closing_ = false;
    std::function<void()> clearInstance_;
};
