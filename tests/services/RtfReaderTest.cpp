#include <QFontDatabase>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "RtfReader.h"
#include "TestSupport.h"

namespace {
QString Read(const QByteArray& rtf) {
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    return doc.toRawText().replace(QChar::ParagraphSeparator, '\n'); // keeps line breaks and no-break spaces
}

// Each text fragment with its formatting, e.g. "b:bold", "i:it", "u:under", "-:plain", "12:big".
QStringList Fragments(const QByteArray& rtf, QTextDocument&& doc = QTextDocument()) {
    ReadRtf(rtf, &doc);
    QStringList out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString marks =
                QString(f.fontWeight() == QFont::Bold ? "b" : "") + (f.fontItalic() ? "i" : "") +
                (f.fontUnderline() ? "u" : "") +
                (f.hasProperty(QTextFormat::FontPointSize) ? QString::number(f.fontPointSize()) : "");
            out << (marks.isEmpty() ? "-" : marks) + ':' + it.fragment().text();
        }
    }
    return out;
}

const QByteArray Header = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}}"
                          "{\\colortbl ;\\red255\\green0\\blue0;}"
                          "{\\stylesheet{\\s0 Normal;}}{\\info{\\author Jana}{\\title Licencia}}"
                          "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
// Text in groups nested depth deep, the document's group counted.
QByteArray Nested(int depth, const QByteArray& text) {
    return "{\\rtf1 a" + QByteArray(depth - 1, '{') + text + QByteArray(depth - 1, '}') + "b}";
}
} // namespace

// Each case: the RTF and the text it shows.
TEST(RtfReaderTest, CodePagesUnicodeGroupsUpToTheDepthBoundAndSpecialCharactersGiveTheirText) {
    const std::pair<QByteArray, QString> cases[] = {
        // š á ť ľ ž č ô in Windows-1250
        {Header + "Licen\\'e8n\\'e1 zmluva: \\'9a\\'e1\\'9d\\'be \\'9e\\'e8\\'f4\\par}",
         QStringLiteral("Licenčná zmluva: šáťľ žčô\n")},
        {"{\\rtf1\\ansi\\ansicpg1250 \x9a\xe1\x9d\xbe}", QStringLiteral("šáťľ")}, // raw bytes count the same
        {"{\\rtf1\\ansi \\'9a\\'9d}", QStringLiteral("šť")}, // without \ansicpg: Windows-1250
        {"{\\rtf1\\ansi\\ansicpg1252 \\'9a\\'e9}", QStringLiteral("šé")},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'e4\\'e0}", QStringLiteral("да")},
        {"{\\rtf1\\ansi\\ansicpg99999 \\'9a}", QStringLiteral("š")}, // unknown: Windows-1250
        {"{\\rtf1 a\\u353?b}", QStringLiteral("ašb")},
        {"{\\rtf1 \\uc2 a\\u357\\'9dxb}", QStringLiteral("aťb")}, // two fallback chars
        {"{\\rtf1 \\uc0 a\\u357 b}", QStringLiteral("aťb")},
        {"{\\rtf1 \\u-3913?}", QString(QChar(0xF0B7))},                // negative: +65536
        {"{\\rtf1 {\\uc3 \\u269xyz}\\u269?c}", QStringLiteral("ččc")}, // the fallback count is the group's
        {"{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUcs4(U"\U0001F600")}, // a surrogate pair as two \u
        {"{\\rtf1 one{\\b two{\\i three}}four\\par five\\line six\\tab seven}",
         QString("onetwothreefour\nfive") + QChar(0x2028) + "six\tseven"},
        {"{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f\\_g}", QString("a{b}c\\d") + QChar(0xA0) + "ef-g"},
        {"{\\rtf1 \\ldblquote x\\rdblquote  \\endash  \\emdash \\bullet }",
         QString::fromUtf16(u"\u201Cx\u201D \u2013 \u2014\u2022")},
        {"{\\rtf1 line1\r\nline2\\\r\nline3}", "line1line2\nline3"}, // raw breaks are no text
        {"{\\rtf1 in}out", "in"},                                    // nothing after the document's group
        {"{\\rtf1 {unclosed", "unclosed"},
        {Nested(RtfMaxGroupDepth, "in"), "ainb"},
        {Nested(RtfMaxGroupDepth + 1, "{\\}in}"), "ab"}, // past the bound nothing shows, the text after stays
        // Destinations show nothing; unknown words are dropped, their text kept.
        {Header + "Text{\\*\\generator Riched20 10.0;}{\\*\\unknowndest hidden {\\b deep}}"
                  "{\\pict\\wmetafile8 0123abcd}{\\header head}{\\footer foot}\\par}",
         "Text\n"},
        {"{\\rtf1 \\foo12 a\\bar-3 b\\qc\\sa200\\sl276\\slmult1 c}", "abc"},
        {"{\\rtf1 {\\pict\\bin4 }{{x}after}", "after"}, // binary data is skipped by its length, braces too
        {"{\\rtf1 a\\bin3 {}}b}", "ab"},
        // Text that is not RTF is shown as plain Windows-1250 text.
        {"Licen\xe8n\xe1 zmluva\r\n{\\b nie RTF}", QStringLiteral("Licenčná zmluva\n{\\b nie RTF}")},
        {"", ""},
    };
    for (const auto& [rtf, text] : cases)
        EXPECT_EQ(Read(rtf), text) << rtf.toStdString();
}

