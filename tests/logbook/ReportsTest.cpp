#include "Reports.h"
#include "PdfText.h"
#include "Printing.h"
#include "ProgramFixture.h"

namespace {
constexpr double kMm = 0.5;

// The PDF's document title (the print job's name).
QString PdfTitle(const QString& file) {
    QProcess process;
    process.start("pdfinfo", {file});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    return QRegularExpression("Title: *([^\\n]*)").match(info).captured(1);
}

// The program with customer 1 selected and the print date fixed at 5 December 2026, 14:30:15.
// Every report goes to a PDF file.
class ReportsTest : public ProgramTest {
protected:
    ReportsTest() : ProgramTest("") {}
    void SetUp() override {
        previousClock = SetReportClock([] { return QDateTime(QDate(2026, 12, 5), QTime(14, 30, 15)); });
        ProgramTest::SetUp();
        CreateTableZakaznici();
        Db->Execute(QStringLiteral(
            "INSERT INTO zakaznici (nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, po) VALUES "
            "('Ľubovník s.r.o.', '36123456', 'SK2020123456', 'Ján Ďurček', 'Hlavná 5', 'Žilina', '010 01', "
            "'Slovensko', '1', '0', '1')"));
        program.form->MainScreen->SelectCustomerYear("1", "2024");
    }
    void TearDown() override { SetReportClock(previousClock); }

    // The trip master data (a company car) and trips one a day from 1 May 2024; the trip page.
    TTripsPage* TripData(int trips) {
        CreateTripMasterData();
        AddTrips(0, trips);
        return program.OpenTrips();
    }
    void AddTrips(int from, int count) {
        TTransaction transaction(*Db);
        for (int i = from; i < from + count; ++i)
            InsertTrip(QDate(2024, 5, 1).addDays(i).toString("yyyy-MM-dd 08:00"), 0, 1, "NULL",
                       QStringLiteral("služobná cesta"));
        transaction.Commit();
    }
    PdfText Print(QPushButton* button) {
        button->click();
        return answer.Read();
    }

    ReportClock previousClock;
    PdfPrinterAnswer answer;
};

// Every word of text on the box's first line and within x1-x2: a bold text too wide would not be.
void ExpectInBox(const PdfText& pdf, const QString& text, double x1, double top, double x2) {
    for (const QString& part : text.split(' ', Qt::SkipEmptyParts)) {
        const PdfWord word = pdf.Nearest(part, x1, top);
        EXPECT_NEAR(word.top, top, kMm) << part.toStdString();
        EXPECT_TRUE(word.left >= x1 - 0.1 && word.right <= x2 + 0.1) << part.toStdString();
    }
}

// The header row of a table printed from 5 mm: each caption of the grid in its column's box.
void ExpectHeaderInBoxes(const PdfText& pdf, const TStringGrid* grid, const QString& widths, double top) {
    int x = 5;
    for (int c = 0; c < grid->ColCount(); ++c) {
        const int width = widths.split(';').at(c).toInt();
        ExpectInBox(pdf, grid->Cells(c, 0), x + 3, top, x + width + 2);
        x += width + 2;
    }
}

// The customer block, the title with its second line and the print date "  o  " time.
void ExpectCustomerHeader(const PdfText& pdf, const QString& title, const QString& secondLine) {
    ExpectAt(pdf, QStringLiteral("Ľubovník L 22 16|adresa: R 32 21|IČO: R 32 35|Hlavná L 34 21|010 L 34 24|"
                                 "Žilina L 34 27|Slovensko L 34 30|36123456 L 34 35|SK2020123456 L 34 39|"
                                 "Dátum L 115 40|05.12.2026 L 136 40|") +
                      title + " L 115 14");
    const double line = pdf.First(title).bottom - pdf.First(title).top;
    ExpectAt(pdf, QString("%1 L 115 %2").arg(secondLine).arg(14 + line)); // after the CR
    const PdfWord date = pdf.First("05.12.2026"), sep = pdf.Nearest("o", 155, 40),
                  time = pdf.First("14:30,15");
    EXPECT_TRUE(sep.left > date.right + 1 && time.left > sep.right + 1) << "two blanks on each side";
    EXPECT_TRUE(std::abs(sep.top - 40) < kMm && std::abs(time.top - 40) < kMm);
    // The bold texts fit their boxes.
    ExpectInBox(pdf, QStringLiteral("Ľubovník s.r.o."), 22, 16, 110);
    ExpectInBox(pdf, QStringLiteral("IČO:"), 20, 35, 32);
    ExpectInBox(pdf, QStringLiteral("Dátum tlače:"), 115, 40, 144);
}
} // namespace

