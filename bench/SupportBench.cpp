// Times the opening of the support window with the largest licence and changelog the program
// accepts (2 MiB), in shapes real and hostile: one paragraph of bold and plain runs with and
// without blanks, many paragraphs, one word, sizes alternating tiny and huge, empty paragraphs,
// letters at the largest size, line breaks, tabs, letters alternating with another script or
// writing direction or with symbols; a changelog of one line, of lines of 80 characters, of one
// word, of lines of one character and of empty lines (CR alone, LF alone).
// Each opening is timed until the window has been painted; then the whole text is laid out and
// its end painted, as scrolling through it does. Memory is the peak over the resident size before
// the opening. The licence's height in pixels is shown beside: the rich-text view stops for good at
// 8,388,607.
// Usage: vozopis-support-bench [kB [part of a shape's name]] for other sizes and single shapes.
#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <malloc.h>

#include "AboutUnit.h"
#include "AtomicFile.h"
#include "BenchFolder.h"
#include "Fonts.h"
#include "Messages.h"
#include "ProgramGlobals.h"

namespace {
qsizetype FileBytes = 2 << 20; // the largest licence or changelog shown

// Piece repeated up to the file size, between head and tail.
QByteArray Filled(const QByteArray& head, const QByteArray& piece, const QByteArray& tail) {
    return head + piece.repeated((FileBytes - head.size() - tail.size()) / piece.size()) + tail;
}

struct Case {
    const char* name;
    const char* file;
    QByteArray bytes;
    const char* page; // where the text shows
};

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        FileBytes = QByteArray(argv[1]).toLongLong() * 1024;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    LoadDesignFonts();
    const TBenchFolder folder;
    if (!folder.IsValid())
        return 1;
    ProgramTitle = "Vozopis";
    AppDir = folder.Path();
    InitDefaultMessages();
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 MS Sans Serif;}}"
        "\\pard\\f0\\fs16 ";
    const char* licence = "Vozopis-license.rtf";
    const char* changelog = "Vozopis-changelog.txt";
    const Case cases[] = {
        {"licence, one paragraph of runs", licence, Filled(rtf, "{\\b Licen\\'e8n\\'e1} zmluva ", "}"),
         "help"},
        {"licence, one paragraph of runs without blanks", licence, Filled(rtf, "{\\b ab}cd", "}"), "help"},
        {"licence, paragraphs of 1,000 characters", licence,
         Filled(rtf, QByteArray("{\\b Licen\\'e8n\\'e1} zmluva ").repeated(50) + "\\par ", "}"), "help"},
        {"licence, one word", licence, Filled(rtf, "x", "}"), "help"},
        {"licence, sizes 1 pt and 1000 pt alternating", licence, Filled("{\\rtf1 ", "\\fs2 a\\fs2000 b", "}"),
         "help"},
        {"licence, empty paragraphs", licence, Filled("{\\rtf1 ", "\\par ", "}"), "help"},
        {"licence, letters at 72 pt", licence, Filled("{\\rtf1\\fs144 ", "W", "}"), "help"},
        {"licence, line breaks at 72 pt", licence, Filled("{\\rtf1\\fs144 ", "\\line ", "}"), "help"},
        {"licence, plain text of empty lines", licence, Filled("", "\n", ""), "help"},
        {"licence, tabs", licence, Filled("{\\rtf1 ", "\t", "}"), "help"},
        {"licence, Latin and Cyrillic alternating", licence,
         Filled("{\\rtf1\\ansi\\ansicpg1251 ", "a\xe1", "}"), "help"},
        {"licence, Latin and Hebrew alternating", licence,
         Filled("{\\rtf1\\ansi\\ansicpg1255 ", "a\xe0", "}"), "help"},
        {"licence, letters and symbols alternating", licence,
         Filled("{\\rtf1\\ansi\\ansicpg65001 ", "a\xe2\x9c\x93", "}"), "help"},
        {"changelog, one line", changelog, Filled("", "Zmena ", ""), "changelog"},
        {"changelog, lines of 80 characters", changelog, Filled("", QByteArray(78, 'z') + "\r\n", ""),
         "changelog"},
        {"changelog, one word", changelog, Filled("", "x", ""), "changelog"},
        {"changelog, lines of one character (CR LF)", changelog, Filled("", "x\r\n", ""), "changelog"},
        {"changelog, empty lines (CR)", changelog, Filled("", "\r", ""), "changelog"},
        {"changelog, empty lines (LF)", changelog, Filled("", "\n", ""), "changelog"},
    };

    QWidget main;
    main.setGeometry(0, 0, 1024, 728);
    TAbout about(&main);
    std::printf("\nSupport window opened on the page of a file of %lld kB: until painted, then the whole "
                "text laid out\nand its end painted; peak memory over the resident size before\n",
                FileBytes / 1024);
    std::printf("  %-48s %8s %8s %8s %8s %11s %11s\n", "file", "open ms", "all ms", "total ms", "peak MB",
                "paragraphs", "licence px");
    for (const Case& c : cases) {
        if (!QByteArray(c.name).contains(only))
            continue;
        QFile::remove(AppDir + licence);
        QFile::remove(AppDir + changelog);
        WriteFileAtomically(AppDir + c.file, c.bytes);
        const bool isLicence = QByteArray(c.page) == "help";
        QAbstractScrollArea* view = isLicence ? static_cast<QAbstractScrollArea*>(about.reLicense)
                                              : static_cast<QAbstractScrollArea*>(about.mChangelog);
        QTextDocument* doc = isLicence ? about.reLicense->document() : about.mChangelog->document();
        // The texts of the last opening go, and the memory they held goes back to the system.
        about.reLicense->clear();
        about.mChangelog->clear();
        app.processEvents();
        malloc_trim(0);
        const long before = StatusKb("VmRSS");
        ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        double open = 0, all = 0;
        int paragraphs = 0;
        QTimer::singleShot(0, &about, [&] {
            about.grab(); // painted as the window shows
            open = Ms(start);
            // All of the text, as the view lays it out in the background or on scrolling to its end.
            const auto laidOut = std::chrono::steady_clock::now();
            for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
                doc->documentLayout()->blockBoundingRect(block);
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
            about.grab();
            all = Ms(laidOut);
            paragraphs = doc->blockCount();
            about.reject();
        });
        about.ShowCenter(c.page);
        const double peak = (StatusKb("VmHWM") - before) / 1024.0;
        const QString height =
            isLicence ? QString::number(qRound(doc->documentLayout()->documentSize().height())) : "-";
        std::printf("  %-48s %8.0f %8.0f %8.0f %8.0f %11d %11s\n", c.name, open, all, open + all, peak,
                    paragraphs, qPrintable(height));
        std::fflush(stdout);
    }
    return 0;
}
