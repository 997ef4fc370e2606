#include "Schema.h"

#include "Globals.h"
#include "SQLunit.h"
#include "SqliteWrapper.h"

namespace {
// Creates the table from its column lines when missing; true when it was just created.
bool CreateTable(const QString& table, const QStringList& columns) {
    SqlLines.clear();
    SqlLines << "CREATE TABLE " + table + " (";
    SqlLines << "[ID] INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE,";
    SqlLines << columns;
    SqlLines << ");";
    return !EnsureTable(Database(), table, SqlLinesText());
}

// Seed names, each its own statement, in one transaction.
void SeedNames(const QString& table, const QStringList& names) {
    TTransaction transaction(Database());
    for (const QString& name : names) {
        SqlLines.clear();
        SqlLines << "INSERT INTO " + table + " (nazov) VALUES (" + SqlQuoted(name) + ");";
        Db->Execute(SqlLinesText());
    }
    transaction.Commit();
}

void CreateIndex(const QString& statement) {
    SqlText = statement;
    Database().Execute(SqlText);
}
} // namespace

void CreateTableZakaznici() {
    CreateTable("zakaznici",
                {"[nazov] VARCHAR (30),", "[ico] VARCHAR (30) UNIQUE,", "[dic] VARCHAR (25),",
                 "[osoba] VARCHAR (30),", "[ulica] VARCHAR (30),", "[mesto] VARCHAR (30),",
                 "[psc] VARCHAR (15),", "[stat] VARCHAR (30),", "[platca] BLOB,", "[fo] BLOB,", "[po] BLOB"});
}

void CreateTablePHM() {
    if (CreateTable("phm", {"[nazov] VARCHAR (30) UNIQUE"}))
        SeedNames("phm", {"Nafta", "Natural 95", "Natural 98"});
}

void CreateTableVodic() {
    if (CreateTable("vodic", {"[meno] VARCHAR (40),", "[id_zakaznik] INTEGER"}))
        CreateIndex("CREATE UNIQUE INDEX uq_vodic ON [vodic] (meno, id_zakaznik)");
}

void CreateTableCPHM() {
    CreateTable("cphm", {"[datum] DATE,", "[id_phm] INTEGER,", "[cena] FLOAT"});
    // On every call, so that a database of the earlier program gains it too: the trip costs look
    // up the price in force per trip.
    CreateIndex("CREATE INDEX IF NOT EXISTS ix_cphm_phm_datum ON cphm (id_phm, datum)");
}

void CreateTableDruhvoz() {
    if (CreateTable("druhvoz", {"[nazov] VARCHAR (30) UNIQUE"}))
        SeedNames("druhvoz", {QStringLiteral("osobné"), QStringLiteral("nákladné"), "autobus", "motocykel"});
}

void CreateTablePausnahr() {
    CreateTable("pausnahr", {"[datum] DATE,", "[suma] FLOAT"});
    CreateIndex("CREATE INDEX IF NOT EXISTS ix_pausnahr_datum ON pausnahr (datum)"); // every call, as above
}

void CreateTableMesta() {
    CreateTable("mesta", {"[mesto1] VARCHAR (30),", "[mesto2] VARCHAR (30),", "[vzdialenost] FLOAT"});
}

void CreateTableAuta() {
    CreateTable("auta",
                {"[nazov] VARCHAR (30),", "[spz] VARCHAR (20),", "[id_dv] INTEGER,", "[vlastnictvo] INTEGER,",
                 "[norma] INTEGER,", "[n1] FLOAT,", "[n2] FLOAT,", "[n3] FLOAT,", "[nadspotreba] FLOAT,",
                 "[id_phm] INTEGER,", "[id_zakaznik] INTEGER"});
}

void CreateTablePocstav() {
    if (CreateTable("pocstav", {"[rok] INTEGER,", "[id_auto] INTEGER,", "[stavphm] FLOAT,",
                                "[stavtach] FLOAT,", "[id_zakaznik] INTEGER"}))
        CreateIndex("CREATE UNIQUE INDEX unique1 ON [pocstav] (rok, id_auto)");
}

void CreateTableJazdy() {
    CreateTable("jazdy", {"[odchod] DATETIME,", "[prichod] DATETIME,", "[id_mesta] INTEGER,", "[spat] BLOB,",
                          "[cerpane] FLOAT,", "[nadspotreba] BLOB,", "[ucel] VARCHAR (40),",
                          "[id_auto] INTEGER,", "[id_vodic] INTEGER,", "[id_zakaznik] INTEGER"});
}

void CreateTableRoky() {
    if (CreateTable("roky", {"[rok] INTEGER,", "[id_zakaznik] INTEGER"}))
        CreateIndex("CREATE UNIQUE INDEX unique2 ON [roky] (rok, id_zakaznik)");
}