TEST_F(ReportsTest, TheCustomerListPrintsTitleAndEveryRowOfTheGridInPortrait) {
    Db->Execute(QStringLiteral(
        "INSERT INTO zakaznici (nazov, ico, platca, fo, po) VALUES ('Ťava a spol.', '2', '0', '1', '0')"));
    program.form->Pridavybrazkaznka1->trigger();
    TCustomerPage* page = program.form->CustomerPage;

    const PdfText pdf = Print(page->BitBtn110);
    ASSERT_EQ(pdf.pages, QStringList("210x297"));
    EXPECT_EQ(PdfTitle(answer.File()), "Zakaznici_zoznam");
    EXPECT_TRUE(pdf.PageText(1).startsWith(QStringLiteral("Zoznam zákazníkov (05.12.2026)")));
    EXPECT_GT(pdf.First("(05.12.2026)").left, pdf.First(QStringLiteral("zákazníkov")).right + 1.2)
        << "two blanks";
    ExpectHeaderInBoxes(pdf, page->sgZak, "7;25;18;18;18;18;18;14;15;8;8;9", 23);
    // Header from 23 in bold; rows from 30 by 4; "id" right in 8-14, the name from 17, IČO from 44,
    // the three flags centred in 177-184, 187-194 and 197-205.
    ExpectAt(pdf, QStringLiteral("Zoznam L 10 15|id R 14 23|názov L 17 23|IČO L 44 23|Ľubovník L 17 34|"
                                 "Ťava L 17 30|1 R 14 34|36123456 L 44 34|platca C 180.5 23|"
                                 "fyz.o. C 190.5 23|práv.o. C 201 23"));
}

TEST_F(ReportsTest, CancelOrAFailurePartWayLeavesNoFileAndTheNextReportPrints) {
    program.form->Pridavybrazkaznka1->trigger();
    {
        PdfPrinterAnswer cancel(false);
        program.form->CustomerPage->BitBtn110->click();
        EXPECT_FALSE(cancel.File().isEmpty());
        EXPECT_FALSE(QFile::exists(cancel.File()));
    }
    TTripsPage* page = TripData(1);
    page->cbJazdyAuto->setCurrentIndex(-1);
    page->BitBtn27->click();
    EXPECT_TRUE(answer.File().isEmpty()) << "no dialog without a car";
    page->cbJazdyAuto->setCurrentIndex(0);

    // An id that is no number, a total that is no number, an output that cannot open: no file.
    SelectedCustomerId = "1 OR 1";
    page->BitBtn27->click();
    SelectedCustomerId = "1";
    page->lblJazdySuma->setText("1,2,3");
    page->BitBtn27->click();
    page->lblJazdySuma->setText("119,00");
    const PrintDialogHook previous = SetPrintDialogHook([&](QPrinter& printer) {
        printer.setOutputFileName(program.folder.File("no such folder/list.pdf"));
        return true;
    });
    page->BitBtn27->click();
    SetPrintDialogHook(previous);
    EXPECT_EQ(boxes.Shown(),
              Boxes({{"'1 OR 1' is not a valid record id.", "Vozopis", 16},
                     {"'1,2,3' is not a valid floating point value.", "Vozopis", 16},
                     {QStringLiteral("Tlač sa nedá začať: tlačiareň alebo výstupný súbor nie je dostupný."),
                      "Vozopis", 16}}));
    EXPECT_EQ(QDir(answer.Folder()).entryList(QDir::Files), QStringList());
    EXPECT_FALSE(Printer().Printing());

    // The next report prints. Without a customer or car id the block is empty and the car counts
    // as a company car.
    SelectedCustomerId.clear();
    page->lblJazdyAuto->clear();
    const PdfText pdf = Print(page->BitBtn27);
    EXPECT_EQ(boxes.Shown().size(), 3u);
    EXPECT_TRUE(pdf.Find(QStringLiteral("Ľubovník")).empty());
    ExpectAt(pdf, QStringLiteral("DIČ: R 32 39|05.12.2026 L 136 40|100,00 R 65 76"));
}

