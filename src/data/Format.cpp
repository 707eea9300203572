#include "data/Format.h"

#include "data/Errors.h"

#include <QLocale>

#include <cmath>

namespace {
QLocale userLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}
} // namespace

QString FloatToStr(double value)
{
    return userLocale().toString(value, 'g', 15);
}

double StrToFloat(const QString& text)
{
    bool ok = false;
    const double value = userLocale().toDouble(text.trimmed(), &ok);
    // "inf" and "nan" parse, but they are no scores or results
    if (!ok || !std::isfinite(value))
        throw EConvertError(QStringLiteral("'%1' не является правильным числом").arg(text));
    return value;
}

QString DateToStr(const QDate& date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}
