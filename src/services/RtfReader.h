#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Groups nested deeper than this, the document's own group counted, show nothing.
inline constexpr int RtfMaxGroupDepth = 200;

// Text past this many format runs shows in the format of the last one: the layout spends a time of
// its own on every run, and no real text has this many.
inline constexpr int RtfMaxFormatRuns = 20000;

// A paragraph longer than this is shown as several of at most this many characters, broken after a
// blank where there is one: the time to lay out a paragraph grows with the square of its length.
inline constexpr qsizetype MaxShownParagraph = 3000;

// Fills Doc from rich text (RTF) in one edit, in time linear in the input, with the document's
// fonts where the system draws them scalable; bytes that are not RTF are shown as plain
// Windows-1250 text. Long paragraphs are broken as above.
void ReadRtf(const QByteArray& data, QTextDocument* doc);

// Text with its lines longer than MaxShownParagraph broken as ReadRtf breaks paragraphs.
QString BreakLongLines(const QString& text);
