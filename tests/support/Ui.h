#pragma once
// Seeing and answering the program's message boxes and modal dialogs in tests,
// finding controls by their object names, reading what a grid shows.

#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <stdexcept>

class TDBGrid;

/// Installs itself as the seam for its lifetime: records every message box
/// (answering OK, or Yes for a confirmation, unless told otherwise) and answers
/// modal dialogs with the queued answers, in order.
///
///     UiSeam seam;
///     seam.onDialog([](QDialog& d) { setText(d, "Edit1", "x"); click(d, "BitBtn1"); });
///     window.BitBtn2Click();
///     QCOMPARE(seam.texts(), QStringList{"Ошибка записи в БД"});
class UiSeam {
public:
    UiSeam();
    ~UiSeam();

    /// Queues the answer to the next modal dialog. The dialog is shown (not
    /// modally) before the answer runs; one still open afterwards is rejected.
    void onDialog(std::function<void(QDialog&)> answer);
    /// The button every following message box is answered with.
    void answerMessages(QMessageBox::StandardButton button) { button_ = button; }

    QList<TMessage> messages;
    /// Class names of the modal dialogs shown, in order.
    QStringList dialogs;
    /// Dialogs that came without a queued answer (they were rejected).
    int unanswered = 0;

    QStringList texts() const;
    void clear();

private:
    QList<std::function<void(QDialog&)>> answers_;
    QMessageBox::StandardButton button_ = QMessageBox::NoButton;
};

/// The child of root with that object name; throws when there is none.
template <class T>
T* find(const QObject* root, const QString& name)
{
    T* child = root->findChild<T*>(name);
    if (!child)
        throw std::runtime_error("no control named " + name.toStdString());
    return child;
}

/// Clicks the button of that name.
void click(const QObject* root, const QString& name);
/// Types a text into the line edit of that name (replacing its text).
void setText(const QObject* root, const QString& name, const QString& text);
/// The text of the line edit or label of that name.
QString textOf(const QObject* root, const QString& name);
/// The texts the grid shows in those fields, a list per row, top to bottom.
///
///     gridTexts(find<TDBGrid>(&w, u"DBGrid1"_s), {u"fio"_s, u"result"_s})
QList<QStringList> gridTexts(const TDBGrid* grid, const QStringList& fields);
