#include "RtfReader.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "Encoding.h"
#include "Fonts.h"

namespace {
// Groups whose contents are not document text.
bool IsSkippedDestination(const QByteArray& word) {
    static const QByteArrayList names =
        QByteArray(
            "colortbl stylesheet info pict object header headerl headerr headerf footer "
            "footerl footerr footerf footnote listtable listoverridetable revtbl rsidtbl filetbl "
            "themedata colorschememapping latentstyles datastore xmlnstbl generator fldinst nonshppict")
            .split(' ');
    return names.contains(word);
}

struct GroupState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0; // 0: the document's own size
    int font = -1;      // entry of the font table; -1: the document's default font
    int uc = 1;         // characters of fallback after \u
    bool skip = false;  // inside a destination that shows nothing
    bool fontTable = false;
};

// Font table entries past this many are not looked up: runs in their fonts use the default font.
constexpr int MaxFonts = 256;

// The characters that end a line where a document shows text: those that end a paragraph when
// inserted, and the line separator.
bool IsBreak(char32_t c) {
    switch (c) {
    case u'\n':
    case u'\r':
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xFDD0: // the beginning and the end of a frame
    case 0xFDD1:
        return true;
    default:
        return false;
    }
}

// Bounds what the view spends a cost of its own on, over the pieces of one text: breaks, and the
// runs that the layout shapes apart (a run of one script, direction and font, a tab).
class TShownText {
public:
    // The piece with its breaks past MaxShownBreaks shown as blanks (CR LF counted once, as a
    // document counts it), its tabs past MaxShownRuns as blanks and its characters that would start
    // a run past MaxShownRuns as '?'.
    QString Bound(const QString& piece);

private:
    enum class TDirection { Left, Right, Number, Embedding };
    struct TRun { // Latin text by default
        QChar::Script script = QChar::Script_Latin;
        TDirection direction = TDirection::Left;
        bool symbol = false; // arrows, shapes, pictures and the like, often in a font of their own
        bool operator==(const TRun&) const = default;
    };
    TRun RunOf(char32_t c) const; // the run that c shows in, after the current one
    qsizetype breaksLeft_ = MaxShownBreaks;
    qsizetype runsLeft_ = MaxShownRuns;
    TRun run_;
};

QString TShownText::Bound(const QString& piece) {
    QString out;        // made only once a character shows otherwise
    qsizetype kept = 0; // the piece up to here is in out
    const auto showAs = [&](qsizetype from, qsizetype to, QChar shown) {
        out += QStringView(piece).mid(kept, from - kept);
        out += shown;
        kept = to;
    };
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const char16_t unit = piece[i].unicode();
        if (unit < 0x250 && unit >= u' ' && run_ == TRun{}) // Latin and common text: no break, tab or run
            continue;
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < piece.size() && piece[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(unit, piece[i + 1].unicode()) : unit;
        const qsizetype from = i;
        i += pair ? 1 : 0;
        if (IsBreak(c)) {
            i += c == u'\r' && i + 1 < piece.size() && piece[i + 1] == u'\n' ? 1 : 0; // CR LF is one break
            if (breaksLeft_ > 0)
                --breaksLeft_;
            else
                showAs(from, i + 1, u' ');
        } else if (c == u'\t') {
            if (runsLeft_ > 0)
                --runsLeft_;
            else
                showAs(from, i + 1, u' ');
        } else if (const TRun run = RunOf(c); run != run_ || run.direction == TDirection::Embedding) {
            if (runsLeft_ > 0) {
                --runsLeft_;
                run_ = run;
            } else {
                showAs(from, i + 1, u'?');
            }
        }
    }
    if (kept == 0)
        return piece;
    out += QStringView(piece).mid(kept);
    return out;
}

// A run as the layout itemizes it and picks its fonts, near enough: characters of no script of their
// own (spaces, digits, punctuation) keep the run's script, marks its script and font, and those of
// no direction of their own its direction; a number after right-to-left text, or an Arabic one,
// shows in a run of its own, and each embedding or isolate control starts one. Symbols from the
// arrows on (no character of Windows-1250 is among them) are apart from letters.
TShownText::TRun TShownText::RunOf(char32_t c) const {
    TRun run = run_;
    const QChar::Script script = QChar::script(c);
    if (script == QChar::Script_Common || script == QChar::Script_Unknown) {
        run.symbol = c >= 0x2190;
    } else if (script != QChar::Script_Inherited) {
        run.script = script;
        run.symbol = false;
    }
    switch (QChar::direction(c)) {
    case QChar::DirL:
        run.direction = TDirection::Left;
        break;
    case QChar::DirR:
    case QChar::DirAL:
        run.direction = TDirection::Right;
        break;
    case QChar::DirEN:
        if (run_.direction != TDirection::Left)
            run.direction = TDirection::Number;
        break;
    case QChar::DirAN:
        run.direction = TDirection::Number;
        break;
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirPDF:
    case QChar::DirLRI:
    case QChar::DirRLI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        run.direction = TDirection::Embedding;
        break;
    default:
        break;
    }
    return run;
}

