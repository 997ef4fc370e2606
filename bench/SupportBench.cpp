// Times the opening of the support window with the largest licence and changelog the program
// accepts (2 MiB): one paragraph of bold and plain runs with and without blanks, many paragraphs,
// one word, and a changelog of one line and of many.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "AboutUnit.h"
#include "AtomicFile.h"
#include "BenchFolder.h"
#include "Fonts.h"
#include "Messages.h"
#include "ProgramGlobals.h"

namespace {
constexpr qsizetype FileBytes = 2 << 20; // the largest licence or changelog shown

// Piece repeated up to the file size, between head and tail.
QByteArray Filled(const QByteArray& head, const QByteArray& piece, const QByteArray& tail) {
    QByteArray bytes = head;
    while (bytes.size() + piece.size() + tail.size() <= FileBytes)
        bytes += piece;
    return bytes + tail;
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
    const Case cases[] = {
        {"licence, one paragraph of runs", "Vozopis-license.rtf",
         Filled(rtf, "{\\b Licen\\'e8n\\'e1} zmluva ", "}"), "help"},
        {"licence, one paragraph of runs without blanks", "Vozopis-license.rtf",
         Filled(rtf, "{\\b ab}cd", "}"), "help"},
        {"licence, paragraphs of 1,000 characters", "Vozopis-license.rtf",
         Filled(rtf, QByteArray("{\\b Licen\\'e8n\\'e1} zmluva ").repeated(50) + "\\par ", "}"), "help"},
        {"licence, one word", "Vozopis-license.rtf", Filled(rtf, "x", "}"), "help"},
        {"changelog, one line", "Vozopis-changelog.txt", Filled("", "Zmena ", ""), "changelog"},
        {"changelog, lines of 80 characters", "Vozopis-changelog.txt",
         Filled("", QByteArray(78, 'z') + "\r\n", ""), "changelog"},
        {"changelog, one word", "Vozopis-changelog.txt", Filled("", "x", ""), "changelog"},
    };

    QWidget main;
    main.setGeometry(0, 0, 1024, 728);
    TAbout about(&main);
    std::printf("\nSupport window opened on the page of a file of %lld kB (one run each)\n",
                FileBytes / 1024);
    std::printf("  %-48s %10s %10s %16s\n", "file", "open ms", "layout ms", "paragraphs shown");
    for (const Case& c : cases) {
        QFile::remove(AppDir + "Vozopis-license.rtf");
        QFile::remove(AppDir + "Vozopis-changelog.txt");
        WriteFileAtomically(AppDir + c.file, c.bytes);
        const auto start = std::chrono::steady_clock::now();
        double open = 0, layout = 0;
        int paragraphs = 0;
        QTimer::singleShot(0, &about, [&] {
            open = Ms(start); // shown and idle
            // All of both texts, as the editors lay them out in the background or on scrolling.
            const auto laidOut = std::chrono::steady_clock::now();
            for (QTextDocument* doc : {about.reLicense->document(), about.mChangelog->document()})
                for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
                    doc->documentLayout()->blockBoundingRect(block);
            layout = Ms(laidOut);
            const bool licence = QByteArray(c.page) == "help";
            paragraphs = (licence ? about.reLicense->document() : about.mChangelog->document())->blockCount();
            about.reject();
        });
        about.ShowCenter(c.page);
        std::printf("  %-48s %10.0f %10.0f %16d\n", c.name, open, layout, paragraphs);
        std::fflush(stdout);
    }
    return 0;
}
