#pragma once

#include <QByteArray>
#include <QString>

// The files shared with the program's Windows past hold Windows-1250 text.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
// The same straight from a buffer, in one allocation.
QString FromAnsi(const char* bytes, qsizetype size);

// UTF-8 bytes as text, every character kept: QString::fromUtf8 drops a U+FEFF at the start.
QString FromUtf8(const char* bytes, qsizetype size);

// The code a text is written in.
enum class TTextCode { Windows1250, Utf8 };
// Whether the text is written on one line.
enum class TTextLines { Many, One };

// A character that a one-line text never holds: a line break, NUL or another control character.
// Tab is kept.
bool IsLineBreakOrControl(QChar c);
// Index of the first character that a text written in Code cannot hold, or -1 when it holds them
// all: in Windows-1250 one that the code lacks, in UTF-8 a lone surrogate half, and on one line
// also one of IsLineBreakOrControl. A surrogate pair counts as one character, found at its first half.
qsizetype FindUnwritableChar(const QString& text, TTextCode code, TTextLines lines = TTextLines::Many);
// The character at index, a surrogate pair whole.
QString CharAt(const QString& text, qsizetype index);

// Whether bytes that come without a byte-order mark are UTF-8 rather than Windows-1250 text. They
// are when they hold a byte beyond ASCII, decode as UTF-8 without error up to their last byte (a
// sequence cut off at the end is an error) and read as text: no C1 control, noncharacter,
// private-use character or combining mark, and no lone letter of a script other than Latin (one
// without a letter of its script on either side) directly beside a Latin letter. Windows-1250 text
// may decode: a capital such as Í or Ú followed by š, ť, ž or ľ forms a valid pair, but it reads as a
// combining mark or as one Greek, Cyrillic or Arabic letter inside a Latin word ("NÍŽINA",
// "Úžitok"). Pairs that read as Latin letters ("DĹŽKA") pass.
bool IsUtf8Text(QByteArrayView bytes);