class TRtfReader {
public:
    TRtfReader(const QByteArray& data, QTextCursor& cursor)
        : data_(data), cursor_(cursor),
          defaultFamily_(ScalableFamily(cursor.document()->defaultFont().family())) {
        SetCodePage(1250);
    }
    void Read();

private:
    void Control();
    void Word(const QByteArray& word, bool hasParam, int param);
    void Symbol(char c);
    void AddByte(char byte);
    void AddChar(QChar c);
    QString ToText(const QByteArray& bytes); // in the document's code page
    void Decode();                           // moves the pending bytes into the pending text
    void Flush();                            // writes the pending text in the current format
    void FlushRun();                         // the same where a format run may end
    void Insert(QString text);               // in the run's format, large text within its bound
    void SetCodePage(int codePage);
    void AddFontNameByte(char byte);
    QString Family() const; // of the current run
    // True when the current character is swallowed as \u fallback.
    bool Swallowed();

    const QByteArray& data_;
    qsizetype pos_ = 0;
    QTextCursor& cursor_;
    QList<GroupState> stack_;
    GroupState state_;
    QByteArray bytes_; // text bytes not yet decoded
    QString text_;     // decoded text not yet written
    QStringDecoder decoder_;
    int fallbackLeft_ = 0;
    int tooDeep_ = 0;              // open groups past the depth bound
    QHash<int, QString> families_; // font table: number -> family to show
    QString defaultFamily_;        // of runs in no font of the table
    int defaultFont_ = -1;
    int fontEntry_ = -1; // number of the font table entry being read
    int runs_ = 0;       // format runs written
    QTextCharFormat runFormat_;
    qsizetype largeLeft_ = RtfMaxLargeCharacters; // characters that may still show large
    TShownText shown_;
    QByteArray fontName_; // its name so far
};

void TRtfReader::Read() {
    while (pos_ < data_.size()) {
        const char c = data_.at(pos_++);
        if (tooDeep_ > 0) { // only the group structure is followed there
            if (c == '{')
                ++tooDeep_;
            else if (c == '}')
                --tooDeep_;
            else if (c == '\\')
                ++pos_; // an escaped brace
            continue;
        }
        if (c == '{' && stack_.size() >= RtfMaxGroupDepth) {
            tooDeep_ = 1;
        } else if (c == '{') {
            stack_.append(state_);
            fallbackLeft_ = 0;
        } else if (c == '}') {
            if (state_.fontTable && !state_.skip && !fontName_.isEmpty())
                AddFontNameByte(';'); // an entry without its ';'
            FlushRun();
            fallbackLeft_ = 0;
            if (stack_.isEmpty())
                break;
            state_ = stack_.takeLast();
            if (stack_.isEmpty())
                break; // the document's group is closed
        } else if (c == '\\') {
            Control();
        } else if (c != '\r' && c != '\n') {
            AddByte(c);
        }
    }
    Flush();
}

void TRtfReader::Control() {
    if (pos_ >= data_.size())
        return;
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!isLetter(data_.at(pos_))) {
        Symbol(data_.at(pos_++));
        return;
    }
    const qsizetype start = pos_;
    while (pos_ < data_.size() && isLetter(data_.at(pos_)))
        ++pos_;
    const QByteArray word = data_.mid(start, pos_ - start);
    bool hasParam = false;
    qint64 param = 0;
    const bool negative = pos_ < data_.size() && data_.at(pos_) == '-';
    if (negative)
        ++pos_;
    while (pos_ < data_.size() && isDigit(data_.at(pos_))) {
        hasParam = true;
        param = std::min<qint64>(param * 10 + (data_.at(pos_++) - '0'), 1 << 30);
    }
    if (pos_ < data_.size() && data_.at(pos_) == ' ')
        ++pos_;
    Word(word, hasParam, int(negative ? -param : param));
}

