#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
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

QPoint RowPoint(const TStringGrid& grid, int row, int col = 0) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

// Dark and white pixels of a rect of the image, and the columns (from its left) of the dark ink.
struct Ink {
    int dark = 0, white = 0, first = 9999, last = -1, bottom = -1;
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
                ink.bottom = y;
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
    EXPECT_EQ(QStringList({grid.Cells(2, 3), grid.Cells(3, 5)}), QStringList({"čerpané", ""}));
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
    EXPECT_EQ(QStringList({grid.Cells(2, 3), grid.Cells(1, 1)}), QStringList({"", "x"}));
    grid.SetRowCount(0);
    grid.SetColCount(0);
    EXPECT_EQ(QList<int>({grid.ColCount(), grid.RowCount(), grid.model()->rowCount()}),
              QList<int>({1, 1, 0}));
    EXPECT_EQ(grid.Cells(0, 0), "id");
}

TEST(StringGrid, RowZeroIsTheHeaderOfTheRecordRows) {
    auto grid = MakeGrid(3, 4);
    QAbstractItemModel* model = grid->model();
    QSignalSpy header(model, &QAbstractItemModel::headerDataChanged);
    grid->SetCells(1, 0, "názov");
    ASSERT_EQ(header.count(), 1);
    EXPECT_EQ(QStringList({model->index(0, 2).data().toString(), header.at(0).at(1).toString(),
                           model->headerData(1, Qt::Horizontal).toString()}),
              QStringList({"2:1", "1", "názov"}));
    EXPECT_EQ(std::make_pair(grid->horizontalHeader()->height(), grid->rowHeight(1)), std::make_pair(17, 17));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    // The header is painted flat in the header colour (#A7C0FC), away from its text.
    EXPECT_EQ(QColor(grid->horizontalHeader()->grab().toImage().pixel(50, 8)), QColor(0xA7, 0xC0, 0xFC));
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
    EXPECT_EQ(QList<int>({grid->columnWidth(0), grid->columnWidth(2), grid->columnWidth(3)}),
              QList<int>({25, 150, TStringGrid::DefaultColWidth}));

    grid->SetCells(3, 7, "x"); // a single write afterwards reports just its cell
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<QModelIndex>(), model->index(6, 3));

    // A row's first cells at once; the rest of the row keeps its texts, cells past the columns go.
    grid->SetRowCells(2, {"a", "b"});
    grid->SetRowCells(3, QVector<QString>(13, "c"));
    EXPECT_EQ(grid->Cells(0, 2) + grid->Cells(2, 2) + grid->Cells(11, 3), "a26c");
    grid->SetRowCount(3); // many rows dropped at once
    QStringList row;
    for (int col = 0; col < 12; ++col)
        row << grid->Cells(col, 2);
    EXPECT_EQ(row.join('|'), "a|b|26|27|28|29|30|31|32|33|34|35");
    EXPECT_THROW(grid->SetRowCells(3, {}), Exception);
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
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(QStringList(keys.mid(0, 2)) << keys.last(), QStringList({"Del@2", "Down@2", "Shift+Del@3"}));
    QTest::keyClick(grid.get(), Qt::Key_0); // typing does not jump to a row starting with it ("0:4")
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

// Each record row as painted: 'w' white text on a selected row's highlight, 'b' black text on an
// unselected row, '?' when the text colour, the selection and the picture disagree (white on white);
// then the current row and the selected rows: "bwbb 2:2-2".
QString RowsPainted(const TStringGrid& grid) {
    const QImage image = grid.viewport()->grab().toImage();
    QString rows;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, 0));
        const Ink ink = InkIn(image, cell);
        const bool white = grid.CellTextColor(row) == QColor(Qt::white), inked = ink.dark > 10;
        const bool agree = white == grid.selectionModel()->isRowSelected(row - 1, QModelIndex()) &&
                           inked != white && (inked || ink.white < cell.width() * cell.height() / 2);
        rows += !agree ? '?' : white ? 'w' : 'b';
    }
    const TGridRect sel = grid.Selection();
    return rows + QString(" %1:%2-%3").arg(grid.Row()).arg(sel.Top).arg(sel.Bottom);
}

