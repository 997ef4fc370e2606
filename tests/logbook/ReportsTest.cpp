#include "Reports.h"
#include "PdfText.h"
#include "Printing.h"
#include "ProgramFixture.h"

namespace {

// Customer 1 selected, printed on 5 December 2026 at 14:30:15; every report goes to a PDF file.
class ReportsTest : public ProgramTest {
protected:
    ReportsTest() : ProgramTest("") {}
    void SetUp() override {
        previousClock = SetReportClock([] { return QDateTime(QDate(2026, 12, 5), QTime(14, 30, 15)); });
        ProgramTest::SetUp();
        CreateTableZakaznici();
        Db->Execute(
            "INSERT INTO zakaznici (nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, po) VALUES "
            "('Ľubovník s.r.o.', '36123456', 'SK2020123456', 'Ján Ďurček', 'Hlavná 5', 'Žilina', '010 01', "
            "'Slovensko', '1', '0', '1')");
        program.form->MainScreen->SelectCustomerYear("1", "2024");
    }
    void TearDown() override { SetReportClock(previousClock); }

    // The trip master data (a company car), trips one a day from 1 May 2024 up to a total; the page.
    TTripsPage* TripData(int trips) {
        CreateTripMasterData();
        AddTrips(trips);
        return program.OpenTrips();
    }
    void AddTrips(int total) {
        TTransaction transaction(*Db);
        for (int i = Column("SELECT COUNT(*) FROM jazdy").at(0).toInt(); i < total; ++i)
            InsertTrip(QDate(2024, 5, 1).addDays(i).toString("yyyy-MM-dd 08:00"), 0, 1, "NULL",
                       "služobná cesta");
        transaction.Commit();
    }
    PdfText Print(QPushButton* button) {
        button->click();
        return answer.Read();
    }

    ReportClock previousClock;
    PdfPrinterAnswer answer;
};

// The header row of a table printed from 5 mm: each caption of the grid in its column's box.
void ExpectTableHeader(const PdfText& pdf, const TStringGrid* grid, const QString& widths,
                       const QString& aligns, double top) {
    for (int c = 0, x = 5, w = 0; c < grid->ColCount(); ++c, x += w + 2) {
        w = widths.split(';').at(c).toInt();
        ExpectAt(pdf, grid->Cells(c, 0) + " " + aligns.split(';').at(c) +
                          QString(" %1 %2 %3").arg(x + 3).arg(top).arg(x + w + 2));
    }
}

// The customer block, the title on two lines and the print date and time.
void ExpectCustomerHeader(const PdfText& pdf, const QString& title) {
    const QStringList lines = title.split('\r');
    const PdfWord first = pdf.Nearest(lines[0].section(' ', 0, 0), 115, 14);
    ExpectAt(pdf, QString("Ľubovník s.r.o. L 22 16 110|adresa: R 19 21 32|Hlavná 5 L 34 21 70|"
                          "010 01 L 34 24 70|Žilina L 34 27 70|Slovensko L 34 30 70|IČO: R 20 35 32|"
                          "36123456 L 34 35 70|SK2020123456 L 34 39 70|Dátum tlače: L 115 40 144|"
                          "05.12.2026  o  14:30,15 L 136 40 190|%1 L 115 14 200|%2 L 115 %3 200")
                      .arg(lines[0], lines[1])
                      .arg(14 + first.bottom - first.top)); // the second line after the CR
}
} // namespace

TEST_F(ReportsTest, TheCustomerListPrintsTitleAndEveryRowOfTheGridInPortrait) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Ťava a spol.', '2')");
    program.form->Pridavybrazkaznka1->trigger();
    TCustomerPage* page = program.form->CustomerPage;

    const PdfText pdf = Print(page->BitBtn110);
    EXPECT_EQ(pdf.pages + QStringList(pdf.title), QStringList({"210x297", "Zakaznici_zoznam"}));
    ExpectTableHeader(pdf, page->sgZak, "7;25;18;18;18;18;18;14;15;8;8;9", "R;L;L;L;L;L;L;L;L;C;C;C", 23);
    // The title from 10 at 15; the header from 23 in bold, the rows from 30 by 4 in the grid's order.
    ExpectAt(pdf, "Zoznam zákazníkov  (05.12.2026) L 10 15 100|Ťava a spol. L 17 30 41|"
                  "Ľubovník s.r.o. L 17 34 41");
}

