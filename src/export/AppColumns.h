#pragma once
// The layout of the two forms of an application, the short (20 columns) and the
// full (38 columns): headings, column groups and the columns with their titles,
// widths and cell forms. The HTML writer and the spreadsheet export both lay
// their tables out from these, so the two formats cannot drift apart.
//
// Column numbers are those of the sheet: column 1 is A, 20 is T, 38 is AL.
// Column 1 is the running number; every other column shows one field of the
// application's rows.

#include "export/Excel.h"

#include <QList>
#include <QString>

/// One column of an application.
///
///     const TAppColumn& g = shortApp().columns[6];   // column G
///     g.title    // "Отметка о необходимости проживания участника в гостинице"
///     g.turned   // true
struct TAppColumn {
    /// The title in the fifth header row.
    QString title;
    /// The field of the application's rows that fills it; empty for the running number.
    QString field;
    /// Width in characters (spreadsheet).
    int width = 0;
    /// The title is turned upright (spreadsheet).
    bool turned = false;
    /// Index of its group in TAppForm::groups.
    int group = 0;
    /// Cells centred in the spreadsheet, from the title row down.
    bool sheetCentred = false;
    /// Cells centred in HTML (align="center").
    bool htmlCentred = false;
    /// Small cells: font size 8 in the spreadsheet, size 2 in HTML.
    bool small = false;
    /// A cell reading exactly TAppForm::markedText is shown red (bold red in the spreadsheet).
    bool marked = false;
    /// What the field's value is: the spreadsheet writes numbers and dates as
    /// such, the HTML file writes every value as its text.
    TValueKind kind = TValueKind::Text;
};

/// A group of neighbouring columns under one title in the fourth header row.
///
///     const TAppGroup& m = shortApp().groups[1];
///     m.title              // "Сопровождающий"
///     m.first, m.last      // 11, 20 (K to T)
struct TAppGroup {
    QString title;
    /// First and last column of the group (sheet numbers, A = 1).
    int first = 0;
    int last = 0;
    /// Tinted light yellow: background "FFFFCC" in HTML, fill 0xB8FFF9 from the
    /// group's title down in the spreadsheet.
    bool tinted = false;
    /// The number of its columns.
    ///
    ///     fullApp().groups[1].count()   // 7 (V to AB)
    int count() const { return last - first + 1; }
};

/// One form of the application.
///
///     const TAppForm& form = fullApp();
///     form.columns.size()             // 38
///     form.fileBase(u"Химия"_s)       // "Полная_заявка_(Химия)_"
///     form.htmlHeading(u"Химия"_s)    // "Химия. Детализированная заявка на проживание ..."
struct TAppForm {
    /// The caption of the workbook.
    QString caption;
    /// The first and second header rows, the same in both forms.
    QString ministry;
    QString centre;
    /// What follows the event name in the third header row of the spreadsheet.
    QString sheetHeadingTail;
    /// What follows the event name in the third header row of the HTML file.
    QString htmlHeadingTail;
    /// The beginning of the file's base name; the event name and ")_" follow.
    QString filePrefix;
    /// The data rows of the spreadsheet wrap their texts and align them to the top.
    bool sheetRowsWrapped = false;
    QList<TAppGroup> groups;
    /// Column 1 (A) first.
    QList<TAppColumn> columns;

    /// The text that TAppColumn::marked cells show red.
    ///
    ///     bool red = column.marked && text == TAppForm::markedText();   // "Имеются"
    static QString markedText();

    /// The column of that sheet number (1 = A).
    ///
    ///     shortApp().column(14).title   // "Отметка о необходимости проживания в гостинице"
    const TAppColumn& column(int number) const { return columns.at(number - 1); }
    /// The third header row of the spreadsheet for that event.
    ///
    ///     shortApp().sheetHeading(u"Химия"_s)
    ///     // "Химия. Краткая заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."
    QString sheetHeading(const QString& eventName) const { return eventName + sheetHeadingTail; }
    /// The third header row of the HTML file for that event (not escaped).
    ///
    ///     shortApp().htmlHeading(u"Химия"_s)
    ///     // "Химия. Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии."
    QString htmlHeading(const QString& eventName) const { return eventName + htmlHeadingTail; }
    /// The base name of the exported file, before its number, date and extension.
    ///
    ///     shortApp().fileBase(u"Химия"_s)   // "Краткая_заявка_(Химия)_"
    QString fileBase(const QString& eventName) const { return filePrefix + eventName + QStringLiteral(")_"); }
};

/// The short application: participant (A to J) and accompanying person (K to T).
///
///     for (const TAppColumn& c : shortApp().columns) sheet.setColumnWidth(c.width);
const TAppForm& shortApp();

/// The full application: participant (A to U), the teacher who prepared him
/// (V to AB, always empty) and accompanying person (AC to AL).
///
///     fullApp().column(8).marked   // true: "Имеются" in column H is red
const TAppForm& fullApp();
