#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Groups nested deeper than this, the document's own group counted, show nothing.
inline constexpr int RtfMaxGroupDepth = 200;

// Text past this many format runs shows in the format of the last one: the layout spends a time of
// its own on every run, and no real text has this many.
inline constexpr int RtfMaxFormatRuns = 20000;

// Sizes outside this range show at its nearer end; a real licence uses 6 to 72 pt. A line of huge
// characters holds a few of them, one of tiny characters very many, and the layout takes the
// longer for both; huge characters also make the text tall (see below).
inline constexpr int RtfMinPointSize = 4;
inline constexpr int RtfMaxPointSize = 72;

// Characters shown larger than RtfLargePointSize, paragraph ends counted: past this many, text
// shows at that size. Headings take a few hundred. The rich-text view may loop for good once its
// text is taller than 8,388,607 pixels (Qt's QFIXED_MAX; seen with lines of 60 pt and more), and
// large text makes text tall.
inline constexpr int RtfLargePointSize = 12;
inline constexpr qsizetype RtfMaxLargeCharacters = 10000;

// A paragraph longer than this is shown as several of at most this many characters, broken after a
// blank where there is one: the time to lay out a paragraph grows with the square of its length.
inline constexpr qsizetype MaxShownParagraph = 3000;
// A word (characters between blanks) longer than this starts a piece of its own and is cut into
// pieces of this many characters: the layout of each line goes over the rest of its word, so a
// long word takes a time growing with the square of its length. No real word comes near.
inline constexpr qsizetype MaxShownWord = 500;

// Line breaks and paragraph ends (CR LF counted once) past this many show as blanks: each takes a
// line of its own, tall text stops the rich-text view as above, and a paragraph costs a view some
// 500 bytes. A real licence or changelog has a few thousand.
inline constexpr qsizetype MaxShownBreaks = 20000;

// The layout shapes every run of one script, writing direction and font, and every tab, on its
// own, at some microseconds each. Past this many runs and tabs, a tab shows as a blank and a
// character that would start a run as '?'. A real text changes script a few hundred times at most.
inline constexpr qsizetype MaxShownRuns = 20000;

// Fills Doc from rich text (RTF) in one edit, in time linear in the input, with the document's
// fonts where the system draws them scalable; bytes that are not RTF are shown as plain
// Windows-1250 text. Sizes, large text, long paragraphs and words, breaks, runs and tabs are
// bounded as above.
void ReadRtf(const QByteArray& data, QTextDocument* doc);

// Text with its breaks, runs and tabs bounded as ReadRtf bounds them and its lines longer than
// MaxShownParagraph or with words longer than MaxShownWord broken as ReadRtf breaks paragraphs.
QString ShownLines(const QString& text);
