#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <utility>

#include "Encoding.h"
#include "Exception.h"

namespace {
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

bool SameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
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
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    Parse(FromAnsi(file.readAll()));
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
            if (!current) {
                sections_.append({name, {}});
                current = &sections_.last();
            }
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
        current->lines.append(entry);
    }
}

const TMemIniFile::Section* TMemIniFile::FindSection(const QString& name) const {
    for (const Section& section : sections_) {
        if (SameName(section.name, name))
            return &section;
    }
    return nullptr;
}

TMemIniFile::Section* TMemIniFile::FindSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TMemIniFile::Line* TMemIniFile::FindEntry(const QString& section, const QString& key) const {
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    for (const Line& line : found->lines) {
        if (line.entry && SameName(line.key, key))
            return &line;
    }
    return nullptr;
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
    Section* found = FindSection(section);
    if (!found) {
        sections_.append({section, {}});
        found = &sections_.last();
    }
    for (Line& line : found->lines) {
        if (line.entry && SameName(line.key, key)) {
            line.value = value;
            return;
        }
    }
    Line line;
    line.entry = true;
    line.key = key;
    line.value = value;
    found->lines.append(line);
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
    const QByteArray bytes = ToAnsi(text);

    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Nie je možné vytvoriť súbor \"%1\".").arg(fileName_));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\".").arg(fileName_));
    }
}
