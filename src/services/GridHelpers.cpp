#include "GridHelpers.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <cmath>

#include "Exception.h"
#include "Shell.h"
#include "StringGrid.h"
#include "System.h"
#include "TextUtils.h"

int ScreenWidth = 0;
int ScreenHeight = 0;

namespace {
// Whole-text equality folding only the ASCII letters.
bool SameTextAscii(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= 'a' && x <= 'z')
            x -= 'a' - 'A';
        if (y >= 'a' && y <= 'z')
            y -= 'a' - 'A';
        if (x != y)
            return false;
    }
    return true;
}

// The first item shown in a list box.
int TopIndex(const QListWidget* list) {
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : (list->count() > 0 ? 0 : -1);
}

void SetTopIndex(QListWidget* list, int index) {
    if (index >= 0 && index < list->count())
        list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
}
} // namespace

void StoreScreenSize() {
    const QSize size = PrimaryScreenSize();
    ScreenWidth = size.width();
    ScreenHeight = size.height();
}

namespace {
int FindRowFrom(int firstRow, const QString& text, int column, const TStringGrid* grid, bool partial) {
    for (int row = firstRow; row < grid->RowCount(); ++row) {
        const QString cell = grid->Cells(column, row);
        if (partial ? !text.isEmpty() && cell.contains(text, Qt::CaseSensitive) : SameTextAscii(cell, text))
            return row;
    }
    return -1;
}
} // namespace

int FindGridRow(const QString& text, int column, const TStringGrid* grid, bool partial) {
    return FindRowFrom(0, text, column, grid, partial);
}

int FindGridRecordRow(const QString& text, int column, const TStringGrid* grid) {
    return FindRowFrom(1, text, column, grid, false);
}

void SetColWidths(TStringGrid* grid, const QString& widths, bool allSame) {
    const QStringList list = ListEntries(widths);
    if (list.isEmpty())
        return;
    if (allSame) {
        const int width = StrToInt(list.first());
        for (int col = 0; col < grid->ColCount(); ++col)
            grid->SetColWidth(col, width);
        return;
    }
    for (int i = 0; i < list.size(); ++i)
        grid->SetColWidth(i, StrToInt(list.at(i)));
}

void DrawGridCellText(QPainter* painter, const TStringGrid* grid, int row, int col, const QRect& rect,
                      const QString& fontName, int fontSize, QColor color, int align) {
    QFont font = grid->font();
    if (!fontName.isEmpty())
        font.setFamily(fontName);
    if (fontSize > 0)
        font.setPointSize(fontSize);
    painter->save();
    painter->setFont(font);
    painter->setPen(color);
    painter->fillRect(rect, painter->brush());
    TStringGrid::DrawCellText(painter, rect, grid->Cells(col, row), grid->ColWidth(col), align);
    painter->restore();
}

void FormatNumberColumns(TStringGrid* grid, const QString& columns) {
    const QStringList list = ListEntries(columns);
    if (list.isEmpty())
        return;
    const TGridUpdate update(grid);
    for (const QString& entry : list) {
        const int col = StrToInt(entry);
        for (int row = 1; row <= grid->RowCount() - 2; ++row)
            grid->SetCells(col, row, FormatNumber(TextToFloat(grid->Cells(col, row))));
    }
}

void GridColumnToList(const TStringGrid* grid, int column, QStringList& list) {
    list.clear();
    for (int row = 0; row < grid->RowCount(); ++row)
        list << grid->Cells(column, row);
}

void RepaintControlArea(QWidget* control) {
    if (!control)
        return;
    if (QWidget* parent = control->parentWidget())
        parent->repaint(control->geometry());
    else
        control->repaint();
}

void DrawListItem(QListWidget* list, QPainter* painter, const QRect& rect, QChar align, int x, int index,
                  QWidget* form) {
    painter->fillRect(rect, painter->brush());
    const QListWidgetItem* item = list->item(index);
    const QString text = item ? item->text() : QString();
    const QFontMetrics metrics = painter->fontMetrics();
    const int itemHeight = list->sizeHintForRow(index);
    const int y = itemHeight >= 18 ? rect.top() + (itemHeight - metrics.height()) / 2 : rect.top();
    const int baseline = y + metrics.ascent();
    if (align == 'L') {
        painter->drawText(QPoint(x, baseline), text);
    } else if (align == 'R' || align == 'P') {
        // A wider margin when the items fit without a scroll bar.
        const bool fits = itemHeight > 0 &&
                          std::round(double(list->height() - 3) / itemHeight * 1000) > list->count() * 1000.0;
        const int margin = fits ? 20 : 3;
        const int right = rect.left() + rect.width();
        painter->drawText(QPoint(right - metrics.horizontalAdvance(text) - 1 - margin - x, baseline), text);
    }
    SyncListBoxScroll(list, form);
}

void SyncListBoxScroll(QListWidget* list, QWidget* form) {
    if (!list || !form)
        return;
    const QVariant tag = list->property("Tag");
    const int top = TopIndex(list);
    for (QListWidget* other : form->findChildren<QListWidget*>()) {
        if (other->property("Tag").toInt() != tag.toInt() || other->currentRow() < list->currentRow())
            continue;
        if (TopIndex(other) != top)
            SetTopIndex(other, top);
    }
}

void OpenLink(QLabel* label) {
    if (!label)
        return;
    if (!label->toolTip().isEmpty())
        ShellOpen(label->toolTip());
    else if (!label->text().isEmpty())
        ShellOpen(label->text());
}
