#pragma once
// How a text wraps in a workbook cell, measured with Qt's own text layout at
// 96 dpi, so that a test can tell whether a row is high enough for its text.
// A column's width counts digits of the workbook's font (Calibri 11).

#include <QString>

/// The lines the text takes in a column of that width at that font size.
///
///     WrappedLines(u"МБОУ \"Средняя общеобразовательная школа № 1\""_s, 25, 8)   // 3
int WrappedLines(const QString& text, double width, double points);

/// The height in points of one line of Calibri at that size.
///
///     LineHeight(8)
double LineHeight(double points);

/// The height in points that the text needs in such a column: its lines at
/// the line height of its size. A row at least this high shows the whole text.
///
///     QVERIFY(book.rowHeight(6) >= NeededHeight(school, 25, 8));
double NeededHeight(const QString& text, double width, double points);
