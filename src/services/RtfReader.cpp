#include "RtfReader.h"

#include <QTextDocument>

#include "Encoding.h"

void ReadRtf(const QByteArray& data, QTextDocument* doc) {
    doc->setPlainText(FromAnsi(data));
}
