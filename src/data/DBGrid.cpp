#include "data/DBGrid.h"

#include "data/DataSet.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>

class TGridModel : public QAbstractTableModel {
public:
    explicit TGridModel(TDBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        TDataSet* q = grid_->query();
        return parent.isValid() || !q || !q->Active() ? 0 : q->RecordCount();
    }

    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(grid_->columns().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const TColumn& column = grid_->columns().at(index.column());
        switch (role) {
        case Qt::DisplayRole:
            return grid_->cellText(index.row() + 1, column.field);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.alignment);
        case Qt::BackgroundRole: {
            const QColor c = grid_->rowColor(index.row() + 1);
            return c.isValid() ? QVariant(c) : QVariant();
        }
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= grid_->columns().size())
            return {};
        if (role == Qt::DisplayRole)
            return grid_->columns().at(section).title;
        if (role == Qt::FontRole) {
            QFont f = grid_->font();
            f.setBold(true);
            return f;
        }
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }

private:
    TDBGrid* grid_;
};

namespace {
constexpr int kMaxFittedWidth = 420;
}

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent)
    , model_(new TGridModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section >= 0 && section < columns_.size())
            emit TitleClick(columns_.at(section).field);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                TDataSet* q = query();
                if (moving_ || !q || !current.isValid() || q->ControlsDisabled())
                    return;
                moving_ = true;
                q->setRecNo(current.row() + 1);
                moving_ = false;
            });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit CellClick(columns_.at(index.column()).field);
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit DblClick();
    });
}

TDBGrid::~TDBGrid() = default;

TDataSet* TDBGrid::query() const
{
    return source_ ? source_->DataSet() : nullptr;
}

void TDBGrid::setDataSource(TDataSource* source)
{
    if (TDataSet* old = query())
        disconnect(old, nullptr, this, nullptr);
    source_ = source;
    if (TDataSet* q = query()) {
        connect(q, &TDataSet::dataReset, this, &TDBGrid::rebuild);
        connect(q, &TDataSet::currentChanged, this, &TDBGrid::followQuery);
    }
    rebuild();
}

void TDBGrid::setColumns(const QList<TColumn>& columns)
{
    columns_ = columns;
    fitted_ = false;
    rebuild();
}

void TDBGrid::rebuild()
{
    model_->reset();
    // Columns without a set width fit their title and the first rows the grid
    // shows, once: a width the user dragged afterwards stays.
    const bool fit = !fitted_;
    if (fit && model_->rowCount() > 0)
        fitted_ = true;
    for (int i = 0; i < columns_.size(); ++i) {
        setColumnHidden(i, !columns_.at(i).visible);
        if (columns_.at(i).width > 0) {
            // a set width never hides the column's title
            setColumnWidth(i, std::max(columns_.at(i).width, horizontalHeader()->sectionSizeHint(i)));
        } else if (fit && columns_.at(i).visible) {
            resizeColumnToContents(i);
            setColumnWidth(i, std::min(columnWidth(i), kMaxFittedWidth));
        }
    }
    followQuery();
}

void TDBGrid::followQuery()
{
    TDataSet* q = query();
    if (moving_ || !q || q->ControlsDisabled() || !q->Active() || q->RecNo() < 1)
        return;
    if (q->RecNo() > model_->rowCount())
        return;
    moving_ = true;
    const QModelIndex index = model_->index(q->RecNo() - 1, 0);
    if (multiSelect_)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    else
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                     | QItemSelectionModel::Rows);
    scrollTo(index);
    moving_ = false;
}

void TDBGrid::setMultiSelect(bool on)
{
    multiSelect_ = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QList<int> TDBGrid::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row() + 1;
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TDBGrid::setRowColor(std::function<QColor(int)> color)
{
    rowColor_ = std::move(color);
    viewport()->update();
}

QColor TDBGrid::rowColor(int recNo) const
{
    return rowColor_ ? rowColor_(recNo) : QColor();
}

QString TDBGrid::cellText(int recNo, const QString& field) const
{
    TDataSet* q = query();
    if (!q || !q->Active())
        return {};
    return TField::displayText(q->value(recNo - 1, field));
}
