#include "StringGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QThreadPool>
#include <QToolTip>
#include <algorithm>
#include <climits>
#include <memory>

#include "Exception.h"
#include "ShrinkFont.h"

namespace {
const char* const kIndexError = "Grid index out of range";

// Pixels between a cell's edge and its text.
constexpr int CellMargin = 3;

// Digits with an optional sign, group separators and decimal comma or point: a number as shown.
bool IsNumberText(const QString& text) {
    bool digit = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (!QStringLiteral("+-,. \u00A0").contains(c))
            return false;
    }
    return digit;
}

QColor BgrColor(unsigned bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
} // namespace

// All cells, row 0 included; the view sees rows 1.. as its rows 0.. and row 0 as header data.
class TStringGridModel : public QAbstractTableModel {
public:
    explicit TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {
        rows_.resize(5, QVector<QString>(cols_));
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(rows_.size()) - 1;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : cols_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return Cell(index.column(), index.row() + 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal) {
            if (role == Qt::DisplayRole)
                return Cell(section, 0);
            if (role == Qt::BackgroundRole)
                return BgrColor(TStringGrid::HeaderColor);
            return {};
        }
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    int Rows() const { return int(rows_.size()); }
    int Cols() const { return cols_; }

    QString Cell(int col, int row) const {
        if (row < 0 || row >= rows_.size() || col < 0 || col >= cols_)
            return {};
        return rows_.at(row).at(col);
    }

    void SetCell(int col, int row, const QString& text) {
        rows_[row][col] = text;
        if (updating_ > 0)
            return;
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, col, col);
        } else {
            const QModelIndex changed = index(row - 1, col);
            emit dataChanged(changed, changed, {Qt::DisplayRole});
        }
    }

    void SetRowCells(int row, QVector<QString>&& cells) {
        if (cells.size() >= cols_) {
            cells.resize(cols_);
            rows_[row] = std::move(cells);
        } else {
            std::move(cells.begin(), cells.end(), rows_[row].begin());
        }
        if (updating_ > 0)
            return;
        if (row == 0)
            emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
        else
            emit dataChanged(index(row - 1, 0), index(row - 1, cols_ - 1), {Qt::DisplayRole});
    }

    void SetRows(int count) {
        const int old = Rows();
        if (count == old)
            return;
        if (updating_ > 0) {
            Resize(count);
        } else if (count > old) {
            beginInsertRows(QModelIndex(), old - 1, count - 2);
            Resize(count);
            endInsertRows();
        } else {
            beginRemoveRows(QModelIndex(), count - 1, old - 2);
            Resize(count);
            endRemoveRows();
        }
    }

    void SetCols(int count) {
        const int old = cols_;
        if (count == old)
            return;
        auto resize = [&] {
            cols_ = count;
            for (QVector<QString>& row : rows_)
                row.resize(count);
        };
        if (updating_ > 0) {
            resize();
        } else if (count > old) {
            beginInsertColumns(QModelIndex(), old, count - 1);
            resize();
            endInsertColumns();
            emit headerDataChanged(Qt::Horizontal, old, count - 1);
        } else {
            beginRemoveColumns(QModelIndex(), count, old - 1);
            resize();
            endRemoveColumns();
        }
    }

    // The views hear of the changes once, at the last EndUpdate.
    void BeginUpdate() {
        if (updating_++ == 0)
            beginResetModel();
    }
    void EndUpdate() {
        if (updating_ > 0 && --updating_ == 0) {
            endResetModel();
            FreeDroppedRows();
        }
    }

private:
    // Many rows dropped at once are freed on a pool thread once the grid is filled again: a reload
    // neither waits for the freeing nor shares the allocator with it while it fills.
    void Resize(int count) {
        constexpr int ManyRows = 256;
        if (rows_.size() - count >= ManyRows) {
            if (!dropped_)
                dropped_ = std::make_shared<QVector<QVector<QString>>>();
            for (auto it = rows_.begin() + count; it != rows_.end(); ++it)
                dropped_->push_back(std::move(*it));
        }
        rows_.resize(count, QVector<QString>(cols_));
        if (updating_ == 0)
            FreeDroppedRows();
    }
    void FreeDroppedRows() {
        if (dropped_)
            QThreadPool::globalInstance()->start([rows = std::move(dropped_)]() mutable { rows.reset(); });
    }

    QVector<QVector<QString>> rows_;
    std::shared_ptr<QVector<QVector<QString>>> dropped_; // waiting for the end of the update
    int cols_ = 5;
    int updating_ = 0;
};

