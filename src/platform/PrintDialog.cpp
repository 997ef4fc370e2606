#include "PrintDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "Exception.h"
#include "Fonts.h"

namespace {
const char* const kCannotPrint = "Tlač sa nedá začať: tlačiareň alebo výstupný súbor nie je dostupný";

PrintDialogHook& Hook() {
    static PrintDialogHook hook;
    return hook;
}

// The canvas's default family. Tahoma comes from the Windows-compatible fonts when the system
// does not know it; without them the font matcher picks a substitute.
QString DefaultFamily() {
    static const bool loaded = QFontDatabase::hasFamily("Tahoma") || LoadDesignFonts() > 0;
    Q_UNUSED(loaded);
    return QStringLiteral("Tahoma");
}
} // namespace

PrintDialogHook SetPrintDialogHook(PrintDialogHook hook) {
    PrintDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

bool ExecutePrintDialog(QPrinter& printer) {
    if (Hook())
        return Hook()(printer);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

TPrinter::TPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setPageSize(QPageSize(QPageSize::A4));
    font_ = QFont(DefaultFamily());
    font_.setPointSize(8);
    // Letters as typed: no ligatures ("fi" stays two letters for a reader of the file), no kerning.
    font_.setStyleStrategy(QFont::PreferNoShaping);
    font_.setKerning(false);
}

TPrinter::~TPrinter() {
    if (Printing())
        Abort();
}

TPrinterCaps TPrinter::Caps() const {
    const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
    const QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
    TPrinterCaps caps;
    caps.LogPixelsX = printer_->logicalDpiX();
    caps.LogPixelsY = printer_->logicalDpiY();
    caps.PhysicalOffsetX = page.left() - paper.left();
    caps.PhysicalOffsetY = page.top() - paper.top();
    caps.HorzRes = page.width();
    caps.VertRes = page.height();
    return caps;
}

void TPrinter::SetLandscape(bool landscape) {
    printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrinter::SetTitle(const QString& title) {
    printer_->setDocName(title);
}

void TPrinter::SetCopies(int copies) {
    printer_->setCopyCount(copies);
}

void TPrinter::BeginDoc() {
    if (Printing())
        throw Exception(QStringLiteral("Tlač už prebieha"));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        throw Exception(QString::fromUtf8(kCannotPrint));
    }
    painter_->setFont(font_);
    painter_->setPen(QPen(Qt::black, 0));
    painter_->setBrush(Qt::NoBrush);
    pageNumber_ = 1;
}

void TPrinter::EndDoc() {
    if (!Printing())
        return;
    const bool ended = painter_->end();
    painter_.reset();
    if (!ended || printer_->printerState() == QPrinter::Error || !OutputComplete()) {
        RemoveOutput();
        throw Exception(QString::fromUtf8(kCannotPrint));
    }
}

void TPrinter::Abort() {
    if (!Printing())
        return;
    printer_->abort();
    painter_->end();
    painter_.reset();
    RemoveOutput();
}

bool TPrinter::OutputComplete() const {
    const QString name = printer_->outputFileName();
    if (name.isEmpty())
        return true;
    // A write that failed on the way (a full disk) leaves the file without its closing trailer.
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

void TPrinter::RemoveOutput() {
    const QString name = printer_->outputFileName();
    if (!name.isEmpty() && QFileInfo(name).isFile())
        QFile::remove(name);
}

void TPrinter::NewPage() {
    if (!Printing())
        return;
    printer_->newPage();
    ++pageNumber_;
}

bool TPrinter::Printing() const {
    return painter_ && painter_->isActive();
}

QPainter& TPrinter::Canvas() {
    Q_ASSERT(Printing());
    return *painter_;
}

void TPrinter::SetFont(const QFont& font) {
    font_ = font;
    if (Printing())
        painter_->setFont(font_);
}

namespace {
TPrinter* instance = nullptr;

// The printer goes with the application, before the print support it uses.
void DeletePrinter() {
    delete instance;
    instance = nullptr;
}
} // namespace

TPrinter& Printer() {
    if (!instance) {
        instance = new TPrinter;
        qAddPostRoutine(DeletePrinter);
    }
    return *instance;
}
