#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <variant>
#include <vector>

#include "Exception.h"

struct sqlite3;
struct sqlite3_stmt;

// Every failure of the database layer.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

class TQueryResult;

// One open database file. SQL text goes to the engine as Windows-1250 bytes and text cells come
// back from them, so the file stays readable by the older program.
class TDatabase {
public:
    explicit TDatabase(const QString& fileName);
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Runs the first statement of sql, which must yield no row.
    void Execute(const QString& sql);
    // The complete result of a query, fetched at once.
    std::unique_ptr<TQueryResult> Query(const QString& sql);

    // Begins IMMEDIATE: the write lock is taken here, within the busy time-out.
    void BeginTransaction();
    void Commit();
    // Rolls back the open transaction, if any.
    void Rollback();

    bool TableExists(const QString& name);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int Changes() const;
    void SetBusyTimeout(int milliseconds);

    bool InTransaction() const { return inTransaction_; }
    sqlite3* Handle() const { return handle_.get(); }

private:
    friend class TQueryResult;

    struct ConnectionCloser {
        void operator()(sqlite3* handle) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

    Statement Prepare(const QString& sql);
    [[noreturn]] void RaiseSqlError(const QString& msg, const QString& sql) const;

    std::unique_ptr<sqlite3, ConnectionCloser> handle_;
    bool inTransaction_ = false;
};

// Opens a transaction for one block of writes; rolls it back unless Commit was reached.
//   { TTransaction t(*Db); Db->Execute(...); t.Commit(); }
class TTransaction {
public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit();
    // Ends the transaction without its changes (before a message, so no lock is held meanwhile).
    void Rollback();

private:
    TDatabase& db_;
    bool committed_ = false;
};

// The complete, read-only result of one query with a cursor over its rows.
// Storage types of the columns: 1 integer, 2 float, 3 text, 4 blob, 5 null (a column without
// declared type whose first value is NULL; its later values keep their own type).
class TQueryResult {
public:
    TQueryResult(TDatabase& db, const QString& sql);
    TQueryResult(const TQueryResult&) = delete;
    TQueryResult& operator=(const TQueryResult&) = delete;

    int RowCount() const { return rows_; }
    int ColumnCount() const { return columns_; }
    QStringList ColumnNames() const { return columnNames_; } // upper-cased
    int ColumnType(int col) const;
    int CurrentRow() const { return currentRow_; }

    bool Eof() const { return currentRow_ >= rows_; }
    // False at the end; otherwise steps on (also past the last row) and answers true.
    bool Next();
    bool MoveFirst();
    int FieldIndexOf(const QString& name) const;

    // What the current row's cell holds: 1 an integer, 2 a float, 3 a text, 4 blob bytes, 5 nothing
    // (NULL, or an empty blob).
    int CellType(int index) const;
    QString FieldAsString(int index) const;
    QString FieldValueText(int index) const;
    qint64 FieldAsInteger(int index) const;
    double FieldAsDouble(int index) const;
    // The blob of the cell, owned by the result; nullptr for NULL and for an empty blob.
    const QByteArray* FieldAsBlob(int index) const;
    // The blob's bytes read as Windows-1250 text.
    QString FieldAsBlobText(int index) const;

private:
    // Nothing, then the alternatives in the order of CellType's numbers.
    using Cell = std::variant<std::monostate, qint64, double, QString, QByteArray>;
    // Cells are kept in chunks, so none is moved while the result grows.
    static constexpr size_t ChunkCells = 4096;

    void AddCell(sqlite3_stmt* s, int c);
    const Cell& CurrentCell(int index) const;

    std::vector<std::unique_ptr<Cell[]>> chunks_; // row-major
    size_t cellCount_ = 0;
    int rows_ = 0;
    int columns_ = 0;
    QStringList columnNames_;
    std::vector<int> columnTypes_;
    int currentRow_ = 0;
};
