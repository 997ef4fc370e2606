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
    for (int r = 0; r < rows.size(); ++r)
        grid->SetRowCells(r, rows.at(r).split('|').toVector());
    return grid;
}

// A white 200 x 60 picture with what draw paints on it.
template <typename F> QImage Painted(F draw) {
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter);
    return image;
}
} // namespace

TEST(FindGridRow, WholeCellsFoldOnlyAsciiLettersPartialKeepsTheCaseAndRecordsSkipTheHeader) {
    auto grid = GridOf({"id", "ABC", "ČADCA", "abc", "", "Trenčín - Žilina", "ID"});
    const auto find = [&](const QString& text, bool partial) {
        return FindGridRow(text, 0, grid.get(), partial);
    };
    // Whole cells: the first match, no part of one; partial: no empty text.
    EXPECT_EQ(QList<int>({find("ID", false), find("abc", false), find("čadca", false), find("ab", false),
                          find("", false), find("- Žil", true), find("trenčín", true), find("", true),
                          find("d", true), FindGridRecordRow("iD", 0, grid.get())}),
              QList<int>({0, 1, -1, -1, 4, 5, -1, -1, 0, 6}));
}

TEST(SetColWidths, EntriesSetColumnsFromTheFirstAndBadOnesRaiseAfterTheOnesBefore) {
    TStringGrid grid; // five columns
    const auto widths = [&] {
        QList<int> list;
        for (int col = 0; col < 5; ++col)
            list << grid.ColWidth(col);
        return list;
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
    EXPECT_EQ(QList<int>({int(resets.count()), int(changes.count())}), QList<int>({1, 0}));
    QStringList column{"old"};
    GridColumnToList(grid.get(), 1, column); // every row; the header and the last row are left alone
    EXPECT_EQ(column, QStringList({"km", formatted, formatted, "9"}));
    EXPECT_EQ(grid->Cells(2, 1) + "|" + grid->Cells(3, 1), "0,00|7"); // column 3 is not listed

    EXPECT_EQ(ErrorOf([&] { FormatNumberColumns(grid.get(), "x"); }), "'x' is not a valid integer value");
    EXPECT_EQ(resets.count(), 2);
    changes.clear();
    grid->SetCells(0, 1, "after");
    EXPECT_EQ(changes.count(), 1); // no update left open
}

TEST(DrawGridCellText, DrawsLikeTheGridInTheGivenFontAndClipsAWordToTheCell) {
    const QString text = QStringLiteral("Banská Bystrica");
    auto grid = GridOf({"", "|" + text + "|1 234 567,89"}, 3);
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

    // A right-aligned number shrinks from the given size to fit, as in the grid.
    grid->SetColWidth(2, 80);
    const QRect cell(50, 10, 79, 16);
    QFont font = grid->font();
    font.setPointSize(12);
    const QImage drawn = Painted(
        [&](QPainter& painter) { DrawGridCellText(&painter, grid.get(), 1, 2, cell, "", 12, Qt::black, 1); });
    const QImage expected = Painted([&](QPainter& painter) {
        painter.setFont(font);
        ASSERT_GT(painter.fontMetrics().horizontalAdvance(grid->Cells(2, 1)), 80);
        TStringGrid::DrawCellText(&painter, cell, grid->Cells(2, 1), 80, 1);
    });
    EXPECT_EQ(drawn, expected);
    const QImage cut = Painted([&](QPainter& painter) {
        painter.setFont(font);
        painter.setClipRect(cell);
        painter.drawText(QPoint(50 + 80 - painter.fontMetrics().horizontalAdvance(grid->Cells(2, 1)) - 3,
                                11 + painter.fontMetrics().ascent()),
                         grid->Cells(2, 1));
    });
    EXPECT_NE(drawn, cut);
}

TEST(DrawListItem, CentresTextInTallItemsAndRightAlignsByTheScrollBarMargin) {
    QWidget form;
    auto* list = new QListWidget(&form);
    list->addItems({"slovensky", "English"});
    // The item's height, the list's height, align and x; where the text stands (none at y -1).
    const auto check = [&](int item, int height, QChar align, int x, int textX, int textY) {
        list->item(1)->setSizeHint(QSize(100, item));
        list->resize(150, height);
        EXPECT_EQ(
            Painted([&](QPainter& p) { DrawListItem(list, &p, QRect(0, 20, 150, 20), align, x, 1, &form); }),
            Painted([&](QPainter& p) {
                textY < 0 ? void() : p.drawText(QPoint(textX, textY + p.fontMetrics().ascent()), "English");
            }))
            << align.toLatin1();
    };
    QImage probe(1, 1, QImage::Format_RGB32); // measures the text as the pictures draw it
    const QFontMetrics m = QPainter(&probe).fontMetrics();
    const int y = 20 + (20 - m.height()) / 2, right = 150 - m.horizontalAdvance("English") - 1 - 5;
    check(17, 200, 'L', 35, 35, 20);
    check(20, 200, 'L', 35, 35, y);
    check(20, 200, 'R', 5, right - 20, y); // two items fit in 200 pixels: a margin of 20
    check(20, 40, 'P', 5, right - 3, y);   // in 40 they do not: 3
    check(20, 40, 'X', 5, 0, -1);
}

TEST(SyncListBoxScroll, ListsWithTheSameTagFollowWhenTheirSelectionIsNotAbove) {
    QWidget form;
    QList<QListWidget*> lists;
    // The same tag and below: follows; another tag or above: stays.
    for (const auto& [tag, row] : {std::pair{1, 5}, {1, 6}, {2, 7}, {1, 2}}) {
        lists << new QListWidget(&form);
        lists.last()->setGeometry(int(lists.size()) * 100, 0, 90, 200); // the current rows in sight
        lists.last()->setProperty("Tag", tag);
        for (int k = 0; k < 40; ++k)
            lists.last()->addItem(QString::number(k));
        lists.last()->setCurrentRow(row);
    }
    form.show();
    lists[0]->scrollToItem(lists[0]->item(12), QAbstractItemView::PositionAtTop);
    SyncListBoxScroll(lists[0], &form);
    QList<int> tops;
    for (QListWidget* list : lists)
        tops << list->indexAt(QPoint(1, 1)).row();
    EXPECT_EQ(tops, QList<int>({12, 12, 0, 0}));
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
    QLabel web("www.vozopis.sk"), empty;
    OpenLink(&web);
    web.setToolTip("mailto:podpora@vozopis.sk?subject=Vozopis");
    OpenLink(&web);
    OpenLink(&empty);
    EXPECT_EQ(shell.Opened(), QStringList({"www.vozopis.sk", "mailto:podpora@vozopis.sk?subject=Vozopis"}));
    EXPECT_EQ(shell.Parameters(), QStringList({"", ""}));
}
