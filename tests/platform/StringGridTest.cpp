#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

#include "StringGrid.h"
#include "TestSupport.h"

namespace {
// A shown grid of cols x rows (header included), cell (c, r) holding "c:r".
std::unique_ptr<TStringGrid> MakeGrid(int cols, int rows) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            grid->SetCells(c, r, QString("%1:%2").arg(c).arg(r));
    grid->resize(400, 300);
    grid->show();
    return grid;
}

QString GridRowText(const TStringGrid& grid, int row) {
    QStringList cells;
    for (int col = 0; col < grid.ColCount(); ++col)
        cells << grid.Cells(col, row);
    return cells.join('|');
}

QPoint RowPoint(const TStringGrid& grid, int row, int col = 0) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

void ClickRow(TStringGrid& grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, RowPoint(grid, row));
}

// The current row, then the selected rows: "4:2-4".
QString RowAndSelection(const TStringGrid& grid) {
    const TGridRect sel = grid.Selection();
    return QString("%1:%2-%3").arg(grid.Row()).arg(sel.Top).arg(sel.Bottom);
}

// Dark and white pixels of a rect of the image, and the columns (from its left) of the dark ink.
struct Ink {
    int dark = 0, white = 0, first = 9999, last = -1;
};

Ink InkIn(const QImage& image, const QRect& rect) {
    Ink ink;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = 0; x < rect.width(); ++x) {
            const QColor p = image.pixelColor(rect.left() + x, y);
            ink.white += std::min({p.red(), p.green(), p.blue()}) > 235;
            if (p.value() < 90) {
                ++ink.dark;
                ink.first = std::min(ink.first, x);
                ink.last = std::max(ink.last, x);
            }
        }
    return ink;
}
} // namespace

TEST(StringGrid, CellsSurviveResizingWhereTheyFitAndOutsideCellsReadEmptyAndRaiseOnWrite) {
    TStringGrid grid;
    EXPECT_EQ(std::make_pair(grid.ColCount(), grid.RowCount()), std::make_pair(5, 5));
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetCells(0, 0, "id");
    grid.SetCells(2, 3, "čerpané");
    grid.SetCells(1, 1, "x");
    grid.SetRowCount(6);
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cells(2, 3), "čerpané");
    EXPECT_EQ(grid.Cells(3, 5), "");
    EXPECT_EQ(grid.model()->columnCount(), 4);

    // Shrinking drops the cells outside; growing again does not bring them back.
    grid.SetRowCount(3);
    grid.SetColCount(2);
    EXPECT_EQ(grid.Cells(2, 0) + grid.Cells(0, -1), "");
    EXPECT_EQ(ErrorOf([&] { grid.SetCells(0, 3, "lost"); }), "Grid index out of range");
    EXPECT_THROW(grid.SetColWidth(2, 10), Exception);
    for (const int row : {0, 3}) // the header row is never current
        EXPECT_THROW(grid.SetRow(row), Exception) << row;
    grid.SetRowCount(4);
    grid.SetColCount(3);
    EXPECT_EQ(grid.Cells(2, 3), "");
    EXPECT_EQ(grid.Cells(1, 1), "x");

    grid.SetRowCount(0);
    grid.SetColCount(0);
    EXPECT_EQ(std::make_pair(grid.ColCount(), grid.RowCount()), std::make_pair(1, 1));
    EXPECT_EQ(grid.Cells(0, 0), "id");
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST(StringGrid, RowZeroIsTheHeaderOfTheRecordRows) {
    auto grid = MakeGrid(3, 4);
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->index(0, 2).data().toString(), "2:1");
    QSignalSpy header(model, &QAbstractItemModel::headerDataChanged);
    grid->SetCells(1, 0, "názov");
    ASSERT_EQ(header.count(), 1);
    EXPECT_EQ(header.at(0).at(1).toInt(), 1);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "názov");
    EXPECT_EQ(std::make_pair(grid->horizontalHeader()->height(), grid->rowHeight(1)), std::make_pair(17, 17));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    // The header is painted flat in the header colour (#A7C0FC), away from its text.
    const QImage image = grid->horizontalHeader()->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(50, 8)), QColor(0xA7, 0xC0, 0xFC));
    grid->horizontalHeader()->resizeSection(1, 77); // as the mouse does
    EXPECT_EQ(grid->ColWidth(1), 77);
}

