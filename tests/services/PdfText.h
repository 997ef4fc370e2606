#pragma once

// Reports printed to PDF through the hooked set-up dialog, read back by `pdftotext -bbox`.

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "PrintDialog.h"

// One word of a printed page; millimetres from the sheet's top-left corner.
struct PdfWord {
    int page = 0; // 1 for the first page
    double left = 0, top = 0, right = 0, bottom = 0;
    QString text;
    // The left edge, centre or right edge, by an alignment letter.
    double edge(char align) const { return align == 'L' ? left : align == 'C' ? (left + right) / 2 : right; }
};

struct PdfText {
    QStringList pages; // each page's size in whole millimetres, "210x297"
    std::vector<PdfWord> words;

    // Words of a page (0: every page) that equal text.
    std::vector<PdfWord> Find(const QString& text, int page = 0) const {
        std::vector<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.text == text && (page == 0 || w.page == page))
                found.push_back(w);
        return found;
    }
    // The first such word, or the one nearest to (x, y); an empty word (page 0) when there is none.
    PdfWord First(const QString& text, int page = 0) const {
        const auto found = Find(text, page);
        return found.empty() ? PdfWord{} : found.front();
    }
    PdfWord Nearest(const QString& text, double x, double y) const { // the same line first
        PdfWord best;
        const auto distance = [&](const PdfWord& w) {
            return 100 * std::abs(w.top - y) + std::abs(w.left - x);
        };
        for (const PdfWord& w : Find(text))
            if (best.page == 0 || distance(w) < distance(best))
                best = w;
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

// Entries "word align x top" separated by '|': the word nearest to (x, top) has its edge by the
// alignment letter (L, C, R) at x and its top at top, within half a millimetre.
inline void ExpectAt(const PdfText& pdf, const QString& entries) {
    for (const QString& entry : entries.split('|')) {
        const QStringList f = entry.trimmed().split(' ');
        const double x = f.value(2).toDouble(), top = f.value(3).toDouble();
        const PdfWord word = pdf.Nearest(f.value(0), x, top);
        EXPECT_NEAR(word.edge(f.value(1).toLatin1().at(0)), x, 0.5) << entry.toStdString();
        EXPECT_NEAR(word.top, top, 0.5) << entry.toStdString();
    }
}

// The words of a PDF file, read with pdftotext -bbox; no pages when the file is missing.
inline PdfText ReadPdf(const QString& file) {
    PdfText result;
    QProcess process;
    process.start("pdftotext", {"-bbox", file, "-"});
    process.waitForFinished(60000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        R"RX(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)RX");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const auto at = [&](int n) { return m.captured(n).toDouble() * 25.4 / 72; };
        if (!m.captured(1).isEmpty())
            result.pages << QString("%1x%2").arg(qRound(at(1))).arg(qRound(at(2)));
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
            file_ = dir_.filePath(QString("report%1.pdf").arg(++asked_));
            printer.setOutputFileName(file_);
            return accept_;
        });
    }
    ~PdfPrinterAnswer() { SetPrintDialogHook(previous_); }
    QString File() const { return file_; } // the last report's file
    QString Folder() const { return dir_.path(); }
    PdfText Read() const { return ReadPdf(file_); }

private:
    QTemporaryDir dir_;
    bool accept_;
    int asked_ = 0;
    QString file_;
    PrintDialogHook previous_;
};