void TRtfReader::Symbol(char c) {
    if (c == '\'') {
        const QByteArray hex = data_.mid(pos_, 2);
        pos_ += hex.size();
        bool ok = false;
        const int byte = hex.toInt(&ok, 16);
        if (ok)
            AddByte(char(byte));
        return;
    }
    if (c == '*') {
        state_.skip = true; // an optional destination this reader does not know
        return;
    }
    if (state_.skip || state_.fontTable || Swallowed())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        bytes_ += c;
        break;
    case '~':
        AddChar(QChar(0x00A0));
        break;
    case '_':
        AddChar('-');
        break;
    case '\r':
    case '\n':
        AddChar(QChar::ParagraphSeparator);
        break;
    default: // an optional hyphen and unknown symbols show nothing
        break;
    }
}

void TRtfReader::Word(const QByteArray& word, bool hasParam, int param) {
    if (word == "bin") {
        if (hasParam && param > 0)
            pos_ = std::min<qsizetype>(pos_ + param, data_.size());
        return;
    }
    if (state_.skip)
        return;
    if (IsSkippedDestination(word)) {
        state_.skip = true;
        return;
    }
    if (Swallowed())
        return;
    if (word == "fonttbl")
        state_.fontTable = true;
    if (state_.fontTable) { // only the entries' numbers and names count there
        if (word == "f") {
            fontEntry_ = param;
            fontName_.clear();
        }
        return;
    }

    static const QHash<QByteArray, char16_t> Characters = {
        {"par", QChar::ParagraphSeparator},
        {"line", QChar::LineSeparator},
        {"tab", '\t'},
        {"emdash", 0x2014},
        {"endash", 0x2013},
        {"bullet", 0x2022},
        {"lquote", 0x2018},
        {"rquote", 0x2019},
        {"ldblquote", 0x201C},
        {"rdblquote", 0x201D},
    };
    const bool on = !hasParam || param != 0;
    if (const auto found = Characters.constFind(word); found != Characters.cend()) {
        AddChar(QChar(*found));
    } else if (word == "u" && hasParam) {
        AddChar(QChar(char16_t(param < 0 ? param + 65536 : param)));
        fallbackLeft_ = state_.uc;
    } else if (word == "uc") {
        state_.uc = std::max(param, 0);
    } else if (word == "ansicpg") {
        Flush();
        SetCodePage(param);
    } else if (word == "deff") {
        defaultFont_ = param;
    } else if (word == "b" || word == "i" || word == "ul" || word == "ulnone" || word == "fs" ||
               word == "f" || word == "plain") {
        FlushRun();
        if (word == "b")
            state_.bold = on;
        else if (word == "i")
            state_.italic = on;
        else if (word == "ul")
            state_.underline = on;
        else if (word == "ulnone")
            state_.underline = false;
        else if (word == "fs") // 0: the document's own size
            state_.halfPoints = !hasParam    ? 24
                                : param <= 0 ? 0
                                             : std::clamp(param, 2 * RtfMinPointSize, 2 * RtfMaxPointSize);
        else if (word == "f")
            state_.font = param;
        else
            state_ = GroupState{.uc = state_.uc, .skip = state_.skip, .fontTable = state_.fontTable};
    }
    // Any other word changes nothing that is shown here.
}

bool TRtfReader::Swallowed() {
    if (fallbackLeft_ == 0)
        return false;
    --fallbackLeft_;
    return true;
}

void TRtfReader::AddByte(char byte) {
    if (state_.skip || Swallowed())
        return;
    if (state_.fontTable)
        AddFontNameByte(byte);
    else
        bytes_ += byte;
}

// An entry's name ends with ';'.
void TRtfReader::AddFontNameByte(char byte) {
    if (byte != ';') {
        fontName_ += byte;
        return;
    }
    const QString name = ToText(fontName_).trimmed();
    fontName_.clear();
    if (!name.isEmpty() && (families_.size() < MaxFonts || families_.contains(fontEntry_)))
        families_.insert(fontEntry_, ScalableFamily(name));
}

// A font missing from the table is the default font.
QString TRtfReader::Family() const {
    const auto found = families_.constFind(state_.font);
    return found != families_.cend() ? *found : families_.value(defaultFont_, defaultFamily_);
}

void TRtfReader::Decode() {
    if (bytes_.isEmpty())
        return;
    text_ += ToText(bytes_);
    bytes_.clear();
}

QString TRtfReader::ToText(const QByteArray& bytes) {
    return decoder_.isValid() ? QString(decoder_.decode(bytes)) : FromAnsi(bytes);
}

void TRtfReader::AddChar(QChar c) {
    Decode();
    text_ += c;
}

