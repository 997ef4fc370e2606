// Times the trip page's load of a large logbook against the bare engine running the same
// statement: 10,000 trips of the chosen car among 200,000 trips of 20 cars, 3,000 fuel prices and
// 100 flat rates.
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

#include "BenchFolder.h"
#include "ComboBox.h"
#include "Encoding.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "MainScreen.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "TripsPage.h"
#include "Vozopis1.h"

namespace {
constexpr int kCars = 20;
constexpr int kTripsPerCar = 10000;
constexpr int kPrices = 3000;
constexpr int kFlatRates = 100;
constexpr int kRoutes = 50;
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

// The tables as the program creates them, then the rows in one transaction.
void BuildDatabase(const QString& path) {
    TDatabase database(path);
    Db = &database;
    for (auto create : {CreateTableZakaznici, CreateTablePHM, CreateTableVodic, CreateTableCPHM,
                        CreateTableDruhvoz, CreateTablePausnahr, CreateTableMesta, CreateTableAuta,
                        CreateTablePocstav, CreateTableJazdy, CreateTableRoky})
        create();
    sqlite3* db = database.Handle();
    Exec(db, "BEGIN");
    Exec(db, "INSERT INTO zakaznici (nazov, ico) VALUES ('Doprava Nitra', '12345678')");
    Exec(db, "INSERT INTO roky (rok, id_zakaznik) VALUES (2024, 1)");
    InsertRows(db, "INSERT INTO vodic (meno, id_zakaznik) VALUES (?, 1)", kDrivers,
               [](sqlite3_stmt* s, int i) { BindText(s, 1, QStringLiteral("Vodič %1").arg(i + 1)); });
    InsertRows(db, "INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', ?, ?)", kRoutes,
               [](sqlite3_stmt* s, int i) {
                   BindText(s, 1, QStringLiteral("Mesto %1").arg(i + 1, 2, 10, QChar('0')));
                   sqlite3_bind_double(s, 2, 12.5 + i * 3.5);
               });
    InsertRows(db,
               "INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
               "id_zakaznik) VALUES (?, ?, 1, ?, 1, 5.5, 6.5, 7.5, 10, ?, 1)",
               kCars, [](sqlite3_stmt* s, int i) {
                   BindText(s, 1, QStringLiteral("Auto %1").arg(i + 1, 2, 10, QChar('0')));
                   BindText(s, 2, QStringLiteral("NR%1AA").arg(i + 1, 3, 10, QChar('0')));
                   sqlite3_bind_int(s, 3, i % 2);
                   sqlite3_bind_int(s, 4, i % 3 + 1);
               });
    InsertRows(
        db,
        "INSERT INTO pocstav (rok, id_auto, stavphm, stavtach, id_zakaznik) VALUES (2024, ?, 40, 1000, 1)",
        kCars, [](sqlite3_stmt* s, int i) { sqlite3_bind_int(s, 1, i + 1); });
    const QDate first(2014, 1, 1);
    InsertRows(db, "INSERT INTO cphm (datum, id_phm, cena) VALUES (?, ?, ?)", kPrices,
               [&](sqlite3_stmt* s, int i) {
                   BindText(s, 1, first.addDays(i / 3 * 4).toString("yyyy-MM-dd"));
                   sqlite3_bind_int(s, 2, i % 3 + 1);
                   sqlite3_bind_double(s, 3, 1.2 + (i % 97) / 100.0);
               });
    InsertRows(db, "INSERT INTO pausnahr (datum, suma) VALUES (?, ?)", kFlatRates,
               [&](sqlite3_stmt* s, int i) {
                   BindText(s, 1, first.addDays(i * 40).toString("yyyy-MM-dd"));
                   sqlite3_bind_double(s, 2, 0.18 + i * 0.001);
               });
    const QDateTime start(QDate(2015, 1, 1), QTime(8, 0));
    InsertRows(
        db,
        "INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, id_auto, id_vodic, "
        "id_zakaznik) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1)",
        kCars * kTripsPerCar, [&](sqlite3_stmt* s, int i) {
            const QDateTime departure = start.addSecs(qint64(i / kCars) * 525 * 60);
            BindText(s, 1, departure.toString("yyyy-MM-dd hh:mm"));
            BindText(s, 2, departure.addSecs(90 * 60).toString("yyyy-MM-dd hh:mm"));
            sqlite3_bind_int(s, 3, i % kRoutes + 1);
            sqlite3_bind_int(s, 4, i % 2);
            sqlite3_bind_double(s, 5, i % 7 == 0 ? 40.5 : 0);
            sqlite3_bind_int(s, 6, i % 5 == 0);
            BindText(s, 7, QStringLiteral("služobná cesta"));
            sqlite3_bind_int(s, 8, i % kCars + 1);
            sqlite3_bind_int(s, 9, i % kDrivers + 1);
        });
    Exec(db, "COMMIT");
    Db = nullptr;
}

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds of each repetition.
std::vector<double> Time(int repetitions, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int r = 0; r < repetitions; ++r) {
        const auto t0 = Clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return ms;
}

// Prepare, step every row, finalize; answers the row count.
int RunBare(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* s = nullptr;
    Check(sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr), db, "prepare");
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        ++rows;
    Check(rc, db, "step");
    sqlite3_finalize(s);
    return rows;
}

