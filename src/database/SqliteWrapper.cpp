#include "SqliteWrapper.h"

#include <QStringDecoder>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <sqlite3.h>

#include "Encoding.h"

namespace {

// The engine's messages are UTF-8, but they may quote our Windows-1250 SQL text.
QString EngineText(const char* text) {
    const QByteArray bytes(text);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(bytes);
    return utf8.hasError() ? FromAnsi(bytes) : decoded;
}

[[noreturn]] void RaiseListIndexError(int index) {
    throw Exception(QString("List index out of bounds (%1)").arg(index));
}

// The general float format: up to 15 significant digits and a decimal comma; fixed notation
// from 0.00001 up while the integer part has at most 15 digits, scientific otherwise.
QString GeneralFloatText(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // d.dddddddddddddde[+-]x..
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    const QString scientific = QString::fromLatin1(buffer, end - buffer);
    const qsizetype e = scientific.indexOf('e');
    QString digits = scientific.left(1) + scientific.mid(2, e - 2);
    const int exponent = scientific.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);

    QString text = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        text += digits.left(1);
        if (digits.size() > 1)
            text += ',' + digits.mid(1);
        return text + 'E' + QString::number(exponent);
    }
    if (exponent < 0)
        return text + "0," + QString(-exponent - 1, '0') + digits;
    text += digits.left(exponent + 1).leftJustified(exponent + 1, '0');
    if (digits.size() > exponent + 1)
        text += ',' + digits.mid(exponent + 1);
    return text;
}

// Storage type of a column from its exact declared type.
int StorageTypeOf(const char* declared) {
    const QByteArray type(declared);
    if (type == "INTEGER" || type == "BOOLEAN")
        return SQLITE_INTEGER;
    if (type == "NUMERIC" || type == "FLOAT" || type == "DOUBLE" || type == "REAL")
        return SQLITE_FLOAT;
    if (type == "BLOB")
        return SQLITE_BLOB;
    return SQLITE_TEXT;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TDatabase

void TDatabase::ConnectionCloser::operator()(sqlite3* handle) const {
    sqlite3_close(handle);
}

void TDatabase::StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

TDatabase::TDatabase(const QString& fileName) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open(fileName.toUtf8().constData(), &handle);
    handle_.reset(handle); // closed by the member when the constructor throws
    if (rc != SQLITE_OK) {
        const QString start = "Failed to open database \"" + fileName + "\" : ";
        if (!handle)
            throw EDatabaseError(start + "unknown error");
        throw EDatabaseError(start + EngineText(sqlite3_errmsg(handle)));
    }
    Execute("PRAGMA SYNCHRONOUS=NORMAL;");
    Execute("PRAGMA temp_store = MEMORY;");
}

TDatabase::~TDatabase() {
    if (inTransaction_) {
        try {
            Execute("ROLLBACK;");
        } catch (...) {
            // Closing the connection ends the transaction anyway.
        }
    }
}

