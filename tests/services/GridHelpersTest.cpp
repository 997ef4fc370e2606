#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

#include "GridHelpers.h"
#include "StringGrid.h"
#include "TestSupport.h"

namespace {
// A grid of cols columns whose rows, row 0 first, hold the given cells separated by '|'.
std::unique_ptr<TStringGrid> GridOf(const QStringList& rows, int cols = 2) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows.at(r).split('|');
        for (int c = 0; c < cells.size(); ++c)
            grid->SetCells(c, r, cells.at(c));
    }
    return grid;
}

// A white 200 x 60 picture with what draw paints on it.
template <typename F> QImage Painted(F draw) {
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    return image;
}
} // namespace

TEST(FindGridRow, WholeCellsFoldOnlyAsciiLettersPartialKeepsTheCaseAndRecordsSkipTheHeader) {
    auto grid = GridOf({"id", "ABC", "ČADCA", "abc", "", "Trenčín - Žilina", "ID"});
    EXPECT_EQ(FindGridRow("ID", 0, grid.get(), false), 0);
    EXPECT_EQ(FindGridRow("abc", 0, grid.get(), false), 1); // the first match
    EXPECT_EQ(FindGridRow("čadca", 0, grid.get(), false), -1);
    EXPECT_EQ(FindGridRow("ab", 0, grid.get(), false), -1); // whole cell only
    EXPECT_EQ(FindGridRow("", 0, grid.get(), false), 4);
    EXPECT_EQ(FindGridRow("- Žil", 0, grid.get(), true), 5);
    EXPECT_EQ(FindGridRow("trenčín", 0, grid.get(), true), -1);
    EXPECT_EQ(FindGridRow("", 0, grid.get(), true), -1);
    EXPECT_EQ(FindGridRow("d", 0, grid.get(), true), 0);
    EXPECT_EQ(FindGridRecordRow("iD", 0, grid.get()), 6);
}

TEST(SetColWidths, EntriesSetColumnsFromTheFirstAndBadOnesRaiseAfterTheOnesBefore) {
    TStringGrid grid; // five columns
    const auto widths = [&] {
        return QList<int>{grid.ColWidth(0), grid.ColWidth(1), grid.ColWidth(2), grid.ColWidth(3),
                          grid.ColWidth(4)};
    };
    SetColWidths(&grid, "30;310;134", false);
    EXPECT_EQ(widths(), QList<int>({30, 310, 134, 64, 64})); // columns past the last entry are kept
    SetColWidths(&grid, "1;2;3;4;5;", false);                // a trailing ';' adds no entry
    SetColWidths(&grid, "", false);
    EXPECT_EQ(widths(), QList<int>({1, 2, 3, 4, 5}));
    SetColWidths(&grid, "40;7", true);
    EXPECT_EQ(widths(), QList<int>({40, 40, 40, 40, 40}));

    grid.SetColCount(3);
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "30;;134", false); }), "'' is not a valid integer value");
    EXPECT_EQ(widths(), QList<int>({30, 40, 40, 0, 0}));
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "31;2.5", false); }), "'2.5' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "a", true); }), "'a' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { SetColWidths(&grid, "10;20;30;40", false); }), "Grid index out of range");
    EXPECT_EQ(widths(), QList<int>({10, 20, 30, 0, 0}));
}

