#pragma once

#include <QColor>
#include <QTableView>
#include <QVector>

class QPaintDevice;
class QPainter;
class TStringGridModel;

// Rows from Top to Bottom of a grid's selection (grid row indexes, header row 0 included).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// A read-only grid of text cells addressed (column, row). Row 0 is the header row: it is drawn as
// the fixed header (in the header colour) and never scrolls; rows 1 and on are the records.
// Row select; range select (several neighbouring rows) when enabled; columns sized with the mouse.
// A new grid has 5 columns and 5 rows. Reading a cell outside the grid gives an empty text;
// writing one, or sizing a column that does not exist, raises "Grid index out of range".
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    static constexpr int DefaultRowHeight = 17;
    static constexpr unsigned HeaderColor = 16564391; // 0x00BBGGRR
    static constexpr int DefaultColWidth = 64;

    int ColCount() const;
    void SetColCount(int count); // never below 1
    int RowCount() const;        // header row included
    void SetRowCount(int count); // never below 1

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    // The row's first cells at once, a full row taken over without copying; cells past the last
    // column are dropped, columns past the given cells keep their texts.
    void SetRowCells(int row, QVector<QString> cells);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;

    // The current row (grid index; 1 for the first record), and moving it. -1 while the grid has
    // no record rows. The current row is always among the selected rows.
    int Row() const;
    void SetRow(int row);
    // The selected rows, grid indexes; the current row alone when nothing is selected. With range
    // select the user picks neighbouring rows only (click, Shift+click, dragging), so Top..Bottom
    // is exactly the selection.
    TGridRect Selection() const;
    void SetRangeSelect(bool on);
    bool RangeSelect() const;

    // Text of a column drawn right-aligned (1), centred (2) or left (0, the default); the text is
    // white on selected rows and black elsewhere. Any other code draws no text. The header caption
    // follows the column (left for a column that draws no text).
    void SetColAlignment(int col, int align);
    int ColAlignment(int col) const;
    // The colour the text of a row is drawn in: white inside Selection(), black outside.
    QColor CellTextColor(int row) const;

    // Draws a cell's text in the painter's font and pen, clipped to rect: left at rect.left + 3,
    // centred in the column width (halving towards zero), or right at colWidth - text width - 3
    // from rect.left; the text's top one pixel below rect's top. Other align codes draw nothing.
    // A right-aligned number is drawn in CellFont, on the baseline of the painter's font, so that it
    // shows whole; one too wide even at the smallest size keeps its sign and leading digits, ends in
    // "…" and shows whole in the cell's tool tip.
    static void DrawCellText(QPainter* painter, const QRect& rect, const QString& text, int colWidth,
                             int align);
    // The font a cell's text is drawn in on device: font itself, but for a right-aligned number
    // (digits with sign, separators and decimal comma) wider than colWidth - 6 (3 pixels at either
    // side) a smaller font it fits in, not below MinNumberPixels.
    static QFont CellFont(const QFont& font, const QString& text, int colWidth, int align,
                          const QPaintDevice* device);
    static constexpr int MinNumberPixels = 7;
    // Whether such a number is cut even in CellFont; the grid then shows it whole in its tool tip.
    static bool CellTextCut(const QFont& font, const QString& text, int colWidth, int align,
                            const QPaintDevice* device);

    // Many cell changes at once: the view is refreshed once at EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Typing does not jump to a matching row.
    void keyboardSearch(const QString& search) override;

signals:
    // Key pressed while the grid has the focus (the key is handled by the grid as well).
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Double-click on a record row.
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void CheckIndex(int col, int row) const;
    void SelectViewRow(int viewRow);
    void ModelAboutToBeReset();
    void ModelWasReset();

    TStringGridModel* model_;
    QVector<int> widths_;     // per column; the header forgets them on a model reset
    QVector<int> alignments_; // per column, kept when the column count changes
    int savedRow_ = -1;       // view row kept across a model reset
    bool resetting_ = false;
};

// Keeps a grid in one update (BeginUpdate / EndUpdate) while it lives, also when an exception
// passes, so a grid is never left without refreshes.
class TGridUpdate {
public:
    explicit TGridUpdate(TStringGrid* grid) : grid_(grid) { grid_->BeginUpdate(); }
    ~TGridUpdate() { grid_->EndUpdate(); }
    TGridUpdate(const TGridUpdate&) = delete;
    TGridUpdate& operator=(const TGridUpdate&) = delete;

private:
    TStringGrid* grid_;
};
