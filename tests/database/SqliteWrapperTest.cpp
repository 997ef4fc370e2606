#include <QDir>
#include <gtest/gtest.h>

#include "FaultHelpers.h"
#include "SqliteWrapper.h"
#include "TestSupport.h"

namespace {

class SqliteWrapperTest : public ::testing::Test {
protected:
    void SetUp() override { db->Execute("CREATE TABLE c (id INTEGER PRIMARY KEY, nazov VARCHAR (30));"); }
    qint64 Count() { return db->Query("SELECT COUNT(*) FROM c")->FieldAsInteger(0); }
    // The message of a failing Execute, or of a failing Query when asked.
    QString SqlError(const QString& sql, bool query = false) {
        return ErrorOf<EDatabaseError>([&] { query ? void(db->Query(sql)) : db->Execute(sql); });
    }

    TempProgramFolder folder;
    QString path = folder.File("data.mvk");
    std::unique_ptr<TDatabase> db = std::make_unique<TDatabase>(path);
};

TEST_F(SqliteWrapperTest, OpeningAndFailureMessages) {
    const QString name = "Jazdy ľščťžýáíé.mvk";
    TDatabase(folder.File(name)).Execute("CREATE TABLE t (v INTEGER);");
    EXPECT_TRUE(QDir(folder.Path()).entryList(QDir::Files).contains(name));
    const QString missing = folder.File("chýba/data.mvk");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { TDatabase d(missing); }),
              "Failed to open database \"" + missing + "\" : unable to open database file");
    EXPECT_EQ(SqlError("SELEC 1"), "Error executing SQL \"SELEC 1\" : near \"SELEC\": syntax error");
    // The engine quotes our Windows-1250 SQL back; line breaks stay.
    EXPECT_EQ(SqlError("SELECT\r\nčas FROM c", true),
              "Error executing SQL \"SELECT\r\nčas FROM c\" : no such column: čas");
    // No statement at all: the engine reports no error, so the message stands alone.
    EXPECT_EQ(SqlError(""), "Could not prepare SQL statement");

    db->Execute("INSERT INTO c VALUES (1, 'a'); INSERT INTO c VALUES (2, 'b');");
    EXPECT_EQ(Count(), 1); // only the first statement runs
    EXPECT_EQ(
        SqlError("INSERT INTO c VALUES (1, 'b');"),
        "Error executing SQL statement \"INSERT INTO c VALUES (1, 'b');\" : UNIQUE constraint failed: c.id");
    EXPECT_EQ(SqlError("SELECT id FROM c"),
              "Error executing SQL statement \"SELECT id FROM c\" : another row available");
    EXPECT_EQ(SqlError("SELECT abs(-9223372036854775808)", true),
              "Could not retrieve data \"SELECT abs(-9223372036854775808)\" : integer overflow");

    db->SetBusyTimeout(0);
    TDatabase other(path); // holds the database locked
    other.Execute("BEGIN EXCLUSIVE;");
    EXPECT_EQ(SqlError("SELECT id FROM c", true), "Could not prepare SQL statement");
    EXPECT_EQ(SqlError("DELETE FROM c;"),
              "Error executing SQL statement \"DELETE FROM c;\" : database is locked");
}

