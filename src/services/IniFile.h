#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// An INI file held in memory: read whole when created, written whole by UpdateFile.
// The file holds Windows-1250 text, or UTF-8 after a byte-order mark, and is written back in the code
// it came in (a UTF-8 file with its mark): names and values the program does not change keep their
// bytes. Only a regular file of a bounded size is read; any other counts as unreadable, and the object
// then starts empty and refuses to write over it. Lines are trimmed; empty lines, ';' comments and
// lines before the first section are dropped. Sections and keys compare without letter case. A section
// that appears twice is merged into its first appearance; of two entries with one key the first is the
// one read and written. The file's bytes are kept once, and sections and keys are indexed into them:
// reading takes linear time and a small multiple of the file's size in memory.
// Only the mark that starts a UTF-8 file is a mark: a U+FEFF anywhere else is text.
class TMemIniFile {
public:
    // The largest file read; a write that would make the file larger is refused.
    static constexpr qint64 MaxFileBytes = 8 << 20;

    // How a UTF-8 file is known: by its byte-order mark, or also by content that reads as UTF-8 text
    // (IsUtf8Text; files of other programs, which may write UTF-8 without the mark).
    enum class Utf8Sign { Mark, MarkOrContent };

    explicit TMemIniFile(const QString& fileName, Utf8Sign sign = Utf8Sign::Mark);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // A whole number: true when not 0; anything else gives the default.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    // Refused with an exception, nothing changed: a section, key or value holding a line break (it would
    // turn into sections and keys of its own), a section or key that would be read back as another
    // name or as no entry (a blank or control character at either end, a key holding '=' or beginning
    // with ';' or '['), a character that the file's code cannot hold (in a Windows-1250 file, one
    // outside Windows-1250), and a change that would make the written file larger than MaxFileBytes.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteBool(const QString& section, const QString& key, bool value); // "1" or "0"

    bool SectionExists(const QString& section) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const; // the keys, in file order

    // Writes the whole file through a temporary file; throws EFileError on failure and then
    // leaves the old file as it was.
    void UpdateFile();

private:
    // Bytes [start, end) of text_.
    struct Span {
        quint32 start = 0;
        quint32 end = 0;
    };
    // A section's lines read from the file are lines_[first, first + count); lines written later
    // are listed in added_.
    struct Section {
        Span name;
        quint32 first = 0;
        quint32 count = 0;
    };
    // Ids in an open-addressed table; the owner hashes and compares the names behind them.
    class IdTable {
    public:
        void Reserve(qsizetype count);
        template <typename Matches> qint64 Find(size_t hash, Matches matches) const;
        template <typename HashOf> void Insert(size_t hash, quint32 id, HashOf hashOf);

    private:
        std::vector<quint32> slots_; // id + 1; 0 is free
        qsizetype count_ = 0;
    };
    class Name;

    void Parse();
    template <typename Visit> void ScanLines(Visit visit) const;
    void IndexKeys();
    Span Trim(quint32 start, quint32 end) const;
    bool Split(Span line, Span* key, Span* value) const; // false for a line without '='
    qint64 LineBytes(Span line) const;                   // as written, line end included
    qint64 SectionBytes(Span name) const;                // its bracket line and the empty line after it
    QString Decode(Span span) const;
    QByteArray Encode(const QString& text) const;
    Name NameOf(Span span) const;
    size_t KeyHash(quint32 section, size_t nameHash) const;
    size_t SectionHashOf(quint32 section) const;
    size_t KeyHashOf(quint32 line) const;
    bool InSection(quint32 line, quint32 section) const;
    qint64 FindSection(const Name& name) const;
    qint64 FindEntry(quint32 section, const Name& key) const;
    qint64 FindEntry(const QString& section, const QString& key) const;
    template <typename Each> void ForEachLine(quint32 section, Each each) const;
    Span Append(const QByteArray& bytes);

    QString fileName_;
    QByteArray text_;                  // the file as read, then the text of every write
    bool utf8_ = false;                // the file came with a UTF-8 byte-order mark
    std::vector<Span> lines_;          // the lines of the sections, grouped by section
    quint32 readLines_ = 0;            // lines_ read from the file; the rest were written later
    std::vector<quint32> lineSection_; // the section of each line written later
    std::vector<Section> sections_;
    QHash<quint32, std::vector<quint32>> added_; // section -> its lines written later
    IdTable sectionIndex_;                       // sections by folded name
    IdTable keyIndex_;                           // the first entry of each key by section and folded key
    qint64 outputBytes_ = 0;                     // the size of the file UpdateFile writes
    bool unreadable_ = false;                    // the file exists but could not be read
};
