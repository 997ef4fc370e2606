#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>

#include "FaultHelpers.h"
#include "PdfText.h"
#include "Printing.h"
#include "StringGrid.h"
#include "TestSupport.h"
#include "ToolkitTranslation.h"

namespace {

// One document on the program's printer, with fixed margins so that page breaks do not depend on the
// PDF engine's printable area.
void PrintDocument(const std::function<void()>& draw) {
    EXPECT_TRUE(ExecutePrintDialog(Printer().Device()));
    InitPrinterMetricsPortrait();
    PrintMarginBottom = 5;
    PrintMarginRight = 10;
    SetPrintFontStyle(false);
    SetPrintFontSize(7);
    TPrintDocument document(Printer());
    draw();
    document.End();
}

// A grid of cols columns: header "h0".."hN", then rows of "r<row>c<col>", then the empty last row.
std::unique_ptr<TStringGrid> Grid(int cols, int records) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(records + 2);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r <= records; ++r)
            grid->SetCells(c, r, r == 0 ? QString("h%1").arg(c) : QString("r%1c%2").arg(r).arg(c));
    return grid;
}

// Prints grid as a table from y = 23, margin 5 and rows of 4 mm; y is left at the table's end.
PdfText PrintedGrid(TStringGrid& grid, int& y, const QString& widths, const QString& aligns,
                    const QString& footer = "", int limit = 295) {
    PdfPrinterAnswer answer;
    y = 23;
    PrintDocument([&] { PrintGrid(&grid, 7, y, 5, 4, widths, aligns, footer, limit); });
    return answer.Read();
}

// The extent of the dark pixels within a millimetre area of a page rendered at 10 pixels per mm.
QRectF Ink(const QImage& page, const QRectF& mm) {
    QRectF ink;
    for (int y = int(mm.top() * 10); y < int(mm.bottom() * 10); ++y)
        for (int x = int(mm.left() * 10); x < int(mm.right() * 10); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRectF(x / 10.0, y / 10.0, 0.1, 0.1);
    return ink;
}
} // namespace

TEST(PrinterMetrics, CapabilitiesGiveMillimetresFromTheSheetCornerWithA298MmSheet) {
    // A 600 dpi laser printer with its unprintable strips, A4 portrait, then landscape.
    SetPrinterMetrics({600, 600, 100, 100, 4760, 6779});
    EXPECT_EQ(PrintMarginBottom, 7) << "298 - (6779 + 100) / 23.622 = 6.79";
    EXPECT_EQ(PrintMarginRight, 4) << "210 - (4760 + 100) / 23.622 = 4.26";
    EXPECT_EQ(MmToPxX(10), 136) << "10 x 23.622 - 100";
    SetPrinterMetrics({600, 300, 100, 50, 6779, 2380});
    EXPECT_EQ(PrintMarginBottom, 92) << "margins count with 298 x 210 in landscape too";
    EXPECT_EQ(PrintMarginRight, 81);
    EXPECT_EQ(MmToPxY(20), 186) << "20 x 11.811 - 50";
}

TEST(DrawTextIn, AlignsWrapsBreaksAndClipsInItsBoxAndRectanglesLieOnTheirMillimetres) {
    PdfPrinterAnswer answer;
    PrintDocument([&] {
        // Boxes from 20 to 80 mm, one under the other; "B" keeps the text at the top.
        const QStringList aligns = {"L", "C", "R", "P", "X", "", "RB"};
        for (int i = 0; i < aligns.size(); ++i)
            DrawTextIn(20, 10 + 10 * i, 80, 20 + 10 * i, aligns[i], "a" + QString::number(i));
        DrawTextIn(100, 10, 130, 40, "L", "slovo slovo slovo slovo slovo slovo");
        DrawTextIn(100, 50, 190, 60, "L", QStringLiteral("Evidencia áut\rAlfa\r\nBeta\nGama"));
        DrawTextIn(20, 120, 40, 124, "L", "Neprerusitelneslovopresahujuceokraj a dalsie riadky pod nim");
        DrawRectMm(100, 200, 150, 230);
    });
    const PdfText pdf = answer.Read();
    ExpectAt(pdf, "a0 L 20 10 80|a1 C 20 20 80|a2 R 20 30 80|a3 R 20 40 80|a4 L 20 50 80|a5 L 20 60 80|"
                  "a6 R 20 70 80");
    // CR, CR LF and LF each start a line.
    const double line = pdf.Nearest("Alfa").top - pdf.Nearest("Evidencia").top;
    ExpectAt(pdf, QString("Alfa L 100 %1 190|Gama L 100 %2 190").arg(50 + line).arg(50 + 3 * line));

    QTemporaryDir dir;
    QProcess::execute("pdftoppm", {"-r", "254", "-gray", "-png", "-f", "1", "-l", "1", "-singlefile",
                                   answer.file, dir.filePath("page")});
    const QImage page(dir.filePath("page.png"));
    const QRectF wrapped = Ink(page, {95, 5, 45, 40}), cut = Ink(page, {15, 115, 50, 15});
    EXPECT_TRUE(wrapped.left() > 99.8 && wrapped.right() < 130.2 && wrapped.height() > 3.5)
        << "on two lines in 100-130";
    // The long word shows up to the box's edge; the rest and the lines below are cut.
    EXPECT_TRUE(cut.left() < 21 && cut.right() > 39 && cut.right() < 40.2 && cut.bottom() < 124.2);
    EXPECT_EQ(Ink(page, {95, 195, 60, 40}).toRect(), QRect(100, 200, 50, 30)) << "the frame";
    EXPECT_TRUE(Ink(page, {101, 201, 48, 28}).isNull()) << "nothing inside the frame";
}

