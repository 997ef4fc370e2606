#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "Exception.h"
#include "GridHelpers.h"
#include "StringGrid.h"
#include "TestSupport.h"

namespace {
// A grid of cols columns holding column 0 of rows as given, row 0 first.
std::unique_ptr<TStringGrid> GridOf(const QStringList& column0, int cols = 2) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(int(column0.size()));
    for (int r = 0; r < column0.size(); ++r)
        grid->SetCells(0, r, column0.at(r));
    return grid;
}

QImage BlankImage() {
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool HasInk(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qRed(image.pixel(x, y)) < 128)
                return true;
    return false;
}
} // namespace

TEST(FindGridRow, HeaderRowCountsAndOnlyAsciiLettersFold) {
    auto grid = GridOf({"id", "ABC", "ČADCA", "abc", "Žilina", ""});
    EXPECT_EQ(FindGridRow("id", 0, grid.get(), false), 0);
    EXPECT_EQ(FindGridRow("ID", 0, grid.get(), false), 0);
    EXPECT_EQ(FindGridRow("abc", 0, grid.get(), false), 1); // the first match
    EXPECT_EQ(FindGridRow("čadca", 0, grid.get(), false), -1);
    EXPECT_EQ(FindGridRow("ČAdca", 0, grid.get(), false), 2);
    EXPECT_EQ(FindGridRow("žILINA", 0, grid.get(), false), -1);
    EXPECT_EQ(FindGridRow("ab", 0, grid.get(), false), -1); // whole cell only
    EXPECT_EQ(FindGridRow("", 0, grid.get(), false), 5);
    EXPECT_EQ(FindGridRow("x", 5, grid.get(), false), -1); // no such column
}

TEST(FindGridRow, RecordSearchNeverMatchesTheHeader) {
    auto grid = GridOf({"id", "12", "ID"});
    EXPECT_EQ(FindGridRecordRow("iD", 0, grid.get()), 2);
    EXPECT_EQ(FindGridRecordRow("12", 0, grid.get()), 1);
    auto headerOnly = GridOf({QStringLiteral("IČO"), "1"});
    EXPECT_EQ(FindGridRow(QStringLiteral("IčO"), 0, headerOnly.get(), false), -1);
    EXPECT_EQ(FindGridRow(QStringLiteral("iČo"), 0, headerOnly.get(), false), 0);
    EXPECT_EQ(FindGridRecordRow(QStringLiteral("iČo"), 0, headerOnly.get()), -1);
}

TEST(FindGridRow, PartialKeepsLetterCase) {
    auto grid = GridOf({"id", "Trenčín - Žilina", "Bratislava - Trenčín"});
    EXPECT_EQ(FindGridRow("Trenčín", 0, grid.get(), true), 1);
    EXPECT_EQ(FindGridRow("- Tren", 0, grid.get(), true), 2);
    EXPECT_EQ(FindGridRow("trenčín", 0, grid.get(), true), -1);
    EXPECT_EQ(FindGridRow("", 0, grid.get(), true), -1);
    EXPECT_EQ(FindGridRow("d", 0, grid.get(), true), 0);
}

TEST(SetColWidths, EntriesSetColumnsFromTheFirstAndTheRestKeepTheirWidths) {
    TStringGrid grid;
    ASSERT_EQ(grid.ColCount(), 5);
    for (int c = 0; c < 5; ++c)
        grid.SetColWidth(c, 50);
    SetColWidths(&grid, "30;310;134", false);
    EXPECT_EQ(grid.ColWidth(0), 30);
    EXPECT_EQ(grid.ColWidth(1), 310);
    EXPECT_EQ(grid.ColWidth(2), 134);
    EXPECT_EQ(grid.ColWidth(3), 50);
    EXPECT_EQ(grid.ColWidth(4), 50);
    EXPECT_EQ(grid.columnWidth(1), 310);

    // A trailing ';' adds no entry: five widths and ';' fit five columns.
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "1;2;3;4;5;", false); }), "<no error>");
    EXPECT_EQ(grid.ColWidth(4), 5);

    SetColWidths(&grid, "", false);
    EXPECT_EQ(grid.ColWidth(0), 1);

    SetColWidths(&grid, "40;7", true);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid.ColWidth(c), 40);
}

TEST(SetColWidths, BadEntriesRaiseAfterTheEntriesBeforeThem) {
    TStringGrid grid;
    grid.SetColCount(3);
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "30;;134", false); }), "'' is not a valid integer value");
    EXPECT_EQ(grid.ColWidth(0), 30);
    EXPECT_EQ(grid.ColWidth(2), TStringGrid::DefaultColWidth);
    EXPECT_THROW(SetColWidths(&grid, "30;1x", false), EConvertError);
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "31;2.5", false); }), "'2.5' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "a", true); }), "'a' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "10;20;30;40", false); }), "Grid index out of range");
    EXPECT_EQ(grid.ColWidth(2), 30);
}

