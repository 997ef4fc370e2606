#include <QFile>

#include "HandlerGuard.h"
#include "ProgramFixture.h"
#include "SQLunit.h"

namespace {
// A database file in a fresh folder, installed as the program's connection.
class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { Open(folder.File("data.mvk")); }
    void TearDown() override { Db = nullptr; }

    void Open(const QString& path) {
        Db = nullptr;
        db = std::make_unique<TDatabase>(path);
        Db = db.get();
        InitSqlUnit();
    }
    QString StoredSql(const QString& name) {
        return Column("select sql from sqlite_master where name = '" + name + "'").value(0);
    }

    TempProgramFolder folder;
    std::unique_ptr<TDatabase> db;
};
} // namespace

TEST_F(SchemaTest, SeedsComeWithTheFirstCreationAndNeverTwice) {
    for (auto create : {CreateTablePHM, CreateTablePHM, CreateTableDruhvoz, CreateTableDruhvoz})
        create();
    EXPECT_EQ(Column("select id || ' ' || nazov from phm order by id"),
              QStringList({"1 Nafta", "2 Natural 95", "3 Natural 98"}));
    EXPECT_EQ(Column("select nazov from druhvoz order by id"),
              QStringList({QStringLiteral("osobné"), QStringLiteral("nákladné"), "autobus", "motocykel"}));
    EXPECT_FALSE(Db->InTransaction());

    Db->Execute("DELETE FROM phm WHERE id = 1");
    CreateTablePHM();
    EXPECT_EQ(Column("select nazov from phm order by id"), QStringList({"Natural 95", "Natural 98"}))
        << "a deleted seed row does not come back";
}

// The declared types decide how the wrapper reads the columns back.
TEST_F(SchemaTest, DeclaredTypesDecideHowValuesReadBack) {
    CreateTableAuta();
    Db->Execute("INSERT INTO auta (n1, norma) VALUES (6.5, 3)");
    auto car = Db->Query("select n1, norma from auta");
    EXPECT_EQ(car->FieldAsString(0), "6,5");
    EXPECT_EQ(FieldInt(*car, "norma", 1), 3);
}

// Tables made by other means are used as they are; those of prices and flat rates gain their lookup indexes.
TEST_F(SchemaTest, TablesOfAnEarlierDatabaseAreUsedAsTheyAreButGainTheLookupIndexes) {
    Db->Execute("CREATE TABLE vodic (id INTEGER PRIMARY KEY, meno TEXT, id_zakaznik INTEGER)");
    CreateTableVodic();
    EXPECT_TRUE(StoredSql("uq_vodic").isEmpty()) << "no index";
    Db->Execute("CREATE TABLE cphm ([ID] INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, [datum] DATE, "
                "[id_phm] INTEGER, [cena] FLOAT)");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-01-01', 1, 1.5)");
    Db->Execute(
        "CREATE TABLE pausnahr ([ID] INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, [datum] DATE, [suma] FLOAT)");
    CreateTableCPHM();
    CreateTableCPHM();
    CreateTablePausnahr();
    EXPECT_FALSE(StoredSql("ix_pausnahr_datum").isEmpty());
    EXPECT_EQ(Column("select cena from cphm"), QStringList({"1,5"})) << "the rows stay";
    auto plan =
        Db->Query("EXPLAIN QUERY PLAN SELECT cena FROM cphm WHERE id_phm = 1 AND datum < '2024-05-01' "
                  "ORDER BY datum DESC LIMIT 1");
    EXPECT_TRUE(FieldText(*plan, "detail", "").contains("USING INDEX ix_cphm_phm_datum"))
        << FieldText(*plan, "detail", "").toStdString();
}

TEST_F(SchemaTest, ADatabaseOfTheEarlierProgramReadsAndWritesWindows1250) {
    const QString copy = folder.File("earlier.mvk");
    ASSERT_TRUE(QFile::copy(VOZOPIS_FIXTURES "/earlier-program.mvk", copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    Open(copy);

    CreateTableZakaznici();
    CreateTableDruhvoz();
    auto customer = Db->Query("select * from zakaznici");
    EXPECT_EQ(FieldText(*customer, "nazov", "?"), QStringLiteral("Doprava Žilina s.r.o."));
    EXPECT_EQ(FieldText(*customer, "osoba", "?"), QStringLiteral("Ľubomír Šťastný"));
    EXPECT_EQ(FieldText(*customer, "platca", "?"), "1");
    EXPECT_EQ(Column("select nazov from druhvoz order by id"),
              QStringList({QStringLiteral("osobné"), QStringLiteral("nákladné"), "autobus", "motocykel"}))
        << "the existing table is not seeded again";

    CreateTableMesta();
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES (" +
                SqlQuoted(QStringLiteral("Košice")) + ", " + SqlQuoted(QStringLiteral("Žilina")) +
                ", 242.5)");
    EXPECT_EQ(Column("select hex(mesto1) from mesta order by id"),
              QStringList({"8E696C696E61", "4B6F9A696365"}))
        << "old and new rows hold the same Windows-1250 bytes";
}

TEST(SchemaWithoutDatabase, EveryRoutineIsRefusedWithAMessage) {
    Db = nullptr;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(RunGuarded([] { CreateTablePHM(); }));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Databáza nie je otvorená.")));
}
