#pragma once

// Reports printed to PDF through the hooked set-up dialog, read back by `pdftotext -bbox`.

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "PrintDialog.h"

// One word of a printed page; millimetres from the sheet's top-left corner.
struct PdfWord {
    int page = 0; // 1 for the first page
    double left = 0, top = 0, right = 0, bottom = 0;
    QString text;
};

struct PdfText {
    QString title;     // the document's title, the print job's name
    QStringList pages; // each page's size in whole millimetres, "210x297"
    std::vector<PdfWord> words;

    // The words of a page (0: every page) that equal text.
    std::vector<PdfWord> Find(const QString& text, int page = 0) const {
        std::vector<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.text == text && (page == 0 || w.page == page))
                found.push_back(w);
        return found;
    }
    // Such a word nearest to (x, y), on the same line first; an empty word (page 0) when there is none.
    PdfWord Nearest(const QString& text, double x = 0, double y = 0) const {
        PdfWord best;
        double least = 1e9;
        for (const PdfWord& w : Find(text))
            if (const double d = 100 * std::abs(w.top - y) + std::abs(w.left - x); d < least)
                best = w, least = d;
        return best;
    }
};

// Entries "text align x1 top x2" separated by '|': the words on the line at top within x1-x2, aligned
// (L, C, R) at x1, the middle or x2 to half a millimetre, and over 1.2 mm apart where two blanks are.
inline void ExpectAt(const PdfText& pdf, const QString& entries) {
    for (const QString& entry : entries.split('|')) {
        QStringList f = entry.trimmed().split(' ');
        const double x2 = f.takeLast().toDouble(), top = f.takeLast().toDouble(),
                     x1 = f.takeLast().toDouble();
        const QString align = f.takeLast();
        const double x = align == "L" ? x1 : align == "R" ? x2 : (x1 + x2) / 2;
        double left = 1e9, right = -1e9;
        for (int i = 0; i < f.size(); ++i) {
            if (f[i].isEmpty())
                continue;
            const PdfWord w = pdf.Nearest(f[i], x, top);
            EXPECT_TRUE(std::abs(w.top - top) < 0.5 &&
                        (i == 0 || !f[i - 1].isEmpty() || w.left > right + 1.2))
                << entry.toStdString() << ": " << f[i].toStdString();
            left = std::min(left, w.left), right = std::max(right, w.right);
        }
        const double edge = align == "L" ? left : align == "R" ? right : (left + right) / 2;
        EXPECT_TRUE(std::abs(edge - x) < 0.5 && left > x1 - 0.1 && right < x2 + 0.1)
            << entry.toStdString() << " spans " << left << "-" << right;
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
        R"RX(<title>([^<]*)</title>|<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)RX");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const auto at = [&](int n) { return m.captured(n).toDouble() * 25.4 / 72; };
        const auto text = [&](int n) { return QTextDocumentFragment::fromHtml(m.captured(n)).toPlainText(); };
        if (m.capturedStart(1) >= 0)
            result.title = text(1);
        else if (m.capturedStart(2) >= 0)
            result.pages << QString("%1x%2").arg(qRound(at(2))).arg(qRound(at(3)));
        else
            result.words.push_back({int(result.pages.size()), at(4), at(5), at(6), at(7), text(8)});
    }
    return result;
}

// Answers the set-up dialog while it lives: accepted with a new PDF file for each report, or cancelled.
struct PdfPrinterAnswer {
    explicit PdfPrinterAnswer(bool accept = true) {
        previous = SetPrintDialogHook([this, accept](QPrinter& printer) {
            file = dir.filePath(QString("report%1.pdf").arg(++asked));
            printer.setOutputFileName(file);
            return accept;
        });
    }
    ~PdfPrinterAnswer() { SetPrintDialogHook(previous); }
    PdfText Read() const { return ReadPdf(file); }

    QTemporaryDir dir;
    int asked = 0;
    QString file; // the last report's file
    PrintDialogHook previous;
};
