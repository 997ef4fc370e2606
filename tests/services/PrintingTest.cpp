#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <functional>

#include "Exception.h"
#include "PdfText.h"
#include "PrintDialog.h"
#include "Printing.h"
#include "StringGrid.h"
#include "TestSupport.h"

namespace {
constexpr double kMm = 0.5; // tolerance of a position

// Prints one document on the program's printer into a PDF file and reads it back. The margins are
// fixed so that page breaks do not depend on the PDF engine's printable area.
struct Printed {
    PdfText pdf;
    QString file;
    std::shared_ptr<PdfPrinterAnswer> answer; // keeps the file
};
Printed PrintPdf(const std::function<void()>& draw, bool landscape = false, int marginBottom = 5) {
    auto answer = std::make_shared<PdfPrinterAnswer>();
    EXPECT_TRUE(ExecutePrintDialog(Printer().Device()));
    InitPrinterMetrics(landscape ? TPrintOrientation::Landscape : TPrintOrientation::Portrait);
    PrintMarginBottom = marginBottom;
    PrintMarginRight = 10;
    SetPrintFontBlack();
    SetPrintFontStyle(false);
    SetPrintFontSize(7);
    {
        TPrintDocument document(Printer());
        draw();
        document.End();
    }
    return {answer->Read(), answer->File(), answer};
}

// A grid of cols columns: header "h0".."hN", then rows of "r<row>c<col>", then the empty last row.
std::unique_ptr<TStringGrid> Grid(int cols, int records) {
    auto grid = std::make_unique<TStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(records + 2);
    for (int c = 0; c < cols; ++c) {
        grid->SetCells(c, 0, QString("h%1").arg(c));
        for (int r = 1; r <= records; ++r)
            grid->SetCells(c, r, QString("r%1c%2").arg(r).arg(c));
    }
    return grid;
}

// Prints grid as a table from y = 23, margin 5 and rows of 4 mm; y is left at the table's end.
PdfText PrintedGrid(TStringGrid& grid, int& y, const QString& widths, const QString& aligns,
                    const QString& footer = "", int limit = 295) {
    y = 23;
    return PrintPdf([&] { PrintGrid(&grid, 7, y, 5, 4, widths, aligns, footer, limit); }).pdf;
}

// Page 1 of a PDF rendered at 10 pixels per millimetre, in grey.
QImage Rendered(const QString& pdf) {
    QTemporaryDir dir;
    const QString stem = dir.filePath("page");
    QProcess::execute("pdftoppm",
                      {"-r", "254", "-gray", "-png", "-f", "1", "-l", "1", "-singlefile", pdf, stem});
    return QImage(stem + ".png");
}

// Dark pixels inside the millimetre area (x1, y1)-(x2, y2) of a page rendered by Rendered.
int DarkPixels(const QImage& page, double x1, double y1, double x2, double y2) {
    int dark = 0;
    for (int y = int(y1 * 10); y < int(y2 * 10); ++y)
        for (int x = int(x1 * 10); x < int(x2 * 10); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ++dark;
    return dark;
}
} // namespace

TEST(PrinterMetrics, CapabilitiesGiveMillimetresFromTheSheetCornerWithA298MmSheet) {
    // A 600 dpi laser printer with its unprintable strips, A4 portrait, then landscape.
    SetPrinterMetrics({600, 600, 100, 100, 4760, 6779});
    EXPECT_FLOAT_EQ(PrinterPxPerMmX, float(600 / 25.4));
    EXPECT_EQ(PrintMarginBottom, 7) << "298 - (6779 + 100) / 23.622 = 6.79";
    EXPECT_EQ(PrintMarginRight, 4) << "210 - (4760 + 100) / 23.622 = 4.26";
    EXPECT_EQ(MmToPxX(10), 136);
    EXPECT_EQ(MmToPxY(0), -100);
    SetPrinterMetrics({600, 300, 100, 50, 6779, 2380});
    EXPECT_EQ(PrintMarginBottom, 92) << "margins count with 298 x 210 in landscape too";
    EXPECT_EQ(PrintMarginRight, 81);
    EXPECT_EQ(MmToPxY(20), 186) << "20 x 11.811 - 50";

    // The program's printer has a high resolution; its sheets and orientations are the reports' tests'.
    InitPrinterMetricsPortrait();
    EXPECT_GE(PrinterDpiX, 600);
}

TEST(DrawTextIn, AlignmentLettersWrapLineBreaksAndSlovakLettersLandInTheirBoxes) {
    const QString slovak = QStringLiteral("ľščťžýáíéúäôňŕĺ ĽŠČŤŽÝÁÍÉÚÄÔŇŔĹ");
    const Printed printed = PrintPdf([&] {
        DrawTextIn(20, 10, 80, 20, "L", "vlavo");
        DrawTextIn(20, 20, 80, 30, "C", "stred");
        DrawTextIn(20, 30, 80, 40, "R", "vpravo");
        DrawTextIn(20, 40, 80, 50, "P", "pravy");
        DrawTextIn(20, 50, 80, 60, "X", "iny");
        DrawTextIn(20, 60, 80, 70, "", "prazdny");
        DrawTextIn(20, 70, 80, 90, "RB", "spodok"); // "B" leaves the text at the top
        DrawTextIn(100, 10, 130, 40, "L", "slovo slovo slovo slovo slovo slovo");
        DrawTextIn(100, 50, 190, 60, "L", QStringLiteral("Evidencia áut\rAlfa\r\nBeta\nGama"));
        DrawTextIn(20, 100, 200, 110, "L", slovak);
    });
    const PdfText& pdf = printed.pdf;
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.First("vlavo").left, 20, kMm);
    EXPECT_NEAR(pdf.First("vlavo").top, 10, kMm);
    EXPECT_NEAR(pdf.First("stred").centre(), 50, kMm);
    EXPECT_NEAR(pdf.First("vpravo").right, 80, kMm);
    EXPECT_NEAR(pdf.First("pravy").right, 80, kMm);
    EXPECT_NEAR(pdf.First("iny").left, 20, kMm);
    EXPECT_NEAR(pdf.First("prazdny").left, 20, kMm);
    EXPECT_NEAR(pdf.First("spodok").right, 80, kMm);
    EXPECT_NEAR(pdf.First("spodok").top, 70, kMm);