TEST(RtfReaderTest, CharacterFormatsAndTheirRunsOfOneParagraphReplaceTheDocumentInOneEdit) {
    EXPECT_EQ(Fragments("{\\rtf1 plain \\b bold\\b0  \\i it\\i0  \\ul under\\ulnone  end}"),
              (QStringList{"-:plain ", "b:bold", "-: ", "i:it", "-: ", "u:under", "-: end"}));
    EXPECT_EQ(Fragments("{\\rtf1 {\\b\\i both} {\\fs32 big}\\fs20  small \\plain reset}"),
              (QStringList{"bi:both", "-: ", "16:big", "10: small ", "-:reset"}));
    EXPECT_EQ(Fragments("{\\rtf1 \\b x\\ul0 y\\b0 z}"), (QStringList{"b:xy", "-:z"}));
    // Each change would make the layout go over the growing paragraph again.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 500; ++i)
        rtf += "{\\b " + QByteArray::number(i) + "}x "; // one paragraph of words
    QTextDocument doc;
    doc.setPlainText("old");
    int changes = 0;
    QObject::connect(&doc, &QTextDocument::undoCommandAdded, [&] { ++changes; });
    const QStringList runs = Fragments(rtf + "}", std::move(doc));
    EXPECT_LE(changes, 1);
    ASSERT_EQ(runs.size(), 1000);
    EXPECT_EQ(runs.at(2 * 234) + runs.at(2 * 234 + 1) + runs.last(), "b:234-:x -:x ");
}

namespace {
// Each run with the family it asks for, e.g. "a:Tahoma", read into a document in the support window's font.
QStringList Families(const QByteArray& rtf) {
    QTextDocument doc;
    doc.setDefaultFont(QFont("MS Sans Serif", 8));
    ReadRtf(rtf, &doc);
    QStringList out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            out << it.fragment().text() + ':' +
                       it.fragment().charFormat().fontFamilies().toStringList().join(',');
    return out;
}

// The lengths of the document's paragraphs and their text joined.
std::pair<QList<int>, QString> Paragraphs(const QTextDocument& doc) {
    std::pair<QList<int>, QString> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        out.first << block.text().size();
        out.second += block.text();
    }
    return out;
}
} // namespace

// Past the bound of format runs the text keeps coming whole, in the format of the last run (here plain).
TEST(RtfReaderTest, TextPastTheBoundOfFormatRunsShowsWholeInTheLastRunsFormat) {
    const int pairs = RtfMaxFormatRuns / 2 + 50; // 100 runs past the bound
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < pairs; ++i)
        rtf += "{\\b ab}cd";
    QTextDocument doc;
    ReadRtf(rtf + "}", &doc);
    qsizetype bold = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            bold += it.fragment().charFormat().fontWeight() == QFont::Bold ? it.fragment().length() : 0;
    EXPECT_EQ(bold, RtfMaxFormatRuns);
    EXPECT_EQ(Paragraphs(doc).second, QString("abcd").repeated(pairs));
}

