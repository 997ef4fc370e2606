#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

#include "Exception.h"
#include "StringGrid.h"

namespace {
// A shown grid of cols x rows (header included), cell (c, r) holding "c:r", row 0 "h<c>".
std::unique_ptr<TStringGrid> MakeGrid(int cols, int rows) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    for (int c = 0; c < cols; ++c) {
        grid->SetCells(c, 0, QString("h%1").arg(c));
        for (int r = 1; r < rows; ++r)
            grid->SetCells(c, r, QString("%1:%2").arg(c).arg(r));
    }
    grid->resize(400, 300);
    grid->show();
    return grid;
}

QPoint RowPoint(const TStringGrid& grid, int row, int col = 0) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

void ClickRow(TStringGrid& grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, RowPoint(grid, row));
}

bool IsDark(QRgb pixel) {
    return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool IsWhite(QRgb pixel) {
    return qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
}

// Columns of rect (within the image) holding dark or white pixels.
struct InkSpan {
    int darkPixels = 0;
    int whitePixels = 0;
    int firstInkX = INT_MAX;
    int lastInkX = -1;
};

InkSpan Ink(const QImage& image, const QRect& rect, bool whiteInk) {
    InkSpan span;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool dark = IsDark(pixel);
            const bool white = IsWhite(pixel);
            span.darkPixels += dark;
            span.whitePixels += white;
            if (whiteInk ? white : dark) {
                span.firstInkX = std::min(span.firstInkX, x);
                span.lastInkX = std::max(span.lastInkX, x);
            }
        }
    }
    return span;
}
} // namespace

TEST(StringGrid, CellsSurviveResizingWhereTheyFitAndNewCellsAreEmpty) {
    TStringGrid grid;
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 5);
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetCells(0, 0, "id");
    grid.SetCells(2, 3, "čerpané");
    grid.SetCells(1, 1, "x");

    grid.SetRowCount(6);
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cells(0, 0), "id");
    EXPECT_EQ(grid.Cells(2, 3), "čerpané");
    EXPECT_EQ(grid.Cells(3, 5), "");
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.model()->columnCount(), 4);

    // Shrinking drops the cells outside; growing again does not bring them back.
    grid.SetRowCount(3);
    grid.SetColCount(2);
    grid.SetRowCount(4);
    grid.SetColCount(3);
    EXPECT_EQ(grid.Cells(2, 3), "");
    EXPECT_EQ(grid.Cells(1, 1), "x");

    grid.SetRowCount(0);
    grid.SetColCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(grid.Cells(0, 0), "id");
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST(StringGrid, CellsOutsideTheGridReadEmptyAndRaiseOnWrite) {
    TStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.Cells(2, 0), "");
    EXPECT_EQ(grid.Cells(0, -1), "");
    try {
        grid.SetCells(0, 2, "lost");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Grid index out of range");
    }
    EXPECT_THROW(grid.SetColWidth(2, 10), Exception);
    EXPECT_THROW(grid.SetRow(2), Exception);
    EXPECT_THROW(grid.SetRow(0), Exception); // the header row is never current
}

TEST(StringGrid, RowZeroIsTheHeaderOfTheRecordRows) {
    auto grid = MakeGrid(3, 4);
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "h1");
    EXPECT_EQ(model->index(0, 2).data().toString(), "2:1");

    QSignalSpy header(model, &QAbstractItemModel::headerDataChanged);
    grid->SetCells(1, 0, "názov");
    ASSERT_EQ(header.count(), 1);
    EXPECT_EQ(header.at(0).at(1).toInt(), 1);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "názov");

    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    EXPECT_EQ(grid->horizontalHeader()->height(), TStringGrid::DefaultRowHeight);
    EXPECT_EQ(grid->RowHeight(2), 17);
    EXPECT_EQ(grid->rowHeight(1), 17);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);

    // The header is painted flat in the header colour (#A7C0FC), away from its text.
    grid->SetColWidth(0, 120);
    const QImage image = grid->horizontalHeader()->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(100, 8)), QColor(0xA7, 0xC0, 0xFC));
}

