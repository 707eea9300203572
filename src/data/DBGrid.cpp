#include "data/DBGrid.h"

#include "data/DataSet.h"
#include "data/Errors.h"
#include "data/Format.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

class TGridModel : public QAbstractTableModel {
public:
    explicit TGridModel(TDBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    void reset()
    {
        beginResetModel();
        // Field positions are looked up once per opening, not per painted cell.
        positions_.clear();
        TDataSet* q = grid_->query();
        for (const TColumn& column : grid_->columns())
            positions_ << (q ? q->fieldIndex(column.field) : -1);
        endResetModel();
    }

    int position(int column) const { return column >= 0 && column < positions_.size() ? positions_.at(column) : -1; }

    void rowChanged(int row)
    {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.isValid() && !grid_->isReadOnly() && grid_->columns().at(index.column()).editable)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        return grid_->store(index.row(), index.column(), value.toString());
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
        case Qt::EditRole: {
            TDataSet* q = grid_->query();
            const int pos = position(index.column());
            if (!q || !q->Active() || pos < 0 || index.row() >= q->RecordCount())
                return QString();
            return TField::displayText(q->value(index.row(), pos));
        }
        case Qt::ToolTipRole:
            // the whole text of a cell its column cuts
            if (grid_->isCut(index.row() + 1, index.column()))
                return data(index, Qt::DisplayRole);
            return {};
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
    QVector<int> positions_;
};

/// Edits a cell in a line edit, or in a drop-down of the column's fixed items;
/// notes whether the edit ended with Enter, which posts the row.
class TGridDelegate : public QStyledItemDelegate {
public:
    TGridDelegate(TDBGrid* grid, bool* enterFlag)
        : QStyledItemDelegate(grid), grid_(grid), enter_(enterFlag) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QStringList& items = grid_->columns().at(index.column()).pickList;
        if (items.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->addItems(items);
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(std::max(0, box->findText(index.data(Qt::EditRole).toString())));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
        *enter_ = false;
    }

    /// The current row of a coloured row keeps its colour: a frame in a darker
    /// shade of it shows where the current row is.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!grid_->rowColorOverSelection() || index.row() != grid_->currentIndex().row())
            return;
        const QColor color = grid_->rowColor(index.row() + 1);
        if (!color.isValid())
            return;
        painter->save();
        painter->setPen(Qt::NoPen);
        painter->setBrush(color.darker(frameShade));
        const QRect r = option.rect;
        painter->drawRect(r.left(), r.top(), r.width(), frameWidth);
        painter->drawRect(r.left(), r.bottom() - frameWidth + 1, r.width(), frameWidth);
        const auto* header = grid_->horizontalHeader();
        if (header->visualIndex(index.column()) == firstShown())
            painter->drawRect(r.left(), r.top(), frameWidth, r.height());
        if (header->visualIndex(index.column()) == lastShown())
            painter->drawRect(r.right() - frameWidth + 1, r.top(), frameWidth, r.height());
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!grid_->rowColorOverSelection() || !(option->state & QStyle::State_Selected))
            return;
        const QColor color = grid_->rowColor(index.row() + 1);
        if (color.isValid()) {
            option->palette.setColor(QPalette::Highlight, color);
            option->palette.setColor(QPalette::HighlightedText, option->palette.color(QPalette::Text));
        }
    }

    bool eventFilter(QObject* editor, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                *enter_ = true;
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    static constexpr int frameWidth = 2;
    static constexpr int frameShade = 170;
    /// The visual positions of the first and the last shown column.
    int firstShown() const
    {
        const auto* header = grid_->horizontalHeader();
        for (int v = 0; v < header->count(); ++v)
            if (!header->isSectionHidden(header->logicalIndex(v)))
                return v;
        return -1;
    }
    int lastShown() const
    {
        const auto* header = grid_->horizontalHeader();
        for (int v = header->count() - 1; v >= 0; --v)
            if (!header->isSectionHidden(header->logicalIndex(v)))
                return v;
        return -1;
    }

    TDBGrid* grid_;
    bool* enter_;
};