// The bitmap-only MS Sans Serif has no other sizes, no bold and no italic: its runs ask for Tahoma.
TEST(RtfReaderTest, RunsAskForTheirTableFontAndABitmapOnlyFontForAScalableOne) {
    if (!QFontDatabase::hasFamily("MS Sans Serif"))
        GTEST_SKIP() << "fonts-wine is not installed";
    const QByteArray table =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\froman\\fcharset238 DejaVu Serif;}"
        "{\\f1\\fnil MS Sans Serif;}{\\f2{\\*\\panose 020b0604}Nov\\'e1 p\\'edsmo;}"
        "\\f3\\fmodern DejaVu Sans Mono;{\\f4 DejaVu Sans}}";
    QByteArray many = "{\\rtf1{\\fonttbl"; // entries past the bound are not looked up
    for (int i = 0; i < 300; ++i)
        many += "{\\f" + QByteArray::number(i) + " DejaVu Serif;}";
    const std::pair<QByteArray, QStringList> cases[] = {
        {table + "a{\\f1 b}{\\f2 c}\\f3 d{\\f4 e}\\f9 f\\f1 g\\plain h}",
         {"a:DejaVu Serif", "b:Tahoma", QStringLiteral("c:Nová písmo"), "d:DejaVu Sans Mono", "e:DejaVu Sans",
          "f:DejaVu Serif", "g:Tahoma", "h:DejaVu Serif"}},
        {"{\\rtf1 x}", {"x:Tahoma"}}, // no table: the document's font, scalable
        {"{\\rtf1\\deff1{\\fonttbl{\\f1 DejaVu Sans Mono;}}x{\\f0 y}}", {"xy:DejaVu Sans Mono"}},
        {many + "}{\\f255 a}{\\f256 b}}", {"a:DejaVu Serif", "b:Tahoma"}},
    };
    for (const auto& [rtf, runs] : cases)
        EXPECT_EQ(Families(rtf), runs) << rtf.left(120).toStdString();
}

