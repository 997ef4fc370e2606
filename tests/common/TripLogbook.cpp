#include "TripLogbook.h"

#include <QDateTime>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>

#include "Encoding.h"
#include "Globals.h"
#include "Schema.h"
#include "SqliteWrapper.h"

namespace {
constexpr int kDrivers = 5;

void Check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void Exec(sqlite3* db, const char* sql) {
    Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql);
}

// Runs one prepared insert per row; bind fills the row's values.
void InsertRows(sqlite3* db, const char* sql, int rows, const std::function<void(sqlite3_stmt*, int)>& bind) {
    sqlite3_stmt* s = nullptr;
    Check(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db, sql);
    for (int i = 0; i < rows; ++i) {
        bind(s, i);
        Check(sqlite3_step(s), db, sql);
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
    sqlite3_finalize(s);
}

void BindText(sqlite3_stmt* s, int index, const QString& text) {
    const QByteArray bytes = ToAnsi(text);
    sqlite3_bind_text(s, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}
} // namespace

void BuildLogbook(TDatabase& database, const TLogbookSize& size) {
    TDatabase* const previous = Db;
    Db = &database;
    for (auto create : {CreateTableZakaznici, CreateTablePHM, CreateTableVodic, CreateTableCPHM,
                        CreateTableDruhvoz, CreateTablePausnahr, CreateTableMesta, CreateTableAuta,
                        CreateTablePocstav, CreateTableJazdy, CreateTableRoky})
        create();
    Db = previous;
    sqlite3* db = database.Handle();
    Exec(db, "BEGIN");
    Exec(db, "INSERT INTO zakaznici (nazov, ico) VALUES ('Doprava Nitra', '12345678')");
    Exec(db, "INSERT INTO roky (rok, id_zakaznik) VALUES (2024, 1)");
    InsertRows(db, "INSERT INTO vodic (meno, id_zakaznik) VALUES (?, 1)", kDrivers,
               [](sqlite3_stmt* s, int i) { BindText(s, 1, QStringLiteral("Vodič %1").arg(i + 1)); });
    InsertRows(db, "INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', ?, ?)", size.routes,
               [](sqlite3_stmt* s, int i) {
                   BindText(s, 1, QStringLiteral("Mesto %1").arg(i + 1, 2, 10, QChar('0')));
                   sqlite3_bind_double(s, 2, 12.5 + i * 3.5);
               });
    InsertRows(db,
               "INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
               "id_zakaznik) VALUES (?, ?, 1, ?, 1, 5.5, 6.5, 7.5, 10, ?, 1)",
               size.cars, [](sqlite3_stmt* s, int i) {
                   BindText(s, 1, QStringLiteral("Auto %1").arg(i + 1, 2, 10, QChar('0')));
                   BindText(s, 2, QStringLiteral("NR%1AA").arg(i + 1, 3, 10, QChar('0')));
                   sqlite3_bind_int(s, 3, (i + 1) % 2); // the first car is private
                   sqlite3_bind_int(s, 4, i % 3 + 1);
               });
    InsertRows(
        db,
        "INSERT INTO pocstav (rok, id_auto, stavphm, stavtach, id_zakaznik) VALUES (2024, ?, 40, 1000, 1)",
        size.cars, [](sqlite3_stmt* s, int i) { sqlite3_bind_int(s, 1, i + 1); });
    const QDate first(2014, 1, 1);
    InsertRows(db, "INSERT INTO cphm (datum, id_phm, cena) VALUES (?, ?, ?)", size.prices,
               [&](sqlite3_stmt* s, int i) {
                   BindText(s, 1, first.addDays(i / 3 * 4).toString("yyyy-MM-dd"));
                   sqlite3_bind_int(s, 2, i % 3 + 1);
                   sqlite3_bind_double(s, 3, 1.2 + (i % 97) / 100.0);
               });
    const QDate firstRate(2015, 1, 5);
    InsertRows(db, "INSERT INTO pausnahr (datum, suma) VALUES (?, ?)", size.flatRates,
               [&](sqlite3_stmt* s, int i) {
                   BindText(s, 1, firstRate.addDays(i * 40).toString("yyyy-MM-dd"));
                   sqlite3_bind_double(s, 2, 0.18 + i * 0.001);
               });
    const QDateTime start(QDate(2015, 1, 1), QTime(8, 0));
    const qint64 step = 5250000LL * 60 / size.tripsPerCar; // seconds between a car's trips
    InsertRows(
        db,
        "INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, id_auto, id_vodic, "
        "id_zakaznik) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1)",
        size.cars * size.tripsPerCar, [&](sqlite3_stmt* s, int i) {
            const QDateTime departure = start.addSecs(i / size.cars * step / 60 * 60);
            BindText(s, 1, departure.toString("yyyy-MM-dd hh:mm"));
            BindText(s, 2, departure.addSecs(90 * 60).toString("yyyy-MM-dd hh:mm"));
            sqlite3_bind_int(s, 3, i % size.routes + 1);
            sqlite3_bind_int(s, 4, i % 2);
            sqlite3_bind_double(s, 5, i % 7 == 0 ? 40.5 : 0);
            sqlite3_bind_int(s, 6, i % 5 == 0);
            BindText(s, 7, QStringLiteral("služobná cesta"));
            sqlite3_bind_int(s, 8, i % size.cars + 1);
            sqlite3_bind_int(s, 9, i % kDrivers + 1);
        });
    Exec(db, "COMMIT");
}