TDatabase::Statement TDatabase::Prepare(const QString& sql) {
    const QByteArray text = ToAnsi(sql);
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(handle_.get(), text.constData(), -1, &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        RaiseSqlError("Error executing SQL", sql);
    if (!statement)
        RaiseSqlError("Could not prepare SQL statement", sql);
    return statement;
}

void TDatabase::RaiseSqlError(const QString& msg, const QString& sql) const {
    if (sqlite3_errcode(handle_.get()) == SQLITE_OK)
        throw EDatabaseError(msg);
    throw EDatabaseError(msg + " \"" + sql + "\" : " + EngineText(sqlite3_errmsg(handle_.get())));
}

void TDatabase::Execute(const QString& sql) {
    const Statement statement = Prepare(sql);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        RaiseSqlError("Error executing SQL statement", sql);
}

std::unique_ptr<TQueryResult> TDatabase::Query(const QString& sql) {
    return std::make_unique<TQueryResult>(*this, sql);
}

void TDatabase::BeginTransaction() {
    if (inTransaction_)
        throw EDatabaseError("Transaction already open");
    // IMMEDIATE takes the write lock at once, waiting out another writer within the busy time-out;
    // a deferred transaction that reads first cannot wait for the upgrade and fails at once.
    Execute("BEGIN IMMEDIATE TRANSACTION;");
    inTransaction_ = true;
}

void TDatabase::Commit() {
    Execute("COMMIT;");
    inTransaction_ = false;
}

void TDatabase::Rollback() {
    if (!inTransaction_)
        return;
    try {
        Execute("ROLLBACK;");
    } catch (const EDatabaseError&) {
        // The engine may have ended the transaction itself (e.g. an OR ROLLBACK conflict).
        if (!sqlite3_get_autocommit(handle_.get()))
            throw;
    }
    inTransaction_ = false;
}

bool TDatabase::TableExists(const QString& name) {
    QString lower = name;
    for (QChar& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    lower.replace('\'', "''");
    const auto result =
        Query("select [sql] from sqlite_master where [type] = 'table' and lower(name) = '" + lower + "' ");
    return result->RowCount() > 0;
}

int TDatabase::Changes() const {
    return sqlite3_changes(handle_.get());
}

void TDatabase::SetBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(handle_.get(), milliseconds);
}

// ---------------------------------------------------------------------------------------------
// TTransaction

TTransaction::TTransaction(TDatabase& db) : db_(db) {
    db_.BeginTransaction();
}

TTransaction::~TTransaction() {
    if (committed_)
        return;
    try {
        db_.Rollback();
    } catch (...) {
        // A destructor must not throw; the error that brought us here is the one to show.
    }
}

void TTransaction::Commit() {
    db_.Commit();
    committed_ = true;
}

void TTransaction::Rollback() {
    db_.Rollback();
    committed_ = true; // ended: nothing left for the destructor
}

// ---------------------------------------------------------------------------------------------
// TQueryResult

TQueryResult::TQueryResult(TDatabase& db, const QString& sql) {
    const TDatabase::Statement statement = db.Prepare(sql);
    sqlite3_stmt* s = statement.get();
    for (;;) {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY)
            throw EDatabaseError("Could not prepare SQL statement");
        if (rc != SQLITE_ROW)
            db.RaiseSqlError("Could not retrieve data", sql);

        if (rows_ == 0) {
            columns_ = sqlite3_column_count(s);
            for (int c = 0; c < columns_; ++c) {
                columnNames_ << FromAnsi(sqlite3_column_name(s, c)).toUpper();
                const char* declared = sqlite3_column_decltype(s, c);
                columnTypes_.push_back(declared ? StorageTypeOf(declared) : sqlite3_column_type(s, c));
            }
        }
        ++rows_;

        for (int c = 0; c < columns_; ++c)
            AddCell(s, c);
    }
    currentRow_ = 0;
}

// The cell of the current row of s in column c, by the column's storage type.
void TQueryResult::AddCell(sqlite3_stmt* s, int c) {
    if (cellCount_ % ChunkCells == 0)
        chunks_.push_back(std::make_unique<Cell[]>(ChunkCells));
    Cell& cell = chunks_.back()[cellCount_++ % ChunkCells];
    const int valueType = sqlite3_column_type(s, c);
    if (valueType == SQLITE_NULL)
        return;
    // A column typed by a NULL first value keeps each later value's own type.
    switch (columnTypes_[c] == SQLITE_NULL ? valueType : columnTypes_[c]) {
    case SQLITE_INTEGER:
        cell = qint64(sqlite3_column_int64(s, c));
        break;
    case SQLITE_FLOAT:
        cell = sqlite3_column_double(s, c);
        break;
    case SQLITE_BLOB: {
        // A whole number is read as one: the bytes are its decimal text, the 0/1 marks shared.
        if (valueType == SQLITE_INTEGER) {
            static const QByteArray zero("0");
            static const QByteArray one("1");
            const qint64 value = sqlite3_column_int64(s, c);
            cell = value == 0 ? zero : value == 1 ? one : QByteArray::number(value);
            break;
        }
        const char* bytes = static_cast<const char*>(sqlite3_column_blob(s, c));
        const int size = sqlite3_column_bytes(s, c);
        if (size > 0)
            cell = QByteArray(bytes, size);
        break;
    }
    default: { // up to the first zero byte
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
        cell = FromAnsi(text, qsizetype(strnlen(text, size_t(sqlite3_column_bytes(s, c)))));
        break;
    }
    }
}