TEST(FormatNumberColumns, RewritesTheRecordRowsOnlyInOneRefreshAndLeavesTheGridUsableAfterAnError) {
    const QString formatted = QString("1") + QChar(0x00A0) + "234,50";
    auto grid = GridOf({"|km", "|1234.5||7", "|" + formatted, "|9"}, 4); // header, two records, last row
    QSignalSpy resets(grid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(grid->model(), &QAbstractItemModel::dataChanged);
    FormatNumberColumns(grid.get(), "1;2;");
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    QStringList column{"old"};
    GridColumnToList(grid.get(), 1, column); // every row; the header and the last row are left alone
    EXPECT_EQ(column, QStringList({"km", formatted, formatted, "9"}));
    EXPECT_EQ(grid->Cells(2, 1), "0,00");
    EXPECT_EQ(grid->Cells(3, 1), "7"); // not listed

    EXPECT_EQ(ErrorOf([&] { FormatNumberColumns(grid.get(), "x"); }), "'x' is not a valid integer value");
    EXPECT_EQ(resets.count(), 2);
    changes.clear();
    grid->SetCells(0, 1, "after");
    EXPECT_EQ(changes.count(), 1); // no update left open
}

TEST(DrawGridCellText, DrawsLikeTheGridInTheGivenFontAndClipsToTheCell) {
    const QString text = "1 234 567,89";
    auto grid = GridOf({"", "|" + text});
    grid->SetColWidth(1, 40);
    const QRect rect(50, 10, 39, 16);
    for (const int align : {0, 1, 2, 3}) {
        const QImage drawn = Painted([&](QPainter& painter) {
            painter.setBrush(QColor(200, 220, 255));
            DrawGridCellText(&painter, grid.get(), 1, 1, rect, "", 12, Qt::black, align);
        });
        const QImage expected = Painted([&](QPainter& painter) {
            painter.fillRect(rect, QColor(200, 220, 255));
            QFont font = grid->font();
            font.setPointSize(12);
            painter.setFont(font);
            painter.setClipRect(rect);
            const int width = painter.fontMetrics().horizontalAdvance(text);
            ASSERT_GT(width, 40); // wider than the column
            const int x = align == 0 ? 53 : align == 1 ? 50 + 40 - width - 3 : 50 + (40 - width) / 2;
            if (align < 3) // any other align leaves the cell empty
                painter.drawText(QPoint(x, 11 + painter.fontMetrics().ascent()), text);
        });
        EXPECT_EQ(drawn, expected) << "align " << align;
    }
}

TEST(DrawListItem, CentresTextInTallItemsAndRightAlignsByTheScrollBarMargin) {
    QWidget form;
    auto* list = new QListWidget(&form);
    list->addItems({"slovensky", "English"});
    list->resize(150, 200);
    const auto draw = [&](QChar align, int x) {
        return Painted(
            [&](QPainter& p) { DrawListItem(list, &p, QRect(0, 20, 150, 20), align, x, 1, &form); });
    };
    int textHeight = 0, textWidth = 0;
    const auto text = [&](int x, int y) {
        return Painted([&](QPainter& painter) {
            textHeight = painter.fontMetrics().height();
            textWidth = painter.fontMetrics().horizontalAdvance("English");
            painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), "English");
        });
    };
    text(0, 0); // measures the text

    list->item(1)->setSizeHint(QSize(100, 17));
    EXPECT_EQ(draw('L', 35), text(35, 20));
    list->item(1)->setSizeHint(QSize(100, 20));
    const int y = 20 + (20 - textHeight) / 2;
    EXPECT_EQ(draw('L', 35), text(35, y));
    // Two items fit in 200 pixels: a margin of 20; in 40 they do not: 3.
    EXPECT_EQ(draw('R', 5), text(150 - textWidth - 1 - 20 - 5, y));
    list->resize(150, 40);
    EXPECT_EQ(draw('P', 5), text(150 - textWidth - 1 - 3 - 5, y));
    EXPECT_EQ(draw('X', 5), Painted([](QPainter&) {}));
}

TEST(SyncListBoxScroll, ListsWithTheSameTagFollowWhenTheirSelectionIsNotAbove) {
    QWidget form;
    QListWidget* lists[4];
    const int tags[4] = {1, 1, 2, 1};
    const int rows[4] = {5, 6, 7, 2}; // the same tag and below: follows; another tag or above: stays
    for (int i = 0; i < 4; ++i) {
        lists[i] = new QListWidget(&form);
        lists[i]->setGeometry(i * 100, 0, 90, 200); // the current rows in sight
        lists[i]->setProperty("Tag", tags[i]);
        for (int k = 0; k < 40; ++k)
            lists[i]->addItem(QString::number(k));
        lists[i]->setCurrentRow(rows[i]);
    }
    form.show();
    lists[0]->scrollToItem(lists[0]->item(12), QAbstractItemView::PositionAtTop);
    const auto top = [](QListWidget* list) { return list->indexAt(QPoint(1, 1)).row(); };
    SyncListBoxScroll(lists[0], &form);
    EXPECT_EQ(top(lists[1]), 12);
    EXPECT_EQ(top(lists[2]), 0);
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
