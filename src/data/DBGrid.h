#pragma once
// Data-aware grid: shows the rows of a data source's data set, follows and
// moves its current row, reports title clicks with the column's field name, and
// edits the cells of the columns that allow it.

#include <QColor>
#include <QList>
#include <QPointer>
#include <QStringList>
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
    int width = 0; ///< pixels while the grid has no rows; with rows the column fits its content
    bool editable = false; ///< the user may change its cells (while the grid is not read-only)
    QStringList pickList = {}; ///< fixed items an edit chooses from; empty for free text
    /// Why a typed value that parsed is still refused (reported by EditError
    /// like a text that does not parse); empty when it is taken. None: all are.
    std::function<QString(const QVariant&)> refuse = {};
};

/// A grid bound to a data set through its data source.
///
///     DBGrid1->setDataSource(DataZRT->SourceGETpassingScoreReg);
///     DBGrid1->setColumns({{"id", "", false}, {"nameEdu", "Наименование мероприятия"}});
///     connect(DBGrid1, &TDBGrid::TitleClick, this, [this](const QString& f) { ... });
///
/// Columns take the width of their title and of their rows (a long list is
/// sampled), up to a limit; when the grid is wider, its widest text column takes
/// the rest. A cell cut by its column shows its whole text as a tool tip. A
/// width the user drags stays.
///
/// An editable column takes typed text parsed by the field's type in the user's
/// format; a text that does not parse is reported by EditError and not stored.
/// A changed row is posted when the current row leaves it or the edit is ended
/// with Enter:
///
///     DBGrid1->setColumns({{"id", "", false}, {"result", "Результат", true, centred, 80, true}});
///     connect(DBGrid1, &TDBGrid::RowPosted, this, [this](int recNo) { write(recNo); });
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
    /// The position of the column that shows field, -1 when none does.
    int columnOf(const QString& field) const;

    /// Several rows can be selected (click, Ctrl+click, Shift+click).
    void setMultiSelect(bool on);
    bool multiSelect() const { return multiSelect_; }
    /// Record numbers of the selected rows, in the order the rows stand in the list.
    QList<int> SelectedRows() const;

    /// Background of a whole row; an invalid colour keeps the normal one.
    void setRowColor(std::function<QColor(int recNo)> color);
    /// The background a row is drawn on (invalid for the normal colours).
    QColor rowColor(int recNo) const;
    /// Selected cells of a coloured row keep the row's colour (with the normal
    /// text colour) instead of the selection colour.
    ///
    ///     DBGrid1->setRowColorOverSelection(true);
    void setRowColorOverSelection(bool on);
    bool rowColorOverSelection() const { return rowColorOverSelection_; }

    /// The width a column's content asks for (title and sampled rows), before
    /// the widest text column is stretched.
    int naturalWidth(int column) const;
    /// Whether a cell's text is wider than its column (row from 1).
    bool isCut(int recNo, int column) const;
    /// The width of all visible columns with the frame and the row header, as
    /// the grid would like to be shown.
    QSize sizeHint() const override;

    /// The display text of a cell (row from 1, visible or hidden column by field).
    QString cellText(int recNo, const QString& field) const;

    /// No cell can be edited while the grid is read-only.
    void setReadOnly(bool on);
    bool isReadOnly() const { return readOnly_; }
    /// Stores a typed text in a cell as an edit by the user would: parsed by the
    /// field's type, refused (EditError, false) when it does not parse, when the
    /// column is not editable or the grid is read-only. The row becomes current.
    ///
    ///     DBGrid1->editCell(3, u"result"_s, u"20,5"_s);
    bool editCell(int recNo, const QString& field, const QString& text);
    /// Posts the changed row now, if there is one (RowPosted).
    void postEdit();
    /// The record number of a changed row not posted yet, 0 when there is none.
    int pendingRow() const { return pendingRow_; }

signals:
    /// A column title was clicked; the column's field name.
    void TitleClick(const QString& field);
    /// A cell was clicked (after the row became current); the column's field name.
    void CellClick(const QString& field);
    /// A row was double-clicked (after it became current).
    void DblClick();
    /// A cell asked for its context menu (after its row became current): the
    /// column's field name and where the menu goes on the screen.
    void CellContextMenu(const QString& field, const QPoint& globalPos);
    /// An edited row was posted: leaving it, or Enter.
    void RowPosted(int recNo);
    /// An edited text was refused: the message says why.
    void EditError(const QString& message);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TGridModel;
    void followQuery();
    void rebuild();
    /// Stores a parsed value; false (and EditError) when the text is refused.
    bool store(int row, int column, const QString& text);
    void currentRowMoved(int row);
    /// Measures the columns (fitNatural) and spreads the spare width (stretch).
    void fitNatural();
    void stretch();
    int cellWidth(int row, int column) const;

    QPointer<TDataSource> source_;
    TGridModel* model_;
    QList<TColumn> columns_;
    bool multiSelect_ = false;
    bool moving_ = false;
    bool userSized_ = false;
    bool sizing_ = false;
    QVector<int> natural_;
    bool readOnly_ = false;
    bool rowColorOverSelection_ = false;
    bool postOnCommit_ = false;
    int pendingRow_ = 0;
    std::function<QColor(int)> rowColor_;
};
