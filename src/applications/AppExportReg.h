#pragma once
// Export of the regional applications of the active year into the folder
// "Заявки": the short or the full application, as a spreadsheet or an HTML file,
// for one of the administrator's events or for every regional event.

#include "ui/ChildForm.h"

#include <QString>
#include <memory>

struct TAppForm;
class TEventChoice;
class TExcel;

namespace Ui {
class TFormAppExportReg;
}

/// Child window "Экспорт заявок".
///
///     FormMainZRT->openChild(new TFormAppExportReg);
class TFormAppExportReg : public TChildForm {
    Q_OBJECT
public:
    explicit TFormAppExportReg(QWidget* parent = nullptr);
    ~TFormAppExportReg() override;

    /// Reads the administrator's events into the event list behind the entry
    /// for all events, which is chosen.
    void FormCreate() override;
    /// Nothing to close: the event list was closed at the opening, the rows of
    /// an export when it ended (the window's closing clears FormAppExportReg).
    void FormClose() override;
    /// Makes the folder "Заявки" and runs the export the two choices name.
    void BitBtn2Click();

    /// The number of rows of the short application of that level.
    ///
    ///     int n = getRecordCountShort(u"3"_s);
    int getRecordCountShort(const QString& level);
    /// Leaves the rows of the short application open in the scratch query.
    void createSQLShort(const QString& level);
    /// The number of application rows that the full application's conditions let through.
    int getRecordCountFull(const QString& level);
    /// Leaves the rows of the full application open in the scratch query.
    void createSQLFull(const QString& level);

    /// The short application as a spreadsheet, saved into "Заявки" and shown.
    ///
    ///     ShortXLS(u"3"_s);
    void ShortXLS(const QString& level);
    /// The short application as an HTML file in "Заявки", opened afterwards.
    void ShortHTML(const QString& level);
    /// The full application as a spreadsheet, saved into "Заявки".
    void FullXLS(const QString& level);
    /// The full application as an HTML file in "Заявки", opened afterwards.
    void FullHTML(const QString& level);

    /// The path of a new HTML file in "Заявки" for that base name.
    ///
    ///     createNameFileHTML(u"Краткая_заявка_(Химия)_"_s)   // ".../Заявки/(0)Краткая_заявка_(Химия)_17.09.2024.html"
    static QString createNameFileHTML(const QString& baseName);

    /// The id of the chosen entry (0 for all events).
    int chosenEvent() const;
    /// The name of the chosen entry, the entry for all events included.
    QString chosenEventName() const;

private:
    /// The confirmation before a long spreadsheet: true when the user asks to stop.
    static bool stopLongSheet(int count);
    /// The information box when the full application leaves participants out.
    void checkFullCount(const QString& level, int fullCount);
    /// The spreadsheet of a form after the count: the question before a long
    /// one, then the export (exportSheet).
    void writeSheet(const TAppForm& form, int count, const QString& level, bool full);
    /// The HTML file of a form.
    void writeHtml(const TAppForm& form, int count, const QString& level, bool full);
    /// The base name of a file of that form for the chosen event.
    QString fileBase(const TAppForm& form) const;

    Ui::TFormAppExportReg* ui;
    TEventChoice* events_;
    /// The spreadsheet of the last spreadsheet export, kept until the next one
    /// or the window's closing.
    std::unique_ptr<TExcel> XLAplication;
};

/// The most recently opened instance; cleared when it closes.
extern TFormAppExportReg* FormAppExportReg;