TEST(FormatNumberColumns, RewritesTheRecordRowsOnly) {
    TStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(3); // header, one record, the empty last row
    grid.SetCells(1, 0, "km");
    grid.SetCells(1, 1, "1234.5");
    grid.SetCells(2, 1, "");
    grid.SetCells(3, 1, "7");
    grid.SetCells(1, 2, "9");
    FormatNumberColumns(&grid, "1;2;");
    EXPECT_EQ(grid.Cells(1, 0), "km");
    EXPECT_EQ(grid.Cells(1, 1), QString("1") + QChar(0x00A0) + "234,50");
    EXPECT_EQ(grid.Cells(2, 1), "0,00");
    EXPECT_EQ(grid.Cells(3, 1), "7");
    EXPECT_EQ(grid.Cells(1, 2), "9");

    // Already formatted cells stay as they are.
    FormatNumberColumns(&grid, "1");
    EXPECT_EQ(grid.Cells(1, 1), QString("1") + QChar(0x00A0) + "234,50");

    grid.SetRowCount(2);
    grid.SetCells(1, 1, "5");
    FormatNumberColumns(&grid, "1");
    EXPECT_EQ(grid.Cells(1, 1), "5");
}

TEST(FormatNumberColumns, IsOneRefreshAndLeavesTheGridUsableAfterAnError) {
    TStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(5);
    for (int r = 1; r < 4; ++r)
        grid.SetCells(1, r, QString::number(r));
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(grid.model(), &QAbstractItemModel::dataChanged);
    FormatNumberColumns(&grid, "1");
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(grid.Cells(1, 3), "3,00");

    grid.SetCells(1, 2, "abc,d");
    EXPECT_THROW(FormatNumberColumns(&grid, "1"), EConvertError);
    EXPECT_EQ(ErrorOf([&] { FormatNumberColumns(&grid, "x"); }), "'x' is not a valid integer value");
    EXPECT_EQ(resets.count(), 3);
    changes.clear();
    grid.SetCells(0, 1, "after");
    EXPECT_EQ(changes.count(), 1); // no update left open
}

TEST(GridColumnToList, CopiesEveryRowHeaderFirst) {
    auto grid = GridOf({"id", "7", "", "12"});
    QStringList list{"old"};
    GridColumnToList(grid.get(), 0, list);
    EXPECT_EQ(list, QStringList({"id", "7", "", "12"}));
    GridColumnToList(grid.get(), 1, list);
    EXPECT_EQ(list, QStringList({"", "", "", ""}));
}

TEST(DrawGridCellText, DrawsLikeTheGridInTheGivenFontAndClipsToTheCell) {
    TStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetColWidth(1, 40);
    grid.SetCells(1, 1, "1 234 567,89");
    const QRect rect(50, 10, 39, 16);

    for (const int align : {0, 1, 2}) {
        QImage drawn = BlankImage();
        {
            QPainter painter(&drawn);
            painter.setBrush(QColor(200, 220, 255));
            DrawGridCellText(&painter, &grid, 1, 1, rect, "", 12, Qt::black, align);
        }
        QImage expected = BlankImage();
        {
            QPainter painter(&expected);
            painter.fillRect(rect, QColor(200, 220, 255));
            QFont font = grid.font();
            font.setPointSize(12);
            painter.setFont(font);
            painter.setClipRect(rect);
            const int width = painter.fontMetrics().horizontalAdvance("1 234 567,89");
            ASSERT_GT(width, 40); // wider than the column
            const int x = align == 0 ? 53 : align == 1 ? 50 + 40 - width - 3 : 50 + (40 - width) / 2;
            painter.drawText(QPoint(x, 11 + painter.fontMetrics().ascent()), "1 234 567,89");
        }
        EXPECT_EQ(drawn, expected) << "align " << align;
        EXPECT_TRUE(HasInk(drawn, rect));
        EXPECT_FALSE(HasInk(drawn, QRect(0, 0, 50, 60)));
        EXPECT_FALSE(HasInk(drawn, QRect(90, 0, 110, 60)));
    }

    QImage empty = BlankImage();
    {
        QPainter painter(&empty);
        painter.setBrush(Qt::red);
        DrawGridCellText(&painter, &grid, 1, 1, rect, "", 0, Qt::black, 3);
    }
    QImage filled = BlankImage();
    {
        QPainter painter(&filled);
        painter.fillRect(rect, Qt::red);
    }
    EXPECT_EQ(empty, filled);
}