TEST_F(SqliteWrapperTest, WindowsCodePageInTheFileStorageTypesFloatTextsAndBlobs) {
    const QString text = "ľščťžýáíéúäôň €";
    db->Execute("INSERT INTO c VALUES (1, '" + text + "');");
    EXPECT_EQ(db->Query("SELECT nazov FROM c")->FieldAsString(0), text);
    EXPECT_EQ(db->Query("SELECT hex(CAST(nazov AS BLOB)) FROM c")->FieldAsString(0),
              "BE9AE89D9EFDE1EDE9FAE4F4F22080");

    // The engine upper-cases its standard type names itself, so the case rule shows on the others.
    db->Execute("CREATE TABLE k (i INTEGER, bl boolean, d DATE, v VARCHAR (30), f FLOAT, b BLOB, bo BOOLEAN, "
                "n NUMERIC, x INT, fl float);");
    db->Execute("INSERT INTO k VALUES (5, 6, '2024-01-02', 'abc', 2.5, x'0102', 1, 3, 7, 2.5);");
    auto r = db->Query("SELECT * FROM k");
    QList<int> types;
    for (int col = 0; col < 10; ++col)
        types << r->ColumnType(col);
    EXPECT_EQ(types, QList<int>({1, 3, 3, 3, 2, 4, 1, 2, 3, 3}));
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsInteger(1); }), "Not an integer or numeric field");
    EXPECT_EQ(r->FieldAsString(9), "2.5"); // the engine's text
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsBlobText(3); }), "Not a Blob field");

    // Expressions take the type of their first value; after NULL later values keep their own type.
    db->Execute("CREATE TABLE e (id INTEGER, a FLOAT, b FLOAT);");
    db->Execute("INSERT INTO e VALUES (1, NULL, 2), (2, 0.5, 3);");
    r = db->Query("SELECT a * b, CASE id WHEN 1 THEN NULL ELSE 'ľš' END, "
                  "CASE id WHEN 1 THEN 10 ELSE '7abc' END FROM e ORDER BY id");
    EXPECT_EQ(r->ColumnType(0), 5);
    EXPECT_EQ(r->FieldAsString(0), "");
    r->Next();
    EXPECT_EQ(QStringList({r->FieldAsString(0), r->FieldAsString(1)}), QStringList({"1,5", "ľš"}));
    EXPECT_EQ(r->FieldAsInteger(2), 7); // converted by the engine
    EXPECT_EQ(QString("%1%2%3").arg(r->CellType(0)).arg(r->CellType(1)).arg(r->CellType(2)), "231");

    db->Execute("CREATE TABLE bl (id INTEGER, data BLOB);");
    db->Execute("INSERT INTO bl VALUES (1, x''), (2, x'41E80042'), (3, 1), (4, -25);");
    r = db->Query("SELECT data FROM bl ORDER BY id");
    EXPECT_EQ(r->FieldAsBlob(0), nullptr);
    r->Next();
    ASSERT_NE(r->FieldAsBlob(0), nullptr);
    EXPECT_EQ(*r->FieldAsBlob(0), QByteArray("A\xE8\0B", 4));
    EXPECT_EQ(r->FieldAsString(0), QString::fromUtf8("Ač\0B", 5));
    r->Next();
    EXPECT_EQ(r->FieldAsString(0) + QString::number(r->CellType(0)), "14"); // how the yes/no flags read
    r->Next();
    EXPECT_EQ(*r->FieldAsBlob(0), "-25"); // a whole number as its decimal text
    // A text cell ends at its first zero byte.
    EXPECT_EQ(db->Query("SELECT CAST(x'41004200' AS TEXT)")->FieldAsString(0), "A");
    // Float text, each float next to the text it reads as; and truncation to an integer.
    r = db->Query("SELECT -2.5, '-2,5', 0.1 + 0.2, '0,3', 100.0, '100', 1.0 / 3, '0,333333333333333', "
                  "123456789012345.0, '123456789012345', 1234567890123456.0, '1,23456789012346E15', "
                  "-1e20, '-1E20', 0.000015, '0,000015', 0.0000015, '1,5E-6', 2.9, -2.9");
    for (int col = 0; col < 18; col += 2)
        EXPECT_EQ(r->FieldAsString(col), r->FieldAsString(col + 1)) << col;
    EXPECT_EQ(std::make_pair(r->FieldAsInteger(18), r->FieldAsInteger(19)),
              std::make_pair(qint64(2), qint64(-2)));
}

