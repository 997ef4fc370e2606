#include "IniFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "Encoding.h"
#include "Exception.h"

namespace {
constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
constexpr quint32 Utf8MarkSize = sizeof Utf8Mark - 1;
constexpr int MaxMegabytes = int(TMemIniFile::MaxFileBytes >> 20);

// What the reader trims from lines, names and values: a space or a control character below it.
bool IsSpaceOrControlByte(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

char16_t LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char16_t(c - 'A' + 'a') : char16_t(static_cast<unsigned char>(c));
}

bool IsAscii(const char* bytes, qsizetype size) {
    return std::all_of(bytes, bytes + size, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool HasLineBreak(const QString& text) {
    return text.contains('\r') || text.contains('\n');
}

bool HasOuterBlank(const QString& name) {
    return !name.isEmpty() && (name.front().unicode() <= ' ' || name.back().unicode() <= ' ');
}

// Why the section or key would be read back as another name or as no entry; empty when it would not.
QString NameProblem(const QString& section, const QString& key) {
    if (HasOuterBlank(section) || HasOuterBlank(key))
        return QStringLiteral("názov nesmie začínať ani končiť medzerou.");
    if (key.contains('='))
        return QStringLiteral("kľúč nesmie obsahovať znak \"=\".");
    if (key.startsWith(';') || key.startsWith('['))
        return QStringLiteral("kľúč nesmie začínať znakom \";\" ani \"[\".");
    return {};
}

// Spreads a hash over the low bits, which pick the slot.
size_t Spread(size_t hash) {
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    return hash ^ (hash >> 33);
}

Exception RefusedSetting(const QString& section, const QString& key, const QString& reason) {
    return Exception(
        QStringLiteral("Nastavenie \"%1\" v sekcii [%2] nie je možné uložiť: %3").arg(key, section, reason));
}

Exception TooLarge(const QString& section, const QString& key) {
    return RefusedSetting(section, key,
                          QStringLiteral("súbor nastavení by bol väčší ako %1 MB.").arg(MaxMegabytes));
}
} // namespace

// A section name or key as compared, without letter case: a name in ASCII by its bytes, any other
// by its case-folded text. Equal names have one hash.
class TMemIniFile::Name {
public:
    explicit Name(const QString& name) : folded_(name.toCaseFolded()) { Hash(); }
    Name(const char* bytes, qsizetype size, bool utf8) {
        isAscii_ = IsAscii(bytes, size);
        if (isAscii_)
            ascii_ = QByteArrayView(bytes, size);
        else
            folded_ = (utf8 ? FromUtf8(bytes, size) : FromAnsi(bytes, size)).toCaseFolded();
        Hash();
    }

    size_t HashValue() const { return hash_; }
    bool operator==(const Name& other) const {
        if (hash_ != other.hash_ || Size() != other.Size())
            return false;
        for (qsizetype i = 0; i < Size(); ++i) {
            if (Unit(i) != other.Unit(i))
                return false;
        }
        return true;
    }

private:
    qsizetype Size() const { return isAscii_ ? ascii_.size() : folded_.size(); }
    char16_t Unit(qsizetype i) const { return isAscii_ ? LowerAscii(ascii_[i]) : folded_.at(i).unicode(); }
    void Hash() {
        hash_ = 14695981039346656037ULL; // FNV-1a over the folded units
        for (qsizetype i = 0; i < Size(); ++i)
            hash_ = (hash_ ^ Unit(i)) * 1099511628211ULL;
    }

    QByteArrayView ascii_;
    QString folded_;
    bool isAscii_ = false;
    size_t hash_ = 0;
};

void TMemIniFile::IdTable::Reserve(qsizetype count) {
    size_t size = 8;
    while (size * 2 < size_t(count) * 3)
        size *= 2;
    slots_.assign(size, 0);
    count_ = 0;
}

template <typename Matches> qint64 TMemIniFile::IdTable::Find(size_t hash, Matches matches) const {
    if (slots_.empty())
        return -1;
    const size_t mask = slots_.size() - 1;
    for (size_t i = Spread(hash) & mask; slots_[i] != 0; i = (i + 1) & mask) {
        if (matches(slots_[i] - 1))
            return slots_[i] - 1;
    }
    return -1;
}

template <typename HashOf> void TMemIniFile::IdTable::Insert(size_t hash, quint32 id, HashOf hashOf) {
    const auto place = [this](size_t h, quint32 slot) {
        const size_t mask = slots_.size() - 1;
        size_t i = Spread(h) & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    };
    if (size_t(count_ + 1) * 3 > slots_.size() * 2) { // kept at most two thirds full
        const std::vector<quint32> old = std::move(slots_);
        slots_.assign(std::max<size_t>(8, old.size() * 2), 0);
        for (const quint32 slot : old) {
            if (slot != 0)
                place(hashOf(slot - 1), slot);
        }
    }
    place(hash, id + 1);
    ++count_;
}

TMemIniFile::TMemIniFile(const QString& fileName, Utf8Sign sign) : fileName_(fileName) {
    if (!QFileInfo::exists(fileName))
        return;
    std::optional<QByteArray> bytes = ReadBoundedFile(fileName, MaxFileBytes);
    if (!bytes) {
        unreadable_ = true; // a FIFO, a device, a folder or a huge file
        return;
    }
    text_ = std::move(*bytes);
    utf8_ = text_.startsWith(Utf8Mark);
    if (!utf8_ && sign == Utf8Sign::MarkOrContent && IsUtf8Text(text_)) {
        text_.prepend(Utf8Mark);
        utf8_ = true;
    }
    Parse();
}

// Calls visit(header, span) for every line that is not empty or a comment, with the trimmed name of
// a bracket line or the trimmed line. Lines end with CR LF, LF or CR.
template <typename Visit> void TMemIniFile::ScanLines(Visit visit) const {
    const char* data = text_.constData();
    const quint32 size = quint32(text_.size());
    for (quint32 at = utf8_ ? Utf8MarkSize : 0; at < size;) {
        if (IsLineEnd(data[at])) {
            ++at;
            continue;
        }
        quint32 end = at;
        while (end < size && !IsLineEnd(data[end]))
            ++end;
        const Span line = Trim(at, end);
        at = end;
        const quint32 length = line.end - line.start;
        if (length == 0 || data[line.start] == ';')
            continue;
        if (length >= 2 && data[line.start] == '[' && data[line.end - 1] == ']')
            visit(true, Trim(line.start + 1, line.end - 1));
        else
            visit(false, line);
    }
}

void TMemIniFile::Parse() {
    // First the sections, each with the number of its lines; then the lines, each section's together.
    std::vector<quint32> headers; // the section of each bracket line
    qint64 current = -1;
    ScanLines([&](bool header, Span span) {
        if (!header) {
            if (current >= 0)
                ++sections_[size_t(current)].count;
            return;
        }
        const Name name = NameOf(span);
        current = FindSection(name);
        if (current < 0) {
            current = qint64(sections_.size());
            sections_.push_back({span, 0, 0});
            sectionIndex_.Insert(name.HashValue(), quint32(current),
                                 [this](quint32 id) { return SectionHashOf(id); });
        }
        headers.push_back(quint32(current));
    });

    for (Section& section : sections_) {
        section.first = readLines_;
        readLines_ += section.count;
        section.count = 0;
    }
    lines_.resize(readLines_);
    size_t header = 0;
    current = -1;
    ScanLines([&](bool isHeader, Span span) {
        if (isHeader) {
            current = headers[header++];
        } else if (current >= 0) {
            Section& section = sections_[size_t(current)];
            lines_[section.first + section.count++] = span;
        }
    });

    outputBytes_ = utf8_ ? Utf8MarkSize : 0;
    for (const Section& section : sections_)
        outputBytes_ += SectionBytes(section.name);
    for (const Span& line : lines_)
        outputBytes_ += LineBytes(line);
    IndexKeys();
}

void TMemIniFile::IndexKeys() {
    keyIndex_.Reserve(qsizetype(lines_.size()));
    for (quint32 section = 0; section < sections_.size(); ++section) {
        const Section& s = sections_[section];
        for (quint32 line = s.first; line < s.first + s.count; ++line) {
            Span key, value;
            if (!Split(lines_[line], &key, &value))
                continue;
            const Name name = NameOf(key);
            if (FindEntry(section, name) < 0) // the first entry of a key is the one read and written
                keyIndex_.Insert(KeyHash(section, name.HashValue()), line,
                                 [this](quint32 id) { return KeyHashOf(id); });
        }
    }
}

TMemIniFile::Span TMemIniFile::Trim(quint32 start, quint32 end) const {
    const char* data = text_.constData();
    while (start < end && IsSpaceOrControlByte(data[start]))
        ++start;
    while (end > start && IsSpaceOrControlByte(data[end - 1]))
        --end;
    return {start, end};
}

bool TMemIniFile::Split(Span line, Span* key, Span* value) const {
    const char* data = text_.constData();
    const void* equals = std::memchr(data + line.start, '=', line.end - line.start);
    if (!equals)
        return false;
    const quint32 at = quint32(static_cast<const char*>(equals) - data);
    *key = Trim(line.start, at);
    *value = Trim(at + 1, line.end);
    return true;
}

qint64 TMemIniFile::LineBytes(Span line) const {
    Span key, value;
    if (Split(line, &key, &value))
        return qint64(key.end - key.start) + 1 + (value.end - value.start) + 2;
    return qint64(line.end - line.start) + 2;
}

qint64 TMemIniFile::SectionBytes(Span name) const {
    return qint64(name.end - name.start) + 6; // "[", the name, "]", the line end, the empty line
}

QString TMemIniFile::Decode(Span span) const {
    const char* bytes = text_.constData() + span.start;
    const qsizetype size = span.end - span.start;
    return utf8_ ? FromUtf8(bytes, size) : FromAnsi(bytes, size);
}

QByteArray TMemIniFile::Encode(const QString& text) const {
    return utf8_ ? text.toUtf8() : ToAnsi(text);
}

TMemIniFile::Name TMemIniFile::NameOf(Span span) const {
    return Name(text_.constData() + span.start, span.end - span.start, utf8_);
}

size_t TMemIniFile::KeyHash(quint32 section, size_t nameHash) const {
    return nameHash ^ (size_t(section) + 1) * 0x9E3779B97F4A7C15ULL;
}

size_t TMemIniFile::SectionHashOf(quint32 section) const {
    return NameOf(sections_[section].name).HashValue();
}

size_t TMemIniFile::KeyHashOf(quint32 line) const {
    quint32 section = 0;
    if (line < readLines_) { // the last section that starts at or before the line holds it
        const auto after = std::upper_bound(sections_.begin(), sections_.end(), line,
                                            [](quint32 l, const Section& s) { return l < s.first; });
        section = quint32(after - sections_.begin() - 1);
    } else {
        section = lineSection_[line - readLines_];
    }
    Span key, value;
    Split(lines_[line], &key, &value);
    return KeyHash(section, NameOf(key).HashValue());
}

bool TMemIniFile::InSection(quint32 line, quint32 section) const {
    if (line >= readLines_)
        return lineSection_[line - readLines_] == section;
    return line - sections_[section].first < sections_[section].count;
}

qint64 TMemIniFile::FindSection(const Name& name) const {
    return sectionIndex_.Find(name.HashValue(),
                              [&](quint32 id) { return NameOf(sections_[id].name) == name; });
}

qint64 TMemIniFile::FindEntry(quint32 section, const Name& key) const {
    return keyIndex_.Find(KeyHash(section, key.HashValue()), [&](quint32 line) {
        Span k, v;
        return InSection(line, section) && Split(lines_[line], &k, &v) && NameOf(k) == key;
    });
}

qint64 TMemIniFile::FindEntry(const QString& section, const QString& key) const {
    const qint64 found = FindSection(Name(section));
    return found < 0 ? -1 : FindEntry(quint32(found), Name(key));
}

template <typename Each> void TMemIniFile::ForEachLine(quint32 section, Each each) const {
    const Section& s = sections_[section];
    for (quint32 line = s.first; line < s.first + s.count; ++line)
        each(lines_[line]);
    const auto added = added_.constFind(section);
    if (added != added_.cend()) {
        for (const quint32 line : *added)
            each(lines_[line]);
    }
}

TMemIniFile::Span TMemIniFile::Append(const QByteArray& bytes) {
    const quint32 start = quint32(text_.size());
    text_ += bytes;
    return {start, quint32(text_.size())};
}

QString TMemIniFile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    const qint64 line = FindEntry(section, key);
    Span k, value;
    return line >= 0 && Split(lines_[size_t(line)], &k, &value) ? Decode(value) : defaultValue;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    bool ok = false;
    const qlonglong number = ReadString(section, key, QString()).toLongLong(&ok, 10);
    return ok ? number != 0 : defaultValue;
}

int TMemIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int number = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? number : defaultValue;
}

void TMemIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        throw RefusedSetting(section, key,
                             QStringLiteral("názov ani hodnota nesmú obsahovať koniec riadka."));
    // The reader trims names, ends a key at its first '=' and skips comment lines.
    if (const QString problem = NameProblem(section, key); !problem.isEmpty())
        throw RefusedSetting(section, key, problem);
    // A character the file's code cannot hold would come back as another one.
    for (const QString& text : {section, key, value}) {
        const qsizetype at = FindUnwritableChar(text, utf8_ ? TTextCode::Utf8 : TTextCode::Windows1250);
        if (at >= 0)
            throw RefusedSetting(section, key,
                                 QStringLiteral("znak \"%1\" nie je možné zapísať do súboru nastavení.")
                                     .arg(CharAt(text, at)));
    }
    if (section.size() + key.size() + value.size() > MaxFileBytes) // no byte is shorter than a character
        throw TooLarge(section, key);

    const qint64 found = FindSection(Name(section));
    const qint64 line = found < 0 ? -1 : FindEntry(quint32(found), Name(key));
    // The new text goes after the file's; the old line keeps its key as the file spells it.
    const qsizetype mark = text_.size();
    const Span name = found < 0 ? Append(Encode(section)) : Span{};
    Span oldKey, oldValue;
    const bool changed = line >= 0 && Split(lines_[size_t(line)], &oldKey, &oldValue);
    const QByteArray keyBytes = changed ? text_.mid(oldKey.start, oldKey.end - oldKey.start) : Encode(key);
    const Span newLine = Append(keyBytes + '=' + Encode(value));
    const qint64 growth = LineBytes(newLine) - (changed ? LineBytes(lines_[size_t(line)]) : 0) +
                          (found < 0 ? SectionBytes(name) : 0);
    if (outputBytes_ + growth > MaxFileBytes || text_.size() > std::numeric_limits<quint32>::max()) {
        text_.truncate(mark);
        throw TooLarge(section, key);
    }
    outputBytes_ += growth;

    if (changed) {
        lines_[size_t(line)] = newLine;
        return;
    }
    quint32 s = quint32(found);
    if (found < 0) {
        s = quint32(sections_.size());
        sections_.push_back({name, readLines_, 0});
        sectionIndex_.Insert(NameOf(name).HashValue(), s, [this](quint32 id) { return SectionHashOf(id); });
    }
    const quint32 id = quint32(lines_.size());
    lines_.push_back(newLine);
    lineSection_.push_back(s);
    added_[s].push_back(id);
    keyIndex_.Insert(KeyHashOf(id), id, [this](quint32 other) { return KeyHashOf(other); });
}

void TMemIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TMemIniFile::SectionExists(const QString& section) const {
    return FindSection(Name(section)) >= 0;
}

QStringList TMemIniFile::ReadSections() const {
    QStringList names;
    for (const Section& section : sections_)
        names << Decode(section.name);
    return names;
}

QStringList TMemIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    const qint64 found = FindSection(Name(section));
    if (found >= 0) {
        ForEachLine(quint32(found), [&](Span line) {
            Span key, value;
            if (Split(line, &key, &value))
                keys << Decode(key);
        });
    }
    return keys;
}

void TMemIniFile::UpdateFile() {
    // A file we could not read would lose its contents if written over.
    if (unreadable_)
        throw EFileError(QStringLiteral("Nie je možné čítať súbor \"%1\".").arg(fileName_));
    // Its own reader would refuse it.
    if (outputBytes_ > MaxFileBytes)
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\": bol by väčší ako %2 MB.")
                             .arg(fileName_)
                             .arg(MaxMegabytes));

    QByteArray out;
    out.reserve(qsizetype(outputBytes_));
    if (utf8_)
        out += Utf8Mark;
    const auto bytes = [this](Span span) {
        return QByteArrayView(text_.constData() + span.start, span.end - span.start);
    };
    for (quint32 section = 0; section < sections_.size(); ++section) {
        out.append('[').append(bytes(sections_[section].name)).append("]\r\n");
        ForEachLine(section, [&](Span line) {
            Span key, value;
            if (Split(line, &key, &value))
                out.append(bytes(key)).append('=').append(bytes(value));
            else
                out.append(bytes(line));
            out += "\r\n";
        });
        out += "\r\n";
    }
    // Written whole and checked before it replaces the old file: a full disk leaves that as it was.
    bool created = false;
    if (!WriteFileAtomically(fileName_, out, nullptr, &created)) {
        if (!created)
            throw EFileError(QStringLiteral("Nie je možné vytvoriť súbor \"%1\".").arg(fileName_));
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\".").arg(fileName_));
    }
}