namespace {

bool isIntegerType(int type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// The typed text as a value of the field's type, in the user's format.
QVariant parseTyped(const QString& text, int type)
{
    const QString trimmed = text.trimmed();
    const bool numeric = isIntegerType(type) || type == QMetaType::Double || type == QMetaType::Float;
    if (numeric && trimmed.isEmpty())
        throw EConvertError(QStringLiteral("Пустое значение не является правильным числом"));
    if (isIntegerType(type)) {
        bool ok = false;
        const qlonglong v = QLocale().toLongLong(trimmed, &ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' не является правильным целым числом").arg(text));
        return v;
    }
    if (type == QMetaType::Double || type == QMetaType::Float)
        return StrToFloat(trimmed);
    if (type == QMetaType::QDate) {
        if (trimmed.isEmpty())
            return QVariant(QMetaType(QMetaType::QDate));
        const QDate d = QLocale().toDate(trimmed, QLocale::ShortFormat);
        if (!d.isValid())
            throw EConvertError(QStringLiteral("'%1' не является правильной датой").arg(text));
        return d;
    }
    return text;
}

} // namespace

namespace {
/// No column grows wider than this by its content alone.
constexpr int kMaxFittedWidth = 560;
/// Rows measured in a long list: the first ones and an even spread of the rest.
constexpr int kSampledRows = 200;
}

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent)
    , model_(new TGridModel(this))
{
    setModel(model_);
    setItemDelegate(new TGridDelegate(this, &postOnCommit_));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);

    // A width dragged by the user stays: no fitting from then on.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!sizing_ && (QGuiApplication::mouseButtons() & Qt::LeftButton))
            userSized_ = true;
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section >= 0 && section < columns_.size())
            emit TitleClick(columns_.at(section).field);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // the frame of the current row moves with it
                if (rowColorOverSelection_)
                    viewport()->update();
                TDataSet* q = query();
                if (current.isValid())
                    currentRowMoved(current.row());
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
        connect(q, &TDataSet::rowChanged, model_, &TGridModel::rowChanged);
    }
    rebuild();
}

void TDBGrid::setColumns(const QList<TColumn>& columns)
{
    columns_ = columns;
    userSized_ = false;
    rebuild();
}

void TDBGrid::rebuild()
{
    // rows read again: an edit not posted belongs to rows that are gone
    pendingRow_ = 0;
    model_->reset();
    const bool edits = std::any_of(columns_.begin(), columns_.end(), [](const TColumn& c) { return c.editable; });
    setEditTriggers(edits ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
    sizing_ = true;
    for (int i = 0; i < columns_.size(); ++i)
        setColumnHidden(i, !columns_.at(i).visible);
    sizing_ = false;
    if (!userSized_) {
        fitNatural();
        stretch();
        updateGeometry(); // the window's layout asks the new width
    }
    followQuery();
}

int TDBGrid::cellWidth(int row, int column) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = model_->index(row, column);
    return itemDelegate()->sizeHint(option, index).width() + (showGrid() ? 1 : 0);
}

int TDBGrid::naturalWidth(int column) const
{
    return column >= 0 && column < natural_.size() ? natural_.at(column) : 0;
}

void TDBGrid::fitNatural()
{
    natural_.fill(0, columns_.size());
    const int rows = model_->rowCount();
    QList<int> sample;
    if (rows <= kSampledRows) {
        for (int r = 0; r < rows; ++r)
            sample << r;
    } else {
        for (int r = 0; r < kSampledRows / 2; ++r)
            sample << r;
        const int rest = kSampledRows - kSampledRows / 2;
        for (int k = 0; k < rest; ++k)
            sample << kSampledRows / 2 + int(qint64(rows - 1 - kSampledRows / 2) * k / std::max(1, rest - 1));
    }
    for (int i = 0; i < columns_.size(); ++i) {
        if (!columns_.at(i).visible)
            continue;
        const int title = horizontalHeader()->sectionSizeHint(i);
        int content = 0;
        if (rows == 0) {
            content = columns_.at(i).width;
        } else {
            for (int r : std::as_const(sample))
                content = std::max(content, cellWidth(r, i));
        }
        natural_[i] = std::max(title, std::min(content, kMaxFittedWidth));
    }
}

