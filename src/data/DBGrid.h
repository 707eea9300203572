#pragma once
// Data-aware grid: shows the rows of a data source's query, follows and moves
// its current row, and reports title clicks with the column's field name.

#include <QColor>
#include <QList>
#include <QPointer>
#include <QTableView>
#include <functional>

class TDataSource;
class TDataSet;
class TGridModel;

/// One grid column: the field it shows and how.
struct TColumn {
    QString field;
    QString title;
    bool visible = true;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int width = 0; ///< pixels; 0 keeps the default
};

/// A grid bound to a query through its data source.
///
///     DBGrid1->setDataSource(DataZRT->SourceGETpassingScoreReg);
///     DBGrid1->setColumns({{"id", "", false}, {"nameEdu", "Наименование мероприятия"}});
///     connect(DBGrid1, &TDBGrid::TitleClick, this, [this](const QString& f) { ... });
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    void setDataSource(TDataSource* source);
    TDataSource* DataSource() const { return source_; }
    TDataSet* query() const;

    void setColumns(const QList<TColumn>& columns);
    const QList<TColumn>& columns() const { return columns_; }

    /// Several rows can be selected (click, Ctrl+click, Shift+click).
    void setMultiSelect(bool on);
    bool multiSelect() const { return multiSelect_; }
    /// Record numbers of the selected rows, in the order the rows stand in the list.
    QList<int> SelectedRows() const;

    /// Background of a whole row; an invalid colour keeps the normal one.
    void setRowColor(std::function<QColor(int recNo)> color);
    /// The background a row is drawn on (invalid for the normal colours).
    QColor rowColor(int recNo) const;

    /// The display text of a cell (row from 1, visible or hidden column by field).
    QString cellText(int recNo, const QString& field) const;

signals:
    /// A column title was clicked; the column's field name.
    void TitleClick(const QString& field);
    /// A cell was clicked (after the row became current); the column's field name.
    void CellClick(const QString& field);
    /// A row was double-clicked (after it became current).
    void DblClick();

private:
    void followQuery();
    void rebuild();

    QPointer<TDataSource> source_;
    TGridModel* model_;
    QList<TColumn> columns_;
    bool multiSelect_ = false;
    bool moving_ = false;
    bool fitted_ = false;
    std::function<QColor(int)> rowColor_;
};
