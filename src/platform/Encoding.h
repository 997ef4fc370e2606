#pragma once

#include <QByteArray>
#include <QString>

// The files shared with the program's Windows past hold Windows-1250 text.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
