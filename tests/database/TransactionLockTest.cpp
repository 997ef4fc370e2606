#include <gtest/gtest.h>

#include "FaultHelpers.h"
#include "SqliteWrapper.h"
#include "TestSupport.h"

namespace {
class TransactionLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        db->Execute("CREATE TABLE c (id INTEGER PRIMARY KEY, nazov VARCHAR (30));");
        db->Execute("INSERT INTO c (nazov) VALUES ('a');");
    }
    // A save as the pages run it: read first, then write, in one transaction.
    void ReadThenWrite() {
        TTransaction transaction(*db);
        db->Query("SELECT COUNT(*) FROM c");
        db->Execute("INSERT INTO c (nazov) VALUES ('b');");
        transaction.Commit();
    }
    qint64 Count() { return db->Query("SELECT COUNT(*) FROM c")->FieldAsInteger(0); }

    TempProgramFolder folder;
    QString path = folder.File("data.mvk");
    std::unique_ptr<TDatabase> db = std::make_unique<TDatabase>(path);
};
} // namespace

TEST_F(TransactionLockTest, AWriteTransactionThatReadsFirstWaitsOutAnotherWriter) {
    db->SetBusyTimeout(3000);
    OtherWriter other(path, 1000);
    ASSERT_TRUE(other.Locked());
    ReadThenWrite();
    EXPECT_TRUE(other.Finished());
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(TransactionLockTest, ALockLongerThanTheTimeOutFailsAtTheBeginAndLeavesNothingOpen) {
    db->SetBusyTimeout(100);
    {
        OtherWriter other(path, 1500);
        ASSERT_TRUE(other.Locked());
        EXPECT_EQ(ErrorOf<EDatabaseError>([&] { ReadThenWrite(); }),
                  "Error executing SQL statement \"BEGIN IMMEDIATE TRANSACTION;\" : database is locked");
        EXPECT_FALSE(db->InTransaction());
    }
    ReadThenWrite(); // the next save after the lock works
    EXPECT_EQ(Count(), 2);
}

TEST_F(TransactionLockTest, ChangesCountsTheRowsOfTheLastWrite) {
    db->Execute("UPDATE c SET nazov = 'x' WHERE id = 1;");
    EXPECT_EQ(db->Changes(), 1);
    db->Execute("UPDATE c SET nazov = 'x' WHERE id = 7;");
    EXPECT_EQ(db->Changes(), 0);

    TTransaction transaction(*db);
    db->Execute("INSERT INTO c (nazov) VALUES ('b');");
    transaction.Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(), 1);
}
