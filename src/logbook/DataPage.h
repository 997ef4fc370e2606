#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QLineEdit;
class TMaskEdit;
class TStringGrid;

// A text field that goes into the database or the settings, with the caption that names it.
struct TTextField {
    QLineEdit* field;
    QString caption;
};

// The behaviour every data page shares: entry fields above a grid, a read-only id field, and
// save, clear and delete buttons. A page states its table, its statements and its fields; this
// class runs the save, delete, double-click and Del-key rules.
class TDataPage : public QObject {
    Q_OBJECT
public:
    struct Definition {
        QString table;                       // table written and deleted from
        std::function<void()> createTable;   // its creation routine
        TStringGrid* grid = nullptr;         // the page's grid, column 0 the id
        QLineEdit* idField = nullptr;        // id of the record being edited, empty for a new one
        std::function<bool()> checkRequired; // false, with the focus moved, when an entry is missing
        QList<TTextField> textFields;        // checked to be storable after the required entries
        std::function<QStringList()> insertLines;
        std::function<QStringList()> updateLines; // without the closing "WHERE id = ..." line
        std::function<void()> loadGrid;           // reloads the grid with its default query
        std::function<void()> clear;              // the page's clear button
        std::function<void(int row)> rowToFields; // double-click: copies the grid row into the fields
        // The grid row of the record being saved, or -1 for a new one. Default: the row whose id
        // equals the id field. A page that also matches another key (the car's plate) sets it.
        std::function<int()> findRow;
        // The question before the update of the found row. Default: "Chcete upraviť a uložiť
        // položku s (ID = %s) ?" with the row's id.
        std::function<QString(int row)> updateQuestion;
        // Runs first inside the save's transaction, whatever the answer to the update question
        // (the opening states register their year there).
        std::function<void()> beginWrite;
        // Runs inside the save's transaction after an insert or update (the customer's year).
        std::function<void()> afterWrite;
        // The ids a delete removes and its question. Default: the current row's id, and
        // "Naozaj chcete položku s ID="%s" zmazať?".
        std::function<QStringList()> deleteIds;
        std::function<QString(const QStringList& ids)> deleteQuestion;
    };

    TDataPage(QObject* parent, Definition definition);

    void Save() { SaveRecord(def_); }
    void Delete() { DeleteRecords(def_); }
    void DblClick();
    void KeyDown(int key);

    const Definition& Def() const { return def_; }

    // The save button of a page: the required entries, then an insert, or an update after the
    // question when the record is in the grid; the grid reloaded and the fields cleared.
    static void SaveRecord(const Definition& def);
    // The delete button (and Del in the grid): the records asked about, deleted in one transaction.
    static void DeleteRecords(const Definition& def);

private:
    Definition def_;
};

// Drops a table shared by all customers after the two questions, creates it anew and reloads.
void WipeTable(const QString& table, const std::function<void()>& createTable,
               const std::function<void()>& loadGrid);

// The record row whose id (column 0) is id; -1 for an empty id or none.
int FindRecordById(const TStringGrid* grid, const QString& id);

// The checks of a save. Each answers true when the field may be written; otherwise the field takes
// the focus (its text selected) and nothing is written.
// A plain decimal number to splice ("12,5", "-3"). An empty field is refused without a message (a
// missing entry); a text that is no number ("5-", ",") and a number that the grids would show with
// an exponent (0,000001; 10^15 and above) with a message naming the field by caption.
bool RequireNumber(QLineEdit* field, const QString& caption);
// Not empty; no message.
bool RequireText(QLineEdit* field);
// A date ("!99.99.9999") or date-time ("!99.99.9999 99:99") mask holding a date that exists, every
// position typed; otherwise a message naming the field by caption.
bool RequireDate(TMaskEdit* field, const QString& caption);
// A year of four digits; an empty field is refused without a message, any other text with one.
bool RequireYear(QLineEdit* field);
// Every field's text can be stored as Windows-1250; otherwise a message naming the field and the
// character, which is selected in the field.
bool RequireAnsiText(const QList<TTextField>& fields);

// A number column of a stored record as an edit field takes it, at full precision ("1,459"); the
// grid's text shown when the record cannot be read as a number.
QString StoredNumberText(const QString& table, const QString& column, const QString& id,
                         const QString& shown);