struct BareResult {
    double median = 0;
    int rows = 0;
};

BareResult TimeBare(const QString& path, const QByteArray& sql, int repetitions) {
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
    BareResult result;
    if (repetitions > 3)
        RunBare(db, sql); // warm-up; the slow statements need none
    result.median = Median(Time(repetitions, [&] { result.rows = RunBare(db, sql); }));
    sqlite3_close(db);
    return result;
}
// Where the load's time goes: the wrapper's query and fetch, and the rest of LoadGridJazdy (its
// one-pass fill, formatting and totals); then, for comparison, the documented steps run one
// after the other with the shared helpers.
void PrintBreakdown(TTripsPage* page, const QString& statement, double pageMedian) {
    TStringGrid* grid = page->sgJazdy;
    std::unique_ptr<TQueryResult> table;
    const double query = Median(Time(5, [&] { table = Database().Query(statement); }));
    std::printf("  of the page: query and fetch %.1f, fill, formatting and totals %.1f\n", query,
                pageMedian - query);
    const double fill = Median(Time(5, [&] { FillGridFromTable(*table, grid); }));
    const double totals = Median(Time(5, [&] {
        QStringList km;
        QStringList costs;
        FieldToStrings(*table, "km", km);
        FieldToStrings(*table, "cena_celkom", costs);
        page->lblJazdyKM->setText(FormatNumber(double(SumTenThousandths(km)) / 10000));
        page->lblJazdySuma->setText(FormatNumber(double(SumTenThousandths(costs)) / 10000));
    }));
    std::vector<double> numbers;
    std::vector<double> dates;
    for (int r = 0; r < 5; ++r) {
        FillGridFromTable(*table, grid);
        numbers.push_back(Time(1, [&] { FormatNumberColumns(grid, "5;6;7;11"); })[0]);
        dates.push_back(Time(1, [&] { DateTimeColumnsToText(grid, "1;2"); })[0]);
    }
    std::printf("  the same steps one by one: FillGridFromTable %.1f, totals by FieldToStrings %.1f, "
                "FormatNumberColumns %.1f, DateTimeColumnsToText %.1f\n",
                fill, totals, Median(numbers), Median(dates));

    // The one-pass load shows exactly what the steps show.
    QStringList expected{page->lblJazdyKM->text(), page->lblJazdySuma->text()};
    for (int row = 0; row < grid->RowCount(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            expected << grid->Cells(col, row);
    page->LoadGridJazdy("");
    QStringList shown{page->lblJazdyKM->text(), page->lblJazdySuma->text()};
    for (int row = 0; row < grid->RowCount(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            shown << grid->Cells(col, row);
    std::printf("  grid and totals the same as by the steps: %s\n", shown == expected ? "yes" : "NO");
}
} // namespace

int RunSettingsBench(); // SettingsBench.cpp

// --quick leaves out the slow comparison runs of the earlier statement; --settings times only the
// settings file.
int main(int argc, char** argv) {
    const bool quick = argc > 1 && QByteArray(argv[1]) == "--quick";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const int failed = RunSettingsBench(); failed || (argc > 1 && QByteArray(argv[1]) == "--settings"))
        return failed;
    const TBenchFolder folder;
    if (!folder.IsValid())
        return 1;
    const QString programFolder = folder.Path();
    const QString path = programFolder + "Data/data.mvk";

    std::printf("Building %d trips of %d cars, %d fuel prices, %d flat rates...\n", kCars * kTripsPerCar,
                kCars, kPrices, kFlatRates);
    std::fflush(stdout);
    BuildDatabase(path);
    // A copy without the two lookup indexes, as a database of the earlier program has them.
    const QString plainPath = programFolder + "plain.mvk";
    QFile::copy(path, plainPath);
    {
        sqlite3* db = nullptr;
        Check(sqlite3_open(plainPath.toUtf8().constData(), &db), db, "open");
        Exec(db, "DROP INDEX ix_cphm_phm_datum; DROP INDEX ix_pausnahr_datum;");
        sqlite3_close(db);
    }

    int exitCode = 0;
    {
        TForm1 form;
        Form1 = &form;
        form.show();
        app.processEvents();
        // As the menu would: the customer and year selected, then "Evidencia jázd".
        form.MainScreen->SelectCustomerYear("1", "2024");
        TTripsPage* page = form.TripsPage;
        page->Evidenciajzd1Click();
        page->cbJazdyAuto->hidePopup();
        app.processEvents();
        const int shown = page->sgJazdy->RowCount() - 2;
        std::printf("Car %s: %d trips shown, totals %s km, %s\n",
                    qPrintable(page->cbJazdyAuto->currentText()), shown, qPrintable(page->lblJazdyKM->text()),
                    qPrintable(page->lblJazdySuma->text()));

        page->LoadGridJazdy(""); // warm-up
        const std::vector<double> pageMs = Time(7, [&] { page->LoadGridJazdy(""); });
        const QByteArray statement = SqlLinesText().toLatin1(); // the statement LoadGridJazdy ran
        const double pageMedian = Median(pageMs);

        const BareResult bare = TimeBare(path, statement, 7);
        const double ratio = pageMedian / bare.median;
        if (bare.rows != shown)
            std::printf("row counts differ: page %d, bare %d\n", shown, bare.rows);
        std::printf("\nMedians (ms)\n");
        std::printf("  LoadGridJazdy, page end to end (7 runs):        %9.1f\n", pageMedian);
        std::printf("  bare engine, same statement (7 runs):           %9.1f\n", bare.median);
        std::printf("  ratio page / bare:                              %9.2f  (limit 3.00: %s)\n", ratio,
                    ratio <= 3.0 ? "within" : "OVER");
        PrintBreakdown(page, QString::fromLatin1(statement), pageMedian);
        if (ratio > 3.0)
            exitCode = 2;

        if (!quick) {
            // The statement as the earlier program ran it: '&' in the sub-queries, no lookup indexes.
            QByteArray original = statement;
            original.replace("(cphm.id_phm = auta.id_phm) AND (cphm.datum < jazdy.odchod)",
                             "(cphm.id_phm = auta.id_phm)&(cphm.datum < jazdy.odchod)");
            std::printf("For comparison, bare engine (3 runs each):\n");
            std::fflush(stdout);
            const BareResult ampersand = TimeBare(path, original, 3);
            std::printf("  '&' conditions, with the indexes:               %9.1f\n", ampersand.median);
            std::fflush(stdout);
            const BareResult earlier = TimeBare(plainPath, original, 3);
            std::printf("  '&' conditions, without the indexes (earlier):  %9.1f\n", earlier.median);
            std::fflush(stdout);
            const BareResult noIndex = TimeBare(plainPath, statement, 3);
            std::printf("  AND conditions, without the indexes:            %9.1f\n", noIndex.median);
            if (earlier.rows != shown)
                std::printf("row counts differ: page %d, earlier statement %d\n", shown, earlier.rows);
        }
        Form1 = nullptr;
    }
    return exitCode;
}
