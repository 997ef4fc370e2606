#include "HandlerGuard.h"
#include "ProgramFixture.h"
#include "SQLunit.h"

namespace {
// A database file in a fresh folder, installed as the program's connection.
class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { Db = &db; }
    void TearDown() override { Db = nullptr; }
    static bool HasIndex(const QString& name) {
        return Column("select count(*) from sqlite_master where name = '" + name + "'") == QStringList("1");
    }

    TempProgramFolder folder;
    TDatabase db{folder.File("data.mvk")};
};
} // namespace

TEST_F(SchemaTest, SeedsComeWithTheFirstCreationOnlyAndDeclaredTypesDecideHowValuesReadBack) {
    for (auto create : {CreateTablePHM, CreateTablePHM, CreateTableDruhvoz, CreateTableDruhvoz})
        create();
    Db->Execute("DELETE FROM phm WHERE id = 1");
    CreateTablePHM();
    EXPECT_EQ(Column("select id || nazov from phm order by id") +
                  Column("select nazov from druhvoz order by id"),
              QStringList({"2Natural 95", "3Natural 98", QStringLiteral("osobné"), QStringLiteral("nákladné"),
                           "autobus", "motocykel"}))
        << "seeded once; a deleted seed row does not come back";
    EXPECT_FALSE(Db->InTransaction());

    CreateTableAuta();
    Db->Execute("INSERT INTO auta (n1, norma) VALUES (6.5, 3)");
    auto car = Db->Query("select n1, norma from auta");
    EXPECT_EQ(car->FieldAsString(0) + QString::number(FieldInt(*car, "norma", 1)), "6,53");
}

// Tables made by other means are used as they are; those of prices and flat rates gain their lookup indexes.
TEST_F(SchemaTest, TablesOfAnEarlierDatabaseAreUsedAsTheyAreButGainTheLookupIndexes) {
    Db->Execute("CREATE TABLE vodic (id INTEGER PRIMARY KEY, meno TEXT, id_zakaznik INTEGER)");
    CreateTableVodic();
    EXPECT_FALSE(HasIndex("uq_vodic"));
    Db->Execute("CREATE TABLE cphm ([ID] INTEGER PRIMARY KEY, [datum] DATE, [id_phm] INTEGER, [cena] FLOAT)");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-01-01', 1, 1.5)");
    Db->Execute("CREATE TABLE pausnahr ([ID] INTEGER PRIMARY KEY, [datum] DATE, [suma] FLOAT)");
    for (auto create : {CreateTableCPHM, CreateTableCPHM, CreateTablePausnahr})
        create();
    EXPECT_TRUE(HasIndex("ix_pausnahr_datum"));
    EXPECT_EQ(Column("select cena from cphm"), QStringList({"1,5"})) << "the rows stay";
    auto plan =
        Db->Query("EXPLAIN QUERY PLAN SELECT cena FROM cphm WHERE id_phm = 1 AND datum < '2024-05-01' "
                  "ORDER BY datum DESC LIMIT 1");
    EXPECT_TRUE(FieldText(*plan, "detail", "").contains("USING INDEX ix_cphm_phm_datum"))
        << FieldText(*plan, "detail", "").toStdString();
}

TEST(SchemaWithoutDatabase, EveryRoutineIsRefusedWithAMessage) {
    Db = nullptr;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(RunGuarded([] { CreateTablePHM(); }));
    EXPECT_TRUE(boxes.Texts().value(0).startsWith(QStringLiteral("Databáza nie je otvorená.")));
}
