#pragma once

#include <QByteArray>
#include <QString>

// The files shared with the program's Windows past hold Windows-1250 text.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
// The same straight from a buffer, in one allocation.
QString FromAnsi(const char* bytes, qsizetype size);

// Index of the first character that Windows-1250 cannot hold (a surrogate pair counts as one
// character, found at its first half), or -1 when the whole text can be stored.
qsizetype FindNonAnsiChar(const QString& text);
// The character at index, a surrogate pair whole.
QString CharAt(const QString& text, qsizetype index);