    // Word wrap: the six words on more than one line, all inside the box.
    const auto words = pdf.Find("slovo");
    ASSERT_EQ(words.size(), 6u);
    EXPECT_NEAR(words.front().top, 10, kMm);
    EXPECT_GT(words.back().top, words.front().top + 2);
    for (const PdfWord& w : words) {
        EXPECT_GE(w.left, 100 - kMm);
        EXPECT_LE(w.right, 130 + kMm);
    }
    // CR, CR LF and LF each start a line.
    const double line = pdf.First("Alfa").top - pdf.First("Evidencia").top;
    EXPECT_GT(line, 2);
    EXPECT_NEAR(pdf.First("Alfa").left, 100, kMm);
    EXPECT_NEAR(pdf.First("Beta").top - pdf.First("Alfa").top, line, 0.1);
    EXPECT_NEAR(pdf.First("Gama").top - pdf.First("Beta").top, line, 0.1);

    EXPECT_EQ(pdf.PageText(1).contains(slovak), true) << pdf.PageText(1).toStdString();
}

TEST(DrawTextIn, TextIsClippedToItsBoxAndRectanglesLieOnTheirMillimetres) {
    const Printed printed = PrintPdf([&] {
        DrawTextIn(20, 20, 40, 24, "L", "Neprerusitelneslovopresahujuceokraj");
        DrawTextIn(20, 40, 60, 44, "L", "prvy riadok ostane druhy riadok je mimo a nevidno ho vobec");
        DrawRectMm(100, 100, 150, 130);
    });
    const QImage page = Rendered(printed.file);
    ASSERT_EQ(page.width(), 2100);
    EXPECT_GT(DarkPixels(page, 20, 20, 40, 24), 50) << "the start of the long word shows";
    EXPECT_EQ(DarkPixels(page, 40.2, 19, 80, 25), 0) << "the rest is cut at the box";
    EXPECT_GT(DarkPixels(page, 20, 40, 60, 44), 50);
    EXPECT_EQ(DarkPixels(page, 15, 44.2, 80, 55), 0) << "lines below the box are cut";

    // The frame's four edges and nothing beside them.
    EXPECT_GT(DarkPixels(page, 99.6, 110, 100.4, 120), 50);
    EXPECT_GT(DarkPixels(page, 149.6, 110, 150.4, 120), 50);
    EXPECT_GT(DarkPixels(page, 120, 99.6, 130, 100.4), 50);
    EXPECT_GT(DarkPixels(page, 120, 129.6, 130, 130.4), 50);
    EXPECT_EQ(DarkPixels(page, 101, 101, 149, 129), 0);
    EXPECT_EQ(DarkPixels(page, 95, 95, 99.4, 135), 0);
}