TEST(StringGrid, CurrentRowAndSelectionAsPaintedAndTheCurrentRowStaysWhateverTheMouseClicks) {
    auto grid = MakeGrid(3, 6);
    QStringList seen{RowsPainted(*grid)};
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint below(10, grid->viewport()->height() - 5); // row 0: below the last row
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, row ? RowPoint(*grid, row) : below);
        seen << RowsPainted(*grid);
    };
    grid->SetRangeSelect(true); // picks neighbouring rows, upwards too; a click picks one
    click(2);
    click(4, Qt::ShiftModifier);
    click(1, Qt::ShiftModifier);
    click(3);
    click(0);
    click(3, Qt::ControlModifier); // Ctrl+click on the selected row
    grid->SetRangeSelect(false);
    click(2);
    click(0);
    click(2, Qt::ControlModifier);
    grid->setFocus(); // the picture is the same with or without the focus
    click(5, Qt::ShiftModifier);
    // The current row stays in range across a refill; with only the header left there is none.
    grid->BeginUpdate();
    grid->SetRowCount(4);
    grid->EndUpdate();
    seen << RowsPainted(*grid);
    grid->SetRowCount(1);
    seen << RowsPainted(*grid);
    grid->SetRowCount(3);
    seen << RowsPainted(*grid).section(' ', 1); // the new rows are empty
    EXPECT_EQ(seen, QStringList({"wbbbb 1:1-1", "bwbbb 2:2-2", "bwwwb 4:2-4", "wwbbb 1:1-2", "bbwbb 3:3-3",
                                 "bbwbb 3:3-3", "bbwbb 3:3-3", "bwbbb 2:2-2", "bwbbb 2:2-2", "bwbbb 2:2-2",
                                 "bbbbw 5:5-5", "bbw 3:3-3", " -1:-1--1", "1:1-1"}));
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
    // The middle of the ink per column of row 2 (not selected), then of the header: left, right or
    // centred (the exact places are the cell drawing's own test).
    QString placed;
    for (const bool inHeader : {false, true})
        for (int col = 0; col < 3; ++col) {
            const Ink ink =
                inHeader
                    ? InkIn(captions, QRect(header->sectionViewportPosition(col), 0, 120, header->height()))
                    : InkIn(cells, grid->visualRect(grid->model()->index(1, col)));
            const int mid = (ink.first + ink.last) / 2;
            placed += !ink.dark ? '-' : mid < 30 ? 'L' : mid > 90 ? 'R' : std::abs(mid - 60) <= 3 ? 'C' : '?';
        }
    EXPECT_EQ(placed, "LRCLRC");
}