int TQueryResult::ColumnType(int col) const {
    if (col < 0 || col >= columns_)
        RaiseListIndexError(col);
    return columnTypes_[col];
}

bool TQueryResult::Next() {
    if (Eof())
        return false;
    ++currentRow_;
    return true;
}

bool TQueryResult::MoveFirst() {
    if (rows_ <= 0)
        return false;
    currentRow_ = 0;
    return true;
}

int TQueryResult::FieldIndexOf(const QString& name) const {
    if (columnNames_.isEmpty())
        throw EDatabaseError("Field " + name + " Not found. Empty dataset");
    const QString upper = name.toUpper();
    for (int i = 0; i < columnNames_.size(); ++i) {
        if (columnNames_[i].compare(upper, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw EDatabaseError("Field not found in dataset: " + name);
}

const TQueryResult::Cell& TQueryResult::CurrentCell(int index) const {
    if (Eof())
        throw EDatabaseError("Table is at End of File");
    if (index < 0 || index >= columns_)
        RaiseListIndexError(index);
    const size_t at = size_t(currentRow_) * size_t(columns_) + size_t(index);
    return chunks_[at / ChunkCells][at % ChunkCells];
}

int TQueryResult::CellType(int index) const {
    const size_t held = CurrentCell(index).index();
    return held == 0 ? SQLITE_NULL : int(held);
}

QString TQueryResult::FieldAsString(int index) const {
    if (std::holds_alternative<std::monostate>(CurrentCell(index)))
        return QString();
    return FieldValueText(index);
}

QString TQueryResult::FieldValueText(int index) const {
    const Cell& cell = CurrentCell(index);
    switch (columnTypes_[index]) {
    case SQLITE_INTEGER:
        return QString::number(std::holds_alternative<qint64>(cell) ? std::get<qint64>(cell) : 0);
    case SQLITE_FLOAT:
        return GeneralFloatText(std::holds_alternative<double>(cell) ? std::get<double>(cell) : 0.0);
    case SQLITE_BLOB:
        return FieldAsBlobText(index);
    case SQLITE_NULL:
        if (const auto* i = std::get_if<qint64>(&cell))
            return QString::number(*i);
        if (const auto* d = std::get_if<double>(&cell))
            return GeneralFloatText(*d);
        if (const auto* b = std::get_if<QByteArray>(&cell))
            return FromAnsi(*b);
        break;
    default:
        break;
    }
    if (const auto* text = std::get_if<QString>(&cell))
        return *text;
    return QString();
}

qint64 TQueryResult::FieldAsInteger(int index) const {
    const Cell& cell = CurrentCell(index);
    if (std::holds_alternative<std::monostate>(cell))
        return 0;
    // Storage 1 and 2 hold numbers only; storage 5 holds one wherever the engine gave one.
    if (const auto* i = std::get_if<qint64>(&cell))
        return *i;
    if (const auto* d = std::get_if<double>(&cell)) {
        // Toward zero; values beyond the 64-bit range stop at its ends.
        if (*d >= 9223372036854775807.0)
            return std::numeric_limits<qint64>::max();
        if (*d <= -9223372036854775808.0)
            return std::numeric_limits<qint64>::min();
        return qint64(std::trunc(*d));
    }
    throw EDatabaseError("Not an integer or numeric field");
}

double TQueryResult::FieldAsDouble(int index) const {
    const Cell& cell = CurrentCell(index);
    if (std::holds_alternative<std::monostate>(cell))
        return 0;
    if (const auto* i = std::get_if<qint64>(&cell))
        return double(*i);
    if (const auto* d = std::get_if<double>(&cell))
        return *d;
    throw EDatabaseError("Not an integer or numeric field");
}

const QByteArray* TQueryResult::FieldAsBlob(int index) const {
    const Cell& cell = CurrentCell(index);
    if (std::holds_alternative<std::monostate>(cell))
        return nullptr;
    if (const auto* bytes = std::get_if<QByteArray>(&cell))
        return bytes;
    throw EDatabaseError("Not a Blob field");
}

QString TQueryResult::FieldAsBlobText(int index) const {
    const QByteArray* bytes = FieldAsBlob(index);
    return bytes ? FromAnsi(*bytes) : QString();
}
