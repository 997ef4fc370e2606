#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "SqliteWrapper.h"
#include "TestSupport.h"

namespace {

class SqliteWrapperTest : public ::testing::Test {
protected:
    void SetUp() override { db->Execute("CREATE TABLE c (id INTEGER PRIMARY KEY, nazov VARCHAR (30));"); }
    qint64 Count() { return db->Query("SELECT COUNT(*) FROM c")->FieldAsInteger(0); }

    TempProgramFolder folder;
    QString path = folder.File("data.mvk");
    std::unique_ptr<TDatabase> db = std::make_unique<TDatabase>(path);
};

TEST_F(SqliteWrapperTest, OpenFailureAndFileNameWithDiacritics) {
    const QString missing = folder.File("chýba/data.mvk");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { TDatabase d(missing); }),
              "Failed to open database \"" + missing + "\" : unable to open database file");

    const QString name = "Jazdy ľščťžýáíé.mvk";
    TDatabase(folder.File(name)).Execute("CREATE TABLE t (v INTEGER);");
    EXPECT_TRUE(QDir(folder.Path()).entryList(QDir::Files).contains(name));
}

TEST_F(SqliteWrapperTest, ExecuteAndItsFailureMessages) {
    db->Execute("INSERT INTO c VALUES (1, 'a'); INSERT INTO c VALUES (2, 'b');");
    EXPECT_EQ(Count(), 1); // only the first statement runs

    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Execute("SELEC 1"); }),
              "Error executing SQL \"SELEC 1\" : near \"SELEC\": syntax error");
    // The engine quotes our Windows-1250 SQL back; line breaks stay.
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Query("SELECT\r\nčas FROM c"); }),
              "Error executing SQL \"SELECT\r\nčas FROM c\" : no such column: čas");
    // No statement at all: the engine reports no error, so the message stands alone.
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Execute(""); }), "Could not prepare SQL statement");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Query("  -- nič\n"); }), "Could not prepare SQL statement");
    EXPECT_EQ(
        ErrorOf<EDatabaseError>([&] { db->Execute("INSERT INTO c VALUES (1, 'b');"); }),
        "Error executing SQL statement \"INSERT INTO c VALUES (1, 'b');\" : UNIQUE constraint failed: c.id");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Execute("SELECT id FROM c"); }),
              "Error executing SQL statement \"SELECT id FROM c\" : another row available");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Query("SELECT abs(-9223372036854775808)"); }),
              "Could not retrieve data \"SELECT abs(-9223372036854775808)\" : integer overflow");
}

TEST_F(SqliteWrapperTest, LockedDatabase) {
    db->SetBusyTimeout(0);
    sqlite3* other = nullptr;
    sqlite3_open(path.toUtf8().constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Query("SELECT id FROM c"); }),
              "Could not prepare SQL statement");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->Execute("DELETE FROM c;"); }),
              "Error executing SQL statement \"DELETE FROM c;\" : database is locked");
    sqlite3_close(other); // releases the lock
    db->Execute("DELETE FROM c;");
}

TEST_F(SqliteWrapperTest, StorageTypeFromExactDeclaredType) {
    // The engine itself reports its standard names (INTEGER, REAL, BLOB, ...) in upper case however
    // they were written, so the case rule shows on the other names.
    db->Execute("CREATE TABLE k (i INTEGER, bl boolean, d DATE, v VARCHAR (30), f FLOAT, b BLOB, bo BOOLEAN, "
                "n NUMERIC, x INT, fl float);");
    db->Execute("INSERT INTO k VALUES (5, 6, '2024-01-02', 'abc', 2.5, x'0102', 1, 3, 7, 2.5);");
    const auto r = db->Query("SELECT * FROM k");
    const int expected[] = {1, 3, 3, 3, 2, 4, 1, 2, 3, 3};
    for (int col = 0; col < 10; ++col)
        EXPECT_EQ(r->ColumnType(col), expected[col]) << col;
    EXPECT_EQ(r->ColumnNames(), QStringList({"I", "BL", "D", "V", "F", "B", "BO", "N", "X", "FL"}));

    EXPECT_EQ(r->FieldAsInteger(0), 5);
    EXPECT_EQ(r->FieldAsString(1), "6");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsInteger(1); }), "Not an integer or numeric field");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsDouble(5); }), "Not an integer or numeric field");
    EXPECT_EQ(r->FieldAsString(4), "2,5");
    EXPECT_EQ(r->FieldAsString(9), "2.5"); // the engine's text
    EXPECT_EQ(r->FieldAsDouble(7), 3.0);
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsBlob(0); }), "Not a Blob field");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsBlobText(3); }), "Not a Blob field");
}