namespace {
// The program's grid font.
QFont GridFont(int pixels = 11) {
    QFont font("Tahoma");
    font.setPixelSize(pixels);
    return font;
}

// A number as the grids show it, groups parted by no-break spaces.
QString Shown(QString number) {
    return number.replace(' ', QChar(0x00A0));
}

// Dark pixels in each pixel column of rect, from its first inked column to its last.
QVector<int> InkProfile(const QImage& image, const QRect& rect) {
    QVector<int> profile(rect.width());
    for (int x = 0; x < rect.width(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            profile[x] += image.pixelColor(rect.left() + x, y).value() < 128;
    const auto inked = [](int dark) { return dark > 0; };
    const auto first = std::find_if(profile.begin(), profile.end(), inked);
    const auto last = std::find_if(profile.rbegin(), profile.rend(), inked).base();
    return first < last ? QVector<int>(first, last) : QVector<int>();
}

// The profile of text drawn whole in font, black on white.
QVector<int> TextProfile(const QString& text, const QFont& font) {
    QImage image(600, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QPoint(10, 25), text);
    painter.end();
    return InkProfile(image, image.rect());
}
} // namespace

TEST(StringGrid, OnlyARightAlignedNumberTooWideForItsCellGetsASmallerFontThatItFitsIn) {
    TStringGrid grid;
    const QPaintDevice* device = grid.viewport();
    const QString route = Shown("400 000 000 000 000,00"), town = QStringLiteral("Bratislava - Košice");
    const int routeWidth = QFontMetrics(GridFont(), device).horizontalAdvance(route);
    struct Case {
        QString text;
        int colWidth, align, pixels;
    };
    const Case cases[] = {
        {route, routeWidth + 6, 1, 11}, // fits between the margins of 3 just so
        {route, routeWidth + 5, 1, 10}, // a pixel short
        {route, 40, 1, 7},              // not below the smallest size
        {town, routeWidth / 2, 1, 11},  // a text is not shrunk
        {route, routeWidth + 5, 2, 11}, // nor a centred or a left number
        {route, routeWidth + 5, 0, 11},
        {"-,-,-,-,", 12, 1, 11}, // no digit, no number
    };
    for (const Case& c : cases)
        EXPECT_EQ(TStringGrid::CellFont(GridFont(), c.text, c.colWidth, c.align, device).pixelSize(),
                  c.pixels)
            << c.text.toStdString() << " in " << c.colWidth;
    // A font sized in points keeps to points, as few as make 7 pixels.
    QFont points("Tahoma");
    points.setPointSize(9);
    EXPECT_DOUBLE_EQ(TStringGrid::CellFont(points, route, 40, 1, device).pointSizeF(),
                     7 * 72.0 / device->logicalDpiY());
}

TEST(StringGrid, ARightAlignedNumberIsDrawnWholeWithItsSignAndAtFullSizeOnceItsColumnIsWidened) {
    TStringGrid grid;
    grid.setFont(GridFont());
    grid.SetColCount(2);
    grid.SetRowCount(4);
    const QString price = Shown("-999 999 999 999 999,00"), town = QStringLiteral("Bratislava - Košice");
    grid.SetRowCells(2, {price, town}); // rows 2 and 3 are not selected: black on white
    grid.SetRowCells(3, {"12345678901234567890", "5"});
    grid.SetColAlignment(0, 1);
    grid.SetColAlignment(1, 1);
    const int full = QFontMetrics(GridFont(), grid.viewport()).horizontalAdvance(price);
    grid.SetColWidth(0, QFontMetrics(GridFont(9), grid.viewport()).horizontalAdvance(price) + 6);
    grid.SetColWidth(1, 60);
    grid.resize(600, 200);
    grid.show();
    const auto cell = [&](int col, int row = 2) {
        return grid.visualRect(grid.model()->index(row - 1, col));
    };
    const auto painted = [&](int col) { return InkProfile(grid.viewport()->grab().toImage(), cell(col)); };
    const auto firstInk = [&](int col) { return InkIn(grid.viewport()->grab().toImage(), cell(col)).first; };

    // The whole number at the size it fits in, with room left of the sign.
    int drawnAt = 0;
    for (int pixels = 7; pixels <= 11; ++pixels)
        if (painted(0) == TextProfile(price, GridFont(pixels)))
            drawnAt = pixels;
    EXPECT_EQ(drawnAt, 9);
    EXPECT_GE(firstInk(0), 2);
    // Smaller digits stand on the line of the others in the row.
    const QImage digits = grid.viewport()->grab().toImage();
    EXPECT_EQ(InkIn(digits, cell(0, 3)).bottom, InkIn(digits, cell(1, 3)).bottom);
    // A town is cut at the cell's left as before.
    EXPECT_LE(firstInk(1), 1);
    EXPECT_NE(painted(1), TextProfile(town, GridFont()));

    // Widened with the mouse: the normal size once it fits.
    grid.horizontalHeader()->resizeSection(0, full + 6);
    EXPECT_EQ(painted(0), TextProfile(price, GridFont()));

    // Too narrow even for the smallest size: the sign and the leading digits, then "…".
    grid.horizontalHeader()->resizeSection(0, 50);
    const QVector<int> leading = painted(0), whole = TextProfile(price, GridFont(7));
    EXPECT_GE(firstInk(0), 2);
    ASSERT_GT(leading.size(), 20);
    EXPECT_EQ(leading.mid(0, 20), whole.mid(0, 20));
    EXPECT_LE(leading.size(), 50 - 5);

    // The tool tip shows a cut number whole; a number shown whole and a cut town have none.
    QStringList tips;
    for (const auto& [width, col] : {std::pair(50, 0), std::pair(full + 6, 0), std::pair(50, 1)}) {
        grid.horizontalHeader()->resizeSection(col, width);
        const QPoint at = cell(col).center();
        QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.viewport(), &help);
        tips << (QToolTip::isVisible() ? QToolTip::text() : QString("-"));
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    }
    EXPECT_EQ(tips, QStringList({price, "-", "-"}));
}