TEST(StringGrid, ColumnWidthsSurviveARefill) {
    auto grid = MakeGrid(3, 4);
    grid->SetColWidth(0, 25);
    grid->SetColWidth(2, 150);
    grid->BeginUpdate();
    grid->SetColCount(4);
    grid->SetRowCount(10);
    grid->EndUpdate();
    EXPECT_EQ(grid->ColWidth(0), 25);
    EXPECT_EQ(grid->columnWidth(0), 25);
    EXPECT_EQ(grid->columnWidth(2), 150);
    EXPECT_EQ(grid->columnWidth(3), TStringGrid::DefaultColWidth);

    // A column sized with the mouse reports its new width.
    grid->horizontalHeader()->resizeSection(1, 77);
    EXPECT_EQ(grid->ColWidth(1), 77);
}

TEST(StringGrid, CurrentRowStartsAtTheFirstRecordAndStaysInRangeAcrossARefill) {
    auto grid = MakeGrid(2, 8);
    EXPECT_EQ(grid->Row(), 1);
    TGridRect sel = grid->Selection();
    EXPECT_EQ(sel.Top, 1);
    EXPECT_EQ(sel.Bottom, 1);

    grid->SetRow(6);
    EXPECT_EQ(grid->Row(), 6);
    grid->BeginUpdate();
    grid->SetRowCount(5);
    grid->EndUpdate();
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Selection().Top, 4);

    grid->SetRow(2);
    grid->BeginUpdate();
    grid->SetRowCount(9);
    grid->EndUpdate();
    EXPECT_EQ(grid->Row(), 2);

    // Only the header left: no current record row.
    grid->SetRowCount(1);
    EXPECT_EQ(grid->Row(), -1);
    EXPECT_EQ(grid->Selection().Top, -1);
    grid->SetRowCount(3);
    EXPECT_EQ(grid->Row(), 1);
}

TEST(StringGrid, RangeSelectPicksNeighbouringRowsAndAClickPicksOne) {
    auto grid = MakeGrid(3, 8);
    grid->SetRangeSelect(true);
    ClickRow(*grid, 2);
    ClickRow(*grid, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 4);
    TGridRect sel = grid->Selection();
    EXPECT_EQ(sel.Top, 2);
    EXPECT_EQ(sel.Bottom, 4);
    EXPECT_EQ(sel.Left, 0);
    EXPECT_EQ(sel.Right, 2);

    // Upwards, too.
    ClickRow(*grid, 1, Qt::ShiftModifier);
    sel = grid->Selection();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(sel.Top, 1);
    EXPECT_EQ(sel.Bottom, 2);

    ClickRow(*grid, 3);
    sel = grid->Selection();
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(sel.Top, 3);
    EXPECT_EQ(sel.Bottom, 3);

    grid->SetRangeSelect(false);
    ClickRow(*grid, 2);
    ClickRow(*grid, 5, Qt::ShiftModifier);
    sel = grid->Selection();
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(sel.Top, 5);
    EXPECT_EQ(sel.Bottom, 5);
}

TEST(StringGrid, KeyDownComesForEveryKeyBeforeTheGridMoves) {
    auto grid = MakeGrid(2, 6);
    grid->SetRow(2);
    std::vector<std::pair<int, int>> keys; // key, row at the time
    Qt::KeyboardModifiers lastModifiers;
    QObject::connect(grid.get(), &TStringGrid::KeyDown, [&](int key, Qt::KeyboardModifiers modifiers) {
        keys.push_back({key, grid->Row()});
        lastModifiers = modifiers;
    });
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], std::make_pair(int(Qt::Key_Delete), 2));
    EXPECT_EQ(keys[1], std::make_pair(int(Qt::Key_Down), 2));
    EXPECT_EQ(grid->Row(), 3);

    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(keys.back().first, int(Qt::Key_Delete));
    EXPECT_EQ(lastModifiers, Qt::ShiftModifier);

    // Typing does not jump to a row starting with the letter.
    grid->SetCells(0, 5, "zeta");
    QTest::keyClick(grid.get(), Qt::Key_Z);
    EXPECT_EQ(grid->Row(), 3);
}

TEST(StringGrid, DoubleClickOnARecordRowOnly) {
    auto grid = MakeGrid(2, 4);
    QSignalSpy dbl(grid.get(), &TStringGrid::DblClick);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(*grid, 3, 1));
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_EQ(grid->Row(), 3);

    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    // Below the last row and right of the last column.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 17 * 3 + 20));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(grid->ColWidth(0) + grid->ColWidth(1) + 20, RowPoint(*grid, 1).y()));
    EXPECT_EQ(dbl.count(), 1);
}