TEST_F(SqliteWrapperTest, CursorFieldNamesAndTables) {
    db->Execute("INSERT INTO c VALUES (1, 'a'), (2, 'b');");
    const auto r = db->Query("SELECT id, nazov AS Nazov FROM c ORDER BY id");
    EXPECT_EQ(r->ColumnNames(), QStringList({"ID", "NAZOV"}));
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldIndexOf("cena"); }), "Field not found in dataset: cena");
    EXPECT_EQ(ErrorOf<Exception>([&] { r->FieldAsInteger(-1); }), "List index out of bounds (-1)");
    EXPECT_TRUE(r->Next());
    EXPECT_EQ(r->FieldAsString(1), "b");
    EXPECT_TRUE(r->Next()); // steps past the last row
    EXPECT_FALSE(r->Next());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { r->FieldAsString(0); }), "Table is at End of File");
    EXPECT_TRUE(r->MoveFirst());
    EXPECT_EQ(r->FieldAsInteger(0), 1);

    const auto empty = db->Query("SELECT id FROM c WHERE id < 0");
    EXPECT_FALSE(empty->MoveFirst());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { empty->FieldIndexOf("Id"); }),
              "Field Id Not found. Empty dataset");
    EXPECT_EQ(db->Query("SELECT 1 AS čas")->FieldIndexOf("ČaS"), 0);

    EXPECT_TRUE(db->TableExists("C"));
    EXPECT_FALSE(db->TableExists("x' or '1'='1"));
}

TEST_F(SqliteWrapperTest, TransactionsRollBackUnlessCommitted) {
    db->Execute("INSERT INTO c VALUES (1, 'a');");
    db->BeginTransaction();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { db->BeginTransaction(); }), "Transaction already open");
    db->Execute("INSERT INTO c VALUES (2, 'b');");
    // The engine may end the transaction itself; Rollback still clears the flag.
    EXPECT_NE(SqlError("INSERT OR ROLLBACK INTO c VALUES (1, 'b');"), "<no error>");
    db->Rollback(); // a flag left set would make the next transaction fail
    EXPECT_EQ(Count(), 1);

    // The guard rolls back when its block fails, the commit included.
    const auto guarded = [&](const QStringList& statements) {
        TTransaction t(*db);
        for (const QString& sql : statements)
            db->Execute(sql);
        t.Commit();
    };
    db->Execute("PRAGMA foreign_keys = ON;");
    db->Execute("CREATE TABLE f (id INTEGER, c INTEGER REFERENCES c(id) DEFERRABLE INITIALLY DEFERRED);");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] {
                  guarded({"INSERT INTO c VALUES (2, 'b');", "INSERT INTO f VALUES (1, 99);"});
              }),
              "Error executing SQL statement \"COMMIT;\" : FOREIGN KEY constraint failed");
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(), 1);
    guarded({"INSERT INTO c VALUES (2, 'b');"});
    db->Execute("UPDATE c SET nazov = 'x' WHERE id = 2;");
    EXPECT_EQ(db->Changes(), 1);
    db->Execute("UPDATE c SET nazov = 'x' WHERE id = 7;");
    EXPECT_EQ(db->Changes(), 0); // the rows of the last write
    {
        TTransaction t(*db);
        db->Execute("INSERT INTO c VALUES (3, 'c');");
        t.Rollback();
        EXPECT_FALSE(db->InTransaction());
    }
    // Closing the database with a transaction open rolls it back.
    db->BeginTransaction();
    db->Execute("INSERT INTO c VALUES (3, 'c');");
    db.reset();
    db = std::make_unique<TDatabase>(path);
    EXPECT_EQ(Count(), 2);
}

// A save as the pages run it reads first, then writes, in one transaction.
TEST_F(SqliteWrapperTest, ALockLongerThanTheTimeOutFailsAtTheBeginAndLeavesNothingOpen) {
    const auto readThenWrite = [&] {
        TTransaction transaction(*db);
        db->Query("SELECT COUNT(*) FROM c");
        db->Execute("INSERT INTO c (nazov) VALUES ('b');");
        transaction.Commit();
    };
    db->SetBusyTimeout(100);
    {
        OtherWriter other(path, 1500);
        ASSERT_TRUE(other.Locked());
        EXPECT_EQ(ErrorOf<EDatabaseError>(readThenWrite),
                  "Error executing SQL statement \"BEGIN IMMEDIATE TRANSACTION;\" : database is locked");
        EXPECT_FALSE(db->InTransaction());
    }
    readThenWrite(); // the next save after the lock works
    EXPECT_EQ(Count(), 1);
}

} // namespace