TEST(DrawListItem, CentresTextInTallItemsAndRightAlignsByTheScrollBarMargin) {
    QWidget form;
    auto* list = new QListWidget(&form);
    list->setProperty("Tag", 3);
    list->addItems({"slovensky", "English"});
    list->resize(150, 200);
    const QRect rect(0, 20, 150, 20);

    const auto draw = [&](QChar align, int x) {
        QImage image = BlankImage();
        QPainter painter(&image);
        painter.setBrush(Qt::white);
        DrawListItem(list, &painter, rect, align, x, 1, &form);
        return image;
    };
    const auto expect = [&](int x, int y) {
        QImage image = BlankImage();
        QPainter painter(&image);
        painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), "English");
        return image;
    };
    int textHeight = 0, textWidth = 0;
    {
        QImage image = BlankImage();
        QPainter painter(&image);
        textHeight = painter.fontMetrics().height();
        textWidth = painter.fontMetrics().horizontalAdvance("English");
    }

    list->item(1)->setSizeHint(QSize(100, 17));
    EXPECT_EQ(draw('L', 35), expect(35, 20));
    list->item(1)->setSizeHint(QSize(100, 20));
    EXPECT_EQ(draw('L', 35), expect(35, 20 + (20 - textHeight) / 2));

    // Two items fit in 200 pixels: a margin of 20; twelve do not: 3.
    EXPECT_EQ(draw('R', 5), expect(150 - textWidth - 1 - 20 - 5, 20 + (20 - textHeight) / 2));
    list->addItems({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(100, 20));
    EXPECT_EQ(draw('P', 5), expect(150 - textWidth - 1 - 3 - 5, 20 + (20 - textHeight) / 2));
    EXPECT_EQ(draw('X', 5), BlankImage());
}

TEST(SyncListBoxScroll, ListsWithTheSameTagFollowWhenTheirSelectionIsNotAbove) {
    QWidget form;
    form.resize(400, 120);
    QListWidget* lists[4];
    const int tags[4] = {1, 1, 2, 1};
    for (int i = 0; i < 4; ++i) {
        lists[i] = new QListWidget(&form);
        lists[i]->setGeometry(i * 100, 0, 90, 100);
        lists[i]->setProperty("Tag", tags[i]);
        for (int k = 0; k < 40; ++k)
            lists[i]->addItem(QString::number(k));
    }
    form.show();
    lists[0]->setCurrentRow(5);
    lists[1]->setCurrentRow(7); // same tag, selection below: follows
    lists[2]->setCurrentRow(9); // other tag: stays
    lists[3]->setCurrentRow(2); // selection above: stays
    lists[0]->scrollToItem(lists[0]->item(12), QAbstractItemView::PositionAtTop);
    const auto top = [](QListWidget* list) { return list->indexAt(QPoint(1, 1)).row(); };
    ASSERT_EQ(top(lists[0]), 12);
    const int otherTop = top(lists[2]);
    ASSERT_NE(otherTop, 12);

    SyncListBoxScroll(lists[0], &form);
    EXPECT_EQ(top(lists[0]), 12);
    EXPECT_EQ(top(lists[1]), 12);
    EXPECT_EQ(top(lists[2]), otherTop);
    EXPECT_EQ(top(lists[3]), 0);
}

TEST(RepaintControlArea, TheParentPaintsTheControlsAreaAtOnce) {
    struct Parent : QWidget {
        QRegion painted;
        void paintEvent(QPaintEvent* event) override { painted += event->region(); }
    } parent;
    parent.resize(300, 200);
    auto* control = new QLabel("x", &parent);
    control->setGeometry(40, 50, 100, 20);
    parent.show();
    QCoreApplication::processEvents();
    parent.painted = QRegion();
    RepaintControlArea(control);
    EXPECT_TRUE(parent.painted.contains(QRect(40, 50, 100, 20)));
    EXPECT_FALSE(parent.painted.contains(QPoint(10, 10)));
}

TEST(OpenLink, OpensTheHintBeforeTheCaption) {
    ShellRecorder shell;
    QLabel web("www.vozopis.sk");
    OpenLink(&web);
    web.setToolTip("mailto:podpora@vozopis.sk?subject=Vozopis");
    OpenLink(&web);
    QLabel empty;
    OpenLink(&empty);
    EXPECT_EQ(shell.Opened(), QStringList({"www.vozopis.sk", "mailto:podpora@vozopis.sk?subject=Vozopis"}));
    EXPECT_EQ(shell.Parameters(), QStringList({"", ""}));
}