TEST(PrintGrid, BoxesFromY23WithMargin5AndALongTableBreaksWithTheHeaderRepeatedAndAFooter) {
    // The header alone: its box from 23 to 33, the text at the top; columns 8-14, 17-41, 44-61.
    int y;
    PdfText pdf = PrintedGrid(*Grid(3, 0), y, "7;25;18", "R;L;C");
    EXPECT_EQ(y, 33);
    ExpectAt(pdf, "h0 R 8 23 14|h1 L 17 23 41|h2 C 44 23 61");

    // Missing widths are the screen width / 4 (20 and 10 mm); empty and missing alignments centre.
    auto grid = Grid(4, 1);
    grid->SetColWidth(2, 80);
    grid->SetColWidth(3, 43);
    pdf = PrintedGrid(*grid, y, "10;20", "R;;", "", 0);
    ExpectAt(pdf, "r1c0 R 8 30 17|r1c1 C 20 30 39|r1c2 C 42 30 61|r1c3 C 64 30 73");
    EXPECT_EQ(y, 34);
    EXPECT_FALSE(Printer().Font().bold()) << "the header's bold ends with it";

    // Limit 295 - 5 - 10 = 280: rows 1-62 on page 1, then the header at 19; the footer at 295 - 5.
    pdf = PrintedGrid(*Grid(2, 70), y, "7;25", "R;L", "Vozopis", 0);
    ASSERT_EQ(pdf.pages.size(), 2);
    ExpectAt(pdf, "r62c1 L 17 274 41|h1 L 17 19 41|r63c1 L 17 26 41|r70c1 L 17 54 41|Vozopis L 10 285 200|"
                  "str.1 R 191 287 200|str.2 R 191 287 200");
    const PdfWord footer = pdf.Nearest("str.1"), row = pdf.Nearest("r1c1");
    EXPECT_LT(footer.bottom - footer.top, row.bottom - row.top - 0.1) << "the footer in 6 points";
    EXPECT_EQ(Printer().Font().pointSize(), 7) << "the table's size again after the footer";

    // The last row reaching the limit: a page with the header alone follows; no footer, no number.
    const PdfText split = PrintedGrid(*Grid(2, 62), y, "7;25", "R;L");
    EXPECT_TRUE(split.Find("h0", 2).size() == 1 && split.words.back().text == "h1") << "the header alone";
    EXPECT_EQ(y, 278);
}

TEST(PrintDocument, AFailureWhilePrintingOrWritingRemovesTheFileAndTheNextDocumentPrints) {
    auto grid = Grid(2, 1);
    int y;
    EXPECT_EQ(ErrorOf<EConvertError>([&] { PrintedGrid(*grid, y, "7;2x", "R;L"); }),
              "'2x' is not a valid integer value");
    // A full disk at the end of the document: the printing error, and the torn file is removed.
    PdfPrinterAnswer answer;
    EXPECT_EQ(RunUnderFileSizeLimit(2000,
                                    [&] {
                                        PrintDocument([&] {
                                            PrintGrid(grid.get(), 7, y, 5, 4, "7;25", "R;L", "", 295);
                                        });
                                        return QString("<printed>");
                                    }),
              "<exception> Tlač sa nedá začať: tlačiareň alebo výstupný súbor nie je dostupný");
    EXPECT_EQ(QDir(answer.dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(PrintedGrid(*grid, y, "7;25", "R;L").words.size(), 4u) << "the next document prints";
}

TEST(PrintDialog, WithoutAHookQtsPrintDialogOpensOnThePrinterWithASlovakCancelWhichAnswersFalse) {
    LoadToolkitTranslation();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        shown = dialog && dialog->printer() == &Printer().Device() ? "printer" : "other";
        if (!dialog)
            return;
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QPushButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
        shown += " | " + (cancel ? cancel->text() : "no Cancel");
        if (cancel)
            cancel->click();
        else
            dialog->reject();
    });
    EXPECT_FALSE(ExecutePrintDialog(Printer().Device()));
    EXPECT_EQ(shown, QStringLiteral("printer | Zrušiť"));
}
