#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QLineEdit;
class TStringGrid;
class TTransaction;

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

// Checks that a number field holds a plain decimal number to splice ("12,5", "-3"); otherwise it
// takes the focus.
bool RequireNumber(QLineEdit* field);
// Checks that a field is not empty; otherwise it takes the focus.
bool RequireText(QLineEdit* field);
