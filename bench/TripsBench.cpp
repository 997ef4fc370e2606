// Times the trip page's load against the bare engine running the same statement (prepare, step
// every row, read every column as text) for one car with 10,000, 40,000 and 160,000 trips and for
// 10,000 trips of one car among 200,000 of 20 cars; then the other pages' grids with a few
// thousand rows, per row beside the trip page.
#include <QApplication>
#include <QFile>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

#include "BenchFolder.h"
#include "ComboBox.h"
#include "CustomerPage.h"
#include "Encoding.h"
#include "Globals.h"
#include "InfoPanel.h"
#include "MainScreen.h"
#include "PriceTabs.h"
#include "RouteTabs.h"
#include "SQLunit.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TripLogbook.h"
#include "TripsPage.h"
#include "Vozopis1.h"

namespace {
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double TimeOnce(const std::function<void()>& run) {
    const auto t0 = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Median milliseconds of the runs, after one run to warm up.
double TimeMs(int runs, const std::function<void()>& run) {
    run();
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        ms.push_back(TimeOnce(run));
        QThreadPool::globalInstance()->waitForDone();
    }
    return Median(ms);
}

// Prepare, step every row reading every column as text, finalize; answers the row count.
int RunBare(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
    int rows = 0;
    size_t bytes = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            sqlite3_column_text(s, c);
            bytes += size_t(sqlite3_column_bytes(s, c));
        }
    }
    sqlite3_finalize(s);
    return bytes > 0 ? rows : -rows;
}

struct TCase {
    const char* name;
    TLogbookSize size;
    double page = 0;
    double bare = 0;
    int rows = 0;
};

// A fresh program folder's database built to size, then the program started on it.
void RunCase(TCase& c, QApplication& app, int runs) {
    const TBenchFolder folder;
    {
        TDatabase database(folder.Path() + "Data/data.mvk");
        BuildLogbook(database, c.size);
    }
    TForm1 form;
    Form1 = &form;
    form.show();
    app.processEvents();
    form.MainScreen->SelectCustomerYear("1", "2024");
    TTripsPage* page = form.TripsPage;
    page->Evidenciajzd1Click();
    page->cbJazdyAuto->hidePopup();
    app.processEvents();
    c.rows = page->sgJazdy->RowCount() - 2;
    const QByteArray statement = ToAnsi(SqlLinesText());
    sqlite3* db = nullptr;
    sqlite3_open_v2((folder.Path() + "Data/data.mvk").toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    int bareRows = 0;
    // Page and engine runs alternate, so a machine whose speed drifts weighs on both alike; the rows
    // a reload drops are freed off the user's thread, and that ends before the next run starts.
    const auto settle = [] { QThreadPool::globalInstance()->waitForDone(); };
    std::vector<double> pageRuns, bareRuns;
    for (int r = 0; r <= runs; ++r) {
        const double pageMs = TimeOnce([&] { page->LoadGridJazdy(""); });
        settle();
        const double bareMs = TimeOnce([&] { bareRows = RunBare(db, statement); });
        if (r > 0) { // the first round warms up
            pageRuns.push_back(pageMs);
            bareRuns.push_back(bareMs);
        }
    }
    c.page = Median(pageRuns);
    c.bare = Median(bareRuns);
    sqlite3_close(db);
    if (bareRows != c.rows)
        std::printf("  %s: rows differ, page %d, engine %d\n", c.name, c.rows, bareRows);
    Form1 = nullptr;
}

// The customer list, the customer page and two data pages with a few thousand rows each.
void RunPages(QApplication& app, double tripPerRowUs) {
    const TBenchFolder folder;
    constexpr int kCustomers = 5000;
    {
        TDatabase database(folder.Path() + "Data/data.mvk");
        BuildLogbook(database, {1, 100, 5000, 100, 5000});
        database.Execute(
            QString("WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO zakaznici (nazov, ico, dic, osoba, ulica, mesto, psc, stat, "
                    "platca, fo, po) SELECT 'Firma ' || i, 10000000 + i, 'SK' || (2020000000 + i), "
                    "'Osoba ' || i, 'Ulica ' || i, 'Nitra', '949 01', 'Slovensko', i % 2, 0, 1 "
                    "FROM n")
                .arg(kCustomers));
    }
    TForm1 form;
    Form1 = &form;
    form.show();
    app.processEvents();
    form.MainScreen->ShowCustomerList();
    form.CustomerPage->InitGridZak();
    form.InfoPanel->CPHMTab->InitGridCPHM();
    form.InfoPanel->VMTab->InitGridVM();
    struct {
        const char* name;
        TStringGrid* grid;
        std::function<void()> load;
    } pages[] = {
        {"customer list (main screen)", form.MainScreen->sgMain, [&] { form.MainScreen->LoadGridMain(""); }},
        {"customer page", form.CustomerPage->sgZak, [&] { form.CustomerPage->LoadGridZak(""); }},
        {"fuel prices", form.InfoPanel->CPHMTab->widgets.grid,
         [&] { form.InfoPanel->CPHMTab->LoadGridCPHM(""); }},
        {"routes", form.InfoPanel->VMTab->widgets.grid, [&] { form.InfoPanel->VMTab->LoadGridVM(""); }},
    };
    std::printf(
        "\nOther pages (median of 7 runs)        rows  cols       ms   us/row  us/row/col  vs trip page\n");
    for (auto& p : pages) {
        const double ms = TimeMs(7, p.load);
        const int rows = p.grid->RowCount() - 2;
        const double perRow = ms * 1000 / rows;
        std::printf("  %-32s %6d %5d %8.1f %8.2f %11.2f  %s\n", p.name, rows, p.grid->ColCount(), ms, perRow,
                    perRow / p.grid->ColCount(), perRow <= tripPerRowUs ? "not slower" : "SLOWER");
    }
    Form1 = nullptr;
}
} // namespace

int RunSettingsBench(); // SettingsBench.cpp

// --settings times only the settings file; --quick leaves out the 160,000-trip case.
int main(int argc, char** argv) {
    const QByteArray option = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const int failed = RunSettingsBench(); failed || option == "--settings")
        return failed;

    std::vector<TCase> cases = {{"1 car, 10,000 trips", {1, 10000}},
                                {"1 car, 40,000 trips", {1, 40000}},
                                {"1 car, 160,000 trips", {1, 160000}},
                                {"10,000 of 200,000 trips, 20 cars", {20, 10000}}};
    if (option == "--quick")
        cases.erase(cases.begin() + 2);
    std::printf("\nTrip page against the bare engine, same statement (3,000 fuel prices, 100 flat rates, "
                "50 routes; median of 9 runs, page and engine alternating)\n");
    std::printf("  %-34s %7s %9s %9s %6s %9s %9s\n", "case", "trips", "page ms", "engine ms", "ratio",
                "page us/trip", "engine us/trip");
    int exitCode = 0;
    for (TCase& c : cases) {
        RunCase(c, app, 9);
        const double ratio = c.page / c.bare;
        std::printf("  %-34s %7d %9.1f %9.1f %6.2f %12.2f %14.2f\n", c.name, c.rows, c.page, c.bare, ratio,
                    c.page * 1000 / c.rows, c.bare * 1000 / c.rows);
        std::fflush(stdout);
        if (ratio > 2.0)
            exitCode = 2;
    }
    if (option != "--quick")
        std::printf("  growth 160,000 / 10,000 trips: page %.1fx, engine %.1fx (trips 16x)\n",
                    cases[2].page / cases[0].page, cases[2].bare / cases[0].bare);
    RunPages(app, cases[0].page * 1000 / cases[0].rows);
    return exitCode;
}
