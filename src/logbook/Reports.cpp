#include "Reports.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "CarsPage.h"
#include "ComboBox.h"
#include "CustomerPage.h"
#include "Globals.h"
#include "PrintDialog.h"
#include "Printing.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "TripsPage.h"

namespace {
constexpr int kFontSize = 7;
constexpr int kLeftMargin = 5;
constexpr int kRowHeight = 4;

ReportClock& Clock() {
    static ReportClock clock;
    return clock;
}

// The first row of "SELECT * FROM <table> WHERE id = <id>"; none when no id is set. An id that is
// no whole number raises EConvertError.
std::unique_ptr<TQueryResult> RowById(const QString& table, const QString& id, const QString& end = "") {
    if (id.isEmpty())
        return nullptr;
    auto result = Database().Query("SELECT * FROM " + table + " WHERE id = " + SqlId(id) + end);
    result->MoveFirst();
    return result;
}

// Every report begins so: the metrics read, the job named, one copy, a black regular font.
void StartReport(TPrintOrientation orientation, const QString& title) {
    InitPrinterMetrics(orientation);
    if (orientation == TPrintOrientation::Landscape) {
        PrintMarginRight = 10;
        PrintMarginBottom = 10;
    }
    Printer().SetTitle(title);
    Printer().SetCopies(1);
    SetPrintFontBlack();
    SetPrintFontStyle(false);
}

void SetFont(int size, bool bold, bool underline = false) {
    SetPrintFontStyle(bold, underline);
    SetPrintFontSize(size);
}

// The right edge (mm) of the trip totals' values: 65, or as far right as the widest value needs to
// stand whole beside the captions, which end at 41.
int TotalsRight(const QStringList& values) {
    const QFontMetrics metrics = Printer().Canvas().fontMetrics();
    int right = 65;
    for (const QString& value : values)
        right = std::max(right, 42 + int(std::ceil(metrics.horizontalAdvance(value) / PrinterPxPerMmX)));
    return right;
}
} // namespace

ReportClock SetReportClock(ReportClock clock) {
    ReportClock previous = std::move(Clock());
    Clock() = std::move(clock);
    return previous;
}

QDateTime ReportNow() {
    return Clock() ? Clock()() : QDateTime::currentDateTime();
}

void BitBtn110Click(TCustomerPage& page) {
    if (ExecutePrintDialog(Printer().Device()))
        PrintCustomerList(page.sgZak);
}

void BitBtn19Click(TCarsPage& page) {
    if (ExecutePrintDialog(Printer().Device()))
        PrintCars(page.sgAuta);
}

void BitBtn27Click(TTripsPage& page) {
    if (page.cbJazdyAuto->currentIndex() < 0)
        return;
    if (ExecutePrintDialog(Printer().Device()))
        PrintTrips(page);
}

void PrintCustomerListTitle() {
    SetPrintFontBlack();
    SetFont(9, false);
    DrawTextIn(10, 15, 100, 22, "L",
               QStringLiteral("Zoznam zákazníkov  (") + ReportNow().toString("dd.MM.yyyy") + ")");
}

void PrintCustomerList(TStringGrid* sgZak) {
    StartReport(TPrintOrientation::Portrait, "Zakaznici_zoznam");
    TPrintDocument document(Printer());
    PrintCustomerListTitle();
    SetPrintFontSize(kFontSize);
    int y = 23;
    PrintGrid(sgZak, kFontSize, y, kLeftMargin, kRowHeight, "7;25;18;18;18;18;18;14;15;8;8;9",
              "R;L;L;L;L;L;L;L;L;C;C;C", "", 295);
    document.End();
}

void PrintCarsTitle() {
    PrintCustomerHeader(QStringLiteral("Evidencia áut") + '\r' + SelectedCustomerName, 0);
}

void PrintCars(TStringGrid* sgAuta) {
    StartReport(TPrintOrientation::Portrait, "Evidencia_vozidiel");
    TPrintDocument document(Printer());
    PrintCarsTitle();

    // The ownership column in words, in a copy of the grid.
    TStringGrid grid;
    {
        TGridUpdate update(&grid);
        grid.SetColCount(sgAuta->ColCount());
        grid.SetRowCount(sgAuta->RowCount());
        for (int row = 0; row < sgAuta->RowCount(); ++row)
            for (int col = 0; col < sgAuta->ColCount(); ++col) {
                QString text = sgAuta->Cells(col, row);
                if (col == 4 && text == "0")
                    text = QStringLiteral("firemné");
                else if (col == 4 && text == "1")
                    text = QStringLiteral("súkromné");
                grid.SetCells(col, row, text);
            }
    }
    SetPrintFontSize(kFontSize);
    int y = 50;
    PrintGrid(&grid, kFontSize, y, kLeftMargin, kRowHeight, "7;25;14;14;14;14;14;14;14;14;17",
              "R;L;L;L;L;R;R;R;R;L;R", "", 295);
    document.End();
}

