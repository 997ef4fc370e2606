#pragma once

#include <QColor>
#include <QTableView>
#include <QVector>

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
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    static constexpr int DefaultRowHeight = 17;
    static constexpr unsigned HeaderColor = 16564391; // 0x00BBGGRR

    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const; // header row included
    void SetRowCount(int count);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;

    // The current row (grid index; 1 for the first record), and moving it.
    int Row() const;
    void SetRow(int row);
    // The selected rows, grid indexes; the current row alone when nothing is selected.
    TGridRect Selection() const;
    void SetRangeSelect(bool on);

    // Text of a column drawn right-aligned (1), centred (2) or left (0, the default); the text is
    // white on selected rows and black elsewhere.
    void SetColAlignment(int col, int align);
    int ColAlignment(int col) const;

    // Many cell changes at once: the view is refreshed once at EndUpdate.
    void BeginUpdate();
    void EndUpdate();

signals:
    // Key pressed while the grid has the focus (the key is handled by the grid as well).
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Double-click on a record row.
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TStringGridModel* model_;
};
