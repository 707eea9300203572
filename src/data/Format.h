#pragma once
// Numbers and dates as the user's locale writes them.

#include <QDate>
#include <QString>

/// The general float format with up to 15 significant digits, the user's
/// decimal separator and no group separators.
///
///     FloatToStr(10.01)   // "10,01" under a Russian locale, "10.01" under English
QString FloatToStr(double value);

/// Parses a number written in the user's number format; blanks around it are
/// ignored. Throws EConvertError for anything else.
///
///     StrToFloat("10,5")   // 10.5 under a Russian locale
double StrToFloat(const QString& text);

/// The user's short date format.
///
///     DateToStr(QDate(2026, 12, 10))   // "10.12.2026" under a Russian locale
QString DateToStr(const QDate& date);
