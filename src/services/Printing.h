#pragma once

#include <QString>

class TStringGrid;
struct TPrinterCaps;

// Printing in whole millimetres from the top-left corner of the sheet, on the canvas of the
// program's printer (Printer(), PrintDialog.h). The caller begins and ends the document and sets
// the font before each call.

// Printer metrics, filled by InitPrinterMetrics.
extern float PrinterPxPerMmX; // printer pixels per millimetre
extern float PrinterPxPerMmY;
extern int PrinterDpiX; // logical pixels per inch
extern int PrinterDpiY;
extern int PrinterOffsetX; // printer pixels from the sheet's edge to the printable area
extern int PrinterOffsetY;
extern int PrintMarginRight;  // millimetres the sheet cannot print at the right and bottom; callers
extern int PrintMarginBottom; // may overwrite them

enum class TPrintOrientation { Portrait, Landscape };

// Sets the printer's orientation, then the metrics from its device capabilities.
void InitPrinterMetrics(TPrintOrientation orientation);
void InitPrinterMetricsPortrait();
// The metrics from given capabilities. The margins count with a sheet 210 mm wide and 298 mm
// high whatever the orientation.
void SetPrinterMetrics(const TPrinterCaps& caps);

// Millimetres to canvas pixels, rounded to the nearest.
int MmToPxX(int mm);
int MmToPxY(int mm);

// The canvas font: size in points; a style replaces the previous one.
void SetPrintFontSize(int points);
void SetPrintFontStyle(bool bold, bool underline = false);
void SetPrintFontBlack();

// Text in the box (x1, y1)-(x2, y2), wrapped at words and clipped to the box, at its top; a word
// wider than the box is drawn in a smaller font so that it shows whole. Align:
// first letter "C" centred, "R" or "P" right, anything else left; a second letter "B" changes
// nothing (bottom alignment holds for single lines only, which are never asked for). CR, LF and
// CR LF start a new line.
void DrawTextIn(int x1, int y1, int x2, int y2, const QString& align, const QString& text);
// A rectangle with the canvas's pen.
void DrawRectMm(int x1, int y1, int x2, int y2);

// Prints every row of grid but its last (empty) one as a table from y; the header row in bold.
// Widths and aligns are ';'-separated per column (mm; alignment letters): missing widths are the
// grid column's screen width / 4, missing or empty alignments "C". A row that leaves less than
// one row height above pageHeight - PrintMarginBottom - 10 ends the page (the footer, a new page
// with the header repeated at 19 mm). pageHeight 0 means 295. On return y is the bottom of the last
// row printed. Raises EConvertError for a width that is no whole number.
void PrintGrid(TStringGrid* grid, int fontSize, int& y, int leftMargin, int rowHeight, const QString& widths,
               const QString& aligns, const QString& footer, int pageHeight);
// The footer line and "str." with the page number at the page's bottom; nothing when footer is
// empty. Leaves the font regular at fontSize.
void PrintPageFooter(const QString& footer, int pageHeight, int fontSize);
