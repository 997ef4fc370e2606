#pragma once

#include <QByteArray>

class QTextDocument;

// Groups nested deeper than this, the document's own group counted, show nothing.
inline constexpr int RtfMaxGroupDepth = 200;

// Fills Doc from rich text (RTF) in one edit, in time linear in the input, with the document's
// fonts where the system draws them scalable; bytes that are not RTF are shown as plain
// Windows-1250 text.
void ReadRtf(const QByteArray& data, QTextDocument* doc);
