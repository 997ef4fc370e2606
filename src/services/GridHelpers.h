#pragma once

#include <QChar>
#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPainter;
class QWidget;
class TStringGrid;

// Size of the primary screen in pixels; 0 until StoreScreenSize runs.
extern int ScreenWidth;
extern int ScreenHeight;

void StoreScreenSize();

// First row (header row 0 included) whose cell of column holds text, or -1. Partial: text occurs
// in the cell, letter case kept. Otherwise the whole cell equals text, only the ASCII letters
// a-z folded (č does not equal Č).
int FindGridRow(const QString& text, int column, const TStringGrid* grid, bool partial);
// The same whole-cell search over the record rows only: the header row's captions never match a
// typed value (an IČO typed as "IČO" is no record).
int FindGridRecordRow(const QString& text, int column, const TStringGrid* grid);

// Widths in pixels separated by ';' ("30;310;134"), one per column from column 0; columns past the
// last entry keep their widths. AllSame: the first entry becomes the width of every column.
// An entry that is no integer raises EConvertError "'<entry>' is not a valid integer value", an
// entry past the last column raises "Grid index out of range".
void SetColWidths(TStringGrid* grid, const QString& widths, bool allSame);

// Paints one cell: the painter's brush fills rect, then the cell's text is drawn in the grid's font
// (fontName and fontSize replace its family and point size when given) and color, left (0),
// right (1) or centred (2) as the grid draws its columns. Any other align leaves the cell empty.
void DrawGridCellText(QPainter* painter, const TStringGrid* grid, int row, int col, const QRect& rect,
                      const QString& fontName, int fontSize, QColor color, int align);

// Rewrites the cells of the listed columns ("5;6;7") in rows 1 to RowCount - 2 as
// FormatNumber(TextToFloat(cell)); an empty cell becomes "0,00".
void FormatNumberColumns(TStringGrid* grid, const QString& columns);

// List := the cells of column in every row, the header row first.
void GridColumnToList(const TStringGrid* grid, int column, QStringList& list);

// Repaints the control's area of its parent at once (a removed focus colour disappears).
void RepaintControlArea(QWidget* control);

// Owner drawing of one list item: the painter's brush fills rect, the item's text is drawn in the
// painter's font and pen, at x ('L') or right-aligned ('R', 'P'); other align characters draw no
// text. The item height is the list's sizeHintForRow. Then SyncListBoxScroll runs.
void DrawListItem(QListWidget* list, QPainter* painter, const QRect& rect, QChar align, int x, int index,
                  QWidget* form);
// List boxes of form with the same "Tag" (an int property) as list and a current row at least the
// list's current row are scrolled to the list's top item.
void SyncListBoxScroll(QListWidget* list, QWidget* form);

// Opens the label's tool tip (its hint) through the shell, or else its text; nothing when both are
// empty.
void OpenLink(QLabel* label);
