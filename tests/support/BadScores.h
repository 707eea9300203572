#pragma once
// Passing scores that both windows setting them (the passing-score dialog and
// the rating window) refuse, with the messages they show and the box that gets
// the focus. The texts are those of a Russian locale.

#include <QList>
#include <QString>
#include <QStringList>

struct BadScores {
    const char* name;
    QString min, max, winner;
    QStringList messages;
    /// The box that gets the focus: 0 minimum, 1 maximum, 2 winner.
    int focused;
};

inline QList<BadScores> badScores()
{
    const QString example = QStringLiteral("\n\rВведите число, например 20,5.");
    const QString notNumber = QStringLiteral("Значение \"%1\" не является числом: \"%2\".") + example;
    const QString negative = QStringLiteral("Значение \"%1\" не может быть отрицательным.");
    const QString empty = QStringLiteral("Значение \"%1\" не задано.") + example;
    const QString first = QStringLiteral("Значение \"До\" не может быть меньше или равно значению \"От\"");
    const QString second =
        QStringLiteral("Значение \"Победитель От\" не может быть меньше или равно значению \" Призер До\"");
    const QString min = QStringLiteral("Призер От"), max = QStringLiteral("Призер До"),
                  winner = QStringLiteral("Победитель От");
    return {
        {"letters", "abc", "30", "30,01", {notNumber.arg(min, "abc")}, 0},
        {"unfinished exponent", "10", "1e", "21", {notNumber.arg(max, "1e")}, 1},
        {"negative", "-5", "30", "31", {negative.arg(min)}, 0},
        {"emptied winner", "25", "41", "", {empty.arg(winner)}, 2},
        {"two bad boxes", "x", "-1", "21", {notNumber.arg(min, "x"), negative.arg(max)}, 0},
        {"minimum above maximum", "20", "10", "11", {first}, 1},
        {"winner not above maximum", "10", "20", "20", {second}, 2},
        {"both orders wrong", "20", "10", "5", {first, second}, 1},
        {"99 999 999 999 above the maximum", "99999999999", "40", "45", {first}, 1},
    };
}
