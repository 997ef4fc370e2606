#pragma once

#include <QString>

class QLabel;

// A text as its lines are shown: each CR (or CR LF) breaks the line, as in a message box.
QString WithLineBreaks(const QString& text);

// Shows Text in Label as it stands (no markup), each CR breaking the line.
void SetLabelText(QLabel* label, const QString& text);
