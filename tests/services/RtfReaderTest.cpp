#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
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
} // namespace

TEST(RtfReaderTest, SlovakLettersInTheDocumentsCodePage) {
    // š á ť ľ ž č ô in Windows-1250
    EXPECT_EQ(Read(Header + "Licen\\'e8n\\'e1 zmluva: \\'9a\\'e1\\'9d\\'be \\'9e\\'e8\\'f4\\par}"),
              QStringLiteral("Licenčná zmluva: šáťľ žčô\n"));
    // raw bytes of the code page count the same
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1250 \x9a\xe1\x9d\xbe}"), QStringLiteral("šáťľ"));
    // without \ansicpg the document is read as Windows-1250
    EXPECT_EQ(Read("{\\rtf1\\ansi \\'9a\\'9d}"), QStringLiteral("šť"));
    // another code page decodes its own way
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1252 \\'9a\\'e9}"), QStringLiteral("šé"));
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1251 \\'e4\\'e0}"), QStringLiteral("да"));
    // a code page nobody knows falls back to Windows-1250
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg99999 \\'9a}"), QStringLiteral("š"));
}

TEST(RtfReaderTest, UnicodeWithItsFallback) {
    EXPECT_EQ(Read("{\\rtf1 a\\u353?b}"), QStringLiteral("ašb"));
    EXPECT_EQ(Read("{\\rtf1 \\uc2 a\\u357\\'9dxb}"), QStringLiteral("aťb")); // two fallback chars
    EXPECT_EQ(Read("{\\rtf1 \\uc0 a\\u357 b}"), QStringLiteral("aťb"));
    EXPECT_EQ(Read("{\\rtf1 \\u-3913?}"), QString(QChar(0xF0B7))); // negative: +65536
    // the fallback count belongs to the group
    EXPECT_EQ(Read("{\\rtf1 {\\uc3 \\u269xyz}\\u269?c}"), QStringLiteral("ččc"));
    // a surrogate pair written as two \u
    EXPECT_EQ(Read("{\\rtf1 \\u-10179?\\u-8704?}"), QString::fromUcs4(U"\U0001F600"));
}

TEST(RtfReaderTest, GroupsParagraphsAndSpecialCharacters) {
    EXPECT_EQ(Read("{\\rtf1 one{\\b two{\\i three}}four\\par five\\line six\\tab seven}"),
              QString("onetwothreefour\nfive") + QChar(0x2028) + "six\tseven");
    EXPECT_EQ(Read("{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f\\_g}"), QString("a{b}c\\d") + QChar(0xA0) + "ef-g");
    EXPECT_EQ(Read("{\\rtf1 \\ldblquote x\\rdblquote  \\endash  \\emdash \\bullet }"),
              QString::fromUtf16(u"\u201Cx\u201D \u2013 \u2014\u2022"));
    EXPECT_EQ(Read("{\\rtf1 line1\r\nline2\\\r\nline3}"), "line1line2\nline3"); // raw breaks are no text
    EXPECT_EQ(Read("{\\rtf1 in}out"), "in"); // nothing after the document's group
    EXPECT_EQ(Read("{\\rtf1 {unclosed"), "unclosed");
}

TEST(RtfReaderTest, DestinationsAndUnknownWordsShowNoText) {
    EXPECT_EQ(Read(Header + "Text{\\*\\generator Riched20 10.0;}{\\*\\unknowndest hidden {\\b deep}}"
                            "{\\pict\\wmetafile8 0123abcd}{\\header head}{\\footer foot}\\par}"),
              "Text\n");
    // unknown words are dropped, their text is kept
    EXPECT_EQ(Read("{\\rtf1 \\foo12 a\\bar-3 b\\qc\\sa200\\sl276\\slmult1 c}"), "abc");
    // binary data is skipped by its length, braces inside included
    EXPECT_EQ(Read("{\\rtf1 {\\pict\\bin4 }{{x}after}"), "after");
    EXPECT_EQ(Read("{\\rtf1 a\\bin3 {}}b}"), "ab");
}

TEST(RtfReaderTest, GroupsPastTheDepthBoundShowNothingAndTheTextAfterThemStays) {
    const auto nested = [](int depth, const QByteArray& text) { // depth counts the document's group
        return "{\\rtf1 a" + QByteArray(depth - 1, '{') + text + QByteArray(depth - 1, '}') + "b}";
    };
    EXPECT_EQ(Read(nested(RtfMaxGroupDepth, "in")), "ainb");
    EXPECT_EQ(Read(nested(RtfMaxGroupDepth + 1, "{\\}in}")), "ab");
}

TEST(RtfReaderTest, FormatRunsOfOneParagraphAreInsertedInOneEdit) {
    // Each change would make the layout go over the growing paragraph again.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 10000; ++i)
        rtf += "{\\b " + QByteArray::number(i) + "}x";
    QTextDocument doc;
    int changes = 0;
    QObject::connect(&doc, &QTextDocument::undoCommandAdded, [&] { ++changes; });
    const QStringList runs = Fragments(rtf + "}", std::move(doc));
    EXPECT_LE(changes, 1);
    ASSERT_EQ(runs.size(), 20000);
    EXPECT_EQ(runs.at(2 * 1234) + runs.at(2 * 1234 + 1) + runs.last(), "b:1234-:x-:x");
}

TEST(RtfReaderTest, CharacterFormatting) {
    EXPECT_EQ(Fragments("{\\rtf1 plain \\b bold\\b0  \\i it\\i0  \\ul under\\ulnone  end}"),
              (QStringList{"-:plain ", "b:bold", "-: ", "i:it", "-: ", "u:under", "-: end"}));
    EXPECT_EQ(Fragments("{\\rtf1 {\\b\\i both} {\\fs32 big}\\fs20  small \\plain reset}"),
              (QStringList{"bi:both", "-: ", "16:big", "10: small ", "-:reset"}));
    EXPECT_EQ(Fragments("{\\rtf1 \\b x\\ul0 y\\b0 z}"), (QStringList{"b:xy", "-:z"}));
}

TEST(RtfReaderTest, TextThatIsNotRtfIsShownAsPlainText) {
    EXPECT_EQ(Read("Licen\xe8n\xe1 zmluva\r\n{\\b nie RTF}"),
              QStringLiteral("Licenčná zmluva\n{\\b nie RTF}"));
    EXPECT_EQ(Read(""), "");
    QTextDocument doc;
    doc.setPlainText("old");
    ReadRtf("{\\rtf1 new}", &doc);
    EXPECT_EQ(doc.toPlainText(), "new");
}