// One long paragraph, or one long word, takes a time growing with the square of its length to lay out.
TEST(RtfReaderTest,
     AParagraphPastTheBoundIsBrokenAfterItsLastBlankWithinTheBoundAndALongWordIsCutKeepingFormats) {
    static_assert(MaxShownParagraph == 3000 && MaxShownWord == 500);
    const QByteArray words = QByteArray("abcdef ").repeated(1000);  // blanks at 7k + 6
    const QByteArray full = QByteArray("abcdefghi ").repeated(300); // 3000 characters, a blank last
    // A word of 499 letters, a surrogate pair across its bound, 500 letters.
    const QByteArray word = QByteArray(499, 'x') + "\\u-10179?\\u-8704?" + QByteArray(500, 'y');
    const QString wordText = QString(499, 'x') + QString::fromUcs4(U"\U0001F600") + QString(500, 'y');
    QTextDocument doc;
    int changes = 0; // the breaks belong to the one edit, which is laid out once
    QObject::connect(&doc, &QTextDocument::undoCommandAdded, [&] { ++changes; });
    ReadRtf("{\\rtf1 {\\b " + words + "}\\par " + full + "\\par " + full + "z\\par " + QByteArray(500, 'w') +
                "\\par " + QByteArray(501, 'w') + "\\par ab " + QByteArray(501, 'v') + "\\par " + word + "}",
            &doc);
    EXPECT_EQ(Paragraphs(doc),
              std::pair(QList<int>{2996, 2996, 1008, 3000, 3000, 1, 500, 500, 1, 3, 500, 1, 499, 500, 2},
                        QString::fromLatin1(words + full + full + "z" + QByteArray(500, 'w') +
                                            QByteArray(501, 'w') + "ab " + QByteArray(501, 'v')) +
                            wordText));
    QStringList firstFormats;
    for (QTextBlock block = doc.begin(); block.isValid() && block.blockNumber() < 4; block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            firstFormats << QString::number(it.fragment().charFormat().fontWeight());
    EXPECT_EQ(firstFormats, QStringList({"700", "700", "700", "400"})) << "the pieces keep the run's format";
    EXPECT_EQ(changes, 1);

    // Text that is not rich text the same way.
    ReadRtf(full + "z\r\n" + QByteArray(501, 'z'), &doc);
    EXPECT_EQ(Paragraphs(doc),
              std::pair(QList<int>{3000, 1, 500, 1}, QString::fromLatin1(full + "z" + QByteArray(501, 'z'))));
}

TEST(RtfReaderTest, ShownLinesPastTheBoundGetLineBreaksWhereParagraphsWouldBreak) {
    const QString words = QString("abcdef ").repeated(500); // 3500 characters
    const QString full = QString("abcdefghi ").repeated(300);
    const std::pair<QString, QString> cases[] = {
        {"short\r\n" + full + "\r" + full + "z\n", "short\r\n" + full + "\r" + full + "\nz\n"},
        {words + QChar::ParagraphSeparator + words, words.left(2996) + "\n" + words.mid(2996) +
                                                        QChar::ParagraphSeparator + words.left(2996) + "\n" +
                                                        words.mid(2996)},
        {QString(500, 'x') + "\r\n" + QString(501, 'x'),
         QString(500, 'x') + "\r\n" + QString(500, 'x') + "\nx"},
        {QString(499, 'x') + QString::fromUcs4(U"\U0001F600"),
         QString(499, 'x') + "\n" + QString::fromUcs4(U"\U0001F600")},
        // Breaks and tabs as ReadRtf bounds them: at the bound, then over it.
        {QString("a\r\n").repeated(MaxShownBreaks - 1) + "b\rc\r\nd\ne",
         QString("a\r\n").repeated(MaxShownBreaks - 1) + "b\rc d e"},
        {QString("\t\t\t\t\t\n").repeated(MaxShownRuns / 5) + "\tx",
         QString("\t\t\t\t\t\n").repeated(MaxShownRuns / 5) + " x"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(ShownLines(text), shown) << text.left(40).toStdString();
}

namespace {
// Each run's text with its size in points ("-" for the document's own), runs of one size joined over
// paragraphs and pieces.
QStringList Sizes(const QByteArray& rtf) {
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    QStringList out;
    QString size;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString fragmentSize =
                f.hasProperty(QTextFormat::FontPointSize) ? QString::number(f.fontPointSize()) : "-";
            if (fragmentSize != size || out.isEmpty())
                out << fragmentSize + ':';
            size = fragmentSize;
            out.last() += it.fragment().text();
        }
    }
    return out;
}
} // namespace

// Huge characters make lines few and tall, tiny ones lines long: both take the layout longer.
TEST(RtfReaderTest, SizesShowWithinTheirRange) {
    static_assert(RtfMinPointSize == 4 && RtfMaxPointSize == 72);
    EXPECT_EQ(
        Sizes(
            "{\\rtf1 {\\fs1 a}-{\\fs7 b}-{\\fs8 c}-{\\fs9 d}-{\\fs144 e}-{\\fs145 f}-{\\fs2000 g}-{\\fs0 h}-"
            "{\\fs i}-{\\fs-20 j}-{\\fs99999999999 k}}"),
        QStringList({"4:a", "-:-", "4:b", "-:-", "4:c", "-:-", "4.5:d", "-:-", "72:e", "-:-", "72:f", "-:-",
                     "72:g", "-:-h-", "12:i", "-:-j-", "72:k"}));
}

// Large text makes the view's text tall; past the bound, text shows at RtfLargePointSize.
TEST(RtfReaderTest, CharactersShownLargerThanTheBodyPastTheBoundShowAtItsSizeParagraphEndsCounted) {
    static_assert(RtfLargePointSize == 12 && RtfMaxLargeCharacters == 10000);
    const QByteArray lines = QByteArray("abcd\\par ").repeated(1999); // 9995 large characters, ends counted
    const QString linesText = QString("abcd").repeated(1999);
    // Just under the bound, at it, just over it, and text at the body's size between that is not counted.
    EXPECT_EQ(Sizes("{\\rtf1\\fs26 " + lines + "xyzw{\\fs24 12pt}v{\\fs144 u}t}"),
              QStringList({"13:" + linesText + "xyzw", "12:12pt", "13:v", "12:ut"}));
    // Past the bound of format runs the text keeps the last run's format, its size as long as the bound
    // of large characters lasts.
    const int pairs = RtfMaxFormatRuns / 2 - 1; // the last two runs are large
    EXPECT_EQ(Sizes("{\\rtf1 " + QByteArray("{\\b x}y").repeated(pairs) + "{\\fs144 a}\\fs144 b" +
                    QByteArray(RtfMaxLargeCharacters, 'c') + "{\\fs20 d}}"),
              QStringList({"-:" + QString("xy").repeated(pairs),
                           "72:ab" + QString(RtfMaxLargeCharacters - 2, 'c'), "12:ccd"}));
    // A surrogate pair across the bound shows whole at the body's size.
    EXPECT_EQ(Sizes("{\\rtf1\\fs26 " + lines + "abcd\\u-10179?\\u-8704?}"),
              QStringList({"13:" + linesText + "abcd", "12:" + QString::fromUcs4(U"\U0001F600")}));
}

namespace {
// The text of the document's paragraphs and pieces joined, with their ends as '|'.
QString Shown(const QByteArray& rtf) {
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    QStringList paragraphs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        paragraphs << block.text();
    return paragraphs.join('|');
}
} // namespace

// Each break takes a line of its own: past the bound, breaks show as blanks.
TEST(RtfReaderTest, BreaksPastTheBoundShowAsBlanksHoweverTheyCome) {
    static_assert(MaxShownBreaks == 20000);
    const QByteArray under = QByteArray("a\\par ").repeated(MaxShownBreaks - 1); // one break left
    const QString underText = QString("a|").repeated(MaxShownBreaks - 1);
    const QString line(QChar::LineSeparator);
    // The last break at the bound, the next ones over it, whatever their kind.
    const std::pair<QByteArray, QString> cases[] = {
        {"\\par b\\par c\\line d\\\r\ne\\'0d\\'0af\\u8233?g\\u-560?h", "|b c d e f g h"},
        {"\\line b\\par c", line + "b c"},
        {"\\\nb\\line c", "|b c"},
        {"\\'0d\\'0ab\\'0d c", "|b  c"},          // CR LF counts once, then each shows as a blank
        {"\\u8232?b\\u13?\\u10?c", line + "b c"}, // \u13 and \u10 make CR LF
        {"{\\b\\par} b{\\i\\par}c", "| b c"},
    };
    for (const auto& [tail, shown] : cases)
        EXPECT_EQ(Shown("{\\rtf1 " + under + "a" + tail + "}"), underText + "a" + shown)
            << tail.toStdString();
    // Text that is not rich text the same way.
    EXPECT_EQ(Shown(QByteArray("a\r\n").repeated(MaxShownBreaks - 1) + "a\rb\r\nc\nd"),
              underText + "a|b c d");
}

// The layout shapes each run of one script, direction and font, and each tab, on its own.
TEST(RtfReaderTest, RunsOfAScriptDirectionOrSymbolsAndTabsPastTheBoundShowAsQuestionMarksAndBlanks) {
    static_assert(MaxShownRuns == 20000);
    // Units that start two runs after Latin text: script, direction, numbers after right-to-left text,
    // an Arabic number, embedding controls, symbols in a font of their own, tabs.
    const QString units[] = {
        QStringLiteral("бa"),      QStringLiteral("אa"), QStringLiteral("א1"),   QStringLiteral("١a"),
        QStringLiteral("\u202Ba"), QStringLiteral("✓a"), QStringLiteral("\t\t"),
    };
    for (const QString& unit : units) {
        const QByteArray bytes = unit.toUtf8();
        const QByteArray under = "{\\rtf1\\ansi\\ansicpg65001 a" + bytes.repeated(MaxShownRuns / 2);
        const QString underText = "a" + unit.repeated(MaxShownRuns / 2);
        // At the bound, all of it; one more run over it.
        EXPECT_EQ(Shown(under + "}").remove('|'), underText) << unit.toStdString();
        const QString over = Shown(under + QString(unit.at(0)).toUtf8() + "}").remove('|');
        EXPECT_EQ(over, underText + (unit.at(0) == '\t' ? ' ' : '?')) << unit.toStdString();
    }
    // Characters that join the run before them never count: spaces, digits and punctuation after Latin
    // text, marks, letters of the same script.
    const QString joining = QString::fromUtf8("a 1,2-\xc3\xa9\xcc\x81\xc5\xa1\xe2\x80\x9e ");
    EXPECT_EQ(
        Shown("{\\rtf1\\ansi\\ansicpg65001 " + joining.toUtf8().repeated(MaxShownRuns) + "}").remove('|'),
        joining.repeated(MaxShownRuns));
    // Code pages give the same (\341 is б in Windows-1251); past the bound the run keeps going, so text
    // of its script shows.
    const QByteArray cyrillic =
        "{\\rtf1\\ansi\\ansicpg1251 a" + QByteArray("\341a").repeated(MaxShownRuns / 2);
    EXPECT_EQ(Shown(cyrillic + "\341\341a\341}").remove('|'),
              "a" + QStringLiteral("бa").repeated(MaxShownRuns / 2) + QStringLiteral("??a?"));
}