TEST_F(SqliteWrapperTest, ExpressionColumnsTakeTheTypeOfTheirFirstValue) {
    db->Execute("CREATE TABLE e (id INTEGER, a FLOAT, b FLOAT);");
    db->Execute("INSERT INTO e VALUES (1, NULL, 2), (2, 0.5, 3);");

    // First value NULL: later values keep their own type.
    auto r = db->Query("SELECT a * b AS cena, CASE id WHEN 1 THEN NULL ELSE 'ľš' END FROM e ORDER BY id");
    EXPECT_EQ(r->ColumnType(0), 5);
    EXPECT_EQ(r->FieldAsString(0), "");
    r->Next();
    EXPECT_EQ(r->FieldAsString(0), "1,5");
    EXPECT_EQ(r->FieldAsDouble(0), 1.5);
    EXPECT_EQ(r->FieldAsString(1), "ľš");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsInteger(1); }), "Not an integer or numeric field");

    // First value an integer: a later text is converted by the engine.
    r = db->Query("SELECT CASE id WHEN 1 THEN 10 ELSE '7abc' END FROM e ORDER BY id");
    EXPECT_EQ(r->ColumnType(0), 1);
    r->Next();
    EXPECT_EQ(r->FieldAsInteger(0), 7);

    // NULL in a declared float column.
    r = db->Query("SELECT a FROM e ORDER BY id");
    EXPECT_EQ(r->FieldAsString(0), "");
    EXPECT_EQ(r->FieldValueText(0), "0");
    EXPECT_EQ(r->FieldAsDouble(0), 0.0);
}

TEST_F(SqliteWrapperTest, FloatTextAndTruncation) {
    const std::pair<QString, QString> cases[] = {
        {"2.5", "2,5"},
        {"-2.5", "-2,5"},
        {"0.1 + 0.2", "0,3"},
        {"100.0", "100"},
        {"1.0 / 3", "0,333333333333333"},
        {"123456789012345.0", "123456789012345"},
        {"1234567890123456.0", "1,23456789012346E15"},
        {"-1e20", "-1E20"},
        {"0.00001", "0,00001"},
        {"0.000015", "0,000015"},
        {"0.0000015", "1,5E-6"},
        {"1.5e-7", "1,5E-7"},
    };
    for (const auto& [literal, text] : cases)
        EXPECT_EQ(db->Query("SELECT " + literal)->FieldAsString(0), text) << literal.toStdString();

    const auto r = db->Query("SELECT 2.9, -2.9");
    EXPECT_EQ(r->FieldAsInteger(0), 2);
    EXPECT_EQ(r->FieldAsInteger(1), -2);
}

TEST_F(SqliteWrapperTest, BlobsAndTextCells) {
    db->Execute("CREATE TABLE bl (id INTEGER, data BLOB);");
    db->Execute("INSERT INTO bl VALUES (1, x''), (2, x'41E80042'), (3, 1);");
    const auto r = db->Query("SELECT data FROM bl ORDER BY id");
    EXPECT_EQ(r->FieldAsBlob(0), nullptr);
    EXPECT_EQ(r->FieldAsBlobText(0), "");
    r->Next();
    ASSERT_NE(r->FieldAsBlob(0), nullptr);
    EXPECT_EQ(*r->FieldAsBlob(0), QByteArray("A\xE8\0B", 4));
    EXPECT_EQ(r->FieldAsString(0), QString::fromUtf8("Ač\0B", 5));
    r->Next();
    EXPECT_EQ(r->FieldAsString(0), "1"); // how the yes/no flags read

    // A text cell ends at its first zero byte.
    EXPECT_EQ(db->Query("SELECT CAST(x'41004200' AS TEXT)")->FieldAsString(0), "A");
}