void PrintTripsTitle(const QString& carLabel) {
    PrintCustomerHeader(QStringLiteral("Vozopis vozidla ") + '\r' + carLabel, 0);
}

void PrintTrips(TTripsPage& page) {
    const QString carLabel = page.cbJazdyAuto->currentText();
    StartReport(TPrintOrientation::Landscape, "Vozopis_" + carLabel);
    TPrintDocument document(Printer());
    PrintTripsTitle(carLabel);
    SetPrintFontSize(kFontSize);
    int y = 50;
    PrintGrid(page.sgJazdy, kFontSize, y, kLeftMargin, kRowHeight, "9;23;23;43;7;17;17;17;9;41;22;19",
              "R;C;C;L;C;R;R;R;C;L;L;R", "", 210);

    y += 7;
    if (210 - PrintMarginBottom - 10 < y + 20) {
        Printer().NewPage();
        y = 20;
    }
    SetFont(8, true);
    const auto car = RowById("auta", page.CarId());
    const qint64 ownership = car ? FieldInt(*car, "vlastnictvo", 0) : 0;
    QStringList values{page.lblJazdyKM->text(), page.lblJazdySuma->text()};
    if (ownership == 0) // without the 19 % VAT, in the precision of the totals
        values << FormatNumber(TextToExtended(page.lblJazdySuma->text()) / 1.19L);
    const int right = TotalsRight(values);
    const char* const captions[] = {"Celkom km:", "Celkom SK s DPH:", "Celkom SK bez DPH:"};
    for (int i = 0; i < values.size(); ++i) {
        DrawTextIn(12, y + 4 * i, 41, y + 4 * i + 4, "R", captions[i]);
        DrawTextIn(36, y + 4 * i, right, y + 4 * i + 4, "R", values[i]);
    }
    document.End();
}

void PrintCustomerHeader(const QString& title, int y) {
    CreateTableZakaznici();
    const auto customer = RowById("zakaznici", SelectedCustomerId, ";");
    auto field = [&](const char* name, const QString& fallback = QString()) {
        return customer ? FieldText(*customer, name, fallback) : fallback;
    };

    DrawRectMm(18, y + 15, 110, y + 44);
    SetFont(10, true);
    DrawTextIn(22, y + 16, 110, y + 23, "L", field("nazov"));
    SetFont(7, false);
    DrawTextIn(19, y + 21, 32, y + 25, "R", "adresa:");
    DrawTextIn(34, y + 21, 70, y + 24, "L", field("ulica"));
    DrawTextIn(34, y + 24, 70, y + 27, "L", field("psc"));
    DrawTextIn(34, y + 27, 70, y + 30, "L", field("mesto"));
    DrawTextIn(34, y + 30, 70, y + 33, "L", field("stat"));
    SetFont(8, true);
    DrawTextIn(20, y + 35, 32, y + 39, "R", QStringLiteral(" IČO:"));
    if (field("platca", "0") == "0")
        DrawTextIn(20, y + 39, 32, y + 43, "R", QStringLiteral("DIČ:"));
    else
        DrawTextIn(18, y + 39, 32, y + 43, "R", QStringLiteral("IČ DPH:"));
    DrawTextIn(34, y + 35, 70, y + 39, "L", field("ico"));
    DrawTextIn(34, y + 39, 70, y + 43, "L", field("dic"));
    SetFont(10, true, true);
    DrawTextIn(115, y + 14, 200, y + 24, "L", title);
    SetFont(8, true);
    DrawTextIn(115, y + 40, 144, y + 44, "L", QStringLiteral("Dátum tlače:"));
    const QDateTime now = ReportNow();
    DrawTextIn(136, y + 40, 190, y + 44, "L",
               now.toString("dd.MM.yyyy") + "  o  " + now.toString("hh:mm,ss"));
}
