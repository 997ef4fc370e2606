#include "IniFile.h"

#include <QFileInfo>
#include <utility>

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "Encoding.h"
#include "Exception.h"

namespace {
// Far above any settings or language file.
constexpr qint64 MaxIniFileBytes = 8 << 20;

// Windows-1250, or UTF-8 after its byte-order mark (a file saved by an editor that adds one).
QString DecodeIniText(const QByteArray& bytes) {
    static const QByteArray Utf8Mark = "\xEF\xBB\xBF";
    if (bytes.startsWith(Utf8Mark))
        return QString::fromUtf8(bytes.mid(Utf8Mark.size()));
    return FromAnsi(bytes);
}

// Removes blanks and control characters at both ends.
QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= ' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= ' ')
        --last;
    return text.mid(first, last - first);
}

// Names that compare equal without letter case have one folded form, the index key.
QString Folded(const QString& name) {
    return name.toCaseFolded();
}

bool HasLineBreak(const QString& text) {
    return text.contains('\r') || text.contains('\n');
}

// Splits on CR LF, LF or CR.
QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}
} // namespace

TMemIniFile::TMemIniFile(const QString& fileName) : fileName_(fileName) {
    if (!QFileInfo::exists(fileName))
        return;
    const std::optional<QByteArray> bytes = ReadBoundedFile(fileName, MaxIniFileBytes);
    if (!bytes) {
        unreadable_ = true; // a FIFO, a device, a folder or a huge file
        return;
    }
    Parse(DecodeIniText(*bytes));
}

void TMemIniFile::Parse(const QString& text) {
    Section* current = nullptr;
    for (const QString& raw : SplitLines(text)) {
        const QString line = TrimBlanks(raw);
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2) {
            const QString name = TrimBlanks(line.mid(1, line.size() - 2));
            current = FindSection(name);
            if (!current)
                current = &AddSection(name);
            continue;
        }
        if (!current)
            continue;
        Line entry;
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0) {
            entry.entry = true;
            entry.key = TrimBlanks(line.left(eq));
            entry.value = TrimBlanks(line.mid(eq + 1));
        } else {
            entry.text = line;
        }
        AddLine(*current, entry);
    }
}

TMemIniFile::Section& TMemIniFile::AddSection(const QString& name) {
    sectionIndex_.insert(Folded(name), sections_.size());
    sections_.append({name, {}, {}});
    return sections_.last();
}

void TMemIniFile::AddLine(Section& section, const Line& line) {
    if (line.entry) {
        const QString key = Folded(line.key);
        if (!section.keys.contains(key)) // the first entry of a key is the one read and written
            section.keys.insert(key, section.lines.size());
    }
    section.lines.append(line);
}

const TMemIniFile::Section* TMemIniFile::FindSection(const QString& name) const {
    const auto found = sectionIndex_.constFind(Folded(name));
    return found == sectionIndex_.cend() ? nullptr : &sections_.at(*found);
}

TMemIniFile::Section* TMemIniFile::FindSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TMemIniFile::Line* TMemIniFile::FindEntry(const QString& section, const QString& key) const {
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    const auto index = found->keys.constFind(Folded(key));
    return index == found->keys.cend() ? nullptr : &found->lines.at(*index);
}

QString TMemIniFile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    const Line* line = FindEntry(section, key);
    return line ? line->value : defaultValue;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    const Line* line = FindEntry(section, key);
    if (!line)
        return defaultValue;
    bool ok = false;
    const qlonglong number = line->value.toLongLong(&ok, 10);
    return ok ? number != 0 : defaultValue;
}

int TMemIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const Line* line = FindEntry(section, key);
    if (!line)
        return defaultValue;
    bool ok = false;
    const int number = line->value.toInt(&ok, 10);
    return ok ? number : defaultValue;
}

void TMemIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        throw Exception(QStringLiteral("Nastavenie \"%1\" v sekcii [%2] nie je možné uložiť: názov ani "
                                       "hodnota nesmú obsahovať koniec riadka.")
                            .arg(key, section));
    // The file holds Windows-1250: a character outside it would come back as another one.
    for (const QString& text : {section, key, value}) {
        const qsizetype at = FindNonAnsiChar(text);
        if (at >= 0)
            throw Exception(QStringLiteral("Nastavenie \"%1\" v sekcii [%2] nie je možné uložiť: znak \"%3\" "
                                           "nie je možné zapísať do súboru nastavení.")
                                .arg(key, section, CharAt(text, at)));
    }
    Section* found = FindSection(section);
    if (!found)
        found = &AddSection(section);
    const auto index = found->keys.constFind(Folded(key));
    if (index != found->keys.cend()) {
        found->lines[*index].value = value;
        return;
    }
    Line line;
    line.entry = true;
    line.key = key;
    line.value = value;
    AddLine(*found, line);
}

void TMemIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TMemIniFile::SectionExists(const QString& section) const {
    return FindSection(section) != nullptr;
}

QStringList TMemIniFile::ReadSections() const {
    QStringList names;
    for (const Section& section : sections_)
        names << section.name;
    return names;
}

QStringList TMemIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    if (const Section* found = FindSection(section)) {
        for (const Line& line : found->lines) {
            if (line.entry)
                keys << line.key;
        }
    }
    return keys;
}

void TMemIniFile::UpdateFile() {
    // A file we could not read would lose its contents if written over.
    if (unreadable_)
        throw EFileError(QStringLiteral("Nie je možné čítať súbor \"%1\".").arg(fileName_));

    QString text;
    for (const Section& section : sections_) {
        text += '[' + section.name + "]\r\n";
        for (const Line& line : section.lines)
            text += (line.entry ? line.key + '=' + line.value : line.text) + "\r\n";
        text += "\r\n";
    }
    // Written whole and checked before it replaces the old file: a full disk leaves that as it was.
    bool created = false;
    if (!WriteFileAtomically(fileName_, ToAnsi(text), nullptr, &created)) {
        if (!created)
            throw EFileError(QStringLiteral("Nie je možné vytvoriť súbor \"%1\".").arg(fileName_));
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\".").arg(fileName_));
    }
}
