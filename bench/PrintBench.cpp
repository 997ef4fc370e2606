// Times the trip log printed to a PDF file for a car with 1,000 trips and one with 10,000 (about
// 25 and 250 landscape pages), with the peak memory of each print run.
#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchFolder.h"
#include "ComboBox.h"
#include "Globals.h"
#include "MainScreen.h"
#include "PrintDialog.h"
#include "Reports.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TripsPage.h"
#include "Vozopis1.h"

namespace {
const int kTrips[] = {1000, 10000};

// One customer, the master data, and car i + 1 with kTrips[i] trips, one every 9 hours.
void BuildData() {
    for (auto create : {CreateTableZakaznici, CreateTablePHM, CreateTableVodic, CreateTableCPHM,
                        CreateTableDruhvoz, CreateTablePausnahr, CreateTableMesta, CreateTableAuta,
                        CreateTablePocstav, CreateTableJazdy, CreateTableRoky})
        create();
    TTransaction transaction(*Db);
    Db->Execute(QStringLiteral("INSERT INTO zakaznici (nazov, ico, ulica, mesto, psc, stat, platca) VALUES "
                               "('Doprava Nitra s.r.o.', '12345678', 'Štúrova 1', 'Nitra', '949 01', "
                               "'Slovensko', '1')"));
    Db->Execute("INSERT INTO roky (rok, id_zakaznik) VALUES (2024, 1)");
    Db->Execute(QStringLiteral("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Ján Novák', 1)"));
    Db->Execute(QStringLiteral("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', 'Banská "
                               "Bystrica', 118.5), ('Nitra', 'Trenčín', 72)"));
    for (int car = 0; car < 2; ++car) {
        Db->Execute(
            QString("INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, "
                    "id_phm, id_zakaznik) VALUES ('Auto %1', 'NR%1AA', 1, 0, 1, 5.5, 6.5, 7.5, 10, 1, 1)")
                .arg(car + 1));
        Db->Execute(QString("INSERT INTO pocstav (rok, id_auto, stavphm, stavtach, id_zakaznik) VALUES "
                            "(2024, %1, 40, 1000, 1)")
                        .arg(car + 1));
    }
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2010-01-01', 1, 1.45)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2010-01-01', 0.183)");
    const QDateTime start(QDate(2015, 1, 1), QTime(8, 0));
    for (int car = 0; car < 2; ++car)
        for (int i = 0; i < kTrips[car]; ++i) {
            const QDateTime departure = start.addSecs(qint64(i) * 9 * 3600);
            Db->Execute(
                QStringLiteral("INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, "
                               "ucel, id_auto, id_vodic, id_zakaznik) VALUES ('%1', '%2', %3, %4, %5, "
                               "%6, 'služobná cesta', %7, 1, 1)")
                    .arg(departure.toString("yyyy-MM-dd hh:mm"),
                         departure.addSecs(100 * 60).toString("yyyy-MM-dd hh:mm"))
                    .arg(i % 2 + 1)
                    .arg(i % 2)
                    .arg(i % 7 == 0 ? "40.5" : "0")
                    .arg(i % 5 == 0)
                    .arg(car + 1));
        }
    transaction.Commit();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TBenchFolder folder;
    if (!folder.IsValid())
        return 1;
    const QString programFolder = folder.Path();
    const QString pdf = programFolder + "trips.pdf";
    SetPrintDialogHook([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    {
        TForm1 form;
        Form1 = &form;
        form.show();
        app.processEvents();
        std::printf("Building %d and %d trips...\n", kTrips[0], kTrips[1]);
        std::fflush(stdout);
        BuildData();
        form.MainScreen->SelectCustomerYear("1", "2024");
        TTripsPage* page = form.TripsPage;
        page->Evidenciajzd1Click();
        page->cbJazdyAuto->hidePopup();
        app.processEvents();

        std::printf("\nTrip log to PDF (median of 3 runs; resident size before the first run, its peak "
                    "during the runs)\n");
        std::printf("  %7s %6s %10s %10s %14s %12s\n", "trips", "pages", "time ms", "PDF kB", "RSS before MB",
                    "peak RSS MB");
        for (int car = 0; car < 2; ++car) {
            page->cbJazdyAuto->setCurrentIndex(car);
            page->cbJazdyAutoCloseUp();
            const int shown = page->sgJazdy->RowCount() - 2;
            std::vector<double> ms;
            const long before = StatusKb("VmRSS");
            ResetPeak();
            long peak = 0;
            for (int run = 0; run < 3; ++run) {
                const auto t0 = std::chrono::steady_clock::now();
                BitBtn27Click(*page);
                ms.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
                peak = std::max(peak, StatusKb("VmHWM"));
            }
            std::printf("  %7d %6d %10.0f %10lld %14.1f %12.1f\n", shown, Printer().PageNumber(), Median(ms),
                        QFileInfo(pdf).size() / 1024, before / 1024.0, peak / 1024.0);
            std::fflush(stdout);
        }
        Form1 = nullptr;
    }
    SetPrintDialogHook({});
    return 0;
}
