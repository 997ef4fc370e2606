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

namespace {
// The character of every byte, as the decoder gives it (a single-byte code: no state).
struct TAnsiTable {
    char16_t chars[256];
    TAnsiTable() {
        QStringDecoder decoder("windows-1250");
        for (int byte = 0; byte < 256; ++byte) {
            const char c = char(byte);
            const QString decoded = decoder.decode(QByteArrayView(&c, 1));
            chars[byte] = decoded.size() == 1 ? decoded.at(0).unicode() : u'\uFFFD';
        }
    }
};
} // namespace

QString FromAnsi(const char* bytes, qsizetype size) {
    qsizetype ascii = 0;
    while (ascii < size && static_cast<unsigned char>(bytes[ascii]) < 0x80)
        ++ascii;
    if (ascii == size)
        return QString::fromLatin1(bytes, size);
    static const TAnsiTable table;
    QString text(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < size; ++i)
        out[i] = table.chars[static_cast<unsigned char>(bytes[i])];
    return text;
}

QString FromAnsi(const QByteArray& bytes) {
    return FromAnsi(bytes.constData(), bytes.size());
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