TEST_F(ReportsTest, CancelOrAFailurePartWayLeavesNoFileAndTheNextReportPrints) {
    program.form->Pridavybrazkaznka1->trigger();
    {
        PdfPrinterAnswer cancel(false);
        program.form->CustomerPage->BitBtn110->click();
        EXPECT_TRUE(!cancel.file.isEmpty() && !QFile::exists(cancel.file)) << "asked, nothing printed";
    }
    TTripsPage* page = TripData(1);
    page->lblJazdySuma->setText("119,00");
    page->cbJazdyAuto->setCurrentIndex(-1);
    page->BitBtn27->click();
    EXPECT_TRUE(answer.file.isEmpty()) << "no dialog without a car";
    page->cbJazdyAuto->setCurrentIndex(0);

    // A report broken off by an id that is no number leaves no file; an output that cannot open.
    SelectedCustomerId = "1 OR 1";
    page->BitBtn27->click();
    EXPECT_EQ(QDir(answer.dir.path()).entryList(QDir::Files), QStringList());
    QDir(answer.dir.path()).removeRecursively();
    page->BitBtn27->click();
    QDir().mkpath(answer.dir.path());
    EXPECT_EQ(boxes.Shown(), Boxes({{"'1 OR 1' is not a valid record id.", "Vozopis", 16},
                                    {"Tlač sa nedá začať: tlačiareň alebo výstupný súbor nie je dostupný.",
                                     "Vozopis", 16}}));

    // The next report prints; without ids the block has no row (DIČ:) and the car is a company car.
    SelectedCustomerId.clear();
    page->lblJazdyAuto->clear();
    const PdfText pdf = Print(page->BitBtn27);
    ExpectAt(pdf, "DIČ: R 20 39 32|05.12.2026 L 136 40 190|100,00 R 36 76 65");
}

TEST_F(ReportsTest, TheCarListAndTheTripLogCarryTheCustomerBlockAndTheTripTotalsMoveToANewPageBelow163) {
    TTripsPage* page = TripData(2);
    page->lblJazdySuma->setText("119,00");
    PdfText pdf = Print(page->BitBtn27);
    EXPECT_EQ(pdf.pages + QStringList(pdf.title), QStringList({"297x210", "Vozopis_Octavia - NR123AB"}));
    ExpectCustomerHeader(pdf, "Vozopis vozidla\rOctavia - NR123AB");
    ExpectTableHeader(pdf, page->sgJazdy, "9;23;23;43;7;17;17;17;9;41;22;19", "R;C;C;L;C;R;R;R;C;L;L;R", 50);
    // Rows from 57; the last ends at 65, so totals from 72. 119,00 without 19 % VAT is 100,00.
    ExpectAt(pdf, "Ján Novák L 191 57 231|Ján Novák L 191 61 231|Celkom km: R 12 72 41|"
                  "Celkom SK s DPH: R 12 76 41|Celkom SK bez DPH: R 12 80 41|119,00 R 36 76 65|"
                  "100,00 R 36 80 65|" +
                      page->lblJazdyKM->text() + " R 36 72 65");

    Db->Execute("UPDATE auta SET vlastnictvo = 1");
    pdf = Print(page->BitBtn27);
    EXPECT_TRUE(pdf.Find("bez").empty() && pdf.Find("Celkom").size() == 2)
        << "a private car: two total lines";
    // 26 trips end at 161: totals at 168 on page 1; 27 end at 165: totals at 20 on a new page.
    for (const auto& [trips, pages, top] : {std::tuple(26, 1, 168), {27, 2, 20}}) {
        AddTrips(trips);
        page->LoadGridJazdy("");
        pdf = Print(page->BitBtn27);
        EXPECT_EQ(pdf.pages.size(), pages);
        ExpectAt(pdf, QString("Celkom km: R 12 %1 41").arg(top));
    }

    // The car list: ownership in words (Fabia, Octavia), an unknown value (Transit) as it is, in the
    // column 76-89 of a copy of the page's grid.
    Db->Execute("INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
                "id_zakaznik) VALUES ('Fabia', 'ZA999ZZ', 1, 0, 1, 5, 5, 5, 0, 1, 1), "
                "('Transit', 'TT555TT', 1, 7, 1, 9, 9, 9, 0, 1, 1)");
    program.form->Evidenciaat1->trigger();
    TCarsPage* cars = program.form->CarsPage;
    pdf = Print(cars->BitBtn19);
    EXPECT_EQ(pdf.pages + QStringList(pdf.title), QStringList({"210x297", "Evidencia_vozidiel"}));
    ExpectCustomerHeader(pdf, "Evidencia áut\rĽubovník s.r.o.");
    ExpectTableHeader(pdf, cars->sgAuta, "7;25;14;14;14;14;14;14;14;14;17", "R;L;L;L;L;R;R;R;R;L;R", 50);
    ExpectAt(pdf, "IČ DPH: R 18 39 32|firemné L 76 57 89|súkromné L 76 61 89|7 L 76 65 89");
    EXPECT_EQ(cars->sgAuta->Cells(4, 1), "0") << "the page's grid keeps its numbers";
}