TEST(StringGrid, AFillInsideBeginEndUpdateIsOneModelResetThatKeepsTheColumnWidths) {
    auto grid = MakeGrid(3, 4);
    grid->SetColWidth(0, 25);
    grid->SetColWidth(2, 150);
    QAbstractItemModel* model = grid->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
    grid->BeginUpdate();
    grid->BeginUpdate(); // nested, as a fill called from another fill
    grid->SetColCount(12);
    grid->SetRowCount(20002);
    for (int r = 0; r < 20001; ++r)
        for (int c = 0; c < 12; ++c)
            grid->SetCells(c, r, QString::number(r * 12 + c));
    grid->EndUpdate();
    EXPECT_EQ(resets.count(), 0);
    grid->EndUpdate();
    grid->EndUpdate(); // an extra one changes nothing
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count() + inserts.count(), 0);
    EXPECT_EQ(model->index(19999, 11).data().toString(), QString::number(20000 * 12 + 11));
    EXPECT_EQ(grid->columnWidth(0), 25);
    EXPECT_EQ(grid->columnWidth(2), 150);
    EXPECT_EQ(grid->columnWidth(3), TStringGrid::DefaultColWidth);

    grid->SetCells(3, 7, "x"); // a single write afterwards reports just its cell
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<QModelIndex>(), model->index(6, 3));

    // A row's first cells at once; the rest of the row keeps its texts, cells past the columns go.
    grid->SetRowCells(2, {"a", "b"});
    grid->SetRowCells(3, QVector<QString>(13, "c"));
    EXPECT_EQ(grid->Cells(0, 2) + grid->Cells(2, 2) + grid->Cells(11, 3), "a26c");
    grid->SetRowCount(3); // many rows dropped at once
    EXPECT_EQ(GridRowText(*grid, 2), "a|b|26|27|28|29|30|31|32|33|34|35");
    EXPECT_THROW(grid->SetRowCells(3, {}), Exception);
}

TEST(StringGrid, CurrentRowAndSelection) {
    auto grid = MakeGrid(3, 8);
    EXPECT_EQ(RowAndSelection(*grid), "1:1-1");
    grid->SetRangeSelect(true); // picks neighbouring rows; a click picks one
    ClickRow(*grid, 2);
    ClickRow(*grid, 4, Qt::ShiftModifier);
    EXPECT_EQ(RowAndSelection(*grid), "4:2-4");
    ClickRow(*grid, 1, Qt::ShiftModifier); // upwards, too
    EXPECT_EQ(RowAndSelection(*grid), "1:1-2");
    ClickRow(*grid, 3);
    EXPECT_EQ(RowAndSelection(*grid), "3:3-3");
    grid->SetRangeSelect(false);
    ClickRow(*grid, 2);
    ClickRow(*grid, 6, Qt::ShiftModifier);
    EXPECT_EQ(RowAndSelection(*grid), "6:6-6");

    // The current row stays in range across a refill; with only the header left there is none.
    grid->BeginUpdate();
    grid->SetRowCount(5);
    grid->EndUpdate();
    EXPECT_EQ(RowAndSelection(*grid), "4:4-4");
    grid->SetRowCount(1);
    EXPECT_EQ(RowAndSelection(*grid), "-1:-1--1");
    grid->SetRowCount(3);
    EXPECT_EQ(grid->Row(), 1);
}

TEST(StringGrid, KeyDownComesForEveryKeyBeforeTheGridMovesAndDoubleClickOnARecordRowOnly) {
    auto grid = MakeGrid(2, 6);
    grid->SetRow(2);
    QStringList keys; // the key, then the row at the time
    QObject::connect(grid.get(), &TStringGrid::KeyDown, [&](int key, Qt::KeyboardModifiers modifiers) {
        keys << QKeySequence(key | int(modifiers)).toString() + QString("@%1").arg(grid->Row());
    });
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(keys, QStringList({"Del@2", "Down@2"}));
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(keys.last(), "Shift+Del@3");
    QTest::keyClick(grid.get(), Qt::Key_Z); // typing does not jump to a row starting with the letter
    EXPECT_EQ(grid->Row(), 3);

    QSignalSpy dbl(grid.get(), &TStringGrid::DblClick);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(*grid, 5, 1));
    EXPECT_EQ(dbl.count(), 1);
    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    // Below the last row and right of the last column.
    for (const QPoint outside : {QPoint(10, 17 * 5 + 20), QPoint(64 * 2 + 20, RowPoint(*grid, 1).y())})
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_EQ(dbl.count(), 1);
}

