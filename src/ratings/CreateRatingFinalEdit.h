#pragma once
// The dialog that changes the result and the status of one rating row together.

#include <QDialog>

class TDBLookupComboBox;

namespace Ui {
class TFormCreateRatingFinalEdit;
}

/// Modal dialog "Редактирование (изменение) результата и статуса". It opens
/// the status list while it exists and closes it when it goes.
///
///     TFormCreateRatingFinalEdit dlg;
///     dlg.setRow(nameStatus, fio, resultText, statusID);
///     if (TDialogs::ShowModal(dlg) == QDialog::Accepted) ... dlg.statusKey() ... dlg.resultText() ...
class TFormCreateRatingFinalEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFormCreateRatingFinalEdit(QWidget* parent = nullptr);
    /// FormDestroy: closes the status list.
    ~TFormCreateRatingFinalEdit() override;

    /// Fills the dialog from one rating row.
    void setRow(const QString& nameStatus, const QString& fio, const QString& result, int statusID);
    /// The chosen status (0 when none is chosen).
    int statusKey() const;
    QString resultText() const;
    /// The full name the dialog was filled with.
    QString fioText() const;
    TDBLookupComboBox* DBLookupComboBox1() const;

    /// Opens the status list (GETstatus).
    void FormCreate();
    /// The focus goes to the result.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TFormCreateRatingFinalEdit* ui;
};

/// Set while the dialog exists.
extern TFormCreateRatingFinalEdit* FormCreateRatingFinalEdit;
