#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QLineEdit;
class TMaskEdit;
class TStringGrid;
class TTransaction;

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
        // Runs first inside the save's transaction, whatever the answer to the update question
        // (the opening states register their year there).
        std::function<void()> beginWrite;
    };

    TDataPage(QObject* parent, Definition definition);

    // The page's save button: insert, or update after the question when the id is in the grid.
    void Save();
    // The page's delete button (and Del in the grid): deletes the current row after the question.
    void Delete();
    void DblClick();
    void KeyDown(int key);

    const Definition& Def() const { return def_; }

private:
    Definition def_;
};

// The two questions before a table shared by all customers is wiped; true when both are answered
// Yes.
bool ConfirmTableWipe();

// The record row whose id (column 0) is id; -1 for an empty id or none.
int FindRecordById(const TStringGrid* grid, const QString& id);

// Runs the UPDATE sql of record id. When it changed no row (another program deleted the record
// meanwhile), rolls the transaction back, tells the user so and answers false: the caller keeps the
// typed fields and reloads its grid. An id that is no whole number never reaches the statement.
bool UpdateRecord(TTransaction& transaction, const QString& sql, const QString& id);

// The checks of a save. Each answers true when the field may be written; otherwise the field takes
// the focus (its text selected) and nothing is written.
// A plain decimal number to splice ("12,5", "-3"); an empty or malformed one is refused without a
// message, one that the grids would show with an exponent (0,000001; 10^15 and above) with one.
bool RequireNumber(QLineEdit* field);
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