TEST(PrintGrid, HeaderAndFirstRowBoxesFromY23WithRowHeight4AndMargin5) {
    int y;
    const PdfText pdf = PrintedGrid(*Grid(3, 2), y, "7;25;18", "R;L;C");
    EXPECT_EQ(y, 38) << "the bottom of the second row, 30 + 4 + 4";
    ASSERT_EQ(pdf.pages.size(), 1u);
    // Header text box 23-33, first row 30-34, second 34-38; the text stands at the top.
    for (const char* word : {"h0", "h1", "h2"})
        EXPECT_NEAR(pdf.First(word).top, 23, kMm) << word;
    EXPECT_NEAR(pdf.First("r1c0").top, 30, kMm);
    EXPECT_NEAR(pdf.First("r2c0").top, 34, kMm);
    // Column 0 from 8 to 14, right-aligned; column 1 from 17, left; column 2 from 44 to 61, centred.
    EXPECT_NEAR(pdf.First("h0").right, 14, kMm);
    EXPECT_NEAR(pdf.First("r1c0").right, 14, kMm);
    EXPECT_NEAR(pdf.First("h1").left, 17, kMm);
    EXPECT_NEAR(pdf.First("r2c1").left, 17, kMm);
    EXPECT_NEAR(pdf.First("r1c2").centre(), 52.5, kMm);
    EXPECT_NEAR(pdf.First("h2").centre(), 52.5, kMm);
    EXPECT_EQ(Printer().Font().pointSize(), 7);
    EXPECT_FALSE(Printer().Font().bold()) << "the header's bold ends with it";
}

TEST(PrintGrid, ShortListsCentreTheRestAndTakeScreenWidthsOverFour) {
    auto grid = Grid(4, 1);
    grid->SetColWidth(2, 80); // 20 mm
    grid->SetColWidth(3, 43); // 10 mm
    int y;
    const PdfText pdf = PrintedGrid(*grid, y, "10;20", "R;;", "", 0);
    EXPECT_NEAR(pdf.First("r1c0").right, 17, kMm);                 // 5 + 10 + 2
    EXPECT_NEAR(pdf.First("r1c1").centre(), (20 + 39) / 2.0, kMm); // an empty entry centres
    EXPECT_NEAR(pdf.First("r1c2").centre(), (42 + 61) / 2.0, kMm); // a missing one too
    EXPECT_NEAR(pdf.First("r1c3").centre(), (64 + 73) / 2.0, kMm);
    EXPECT_EQ(y, 34);

    // Only the header and the empty last row: the header alone.
    EXPECT_EQ(PrintedGrid(*Grid(2, 0), y, "7;25", "R;L").PageText(1), "h0 h1");
    EXPECT_EQ(y, 33);
}

