#pragma once

#include <QByteArray>

class QTextDocument;

// Fills Doc from rich text (RTF); bytes that are not RTF are shown as plain Windows-1250 text.
void ReadRtf(const QByteArray& data, QTextDocument* doc);
