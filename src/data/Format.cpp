#include "data/Format.h"

#include "data/Errors.h"

#include <QLocale>

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
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' не является правильным числом").arg(text));
    return value;
}

QString DateToStr(const QDate& date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}