TEST(PrintGrid, ALongTableBreaksWithTheHeaderRepeatedAndAnswersTheLastRowsBottom) {
    // Limit 295 - 5 - 10 = 280: the row ending at 278 is the last on page 1 (rows 1 to 62).
    int y;
    const PdfText pdf = PrintedGrid(*Grid(2, 70), y, "7;25", "R;L", "", 0);
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_NEAR(pdf.First("r62c1", 1).top, 274, kMm);
    EXPECT_TRUE(pdf.Find("r63c1", 1).empty());
    EXPECT_NEAR(pdf.First("h0", 2).top, 19, kMm) << "header repeated at 19";
    EXPECT_NEAR(pdf.First("h1", 2).left, 17, kMm);
    EXPECT_NEAR(pdf.First("r63c1", 2).top, 26, kMm);
    EXPECT_NEAR(pdf.First("r70c1", 2).top, 54, kMm);
    EXPECT_EQ(y, 58);
    EXPECT_EQ(pdf.Find("str.1").size(), 0u) << "an empty footer prints no page number";

    // The last row reaching the limit: a page with only the header follows; y stays on page 1.
    const PdfText split = PrintedGrid(*Grid(2, 62), y, "7;25", "R;L");
    ASSERT_EQ(split.pages.size(), 2u);
    EXPECT_EQ(split.PageText(2), "h0 h1");
    EXPECT_EQ(y, 278);
}

TEST(PrintGrid, AFooterPrintsItsLineAndThePageNumberOnEveryPage) {
    int y;
    const PdfText pdf = PrintedGrid(*Grid(2, 70), y, "7;25", "R;L", "Vozopis");
    ASSERT_EQ(pdf.pages.size(), 2u);
    for (int page : {1, 2}) {
        // B = 295 - 5, R = 210 - 10.
        const PdfWord footer = pdf.First("Vozopis", page);
        EXPECT_NEAR(footer.left, 10, kMm);
        EXPECT_NEAR(footer.top, 285, kMm);
        const PdfWord number = pdf.First(QString("str.%1").arg(page), page);
        EXPECT_NEAR(number.right, 200, kMm) << page;
        EXPECT_NEAR(number.top, 287, kMm);
        EXPECT_LT(number.bottom - number.top, footer.bottom - footer.top + 0.1) << "6 pt";
    }
    EXPECT_LT(pdf.First("str.1").bottom - pdf.First("str.1").top,
              pdf.First("r1c1").bottom - pdf.First("r1c1").top);
    EXPECT_EQ(Printer().Font().pointSize(), 7) << "the table's size again after the footer";
}

TEST(PrintGrid, AWidthThatIsNoNumberRaisesAndTheDocumentIsEndedAllTheSame) {
    auto grid = Grid(2, 1);
    int y = 23;
    PdfPrinterAnswer answer;
    ASSERT_TRUE(ExecutePrintDialog(Printer().Device()));
    InitPrinterMetricsPortrait();
    EXPECT_EQ(ErrorOf<EConvertError>([&] {
                  TPrintDocument document(Printer());
                  PrintGrid(grid.get(), 7, y, 5, 4, "7;2x", "R;L", "", 295);
                  document.End();
              }),
              "'2x' is not a valid integer value");
    EXPECT_FALSE(Printer().Printing());
    const Printed next = PrintPdf([&] { DrawTextIn(10, 10, 50, 20, "L", "znova"); });
    EXPECT_NEAR(next.pdf.First("znova").left, 10, kMm);
}

TEST(PrintDialog, WithoutAHookQtsPrintDialogOpensOnThePrinterAndCancelAnswersFalse) {
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            shown = dialog->printer() == &Printer().Device() ? "printer" : "other";
            dialog->reject();
        }
    });
    EXPECT_FALSE(ExecutePrintDialog(Printer().Device()));
    EXPECT_EQ(shown, "printer");
    EXPECT_EQ(Printer().Device().pageLayout().pageSize().id(), QPageSize::A4);
}
