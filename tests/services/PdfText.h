#pragma once

// Printing to a PDF file through the hooked printer set-up dialog, and reading the words back
// with their positions by `pdftotext -bbox` (poppler-utils).

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <cmath>
#include <vector>

#include "PrintDialog.h"

// One word of a printed page; millimetres from the sheet's top-left corner.
struct PdfWord {
    int page = 0; // 1 for the first page
    double left = 0, top = 0, right = 0, bottom = 0;
    QString text;
    double centre() const { return (left + right) / 2; }
};

// One page's size in millimetres.
struct PdfPage {
    double width = 0, height = 0;
};

struct PdfText {
    std::vector<PdfPage> pages;
    std::vector<PdfWord> words;

    // Words of a page (0: every page) that equal text.
    std::vector<PdfWord> Find(const QString& text, int page = 0) const {
        std::vector<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.text == text && (page == 0 || w.page == page))
                found.push_back(w);
        return found;
    }
    // The first such word; an empty word (page 0) when there is none.
    PdfWord First(const QString& text, int page = 0) const {
        const auto found = Find(text, page);
        return found.empty() ? PdfWord{} : found.front();
    }
    // The word equal to text nearest to (x, y) on any page; an empty word when there is none.
    PdfWord Nearest(const QString& text, double x, double y) const {
        PdfWord best;
        double distance = 1e9;
        for (const PdfWord& w : words) {
            const double d = std::abs(w.left - x) + std::abs(w.top - y);
            if (w.text == text && d < distance) {
                best = w;
                distance = d;
            }
        }
        return best;
    }
    // The words of a page in reading order, joined by blanks.
    QString PageText(int page) const {
        QStringList parts;
        for (const PdfWord& w : words)
            if (w.page == page)
                parts << w.text;
        return parts.join(' ');
    }
};

// The words of a PDF file, read with pdftotext -bbox; no pages when the file is missing.
inline PdfText ReadPdf(const QString& file) {
    PdfText result;
    if (!QFile::exists(file))
        return result;
    QProcess process;
    process.start("pdftotext", {"-bbox", file, "-"});
    process.waitForFinished(60000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    constexpr double mm = 25.4 / 72;
    static const QRegularExpression tag(
        R"RX(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)RX");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const auto at = [&](int n) { return m.captured(n).toDouble() * mm; };
        if (!m.captured(1).isEmpty())
            result.pages.push_back({at(1), at(2)});
        else
            result.words.push_back({int(result.pages.size()), at(3), at(4), at(5), at(6),
                                    QTextDocumentFragment::fromHtml(m.captured(7)).toPlainText()});
    }
    return result;
}

// Answers the printer set-up dialog while it lives: accepted with the output going to a PDF
// file in a temporary folder (a new file for each report), or cancelled.
class PdfPrinterAnswer {
public:
    explicit PdfPrinterAnswer(bool accept = true) : accept_(accept) {
        previous_ = SetPrintDialogHook([this](QPrinter& printer) {
            ++asked_;
            file_ = dir_.filePath(QString("report%1.pdf").arg(asked_));
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file_);
            return accept_;
        });
    }
    ~PdfPrinterAnswer() { SetPrintDialogHook(previous_); }
    int Asked() const { return asked_; }
    // The last report's file.
    QString File() const { return file_; }
    PdfText Read() const { return ReadPdf(file_); }

private:
    QTemporaryDir dir_;
    bool accept_;
    int asked_ = 0;
    QString file_;
    PrintDialogHook previous_;
};
