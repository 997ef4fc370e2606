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

namespace {
// A character converts to Windows-1250 when it comes back unchanged (an unmapped one comes back
// as the substitute or as a look-alike).
bool IsAnsiChar(const QString& character) {
    return FromAnsi(ToAnsi(character)) == character;
}
} // namespace

qsizetype FindNonAnsiChar(const QString& text) {
    if (FromAnsi(ToAnsi(text)) == text)
        return -1;
    for (qsizetype i = 0; i < text.size(); i += CharAt(text, i).size()) {
        if (!IsAnsiChar(CharAt(text, i)))
            return i;
    }
    return -1;
}

QString CharAt(const QString& text, qsizetype index) {
    if (index < 0 || index >= text.size())
        return QString();
    const bool pair =
        text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate();
    return text.mid(index, pair ? 2 : 1);
}
