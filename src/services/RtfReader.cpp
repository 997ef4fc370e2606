#include "RtfReader.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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
        Flush();
        cursor_.insertBlock();
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
        {"line", 0x2028},   {"tab", '\t'},         {"emdash", 0x2014},
        {"endash", 0x2013}, {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
    };
    const bool on = !hasParam || param != 0;
    if (const auto found = Characters.constFind(word); found != Characters.cend()) {
        AddChar(QChar(*found));
    } else if (word == "par") {
        Flush();
        cursor_.insertBlock();
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
        else if (word == "fs")
            state_.halfPoints = hasParam ? std::max(param, 0) : 24;
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
    cursor_.insertText(std::exchange(text_, {}), runFormat_);
}

void TRtfReader::FlushRun() {
    if (runs_ < RtfMaxFormatRuns)
        Flush(); // past the bound the text gathers up to the paragraph's end
}

void TRtfReader::SetCodePage(int codePage) {
    const QByteArray name =
        codePage == 65001 ? QByteArray("UTF-8") : "windows-" + QByteArray::number(codePage);
    decoder_ = QStringDecoder(name.constData());
}
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// End of the piece of paragraph that starts at from: the paragraph's end when it is near enough, else
// just after the last blank within MaxShownParagraph characters, else after that many characters
// (never between the two halves of a surrogate pair).
qsizetype PieceEnd(QStringView paragraph, qsizetype from) {
    qsizetype end = from + MaxShownParagraph;
    if (end >= paragraph.size())
        return paragraph.size();
    for (qsizetype i = end; i > from; --i)
        if (IsBlank(paragraph[i - 1]))
            return i;
    if (paragraph[end - 1].isHighSurrogate())
        --end;
    return end;
}

// Breaks every paragraph of the cursor's document into pieces, from the last break to the first so
// that the positions found stay valid.
void BreakLongParagraphs(QTextCursor& cursor) {
    QList<int> breaks;
    for (QTextBlock block = cursor.document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= MaxShownParagraph)
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
    if (data.startsWith("{\\rtf"))
        TRtfReader(data, cursor).Read();
    else
        cursor.insertText(FromAnsi(data));
    BreakLongParagraphs(cursor);
    cursor.endEditBlock();
}

QString BreakLongLines(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / MaxShownParagraph);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool lineEnd =
            i == text.size() || text[i] == u'\n' || text[i] == u'\r' || text[i] == QChar::ParagraphSeparator;
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
