#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

// The printer set-up dialog on printer: true when the user accepted it, false on Cancel. A hook set
// by the tests answers instead (pointing the printer at a PDF file, or cancelling).
using PrintDialogHook = std::function<bool(QPrinter& printer)>;
bool ExecutePrintDialog(QPrinter& printer);
// Replaces the dialog; an empty hook restores it. Returns the previous hook.
PrintDialogHook SetPrintDialogHook(PrintDialogHook hook);

// Device capabilities of a printer, in printer pixels: logical pixels per inch, the offset of the
// printable area from the sheet's top-left corner, and the printable width and height.
struct TPrinterCaps {
    int LogPixelsX = 0;
    int LogPixelsY = 0;
    int PhysicalOffsetX = 0;
    int PhysicalOffsetY = 0;
    int HorzRes = 0;
    int VertRes = 0;
};

// The program's printer: a high-resolution QPrinter with A4 preselected, one document at a time,
// and its canvas. The canvas's origin is the corner of the printable area. The font, its colour
// and the pen and brush are kept between documents, as a printer canvas keeps them.
class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    QPrinter& Device() { return *printer_; }
    TPrinterCaps Caps() const;

    void SetLandscape(bool landscape);
    void SetTitle(const QString& title); // the print job's name
    void SetCopies(int copies);

    // Raises an Exception when the printer or its output file cannot be opened.
    void BeginDoc();
    // Raises the same Exception when the document could not be written whole; its file is removed.
    void EndDoc();
    // Ends a document broken off by an error: the job is cancelled where the printer allows it, and
    // the output file is removed.
    void Abort();
    void NewPage();
    bool Printing() const;
    int PageNumber() const { return pageNumber_; } // 1 on the first page

    // Valid while printing.
    QPainter& Canvas();

    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    void SetFontColor(const QColor& color) { fontColor_ = color; }
    QColor FontColor() const { return fontColor_; }

private:
    bool OutputComplete() const; // the output file ends with the PDF trailer
    void RemoveOutput();

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    QColor fontColor_ = Qt::black;
    int pageNumber_ = 0;
};

// The one printer of the program.
TPrinter& Printer();

// Ends (aborts) the printer's open document when a report leaves by an exception, so the next
// report can begin its own.
class TPrintDocument {
public:
    explicit TPrintDocument(TPrinter& printer) : printer_(printer) { printer_.BeginDoc(); }
    ~TPrintDocument() {
        if (printer_.Printing())
            printer_.Abort();
    }
    void End() { printer_.EndDoc(); }
    TPrintDocument(const TPrintDocument&) = delete;
    TPrintDocument& operator=(const TPrintDocument&) = delete;

private:
    TPrinter& printer_;
};