TEST(StringGrid, TabMovesTheFocusIntoAndOutOfTheGrid) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new TStringGrid(&window);
    auto* after = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
}

TEST(StringGrid, TheCurrentRowStaysVisibleWhateverTheMouseClicks) {
    // Every row's text colour matches its painted selection: black ink on white, white text on the
    // highlight, and no record row white on white.
    const auto checkPicture = [](const TStringGrid& grid, const std::string& what, const QString& rows) {
        const QImage image = grid.viewport()->grab().toImage();
        for (int row = 1; row < grid.RowCount() - 1; ++row) {
            const QRect cell = grid.visualRect(grid.model()->index(row - 1, 0));
            const Ink ink = InkIn(image, cell);
            const bool whiteText = grid.CellTextColor(row) == QColor(Qt::white);
            EXPECT_EQ(whiteText, grid.selectionModel()->isRowSelected(row - 1, QModelIndex()))
                << what << ", row " << row;
            EXPECT_EQ(ink.dark > 10, !whiteText) << what << ", row " << row;
            EXPECT_TRUE(ink.dark > 10 || ink.white < cell.width() * cell.height() / 2)
                << what << ", row " << row << " is white on white";
        }
        EXPECT_EQ(RowAndSelection(grid), rows) << what;
    };
    for (const bool range : {true, false}) {
        const std::string mode = range ? "range select" : "single select";
        auto grid = MakeGrid(3, 5);
        grid->SetRangeSelect(range);
        ClickRow(*grid, 2);
        const QRect last = grid->visualRect(grid->model()->index(grid->RowCount() - 2, 0));
        const QPoint below(last.center().x(), last.bottom() + 40);
        ASSERT_FALSE(grid->indexAt(below).isValid());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        checkPicture(*grid, mode + ", click below the rows", "2:2-2");
        ClickRow(*grid, 2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(*grid, 2));
        checkPicture(*grid, mode + ", Ctrl+click on the selected row", "2:2-2");
        grid->setFocus(); // the picture is the same with or without the focus
        ClickRow(*grid, 3, Qt::ShiftModifier);
        checkPicture(*grid, mode + ", Shift+click", range ? "3:2-3" : "3:3-3");
    }
}

TEST(StringGrid, CellsAndHeaderCaptionsArePlacedByTheColumnAlignment) {
    auto grid = MakeGrid(3, 4);
    for (int c = 0; c < 3; ++c)
        grid->SetColWidth(c, 120);
    grid->SetColAlignment(1, 1);
    grid->SetColAlignment(2, 2);
    const QImage cells = grid->viewport()->grab().toImage();
    QHeaderView* header = grid->horizontalHeader();
    const QImage captions = header->grab().toImage();
    for (const bool inHeader : {false, true}) {
        const auto inkOf = [&](int col) { // row 2 is not selected
            return inHeader ? InkIn(captions,
                                    QRect(header->sectionViewportPosition(col), 0, 120, header->height()))
                            : InkIn(cells, grid->visualRect(grid->model()->index(1, col)));
        };
        const Ink left = inkOf(0), right = inkOf(1), centred = inkOf(2);
        ASSERT_GT(left.dark, 0) << "header " << inHeader;
        EXPECT_GE(left.first, 3) << "header " << inHeader;
        EXPECT_LT(left.last, 40) << "header " << inHeader;
        EXPECT_GT(right.first, 80) << "header " << inHeader;
        EXPECT_LE(right.last, 120 - 3) << "header " << inHeader;
        EXPECT_NEAR((centred.first + centred.last) / 2, 60, 3) << "header " << inHeader;
    }
}
