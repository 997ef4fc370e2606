#include "Printing.h"

#include <QPainter>
#include <QStringList>
#include <QVector>
#include <cmath>
#include <cstdlib>

#include "PrintDialog.h"
#include "ShrinkFont.h"
#include "StringGrid.h"
#include "TextUtils.h"

float PrinterPxPerMmX = 0;
float PrinterPxPerMmY = 0;
int PrinterDpiX = 0;
int PrinterDpiY = 0;
int PrinterOffsetX = 0;
int PrinterOffsetY = 0;
int PrintMarginRight = 0;
int PrintMarginBottom = 0;

namespace {
// Nearest whole number, halves to even.
int Round(double value) {
    return int(std::lrint(value));
}

int CellWidth(const QStringList& entries, int col, const TStringGrid* grid) {
    if (col < entries.size())
        return StrToInt(entries[col]);
    return grid->ColWidth(col) / 4;
}
} // namespace

void SetPrinterMetrics(const TPrinterCaps& caps) {
    PrinterPxPerMmX = float(caps.LogPixelsX / 25.4);
    PrinterPxPerMmY = float(caps.LogPixelsY / 25.4);
    PrinterDpiX = caps.LogPixelsX;
    PrinterOffsetX = Round(caps.PhysicalOffsetX * 25.4 / PrinterDpiX * PrinterPxPerMmX);
    PrinterDpiY = caps.LogPixelsY;
    PrinterOffsetY = Round(caps.PhysicalOffsetY * 25.4 / PrinterDpiY * PrinterPxPerMmY);
    PrintMarginBottom = std::abs(
        Round(298 - (caps.VertRes / double(PrinterPxPerMmY) + PrinterOffsetY / double(PrinterPxPerMmY))));
    PrintMarginRight = std::abs(
        Round(210 - (caps.HorzRes / double(PrinterPxPerMmX) + PrinterOffsetX / double(PrinterPxPerMmX))));
}

void InitPrinterMetrics(TPrintOrientation orientation) {
    Printer().SetLandscape(orientation == TPrintOrientation::Landscape);
    SetPrinterMetrics(Printer().Caps());
}

void InitPrinterMetricsPortrait() {
    InitPrinterMetrics(TPrintOrientation::Portrait);
}

int MmToPxX(int mm) {
    return Round(mm * double(PrinterPxPerMmX) - PrinterOffsetX);
}

int MmToPxY(int mm) {
    return Round(mm * double(PrinterPxPerMmY) - PrinterOffsetY);
}

void SetPrintFontSize(int points) {
    QFont font = Printer().Font();
    font.setPointSize(points);
    Printer().SetFont(font);
}

void SetPrintFontStyle(bool bold, bool underline) {
    QFont font = Printer().Font();
    font.setBold(bold);
    font.setUnderline(underline);
    font.setItalic(false);
    font.setStrikeOut(false);
    Printer().SetFont(font);
}

void SetPrintFontBlack() {
    Printer().SetFontColor(Qt::black);
}

void DrawTextIn(int x1, int y1, int x2, int y2, const QString& align, const QString& text) {
    int flags = Qt::TextWordWrap | Qt::AlignTop;
    const QChar letter = align.isEmpty() ? QChar('L') : align[0];
    if (letter == 'C')
        flags |= Qt::AlignHCenter;
    else if (letter == 'R' || letter == 'P')
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;

    const int left = MmToPxX(x1);
    const int top = MmToPxY(y1);
    const QRect box(left, top, MmToPxX(x2) - left, MmToPxY(y2) - top);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace('\r', '\n');

    QPainter& canvas = Printer().Canvas();
    const QPen pen = canvas.pen();
    canvas.setPen(Printer().FontColor());
    // A word wider than the box (a long number has nowhere to break) is drawn smaller, whole. A
    // text that fits on one line needs no layout to tell; a short one not even a measure.
    const QFont font = canvas.font();
    const QFontMetrics metrics = canvas.fontMetrics();
    const bool wider =
        lines.size() * metrics.maxWidth() > box.width() && metrics.horizontalAdvance(lines) > box.width();
    if (wider) {
        canvas.setFont(ShrunkFont(font, box.width(), [&](const QFont& tried) {
            canvas.setFont(tried);
            return canvas.boundingRect(box, flags, lines).width();
        }));
    }
    canvas.drawText(box, flags, lines); // clips the lines below the box
    if (wider)
        canvas.setFont(font);
    canvas.setPen(pen);
}

void DrawRectMm(int x1, int y1, int x2, int y2) {
    const int left = MmToPxX(x1);
    const int top = MmToPxY(y1);
    Printer().Canvas().drawRect(QRect(left, top, MmToPxX(x2) - left, MmToPxY(y2) - top));
}

void PrintPageFooter(const QString& footer, int pageHeight, int fontSize) {
    if (footer.isEmpty())
        return;
    SetPrintFontBlack();
    SetPrintFontStyle(false);
    SetPrintFontSize(6);
    const int bottom = pageHeight - PrintMarginBottom;
    DrawTextIn(10, bottom - 5, 200, bottom - 1, "L", footer);
    const int right = 210 - PrintMarginRight;
    DrawTextIn(right - 9, bottom - 3, right, bottom + 1, "R",
               "str." + QString::number(Printer().PageNumber()));
    SetPrintFontSize(fontSize);
}

void PrintGrid(TStringGrid* grid, int fontSize, int& y, int leftMargin, int rowHeight, const QString& widths,
               const QString& aligns, const QString& footer, int pageHeight) {
    int lastY = y;
    if (pageHeight == 0)
        pageHeight = 295;
    const int cols = grid->ColCount();

    QStringList align = ListEntries(aligns);
    for (int c = 0; c < cols; ++c) {
        if (c >= align.size())
            align << "C";
        else if (align[c].isEmpty())
            align[c] = "C";
    }
    const QStringList widthEntries = ListEntries(widths);
    QVector<int> x1(cols);
    QVector<int> x2(cols);
    int sum = 0;
    for (int c = 0; c < cols; ++c) {
        x1[c] = leftMargin + 3 + sum;
        sum += CellWidth(widthEntries, c, grid) + 2;
        x2[c] = leftMargin + sum;
    }

    auto printRow = [&](int row, int top, int bottom, const QString& suffix) {
        for (int c = 0; c < cols; ++c)
            DrawTextIn(x1[c], top, x2[c], bottom, align[c] + suffix, grid->Cells(c, row));
    };

    int rowIndex = 0;
    for (int r = 0; r <= grid->RowCount() - 2; ++r) {
        const int top = y + rowIndex * rowHeight;
        int bottom = y + (rowIndex + 1) * rowHeight;
        ++rowIndex;
        SetPrintFontStyle(false);
        QString suffix;
        if (r == 0) {
            y += 3;
            SetPrintFontStyle(true);
            suffix = "B";
            bottom = y + rowHeight + 3;
        }
        printRow(r, top, bottom, suffix);
        lastY = bottom;

        if (bottom + rowHeight > pageHeight - PrintMarginBottom - 10) {
            PrintPageFooter(footer, pageHeight, fontSize);
            Printer().NewPage();
            SetPrintFontStyle(true);
            y = 22;
            printRow(0, 19, 22 + rowHeight + 3, "B");
            rowIndex = 1;
            SetPrintFontStyle(false);
        }
    }
    y = lastY;
    PrintPageFooter(footer, pageHeight, fontSize);
}
