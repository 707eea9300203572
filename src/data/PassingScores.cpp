#include "data/PassingScores.h"

#include "data/Errors.h"
#include "data/Format.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace {

QString boxName(TScoreBox box)
{
    switch (box) {
    case TScoreBox::Min: return u"Призер От"_s;
    case TScoreBox::Max: return u"Призер До"_s;
    case TScoreBox::Winner: return u"Победитель От"_s;
    }
    return {};
}

QString example()
{
    return u"Введите число, например "_s + FloatToStr(20.5) + u'.';
}

} // namespace

std::optional<double> parseScore(const QString& text)
{
    QString typed = text.trimmed();
    if (typed.isEmpty())
        return std::nullopt;
    // Either separator is taken for the decimal one: a score has no thousands.
    const QString point = QLocale().decimalPoint();
    typed.replace(u',', point).replace(u'.', point);
    try {
        return StrToFloat(typed);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::optional<TScoreRefusal> checkScoreBox(TScoreBox box, const QString& text)
{
    const QString name = boxName(box);
    if (text.trimmed().isEmpty())
        return TScoreRefusal{box, u"Значение \"%1\" не задано.\n\r"_s.arg(name) + example()};
    const std::optional<double> value = parseScore(text);
    if (!value)
        return TScoreRefusal{box, u"Значение \"%1\" не является числом: \"%2\".\n\r"_s.arg(name, text) + example()};
    if (*value < 0)
        return TScoreRefusal{box, u"Значение \"%1\" не может быть отрицательным."_s.arg(name)};
    return std::nullopt;
}

TScoreCheck checkPassingScores(const QString& min, const QString& max, const QString& winner)
{
    TScoreCheck check;
    const std::pair<TScoreBox, const QString*> boxes[] = {
        {TScoreBox::Min, &min}, {TScoreBox::Max, &max}, {TScoreBox::Winner, &winner}};
    for (const auto& [box, text] : boxes)
        if (std::optional<TScoreRefusal> refusal = checkScoreBox(box, *text))
            check.refusals << *refusal;
    if (!check.ok())
        return check;
    check.scores = {*parseScore(min), *parseScore(max), *parseScore(winner)};
    if (!(check.scores.prizeWinnerMin < check.scores.prizeWinnerMax))
        check.refusals << TScoreRefusal{TScoreBox::Max,
                                        u"Значение \"До\" не может быть меньше или равно значению \"От\""_s};
    if (!(check.scores.prizeWinnerMax < check.scores.winner))
        check.refusals << TScoreRefusal{
            TScoreBox::Winner,
            u"Значение \"Победитель От\" не может быть меньше или равно значению \" Призер До\""_s};
    return check;
}

std::optional<QString> proposedWinner(const QString& max)
{
    const std::optional<double> value = parseScore(max);
    if (!value || *value < 0)
        return std::nullopt;
    return FloatToStr(*value + 0.01);
}

QString negativeScoreText(const QVariant& value)
{
    if (value.isNull() || value.toDouble() >= 0)
        return {};
    return u"'%1' меньше нуля"_s.arg(FloatToStr(value.toDouble()));
}
