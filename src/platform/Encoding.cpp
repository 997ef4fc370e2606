#include "Encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

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

QString FromUtf8(const char* bytes, qsizetype size) {
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes, size));
}

namespace {
// A character converts to Windows-1250 when it comes back unchanged (an unmapped one comes back
// as the substitute or as a look-alike).
bool IsAnsiChar(const QString& character) {
    return FromAnsi(ToAnsi(character)) == character;
}

bool IsSurrogatePair(const QString& text, qsizetype index) {
    return text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate();
}
} // namespace

bool IsLineBreakOrControl(QChar c) {
    const QChar::Category category = c.category();
    return c != '\t' && (category == QChar::Other_Control || category == QChar::Separator_Line ||
                         category == QChar::Separator_Paragraph);
}

qsizetype FindUnwritableChar(const QString& text, TTextCode code, TTextLines lines) {
    // Most texts convert whole; then only their lines are left to check.
    const bool converts = code == TTextCode::Windows1250 && FromAnsi(ToAnsi(text)) == text;
    if (converts && lines == TTextLines::Many)
        return -1;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype size = IsSurrogatePair(text, i) ? 2 : 1;
        if (lines == TTextLines::One && IsLineBreakOrControl(text.at(i)))
            return i;
        if (code == TTextCode::Utf8 ? size == 1 && text.at(i).isSurrogate()
                                    : !converts && !IsAnsiChar(text.mid(i, size)))
            return i;
        i += size;
    }
    return -1;
}

QString CharAt(const QString& text, qsizetype index) {
    if (index < 0 || index >= text.size())
        return QString();
    return text.mid(index, IsSurrogatePair(text, index) ? 2 : 1);
}

namespace {
bool IsLatinLetter(char32_t c) {
    return QChar::isLetter(c) && QChar::script(c) == QChar::Script_Latin;
}

// A letter of a script of its own: Common letters such as µ stand beside any other.
bool IsOtherScriptLetter(char32_t c) {
    if (!QChar::isLetter(c))
        return false;
    const QChar::Script script = QChar::script(c);
    return script != QChar::Script_Latin && script != QChar::Script_Common &&
           script != QChar::Script_Inherited && script != QChar::Script_Unknown;
}

// A letter of another script that stands alone beside a Latin letter, as a UTF-8 pair read from a
// Windows-1250 word gives ("Úžitok"); in "ИванTrade" the Cyrillic letters have their own beside them.
bool IsLoneLetterInLatinWord(char32_t before, char32_t c, char32_t after) {
    if (!IsOtherScriptLetter(c) || (!IsLatinLetter(before) && !IsLatinLetter(after)))
        return false;
    const auto sameScript = [c](char32_t other) {
        return QChar::isLetter(other) && QChar::script(other) == QChar::script(c);
    };
    return !sameScript(before) && !sameScript(after);
}

// A character that text does not hold, but a Windows-1250 pair read as UTF-8 may give.
bool IsImplausibleChar(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_PrivateUse:
        return true;
    default:
        return (c >= 0x80 && c <= 0x9F) || QChar::isNonCharacter(c);
    }
}
} // namespace

bool IsUtf8Text(QByteArrayView bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return false;
    // A stateless decoder reports a sequence cut off at the end; one with state would wait for more.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    constexpr char32_t None = 0x110000; // before the first character and after the last
    qsizetype i = 0;
    const auto next = [&]() -> char32_t {
        if (i == text.size())
            return None;
        const char16_t unit = text.at(i++).unicode();
        if (QChar::isHighSurrogate(unit)) // the decoder gives no lone halves
            return QChar::surrogateToUcs4(unit, text.at(i++).unicode());
        return unit;
    };
    char32_t before = None;
    for (char32_t c = next(); c != None;) {
        const char32_t after = next();
        if (IsImplausibleChar(c) || IsLoneLetterInLatinWord(before, c, after))
            return false;
        before = c;
        c = after;
    }
    return true;
}
