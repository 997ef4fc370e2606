#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// An INI file held in memory: read whole when created, written whole by UpdateFile.
// The file holds Windows-1250 text, or UTF-8 after a byte-order mark; it is always written in
// Windows-1250. Only a regular file of a bounded size is read; any other counts as unreadable,
// and the object then starts empty and refuses to write over it. Lines are trimmed; empty lines, ';' comments
// and lines before the first section are dropped. Sections and keys compare without letter case. A section
// that appears twice is merged into its first appearance; of two entries with one key the first is the one
// read and written. Sections and keys are indexed, so a large file reads and writes in linear time.
class TMemIniFile {
public:
    explicit TMemIniFile(const QString& fileName);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // A whole number: true when not 0; anything else gives the default.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    // A section, key or value holding a line break (it would turn into sections and keys of its
    // own) or a character that Windows-1250 cannot hold is refused with an exception; nothing is
    // changed then.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteBool(const QString& section, const QString& key, bool value); // "1" or "0"

    bool SectionExists(const QString& section) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const; // the keys, in file order

    // Writes the whole file through a temporary file; throws EFileError on failure and then
    // leaves the old file as it was.
    void UpdateFile();

private:
    struct Line {
        bool entry = false;
        QString key;   // entry only
        QString value; // entry only
        QString text;  // a line without '=', kept as it is
    };
    struct Section {
        QString name;
        QList<Line> lines;
        QHash<QString, qsizetype> keys; // folded key -> index of its first entry in lines
    };

    const Section* FindSection(const QString& name) const;
    Section* FindSection(const QString& name);
    const Line* FindEntry(const QString& section, const QString& key) const;
    Section& AddSection(const QString& name);
    static void AddLine(Section& section, const Line& line);
    void Parse(const QString& text);

    QString fileName_;
    QList<Section> sections_;
    QHash<QString, qsizetype> sectionIndex_; // folded name -> index in sections_
    bool unreadable_ = false;                // the file exists but could not be read
};