void TDBGrid::stretch()
{
    if (natural_.size() != columns_.size())
        return;
    // the widest column of text takes what is left of the width
    TDataSet* q = query();
    int widest = -1;
    int total = 0;
    for (int i = 0; i < columns_.size(); ++i) {
        if (!columns_.at(i).visible)
            continue;
        total += natural_.at(i);
        const int pos = model_->position(i);
        const int type = q ? q->fieldType(pos) : 0;
        const bool text = type == QMetaType::QString || type == QMetaType::UnknownType;
        if (text && (widest < 0 || natural_.at(i) > natural_.at(widest)))
            widest = i;
    }
    const int spare = viewport()->width() - total;
    sizing_ = true;
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_.at(i).visible)
            setColumnWidth(i, natural_.at(i) + (i == widest && spare > 0 ? spare : 0));
    sizing_ = false;
}

bool TDBGrid::isCut(int recNo, int column) const
{
    if (column < 0 || column >= columns_.size() || recNo < 1 || recNo > model_->rowCount())
        return false;
    return cellWidth(recNo - 1, column) > columnWidth(column);
}

QSize TDBGrid::sizeHint() const
{
    int width = 2 * frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->sizeHint().width() : 0)
                + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_.at(i).visible)
            width += std::max(naturalWidth(i), horizontalHeader()->sectionSizeHint(i));
    return {width, QTableView::sizeHint().height()};
}

void TDBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (!userSized_)
        stretch();
}

void TDBGrid::followQuery()
{
    TDataSet* q = query();
    if (q && !q->ControlsDisabled())
        currentRowMoved(q->RecNo() - 1);
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

void TDBGrid::setRowColorOverSelection(bool on)
{
    rowColorOverSelection_ = on;
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

int TDBGrid::columnOf(const QString& field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TDBGrid::setReadOnly(bool on)
{
    readOnly_ = on;
    if (on && state() == QAbstractItemView::EditingState)
        closePersistentEditor(currentIndex());
}

bool TDBGrid::store(int row, int column, const QString& text)
{
    TDataSet* q = query();
    const int pos = model_->position(column);
    if (!q || !q->Active() || pos < 0 || row < 0 || row >= q->RecordCount())
        return false;
    if (readOnly_ || !columns_.at(column).editable)
        return false;
    QVariant value;
    try {
        value = parseTyped(text, q->fieldType(pos));
        if (const auto& refuse = columns_.at(column).refuse) {
            if (const QString why = refuse(value); !why.isEmpty())
                throw EConvertError(why);
        }
    } catch (const EError& e) {
        postOnCommit_ = false;
        emit EditError(QString::fromUtf8(e.what()));
        return false;
    }
    if (pendingRow_ && pendingRow_ != row + 1)
        postEdit();
    q->setValue(row, pos, value);
    pendingRow_ = row + 1;
    if (postOnCommit_) {
        postOnCommit_ = false;
        postEdit();
    }
    return true;
}

bool TDBGrid::editCell(int recNo, const QString& field, const QString& text)
{
    const int column = columnOf(field);
    TDataSet* q = query();
    if (column < 0 || !q || recNo < 1 || recNo > q->RecordCount())
        return false;
    q->setRecNo(recNo);
    return store(recNo - 1, column, text);
}

void TDBGrid::postEdit()
{
    if (!pendingRow_)
        return;
    const int recNo = pendingRow_;
    pendingRow_ = 0;
    emit RowPosted(recNo);
}

void TDBGrid::currentRowMoved(int row)
{
    if (pendingRow_ && pendingRow_ != row + 1)
        postEdit();
}

void TDBGrid::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid()) {
        QTableView::contextMenuEvent(event);
        return;
    }
    selectionModel()->setCurrentIndex(index, multiSelect_ ? QItemSelectionModel::NoUpdate
                                                          : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit CellContextMenu(columns_.at(index.column()).field, event->globalPos());
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState && pendingRow_) {
        postEdit();
        return;
    }
    QTableView::keyPressEvent(event);
}
