#include "Encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

// One converter each, reused: the database layer converts every text cell. Windows-1250 is a
// single-byte code, so no state carries over between calls.
QByteArray ToAnsi(const QString& text) {
    static QStringEncoder encoder("windows-1250");
    encoder.resetState();
    return encoder.encode(text);
}

QString FromAnsi(const QByteArray& bytes) {
    static QStringDecoder decoder("windows-1250");
    decoder.resetState();
    return decoder.decode(bytes);
}
