#include "Encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToAnsi(const QString& text) {
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

QString FromAnsi(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}