TEST_F(SqliteWrapperTest, CursorAndFieldNames) {
    db->Execute("INSERT INTO c VALUES (1, 'a'), (2, 'b');");
    const auto r = db->Query("SELECT id, nazov AS Nazov FROM c ORDER BY id");
    EXPECT_EQ(r->ColumnNames(), QStringList({"ID", "NAZOV"}));
    EXPECT_EQ(r->FieldIndexOf("nazov"), 1);
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldIndexOf("cena"); }), "Field not found in dataset: cena");
    EXPECT_EQ(ErrorOf<Exception>([&] { r->FieldAsString(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<Exception>([&] { r->FieldAsInteger(-1); }), "List index out of bounds (-1)");

    EXPECT_TRUE(r->Next());
    EXPECT_EQ(r->FieldAsString(1), "b");
    EXPECT_TRUE(r->Next()); // steps past the last row
    EXPECT_TRUE(r->Eof());
    EXPECT_FALSE(r->Next());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsString(0); }), "Table is at End of File");
    EXPECT_TRUE(r->MoveFirst());
    EXPECT_EQ(r->FieldAsInteger(0), 1);

    const auto empty = db->Query("SELECT id FROM c WHERE id < 0");
    EXPECT_EQ(empty->RowCount(), 0);
    EXPECT_TRUE(empty->Eof());
    EXPECT_FALSE(empty->MoveFirst());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { empty->FieldIndexOf("Id"); }),
              "Field Id Not found. Empty dataset");

    EXPECT_EQ(db->Query("SELECT 1 AS čas")->FieldIndexOf("ČaS"), 0);
}

TEST_F(SqliteWrapperTest, TableExists) {
    db->Execute("CREATE TABLE Jazdy (id INTEGER);");
    EXPECT_TRUE(db->TableExists("jazdy"));
    EXPECT_TRUE(db->TableExists("JAZDY"));
    EXPECT_FALSE(db->TableExists("cesty"));
    EXPECT_FALSE(db->TableExists("x' or '1'='1"));
}

TEST_F(SqliteWrapperTest, WindowsCodePageInTheFile) {
    const QString text = "ľščťžýáíéúäôň €";
    db->Execute("INSERT INTO c VALUES (1, '" + text + "');");
    EXPECT_EQ(db->Query("SELECT nazov FROM c")->FieldAsString(0), text);
    EXPECT_EQ(db->Query("SELECT id FROM c WHERE nazov = '" + text + "'")->RowCount(), 1);

    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw, "SELECT CAST(nazov AS BLOB) FROM c", -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(QByteArray(static_cast<const char*>(sqlite3_column_blob(s, 0)), sqlite3_column_bytes(s, 0)),
              QByteArray("\xBE\x9A\xE8\x9D\x9E\xFD\xE1\xED\xE9\xFA\xE4\xF4\xF2 \x80"));
    sqlite3_finalize(s);
    sqlite3_close(raw);
}

TEST_F(SqliteWrapperTest, TransactionsAndRollback) {
    db->BeginTransaction();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->BeginTransaction(); }), "Transaction already open");
    db->Execute("INSERT INTO c VALUES (1, 'a');");
    db->Commit();

    db->BeginTransaction();
    db->Execute("INSERT INTO c VALUES (2, 'b');");
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(), 1);

    // The engine may end the transaction itself; Rollback still clears the flag.
    db->BeginTransaction();
    EXPECT_NE(ErrorOf<EDatabaseError>([&] { db->Execute("INSERT OR ROLLBACK INTO c VALUES (1, 'b');"); }),
              "<no error>");
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());

    db->BeginTransaction();
    db->Execute("INSERT INTO c VALUES (3, 'c');");
    db.reset(); // rolls back
    db = std::make_unique<TDatabase>(path);
    EXPECT_EQ(Count(), 1);
}

TEST_F(SqliteWrapperTest, TransactionGuard) {
    db->Execute("INSERT INTO c VALUES (1, 'a');");
    EXPECT_NE(ErrorOf<EDatabaseError>([&] {
                  TTransaction t(*db);
                  db->Execute("INSERT INTO c VALUES (2, 'b');");
                  db->Execute("INSERT INTO c VALUES (1, 'c');");
                  t.Commit();
              }),
              "<no error>");
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(), 1);

    // A failed commit is rolled back as well.
    db->Execute("PRAGMA foreign_keys = ON;");
    db->Execute("CREATE TABLE f (id INTEGER, c INTEGER REFERENCES c(id) DEFERRABLE INITIALLY DEFERRED);");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] {
                  TTransaction t(*db);
                  db->Execute("INSERT INTO f VALUES (1, 99);");
                  t.Commit();
              }),
              "Error executing SQL statement \"COMMIT;\" : FOREIGN KEY constraint failed");
    EXPECT_FALSE(db->InTransaction());

    {
        TTransaction t(*db);
        db->Execute("INSERT INTO c VALUES (2, 'b');");
        t.Commit();
    }
    EXPECT_EQ(Count(), 2);
}

} // namespace