void TRtfReader::Flush() {
    Decode();
    if (text_.isEmpty())
        return;
    if (runs_ < RtfMaxFormatRuns) {
        ++runs_;
        runFormat_ = QTextCharFormat();
        runFormat_.setFontFamilies({Family()});
        runFormat_.setFontWeight(state_.bold ? QFont::Bold : QFont::Normal);
        runFormat_.setFontItalic(state_.italic);
        runFormat_.setFontUnderline(state_.underline);
        if (state_.halfPoints > 0)
            runFormat_.setFontPointSize(state_.halfPoints / 2.0);
    }
    // Breaks, tabs and scripts come from words, symbols, \u and code-page bytes alike: counted here.
    Insert(shown_.Bound(std::exchange(text_, {})));
}

void TRtfReader::FlushRun() {
    if (runs_ < RtfMaxFormatRuns)
        Flush(); // past the bound the text gathers up to the end
}

// A paragraph end inserted with the text takes its format, which sizes the paragraph when empty.
void TRtfReader::Insert(QString text) {
    if (runFormat_.fontPointSize() > RtfLargePointSize) {
        qsizetype large = std::min(text.size(), largeLeft_);
        if (large < text.size() && large > 0 && text[large - 1].isHighSurrogate())
            --large; // a surrogate pair stays in one format
        largeLeft_ -= large;
        if (large > 0)
            cursor_.insertText(text.left(large), runFormat_);
        text.remove(0, large);
        if (text.isEmpty())
            return;
        runFormat_.setFontPointSize(RtfLargePointSize); // from here on, past the bound of runs too
    }
    cursor_.insertText(text, runFormat_);
}

void TRtfReader::SetCodePage(int codePage) {
    const QByteArray name =
        codePage == 65001 ? QByteArray("UTF-8") : "windows-" + QByteArray::number(codePage);
    decoder_ = QStringDecoder(name.constData());
}
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Where a piece of paragraph ends that is cut in the middle of a word, at end or just before it:
// never between the two halves of a surrogate pair.
qsizetype CutEnd(QStringView paragraph, qsizetype end) {
    return paragraph[end - 1].isHighSurrogate() ? end - 1 : end;
}

// End of the piece of paragraph that starts at from: the paragraph's end when it is near enough, else
// just after the last blank within MaxShownParagraph characters, else after that many characters. A
// word longer than MaxShownWord ends the piece before it, after the last blank, and is itself cut
// after that many characters.
qsizetype PieceEnd(QStringView paragraph, qsizetype from) {
    qsizetype afterBlank = from; // just after the last blank of the piece
    for (qsizetype i = from; i < paragraph.size(); ++i) {
        if (i - from == MaxShownParagraph)
            return afterBlank > from ? afterBlank : CutEnd(paragraph, i);
        if (IsBlank(paragraph[i]))
            afterBlank = i + 1;
        else if (i - afterBlank == MaxShownWord)
            return afterBlank > from ? afterBlank : CutEnd(paragraph, i);
    }
    return paragraph.size();
}

// Breaks every paragraph of the cursor's document into pieces, from the last break to the first so
// that the positions found stay valid.
void BreakLongParagraphs(QTextCursor& cursor) {
    QList<int> breaks;
    for (QTextBlock block = cursor.document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= MaxShownWord)
            continue;
        const QString text = block.text();
        for (qsizetype end = PieceEnd(text, 0); end < text.size(); end = PieceEnd(text, end))
            breaks << block.position() + int(end);
    }
    for (auto at = breaks.crbegin(); at != breaks.crend(); ++at) {
        cursor.setPosition(*at);
        cursor.insertBlock();
    }
}
} // namespace

void ReadRtf(const QByteArray& data, QTextDocument* doc) {
    doc->clear();
    QTextCursor cursor(doc);
    // One edit: a layout that followed each format run would go over the paragraph every time.
    cursor.beginEditBlock();
    if (data.startsWith("{\\rtf")) {
        TRtfReader(data, cursor).Read();
    } else {
        cursor.insertText(TShownText().Bound(FromAnsi(data)));
    }
    BreakLongParagraphs(cursor);
    cursor.endEditBlock();
}

QString ShownLines(const QString& shown) {
    const QString text = TShownText().Bound(shown);
    QString out;
    out.reserve(text.size() + text.size() / MaxShownParagraph);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool lineEnd = i == text.size() || IsBreak(text[i].unicode());
        if (!lineEnd)
            continue;
        const QStringView line = QStringView(text).mid(lineStart, i - lineStart);
        for (qsizetype from = 0, end = 0; from < line.size(); from = end) {
            end = PieceEnd(line, from);
            out += line.mid(from, end - from);
            if (end < line.size())
                out += u'\n';
        }
        if (i < text.size())
            out += text[i];
        lineStart = i + 1;
    }
    return out;
}
