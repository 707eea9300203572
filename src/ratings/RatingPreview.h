#pragma once
// What passing scores would do before they are applied: how many rows become
// winners, prize-winners, participants and candidates, a histogram of the
// results with the three scores drawn in, and how many statuses change, by old
// and new status, with the statuses set by hand that applying overwrites.

#include "ratings/RatingChanges.h"
#include "ratings/RatingRules.h"

#include <QFrame>
#include <QList>
#include <optional>

class QLabel;

/// Bars of the results in bins of one width, with the passing scores as
/// vertical lines in the status colours; hovering a bar shows its range and count.
///
///     histogram->setResults(results);
///     histogram->setScores(TPassingScores{10, 20, 21});
class TResultHistogram : public QWidget {
    Q_OBJECT
public:
    struct Bin {
        double from = 0; ///< included
        double to = 0;   ///< excluded, the last bin included
        int count = 0;
    };

    explicit TResultHistogram(QWidget* parent = nullptr);

    /// The results to show (rows without a result are left out).
    void setResults(const QList<std::optional<double>>& results);
    void setScores(const std::optional<TPassingScores>& scores);
    const QList<Bin>& bins() const { return bins_; }
    /// The bin under a point of the widget, -1 for none.
    int binAt(const QPoint& point) const;
    /// What hovering a bin shows.
    ///
    ///     binText(0)   // "от 0 до 5: 17"
    QString binText(int bin) const;
    /// A width of about a twentieth of the highest result, rounded to 1, 2,
    /// 2.5 or 5 times a power of ten.
    ///
    ///     TResultHistogram::binWidth(100)   // 5
    static double binWidth(double highest);

    QSize sizeHint() const override { return {320, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF plotRect() const;
    double xOf(double value) const;

    QList<Bin> bins_;
    double width_ = 1;
    std::optional<TPassingScores> scores_;
};

/// The compact panel beside the passing scores: four lines of counts and the
/// histogram, under them the changes of status and, highlighted, the statuses
/// set by hand that applying overwrites.
///
///     preview->setRows(readApplyRows(event, classes));           // once per event, class or status change
///     preview->setScores(typedScores(min, max, winner));         // on every change of a box
class TRatingPreview : public QFrame {
    Q_OBJECT
public:
    explicit TRatingPreview(QWidget* parent = nullptr);

    void setRows(const TRatingRows& rows);
    /// Recounts in memory; empty scores show a dash.
    void setScores(const std::optional<TPassingScores>& scores);
    /// The counts shown, empty while a dash is shown.
    std::optional<TStatusCounts> counts() const { return counts_; }
    /// The changes of status shown, empty while a dash is shown.
    std::optional<TChangeSummary> changes() const { return changes_; }
    /// The statuses set by hand among the rows, by code.
    const QMap<int, int>& setByHand() const { return setByHand_; }
    /// The four lines, e.g. "Победители: 12 (8,1 %)".
    QStringList lines() const;
    /// The line of the changes and the line of the statuses set by hand, e.g.
    /// "Изменят статус: 2 — Не прибыл → Победитель: 1; Кандидат → Участник: 1".
    QStringList changeLines() const;
    TResultHistogram* histogram() const { return histogram_; }

private:
    void showCounts(const std::optional<TStatusCounts>& counts);

    TRatingRows rows_;
    QList<std::optional<double>> results_;
    QMap<int, int> setByHand_;
    std::optional<TPassingScores> scores_;
    std::optional<TStatusCounts> counts_;
    std::optional<TChangeSummary> changes_;
    QList<QLabel*> labels_;
    QLabel* changesLabel_;
    QLabel* setByHandLabel_;
    TResultHistogram* histogram_;
};