TEST_F(ReportsTest, TheCarListHasTheCustomerBlockAndOwnershipInWordsWithoutTouchingTheGrid) {
    TripData(0);
    Db->Execute("INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
                "id_zakaznik) VALUES ('Fabia', 'ZA999ZZ', 1, 1, 1, 5, 5, 5, 0, 1, 1), "
                "('Transit', 'TT555TT', 1, 7, 1, 9, 9, 9, 0, 1, 1)");
    program.form->Evidenciaat1->trigger();
    TCarsPage* page = program.form->CarsPage;

    const PdfText pdf = Print(page->BitBtn19);
    ASSERT_EQ(pdf.pages, QStringList("210x297"));
    EXPECT_EQ(PdfTitle(answer.File()), "Evidencia_vozidiel");
    ExpectCustomerHeader(pdf, "Evidencia", QStringLiteral("Ľubovník"));
    ExpectInBox(pdf, QStringLiteral("IČ DPH:"), 18, 39, 32); // a VAT payer
    ExpectHeaderInBoxes(pdf, page->sgAuta, "7;25;14;14;14;14;14;14;14;14;17", 50);
    // The ownership column 76-89 in words (Fabia, Octavia), an unknown value (Transit) as it is.
    ExpectAt(pdf, QStringLiteral("DPH: R 32 39|vlastn. L 76 50|súkromné L 76 57|firemné L 76 61|7 L 76 65"));
    EXPECT_EQ(page->sgAuta->Cells(4, 1), "1") << "the page's grid keeps its numbers";
}

TEST_F(ReportsTest, TheTripLogIsLandscapeWithTotalsAndTheVatLineOnlyForACompanyCar) {
    TTripsPage* page = TripData(2);
    page->lblJazdySuma->setText("119,00");
    const PdfText pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages, QStringList("297x210"));
    EXPECT_EQ(PdfTitle(answer.File()), "Vozopis_Octavia - NR123AB");
    ExpectCustomerHeader(pdf, "Vozopis", "Octavia");
    EXPECT_TRUE(pdf.PageText(1).contains("Vozopis vozidla Octavia - NR123AB"));
    ExpectHeaderInBoxes(pdf, page->sgJazdy, "9;23;23;43;7;17;17;17;9;41;22;19", 50);
    EXPECT_TRUE(pdf.PageText(1).contains(QStringLiteral("Ján Novák služobná cesta")));
    // Table from 50; the departure centred in 19-41, the driver from 191. The last row ends at 65:
    // totals from 72, right-aligned at 41 and 65; 119,00 without 19 % VAT is 100,00.
    ExpectAt(pdf, QStringLiteral("odchod C 30 50|Ján L 191 57|Ján L 191 61|"
                                 "km: R 41 72|DPH: R 41 76|119,00 R 65 76|DPH: R 41 80|100,00 R 65 80|") +
                      page->lblJazdyKM->text() + " R 65 72");
    for (const auto& [text, top] :
         {std::pair("Celkom km:", 72), {"Celkom SK s DPH:", 76}, {"Celkom SK bez DPH:", 80}})
        ExpectInBox(pdf, text, 12, top, 41);

    // A private car: two total lines.
    Db->Execute("UPDATE auta SET vlastnictvo = 1");
    const PdfText twoLines = Print(page->BitBtn27);
    EXPECT_TRUE(twoLines.Find("bez").empty() && twoLines.Find("Celkom").size() == 2);
}

TEST_F(ReportsTest, TotalsGoToANewPageFrom20WhenTheTableEndsBelow163) {
    // 26 trips end at 161: totals at 168 on page 1; 27 end at 165: totals at 20 on page 2.
    TTripsPage* page = TripData(27);
    PdfText pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 2);
    EXPECT_NEAR(pdf.First("km:", 2).top, 20, kMm);
    EXPECT_NEAR(pdf.Find("DPH:", 2).back().top, 28, kMm);
    Db->Execute("DELETE FROM jazdy WHERE id = 27");
    page->LoadGridJazdy("");
    pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 1);
    EXPECT_NEAR(pdf.First("km:").top, 168, kMm);
}