namespace {
// The fixed header row: flat header colour, grid lines, text as in the record rows.
class TStringGridHeader : public QHeaderView {
public:
    explicit TStringGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid())
            return;
        painter->save();
        painter->fillRect(rect, BgrColor(TStringGrid::HeaderColor));
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setPen(Qt::black);
        const QString text =
            model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
        // The caption stands where its column's texts stand; a column that draws no text keeps it left.
        const auto* grid = qobject_cast<const TStringGrid*>(parentWidget());
        const int align = grid ? grid->ColAlignment(logicalIndex) : 0;
        TStringGrid::DrawCellText(painter, rect.adjusted(0, 0, -1, -1), text, rect.width(),
                                  align == 1 || align == 2 ? align : 0);
        painter->restore();
    }
};

// Cells drawn the ordinary way, then their text in the column's alignment and the row's colour.
class TStringGridDelegate : public QStyledItemDelegate {
public:
    explicit TStringGridDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

        painter->save();
        painter->setFont(opt.font);
        painter->setPen(grid_->CellTextColor(index.row() + 1));
        TStringGrid::DrawCellText(painter, option.rect, text, grid_->ColWidth(index.column()),
                                  grid_->ColAlignment(index.column()));
        painter->restore();
    }

    // A number cut even at the smallest size shows whole in its tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        if (TStringGrid::CellTextCut(opt.font, opt.text, grid_->ColWidth(index.column()),
                                     grid_->ColAlignment(index.column()), view->viewport()))
            QToolTip::showText(event->globalPos(), opt.text, view->viewport());
        else
            QToolTip::hideText();
        return true;
    }

private:
    TStringGrid* grid_;
};
} // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), model_(new TStringGridModel(this)) {
    setHorizontalHeader(new TStringGridHeader(this));
    setModel(model_);
    setItemDelegate(new TStringGridDelegate(this));

    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultSectionSize(DefaultColWidth);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setFixedHeight(DefaultRowHeight);

    // Uniform fixed rows keep tens of thousands of rows cheap.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(DefaultRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    setCornerButtonEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);

    // Selected rows look the same with and without the focus (the text on them is white).
    QPalette pal = palette();
    pal.setBrush(QPalette::Inactive, QPalette::Highlight, pal.brush(QPalette::Active, QPalette::Highlight));
    pal.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                 pal.brush(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);

    widths_.fill(DefaultColWidth, model_->Cols());
    alignments_.fill(0, model_->Cols());

    connect(header, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!resetting_ && col >= 0 && col < widths_.size())
            widths_[col] = size;
    });
    // A click below the last row or a Ctrl+click on the selected row would leave the current row
    // unselected while its text is still drawn white: the current row is selected again.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!resetting_ && !selectionModel()->hasSelection() && currentIndex().isValid())
            SelectViewRow(currentIndex().row());
    });
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &TStringGrid::ModelAboutToBeReset);
    connect(model_, &QAbstractItemModel::modelReset, this, &TStringGrid::ModelWasReset);
    SelectViewRow(0);
}

int TStringGrid::ColCount() const {
    return model_->Cols();
}

void TStringGrid::SetColCount(int count) {
    count = std::max(count, 1);
    widths_.resize(count, DefaultColWidth);
    model_->SetCols(count);
    if (!resetting_ && !currentIndex().isValid())
        SelectViewRow(0);
}

int TStringGrid::RowCount() const {
    return model_->Rows();
}

void TStringGrid::SetRowCount(int count) {
    model_->SetRows(std::max(count, 1));
    if (!resetting_ && !currentIndex().isValid())
        SelectViewRow(0);
}

QString TStringGrid::Cells(int col, int row) const {
    return model_->Cell(col, row);
}

void TStringGrid::SetCells(int col, int row, const QString& text) {
    CheckIndex(col, row);
    model_->SetCell(col, row, text);
}

void TStringGrid::SetRowCells(int row, QVector<QString> cells) {
    CheckIndex(0, row);
    model_->SetRowCells(row, std::move(cells));
}

int TStringGrid::ColWidth(int col) const {
    return col >= 0 && col < widths_.size() ? widths_.at(col) : 0;
}

void TStringGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= widths_.size())
        throw Exception(kIndexError);
    widths_[col] = std::max(width, 0);
    if (col < horizontalHeader()->count())
        horizontalHeader()->resizeSection(col, widths_[col]);
}

int TStringGrid::RowHeight(int) const {
    return verticalHeader()->defaultSectionSize();
}

int TStringGrid::Row() const {
    const QModelIndex current = currentIndex();
    if (current.isValid())
        return current.row() + 1;
    return model_->Rows() > 1 ? 1 : -1;
}

void TStringGrid::SetRow(int row) {
    if (row < 1 || row >= model_->Rows())
        throw Exception(kIndexError);
    SelectViewRow(row - 1);
}