TEST(StringGrid, TabMovesTheFocusIntoAndOutOfTheGrid) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit;
    auto* grid = new TStringGrid;
    auto* after = new QLineEdit;
    layout->addWidget(before);
    layout->addWidget(grid);
    layout->addWidget(after);
    window.show();
    QApplication::setActiveWindow(&window);
    before->setFocus();
    ASSERT_TRUE(before->hasFocus());
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
}

TEST(StringGrid, AFillInsideBeginEndUpdateIsOneModelReset) {
    TStringGrid grid;
    QAbstractItemModel* model = grid.model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy headers(model, &QAbstractItemModel::headerDataChanged);

    grid.BeginUpdate();
    grid.BeginUpdate(); // nested, as a fill called from another fill
    grid.SetColCount(12);
    grid.SetRowCount(20002);
    for (int r = 0; r < 20001; ++r)
        for (int c = 0; c < 12; ++c)
            grid.SetCells(c, r, QString::number(r * 12 + c));
    grid.EndUpdate();
    EXPECT_EQ(resets.count(), 0);
    grid.EndUpdate();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(headers.count(), 0);
    EXPECT_EQ(model->rowCount(), 20001);
    EXPECT_EQ(model->index(19999, 11).data().toString(), QString::number(20000 * 12 + 11));
    EXPECT_EQ(grid.Row(), 1);

    // An extra EndUpdate changes nothing; a single write afterwards reports just its cell.
    grid.EndUpdate();
    EXPECT_EQ(resets.count(), 1);
    grid.SetCells(3, 7, "x");
    ASSERT_EQ(changes.count(), 1);
    const QModelIndex changed = changes.at(0).at(0).value<QModelIndex>();
    EXPECT_EQ(changed.row(), 6);
    EXPECT_EQ(changed.column(), 3);
}

TEST(StringGrid, TextIsWhiteOnSelectedRowsAndBlackElsewhere) {
    auto grid = MakeGrid(2, 6);
    grid->SetRangeSelect(true);
    ClickRow(*grid, 2);
    ClickRow(*grid, 3, Qt::ShiftModifier);
    EXPECT_EQ(grid->CellTextColor(1), QColor(Qt::black));
    EXPECT_EQ(grid->CellTextColor(2), QColor(Qt::white));
    EXPECT_EQ(grid->CellTextColor(3), QColor(Qt::white));
    EXPECT_EQ(grid->CellTextColor(4), QColor(Qt::black));

    for (int r = 1; r < 6; ++r)
        grid->SetCells(0, r, "WWWW");
    grid->setFocus(); // the picture is the same with or without the focus
    const QImage image = grid->viewport()->grab().toImage();
    for (int r = 1; r < 6; ++r) {
        const QRect cell = grid->visualRect(grid->model()->index(r - 1, 0));
        const InkSpan ink = Ink(image, cell, false);
        if (r == 2 || r == 3) {
            EXPECT_EQ(ink.darkPixels, 0) << "row " << r;
            EXPECT_GT(ink.whitePixels, 10) << "row " << r;
        } else {
            EXPECT_GT(ink.darkPixels, 10) << "row " << r;
        }
    }
}

TEST(StringGrid, ColumnAlignmentPlacesTheText) {
    auto grid = MakeGrid(3, 3);
    for (int c = 0; c < 3; ++c) {
        grid->SetColWidth(c, 120);
        grid->SetCells(c, 2, "88");
    }
    grid->SetColAlignment(1, 1);
    grid->SetColAlignment(2, 2);
    EXPECT_EQ(grid->ColAlignment(0), 0);
    EXPECT_EQ(grid->ColAlignment(1), 1);
    const QImage image = grid->viewport()->grab().toImage();
    const auto inkOf = [&](int col) {
        const QRect cell = grid->visualRect(grid->model()->index(1, col));
        InkSpan ink = Ink(image, cell, false);
        ink.firstInkX -= cell.left();
        ink.lastInkX -= cell.left();
        return ink;
    };
    const InkSpan left = inkOf(0), right = inkOf(1), centred = inkOf(2);
    ASSERT_GT(left.darkPixels, 0);
    EXPECT_GE(left.firstInkX, 3);
    EXPECT_LT(left.lastInkX, 40);
    EXPECT_GT(right.firstInkX, 80);
    EXPECT_LE(right.lastInkX, 120 - 3);
    const int middle = (centred.firstInkX + centred.lastInkX) / 2;
    EXPECT_NEAR(middle, 60, 3);
}