TGridRect TStringGrid::Selection() const {
    TGridRect rect;
    rect.Left = 0;
    rect.Right = ColCount() - 1;
    int top = INT_MAX;
    int bottom = -1;
    if (selectionModel()) {
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            if (!range.isValid())
                continue;
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
        }
    }
    if (bottom < 0) {
        rect.Top = rect.Bottom = Row();
    } else {
        rect.Top = top + 1;
        rect.Bottom = bottom + 1;
    }
    return rect;
}

void TStringGrid::SetRangeSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ContiguousSelection : QAbstractItemView::SingleSelection);
}

bool TStringGrid::RangeSelect() const {
    return selectionMode() == QAbstractItemView::ContiguousSelection;
}

void TStringGrid::SetColAlignment(int col, int align) {
    if (col < 0)
        throw Exception(kIndexError);
    // A page sets its columns' drawing once, before its grid gets its columns.
    if (col >= alignments_.size())
        alignments_.resize(col + 1, 0);
    alignments_[col] = align;
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

int TStringGrid::ColAlignment(int col) const {
    return col >= 0 && col < alignments_.size() ? alignments_.at(col) : 0;
}

QColor TStringGrid::CellTextColor(int row) const {
    const TGridRect selection = Selection();
    return row >= selection.Top && row <= selection.Bottom ? QColor(Qt::white) : QColor(Qt::black);
}

QFont TStringGrid::CellFont(const QFont& font, const QString& text, int colWidth, int align,
                            const QPaintDevice* device) {
    const int room = colWidth - 2 * CellMargin;
    if (align != 1 || !IsNumberText(text) || QFontMetrics(font, device).horizontalAdvance(text) <= room)
        return font;
    // The smallest size in the font's own unit.
    const qreal minSize =
        font.pixelSize() > 0 ? MinNumberPixels : MinNumberPixels * 72.0 / device->logicalDpiY();
    return ShrunkFont(
        font, room, [&](const QFont& tried) { return QFontMetrics(tried, device).horizontalAdvance(text); },
        minSize);
}

bool TStringGrid::CellTextCut(const QFont& font, const QString& text, int colWidth, int align,
                              const QPaintDevice* device) {
    const QFont shown = CellFont(font, text, colWidth, align, device);
    return shown != font && QFontMetrics(shown, device).horizontalAdvance(text) > colWidth - 2 * CellMargin;
}

void TStringGrid::DrawCellText(QPainter* painter, const QRect& rect, const QString& text, int colWidth,
                               int align) {
    if (align < 0 || align > 2 || text.isEmpty())
        return;
    painter->save();
    const int baseline = rect.top() + 1 + painter->fontMetrics().ascent();
    QString shown = text;
    const QFont font = CellFont(painter->font(), text, colWidth, align, painter->device());
    if (font != painter->font()) {
        painter->setFont(font);
        shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, colWidth - 2 * CellMargin);
    }
    const int textWidth = painter->fontMetrics().horizontalAdvance(shown);
    int x = rect.left() + CellMargin;
    if (align == 2)
        x = rect.left() + (colWidth - textWidth) / 2;
    else if (align == 1)
        x = rect.left() + colWidth - textWidth - CellMargin;
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->drawText(QPoint(x, baseline), shown);
    painter->restore();
}

void TStringGrid::BeginUpdate() {
    model_->BeginUpdate();
}

void TStringGrid::EndUpdate() {
    model_->EndUpdate();
}

void TStringGrid::keyboardSearch(const QString&) {}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool onRecord = indexAt(event->position().toPoint()).isValid();
    QTableView::mouseDoubleClickEvent(event);
    if (onRecord)
        emit DblClick();
}

void TStringGrid::CheckIndex(int col, int row) const {
    if (col < 0 || col >= model_->Cols() || row < 0 || row >= model_->Rows())
        throw Exception(kIndexError);
}

// Makes a record row current and the only one selected (the nearest row when it is past the end).
void TStringGrid::SelectViewRow(int viewRow) {
    const int rows = model_->rowCount();
    if (rows <= 0 || model_->Cols() <= 0 || !selectionModel())
        return;
    viewRow = std::clamp(viewRow, 0, rows - 1);
    const int col = std::clamp(currentIndex().column(), 0, model_->Cols() - 1);
    selectionModel()->setCurrentIndex(model_->index(viewRow, col),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TStringGrid::ModelAboutToBeReset() {
    resetting_ = true;
    const QModelIndex current = currentIndex();
    savedRow_ = current.isValid() ? current.row() : 0;
}

// The view forgets the column widths and the current row on a reset; they are put back.
void TStringGrid::ModelWasReset() {
    resetting_ = false;
    QHeaderView* header = horizontalHeader();
    for (int col = 0; col < widths_.size() && col < header->count(); ++col)
        header->resizeSection(col, widths_.at(col));
    SelectViewRow(savedRow_);
}
